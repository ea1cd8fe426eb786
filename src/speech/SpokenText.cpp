#include "speech/SpokenText.h"

QString SpokenText(const QString& text) {
    QString spoken;
    spoken.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            spoken += c;
        else if (c.isSpace())
            spoken += u' ';
    }
    return spoken;
}
