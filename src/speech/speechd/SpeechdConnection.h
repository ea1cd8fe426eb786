#pragma once

#include "speech/speechd/SpeechdVoices.h"

#include <QString>
#include <QStringList>
#include <vector>

// The desktop's speech service, one connection to it, as SpeechdEngine drives it. Every call but
// Speaking() comes from one thread, and any of them may wait as long as the service takes to
// answer. A call that finds the connection broken returns false (or nothing) and the connection
// stays broken until Open() succeeds again.
class SpeechdConnection {
public:
    virtual ~SpeechdConnection() = default;

    // Connects, first closing any connection there was. `start` lets the service be started when
    // it is installed but not running. False when no service answers.
    virtual bool Open(bool start) = 0;
    virtual QStringList Modules() = 0;
    // The language the service speaks when nothing is chosen.
    virtual QString Language() = 0;
    virtual std::vector<SpeechdVoice> Voices(const QString& module) = 0;
    // The voice of the next speech: a module's voice by name, or with both empty the service's
    // default voice as the user set it up.
    virtual bool Use(const QString& module, const QString& voice) = 0;
    virtual bool Say(const QString& text) = 0;
    // Ends this connection's speech, queued and playing, and no one else's.
    virtual bool Cancel() = 0;
    // Asks the service whether it is still there.
    virtual bool Alive() = 0;
    // True while this connection's speech is heard. From any thread, and never waits.
    virtual bool Speaking() const = 0;
};
