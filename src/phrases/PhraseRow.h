#pragma once

#include <QString>
#include <array>

// One row of the phrase schedule: a kind ("E" follows the timer, "A" the clock), a time text
// compared exactly, and a phrase to speak or a sound file to play.
struct PhraseRow {
    QString kind;
    QString time;
    QString phrase;
};

constexpr int PhraseRowCount = 10;
// The longest phrase a phrase box or the say-this-now box takes: a few seconds of speech.
constexpr int PhraseMaxLength = 128;

// The table every start begins with: it introduces the program. Its spellings are written for
// the synthesizer's ear.
const std::array<PhraseRow, PhraseRowCount>& DefaultPhraseRows();

// Due when an "E" row's time equals the timer text or an "A" row's time equals the clock text;
// exact, case-sensitive comparison of whole texts.
bool IsRowDue(const QString& kind, const QString& time, const QString& timerText,
              const QString& clockText);
