#include "speech/SpeechNotice.h"

QString UnavailableNotice(const QString& reason, bool untilBack) {
    return QStringLiteral(
               "Speech is unavailable: %1. The clock and the phrase table go on working, "
               "silently%2.")
        .arg(reason, untilBack ? QStringLiteral(", until it is back") : QString());
}

QString BackNotice(const QString& what) {
    return QStringLiteral("Speech is back: %1.").arg(what);
}
