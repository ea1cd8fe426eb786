#pragma once

#include "speech/VoiceCriteria.h"

#include <QString>
#include <vector>

// The desktop speech service's voices as the voice list shows them, after the program's own.

// A voice as the service lists it for one of its synthesizers (an "output module").
struct SpeechdVoice {
    QString name;         // the synthesizer's name for it, e.g. "en-US" or "Afrikaans+Adam"
    QString language;     // e.g. "en-US"
    QString variant = {}; // free text, e.g. "none", "male1", "Adam"
};

struct SpeechdModule {
    QString name; // the service's name for the synthesizer, e.g. "pico", "espeak-ng"
    std::vector<SpeechdVoice> voices;
};

// The entry for the voice the user set up for the service (its synthesizer, voice, rate and
// pitch): speech with nothing chosen on the connection.
inline const QString SpeechdDefaultVoice = QStringLiteral("Desktop default voice");

// Whether a synthesizer's voices are listed: the service's espeak-ng repeats the program's own
// voices in thousands of variants, and is not.
bool ListsModule(const QString& module);

// How the list names a synthesizer: "pico" -> "Pico", "mary-generic" -> "MARY"; an unknown one
// by its name, its first letter capital and a "-generic" ending dropped.
QString SynthesizerName(const QString& module);

// The desktop entries: the default voice (speaking `defaultLanguage`), then the voices of the
// listed synthesizers, each synthesizer's in the order of their names, named "Pico: en-US".
// A variant of another voice of the same synthesizer ("Afrikaans+Adam" beside "Afrikaans") is
// left out. Each entry's identifier is "module/voice", empty for the default voice; its maker is
// the synthesizer's name, "Speech Dispatcher" for the default voice.
std::vector<VoiceInfo> SpeechdVoiceList(const QString& defaultLanguage,
                                        const std::vector<SpeechdModule>& modules);
