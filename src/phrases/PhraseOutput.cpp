#include "phrases/PhraseOutput.h"

bool IsSoundFilePath(const QString& phrase) {
    return phrase.mid(1, 1) == u":";
}

QString MediaPlayerCommand(const QString& path) {
    return QStringLiteral("C:\\Program Files\\Windows Media Player\\mplayer2.exe ") + path;
}
