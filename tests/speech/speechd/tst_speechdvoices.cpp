// The desktop service's voices as the list shows them, and criteria over both kinds of voice.
#include "TextRow.h"
#include "speech/speechd/SpeechdVoices.h"

#include <QTest>

using Listing = std::pair<std::vector<SpeechdModule>, QStringList>;
using Pick = std::tuple<QString, QString, QString>; // criteria, user's language, voice

class tst_SpeechdVoices : public QObject {
    Q_OBJECT
private slots:
    void list_data() {
        const SpeechdModule pico{"pico", {{"en-US", "en-US", "none"}, {"de-DE", "de-DE", "none"}}};
        rows<Listing>(
            {{"the default voice alone", {{}, {SpeechdDefaultVoice}}},
             {"espeak-ng left out, synthesizers and voices by name",
              {{{"espeak-ng", {{"English", "en", "none"}}}, pico, {"festival", {{"kal", "en"}}}},
               {SpeechdDefaultVoice, "Festival: kal", "Pico: de-DE", "Pico: en-US"}}},
             {"a variant of a listed voice left out",
              {{{"espeak", {{"Afrikaans+Adam", "af"}, {"Afrikaans", "af"}, {"K+Q", "x"}}}},
               {SpeechdDefaultVoice, "eSpeak: Afrikaans", "eSpeak: K+Q"}}},
             {"generic modules named by their synthesizer",
              {{{"rhvoice", {{"Anna", "ru"}}},
                {"mary-generic", {{"slt", "en"}}},
                {"piper-generic", {{"amy", "en"}}},
                {"espeak-ng-mbrola-generic", {{"en1", "en"}}}},
               {SpeechdDefaultVoice, "MARY: slt", "MBROLA: en1", "Piper: amy", "RHVoice: Anna"}}}});
    }
    void list() {
        const auto [modules, names] = row<Listing>();
        QStringList listed;
        for (const VoiceInfo& voice : SpeechdVoiceList("en", modules))
            listed << voice.name;
        QCOMPARE(listed, names);
    }

    void attributes() {
        QStringList got;
        for (const VoiceInfo& v : SpeechdVoiceList(
                 "de",
                 {{"voxin",
                   {{"Ava", "en-US", "FEMALE1"}, {"Tom", "en-GB", "male2"}, {"Zed", "", "Adam"}}}}))
            got << QString("%1|%2|%3|%4|%5")
                       .arg(v.identifier, v.maker, v.languages.empty() ? "-" : v.languages[0].tag)
                       .arg(v.gender)
                       .arg(v.desktop);
        QCOMPARE(got, (QStringList{"|Speech Dispatcher|de|0|1", "voxin/Ava|Voxin|en-US|2|1",
                                   "voxin/Tom|Voxin|en-GB|1|1", "voxin/Zed|Voxin|-|0|1"}));
    }

    void criteriaOverBothKinds_data() {
        rows<Pick>(
            {{"start-up criteria keep the program's own voice",
              {"Mfg=Microsoft;Gender=1", "de_DE", "German"}},
             {"a maker picks its voice", {"Mfg=pico", "en", "Pico: de-DE"}},
             {"an exact language beats the program's own", {"Language=de-DE", "en", "Pico: de-DE"}},
             {"the desktop default by name",
              {"Name=desktop default voice", "de", SpeechdDefaultVoice}}});
    }
    void criteriaOverBothKinds() {
        const auto [criteria, userLanguage, voice] = row<Pick>();
        std::vector<VoiceInfo> voices{{"English (Great Britain)", "gmw/en", {{"en-gb"}}, 1},
                                      {"German", "gmw/de", {{"de"}}, 1}};
        for (const VoiceInfo& desktop :
             SpeechdVoiceList("de", {{"pico", {{"de-DE", "de-DE", "male1"}}}}))
            voices.push_back(desktop);
        QCOMPARE(voices[std::size_t(BestVoice(voices, criteria, userLanguage) - 1)].name, voice);
    }
};

QTEST_APPLESS_MAIN(tst_SpeechdVoices)
#include "tst_speechdvoices.moc"
