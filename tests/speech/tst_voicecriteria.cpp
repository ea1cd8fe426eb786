// Which voice a criteria text picks: the criteria first, then the user's language, then English,
// then list order. The list is ordered so that each row would pick another voice were its rule
// broken. And the text the synthesizer is given.
#include "TextRow.h"
#include "speech/SpokenText.h"
#include "speech/VoiceCriteria.h"

#include <QTest>

namespace {
struct Pick {
    QString criteria, userLanguage;
    int voice;
};
struct Fit {
    QString tag, language;
    int fit;
};
struct Spoken {
    QString text, spoken;
};
} // namespace

class tst_VoiceCriteria : public QObject {
    Q_OBJECT
private slots:
    void bestVoice_data() {
        rows<Pick>({{"name, in any case", {"Name=french", "de_DE", 1}},
                    {"criteria before the user's language", {"Gender=2", "de_DE", 2}},
                    {"a language criterion", {"Language=de_DE", "fr_FR", 4}},
                    {"its region met counts more", {"Language=en_US", "en_GB", 5}},
                    {"a name and a language met count alike", {"Name=Woman;Language=de", "sv", 2}},
                    {"the user's language breaks a tie", {"Gender=1", "de_DE.UTF-8", 4}},
                    {"then English", {"Mfg=Microsoft", "xx", 3}},
                    {"malformed pairs ignored", {";=;Gender;Shoe=9", "de_DE", 4}}});
    }
    void bestVoice() {
        const auto [criteria, userLanguage, voice] = row<Pick>();
        const std::vector<VoiceInfo> voices{
            {"French", "roa/fr", {{"fr-fr"}, {"fr"}}, 1},
            {"Woman", "x/w", {{"sv"}}, 2},
            {"English (Great Britain)", "gmw/en", {{"en-gb"}, {"en"}}, 1},
            {"German", "gmw/de", {{"de"}}, 1},
            {"English (America)", "gmw/en-US", {{"en-us"}, {"en"}}, 1},
        };
        QCOMPARE(BestVoice(voices, criteria, userLanguage), voice);
    }

    // A voice speaking `tag` at priority 5, against a language or locale name.
    void languageFit_data() {
        rows<Fit>({{"the exact tag, in any case and separator", {"de-de", "DE_de", 295}},
                   {"a locale's encoding and modifier dropped", {"de-de", "de_DE.UTF-8@euro", 295}},
                   {"a modifier without an encoding", {"de-de", "de_DE@euro", 295}},
                   {"the primary language", {"de", "de_AT", 195}},
                   {"another region", {"de-ch", "de_AT", 95}},
                   {"another language", {"de", "da", 0}}});
    }
    void languageFit() {
        const auto [tag, language, fit] = row<Fit>();
        QCOMPARE(LanguageFit({"Voice", "v", {{tag}}}, language), fit);
    }

    void spokenText_data() {
        const QString plain = QString::fromUtf16(u"10:30 <b>Café</b> \u00a0\u200b!");
        rows<Spoken>({{"command escape", {QChar(1) + QString("80S Go"), "80S Go"}},
                      {"line breaks and tabs part words", {"a\tb\r\nc", "a b  c"}},
                      {"delete and C1 controls", {QString::fromUtf16(u"x\x7f\x90y\0z", 6), "xyz"}},
                      {"anything else unchanged", {plain, plain}}});
    }
    void spokenText() {
        const auto [text, spoken] = row<Spoken>();
        QCOMPARE(SpokenText(text), spoken);
    }
};

QTEST_APPLESS_MAIN(tst_VoiceCriteria)
#include "tst_voicecriteria.moc"
