// The desktop service's voices as the list shows them, and criteria over both kinds of voice.
#include "TextRow.h"
#include "speech/speechd/SpeechdVoices.h"

#include <QTest>

namespace {
struct Listing {
    std::vector<SpeechdModule> modules;
    QStringList names;
};
struct Pick {
    QString criteria, userLanguage, voice;
};
} // namespace

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
        const auto voices = SpeechdVoiceList(
            "de",
            {{"voxin",
              {{"Ava", "en-US", "FEMALE1"}, {"Tom", "en-GB", "male2"}, {"Zed", "", "Adam"}}}});
        const QStringList got{
            voices[0].identifier + "|" + voices[0].maker + "|" + voices[0].languages[0].tag,
            voices[1].identifier + "|" + voices[1].maker + "|" + voices[1].languages[0].tag};
        QCOMPARE(got, QStringList({"|Speech Dispatcher|de", "voxin/Ava|Voxin|en-US"}));
        QCOMPARE(
            (std::vector{voices[0].gender, voices[1].gender, voices[2].gender, voices[3].gender}),
            (std::vector{0, 2, 1, 0}));
        QVERIFY(voices[3].languages.empty() && voices[3].desktop && voices[0].desktop);
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
