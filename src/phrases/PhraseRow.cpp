#include "phrases/PhraseRow.h"

const std::array<PhraseRow, PhraseRowCount>& DefaultPhraseRows() {
    static const std::array<PhraseRow, PhraseRowCount> rows{{
        {"E", "00:00:02", "Horavox"},
        {"E", "00:00:05", "Click the reset buttun to restart the clock"},
        {"E", "00:00:10", "Click the help buttun for instructions"},
        {"E", "00:00:15", "Change the display mode to edet the phrases spoken"},
        {"E", "00:00:25",
         "The letter ee, indicates elapsed time and the letter eh, indicates actual time"},
        {"E", "00:00:00", ""},
        {"E", "00:00:00", ""},
        {"E", "00:00:00", ""},
        {"E", "01:20:00",
         "This phrase will be spoken when the elapsed time is 1 hour and 20 minutes"},
        {"A", "22:00:00", "This phrase will be spoken at 10 o clock p m"},
    }};
    return rows;
}

bool IsRowDue(const QString& kind, const QString& time, const QString& timerText,
              const QString& clockText) {
    return (time == clockText && kind == u"A") || (kind == u"E" && time == timerText);
}
