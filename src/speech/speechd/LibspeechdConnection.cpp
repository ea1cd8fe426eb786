#include "speech/speechd/LibspeechdConnection.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

std::atomic<bool> speaking = false; // the one connection's, from the library's event thread

void begun(std::size_t, std::size_t, SPDNotificationType) {
    speaking = true;
}

void ended(std::size_t, std::size_t, SPDNotificationType) {
    speaking = false;
}

// The data lines of the service's answer to a command, without their codes; none when it
// refused or the connection broke. The library's own getters and lists read a missing answer
// and crash, and free_spd_voices() crashes on an empty list.
QStringList answer(SPDConnection* connection, const char* command) {
    QByteArray writable(command); // not const in every version of the library
    char* reply = nullptr;
    QStringList lines;
    if (connection && spd_execute_command_with_reply(connection, writable.data(), &reply) == 0)
        for (const QByteArray& line : QByteArray(reply).split('\n'))
            if (line.size() > 4 && line[3] == '-')
                lines << QString::fromUtf8(line.mid(4).trimmed());
    std::free(reply);
    return lines;
}

} // namespace

LibspeechdConnection::LibspeechdConnection() {
    // The library writes to the service's socket without guarding against its going away, which
    // would end the program with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
}

LibspeechdConnection::~LibspeechdConnection() {
    close();
}

void LibspeechdConnection::close() {
    if (connection_)
        spd_close(connection_);
    connection_ = nullptr;
    speaking = false;
}

bool LibspeechdConnection::Open(bool start) {
    close();
    char* error = nullptr;
    SPDConnectionAddress* address = spd_get_default_address(&error);
    // Looked for again every second while there is none: the library leaks a little at each
    // connection refused, so a socket that is not there is not tried.
    const bool absent = address && address->method == SPD_METHOD_UNIX_SOCKET && !start &&
                        access(address->unix_socket_name, F_OK) != 0;
    if (address && !absent)
        connection_ = spd_open2("horavox", "main", nullptr, SPD_MODE_THREADED, address,
                                start ? 1 : 0, &error);
    SPDConnectionAddress__free(address);
    std::free(error);
    if (!connection_)
        return false;
    customised_ = false;
    connection_->callback_begin = begun;
    connection_->callback_end = ended;
    connection_->callback_cancel = ended;
    return spd_set_notification_on(connection_, SPD_BEGIN) == 0 &&
           spd_set_notification_on(connection_, SPD_END) == 0 &&
           spd_set_notification_on(connection_, SPD_CANCEL) == 0;
}

QStringList LibspeechdConnection::Modules() {
    return answer(connection_, "LIST OUTPUT_MODULES");
}

QString LibspeechdConnection::Language() {
    return answer(connection_, "GET LANGUAGE").value(0);
}

std::vector<SpeechdVoice> LibspeechdConnection::Voices(const QString& module) {
    std::vector<SpeechdVoice> voices;
    if (!connection_ || spd_set_output_module(connection_, module.toUtf8().constData()) != 0)
        return voices;
    customised_ = true;
    for (const QString& line : answer(connection_, "LIST SYNTHESIS_VOICES")) {
        const QStringList fields = line.split(u'\t'); // name, language, variant
        voices.push_back({fields.value(0), fields.value(1), fields.value(2)});
    }
    return voices;
}

bool LibspeechdConnection::Use(const QString& module, const QString& voice) {
    if (!connection_)
        return false;
    if (module.isEmpty()) // the default voice: a connection with nothing set on it
        return !customised_ || Open(false);
    customised_ = true;
    return spd_set_output_module(connection_, module.toUtf8().constData()) == 0 &&
           spd_set_synthesis_voice(connection_, voice.toUtf8().constData()) == 0;
}

bool LibspeechdConnection::Say(const QString& text) {
    return connection_ && spd_say(connection_, SPD_MESSAGE, text.toUtf8().constData()) >= 0;
}

bool LibspeechdConnection::Cancel() {
    speaking = false;
    return connection_ && spd_cancel(connection_) == 0;
}

bool LibspeechdConnection::Alive() {
    return !answer(connection_, "GET OUTPUT_MODULE").isEmpty();
}

bool LibspeechdConnection::Speaking() const {
    return speaking;
}
