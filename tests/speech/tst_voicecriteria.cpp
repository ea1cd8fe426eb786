// Which voice criteria pick: the criteria first, then the user's language, English, list order;
// each row would pick another voice were its rule broken. And the text the synthesizer is given.
#include "TextRow.h"
#include "speech/SpokenText.h"
#include "speech/VoiceCriteria.h"

#include <QTest>

namespace {
// The criteria, the user's language, the voice picked, and the voices in place of the list below.
using Pick = std::tuple<QString, QString, int, QStringList>;
using Ranking = std::pair<QString, QStringList>; // each voice speaking a tag at a priority: "de/5"
using Spoken = std::pair<QString, QString>;

VoiceInfo speaking(const QString& voice) {
    return {voice, "v", {{voice.section(u'/', 0, 0), voice.section(u'/', 1).toInt()}}};
}
} // namespace

class tst_VoiceCriteria : public QObject {
    Q_OBJECT
private slots:
    void bestVoice_data() {
        rows<Pick>(
            {{"name, in any case", {"Name=french", "de_DE", 1, {}}},
             {"criteria before the user's language", {"Gender=2", "de_DE", 2, {}}},
             {"a language criterion", {"Language=de_DE", "fr_FR", 4, {}}},
             {"its region met counts more", {"Language=en_US", "en_GB", 5, {}}},
             {"a name and a language met count alike", {"Name=Woman;Language=de", "sv", 2, {}}},
             {"the user's language breaks a tie", {"Gender=1", "de_DE.UTF-8", 4, {}}},
             {"then English", {"Mfg=Microsoft", "xx", 3, {}}},
             {"malformed pairs ignored", {";=;Gender;Shoe=9", "de_DE", 4, {}}},
             {"a language's exact tag met in full at any priority",
              {"Language=de_AT", "xx", 2, {"de/0", "de-at/99"}}},
             {"another region met in part at any priority",
              {"Language=de_AT", "xx", 2, {"da/0", "de-ch/99"}}}});
    }
    void bestVoice() {
        const auto [criteria, userLanguage, voice, listed] = row<Pick>();
        std::vector<VoiceInfo> voices{
            {"French", "roa/fr", {{"fr-fr"}, {"fr"}}, 1},
            {"Woman", "x/w", {{"sv"}}, 2},
            {"English (Great Britain)", "gmw/en", {{"en-gb"}, {"en"}}, 1},
            {"German", "gmw/de", {{"de"}}, 1},
            {"English (America)", "gmw/en-US", {{"en-us"}, {"en"}}, 1},
        };
        if (!listed.isEmpty())
            voices = {speaking(listed[0]), speaking(listed[1])};
        QCOMPARE(BestVoice(voices, criteria, userLanguage), voice);
    }

    // Voices from the best for a language or locale name to the last, which does not speak it.
    void languageFit_data() {
        const QStringList kinds{"de-de/5", "de/5", "de-ch/5", "da/5"};
        rows<Ranking>(
            {{"exact tag, any case and separator", {"DE_de", kinds}},
             {"encoding and modifier dropped", {"de_DE.UTF-8@euro", kinds}},
             {"modifier alone dropped", {"de_DE@euro", kinds}},
             {"priority within a kind of match",
              {"de_AT", {"de-at/0", "de-at/99", "de/0", "de/99", "de-ch/0", "de-ch/99", "fr/0"}}},
             {"priorities clamped", {"de", {"de/-5", "de/1", "de-ch/500", "da/0"}}}});
    }
    void languageFit() {
        const auto [language, voices] = row<Ranking>();
        for (qsizetype i = 1; i < voices.size(); ++i)
            QVERIFY2(LanguageFit(speaking(voices[i - 1]), language) >
                         LanguageFit(speaking(voices[i]), language),
                     qPrintable(voices[i]));
        QCOMPARE(LanguageFit(speaking(voices.last()), language), 0);
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
