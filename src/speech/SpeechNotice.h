#pragma once

#include <QString>
#include <functional>

// How an engine tells the user that speech was lost or is back, and in which words. The engines
// tell from their own threads; what receives it shows the message as it stands.
using SpeechNotice = std::function<void(const QString& message)>;

// "Speech is unavailable: <reason>. The clock and the phrase table go on working, silently, until
// it is back."; without the last words when it will not come back by itself.
QString UnavailableNotice(const QString& reason, bool untilBack = true);
// "Speech is back: <what>."
QString BackNotice(const QString& what);
