#pragma once

#include "speech/speechd/SpeechdConnection.h"

#include <libspeechd.h>

// The speech service through its own client library, libspeechd, at the address the library
// finds itself (SPEECHD_ADDRESS, or the user's own socket). One per process: the library's
// speech events carry no pointer back to it.
//
// Speech goes out at the priority "message": the service cancels it for no one else's message, so
// a phrase is never lost while a screen reader talks (at "text" any message cancels it); it waits
// for the reader's current utterance, and the reader's next one waits for it. "important" would
// cut the reader off. Cancel() still ends only this connection's speech.
class LibspeechdConnection final : public SpeechdConnection {
public:
    LibspeechdConnection();
    ~LibspeechdConnection() override;
    LibspeechdConnection(const LibspeechdConnection&) = delete;
    LibspeechdConnection& operator=(const LibspeechdConnection&) = delete;

    bool Open(bool start) override;
    QStringList Modules() override;
    QString Language() override;
    std::vector<SpeechdVoice> Voices(const QString& module) override;
    bool Use(const QString& module, const QString& voice) override;
    bool Say(const QString& text) override;
    bool Cancel() override;
    bool Alive() override;
    bool Speaking() const override;

private:
    void close();

    SPDConnection* connection_ = nullptr;
    bool customised_ = false; // a module or voice was set on the connection
};
