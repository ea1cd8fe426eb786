#include "speech/speechd/SpeechdVoices.h"

#include <QSet>
#include <algorithm>
#include <utility>

namespace {

// The synthesizers the service ships modules for, where a capital first letter is not their name.
const std::pair<const char*, const char*> KnownNames[] = {
    {"espeak", "eSpeak"},
    {"espeak-ng-mbrola", "MBROLA"},
    {"espeak-mbrola", "MBROLA"},
    {"ibmtts", "IBM TTS"},
    {"mary", "MARY"},
    {"rhvoice", "RHVoice"},
    {"dtk", "DECtalk"},
    {"epos", "Epos"},
    {"llia_phon", "LliaPhon"},
    {"voxin", "Voxin"},
    {"mimic3", "Mimic 3"},
};

int genderOf(const QString& variant) {
    const QString v = variant.toLower();
    return v.contains(u"female") ? 2 : v.contains(u"male") ? 1 : 0;
}

} // namespace

bool ListsModule(const QString& module) {
    return module.compare(u"espeak-ng", Qt::CaseInsensitive) != 0;
}

QString SynthesizerName(const QString& module) {
    QString name = module.trimmed();
    if (name.endsWith(u"-generic", Qt::CaseInsensitive))
        name.chop(8);
    for (const auto& [known, shown] : KnownNames)
        if (name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(shown);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

std::vector<VoiceInfo> SpeechdVoiceList(const QString& defaultLanguage,
                                        const std::vector<SpeechdModule>& modules) {
    VoiceInfo standard{SpeechdDefaultVoice, {}, {}, 0, QStringLiteral("Speech Dispatcher"), true};
    if (!defaultLanguage.isEmpty())
        standard.languages.push_back({defaultLanguage});
    std::vector<VoiceInfo> list{standard};
    std::vector<SpeechdModule> listed;
    std::copy_if(modules.begin(), modules.end(), std::back_inserter(listed),
                 [](const SpeechdModule& m) { return ListsModule(m.name); });
    std::stable_sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
        return SynthesizerName(a.name).compare(SynthesizerName(b.name), Qt::CaseInsensitive) < 0;
    });
    for (const SpeechdModule& module : listed) {
        QSet<QString> names;
        for (const SpeechdVoice& voice : module.voices)
            names.insert(voice.name);
        std::vector<SpeechdVoice> voices;
        std::copy_if(module.voices.begin(), module.voices.end(), std::back_inserter(voices),
                     [&names](const SpeechdVoice& v) {
                         const qsizetype plus = v.name.indexOf(u'+');
                         return !v.name.isEmpty() &&
                                !(plus > 0 && names.contains(v.name.left(plus)));
                     });
        std::stable_sort(voices.begin(), voices.end(), [](const auto& a, const auto& b) {
            return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        });
        const QString synthesizer = SynthesizerName(module.name);
        for (const SpeechdVoice& voice : voices) {
            VoiceInfo info{synthesizer + QStringLiteral(": ") + voice.name,
                           module.name + u'/' + voice.name,
                           {},
                           genderOf(voice.variant),
                           synthesizer,
                           true};
            if (!voice.language.isEmpty())
                info.languages.push_back({voice.language});
            list.push_back(std::move(info));
        }
    }
    return list;
}
