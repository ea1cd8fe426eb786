#include "SpokenText.h"
#include "VoiceCriteria.h"

#include <QTest>

class tst_VoiceCriteria : public QObject {
    Q_OBJECT
private slots:
    void bestVoice_data() {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QString>("userLanguage");
        QTest::addColumn<int>("voice");
        QTest::addRow("name") << "Name=french"
                              << "de_DE" << 3;
        QTest::addRow("gender beats language") << "Gender=2"
                                               << "de_DE" << 4;
        QTest::addRow("user language breaks a tie") << "Gender=1"
                                                    << "de_DE.UTF-8" << 2;
        QTest::addRow("English when the language is unknown") << "Mfg=Microsoft"
                                                              << "xx" << 1;
        QTest::addRow("maker matches every voice") << "Mfg=eSpeak NG;Language=fr"
                                                   << "" << 3;
        QTest::addRow("region counts") << "Language=en_US"
                                       << "" << 5;
        QTest::addRow("malformed pairs ignored") << ";=;Gender;Shoe=9"
                                                 << "fr_FR" << 3;
    }
    void bestVoice() {
        QFETCH(QString, criteria);
        QFETCH(QString, userLanguage);
        QFETCH(int, voice);
        const std::vector<VoiceInfo> voices{
            {"English (Great Britain)", "gmw/en", {{"en-gb"}, {"en"}}, 1},
            {"German", "gmw/de", {{"de"}}, 1},
            {"French", "roa/fr", {{"fr-fr"}, {"fr"}}, 1},
            {"Woman", "x/w", {{"sv"}}, 2},
            {"English (America)", "gmw/en-US", {{"en-us"}, {"en"}}, 1},
        };
        QCOMPARE(BestVoice(voices, criteria, userLanguage), voice);
    }

    void noVoices() { QCOMPARE(BestVoice({}, "Gender=1", "en"), 0); }

    void spokenText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("command escape") << QString::fromUtf16(u"\x01"
                                                              "80S Go")
                                        << "80S Go";
        QTest::newRow("line breaks and tabs part words") << "a\tb\r\nc"
                                                         << "a b  c";
        QTest::newRow("delete and C1 controls") << QString::fromUtf16(u"x\x7f\x90y\0z", 6) << "xyz";
        QTest::newRow("anything else unchanged")
            << QString::fromUtf16(u"10:30 <b>Café</b> \u00a0\u200b!")
            << QString::fromUtf16(u"10:30 <b>Café</b> \u00a0\u200b!");
    }
    void spokenText() {
        QFETCH(QString, text);
        QFETCH(QString, spoken);
        QCOMPARE(SpokenText(text), spoken);
    }
};

QTEST_APPLESS_MAIN(tst_VoiceCriteria)
#include "tst_voicecriteria.moc"
