#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// A language a voice speaks, e.g. "en-gb"; the lower the priority, the better the voice is for it.
struct VoiceLanguage {
    QString tag;
    int priority = 5;
};

// What the program knows of a synthesizer voice, and how criteria texts pick one.
struct VoiceInfo {
    QString name;                                // display name
    QString identifier;                          // the synthesizer's own name for it
    std::vector<VoiceLanguage> languages;        // most preferred first
    int gender = 0;                              // 0 unknown, 1 male, 2 female
    QString maker = QStringLiteral("eSpeak NG"); // the synthesizer that speaks it
    bool desktop = false;                        // spoken by the desktop's speech service
};

// "Key=Value;Key=Value". Keys and values are trimmed; pairs without "=" are ignored.
//   Name=     the display name, case-insensitive
//   Language= a language tag such as "en" or "en-US"; "_" and "-" alike, case-insensitive
//   Gender=   1 male, 2 female
//   Mfg=      the maker, case-insensitive: "eSpeak NG" for the program's own voices
// Unknown keys are ignored. The voice meeting most criteria wins; ties go to the program's own
// voices before the desktop's, then to the voice that speaks `userLanguage` (a locale name such as
// "de_DE") best, then English, then list order.
// Returns the voice number counted from 1, or 0 when there are no voices.
int BestVoice(const std::vector<VoiceInfo>& voices, const QString& criteria,
              const QString& userLanguage);

// How well a voice speaks a language: 0 not at all; above 200 for the exact tag, 101 to 200 for
// the primary language ("fr" for "fr-ca"), 1 to 100 for another region of it; within each band
// higher for a better (lower) priority.
int LanguageFit(const VoiceInfo& voice, const QString& language);
