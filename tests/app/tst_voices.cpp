#include "WindowFixture.h"

#include <QTest>

namespace {
QStringList entries(const QComboBox* combo) {
    QStringList names;
    for (int i = 0; i < combo->count(); ++i)
        names << combo->itemText(i);
    return names;
}
} // namespace

class tst_Voices : public QObject {
    Q_OBJECT
private slots:
    void startUpPicksTheFoundVoice() {
        WindowFixture f;
        QCOMPARE(entries(f.window->cboSelectVoice), (QStringList{"Anna", "Bert", "Carl"}));
        QCOMPARE(f.window->cboSelectVoice->currentIndex(), 1);
        QCOMPARE(f.speech.calls, (QStringList{"Find", "Select:2", "Current:2", "Flag:0"}));
    }

    void choosingAnEntry_data() {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<QString>("flag");
        QTest::addRow("attribute 1") << 1 << "Flag:0";
        QTest::addRow("attribute 0") << 0 << "Flag:1";
        QTest::addRow("attribute 2") << 2 << "Flag:1";
        QTest::addRow("attribute -1") << -1 << "Flag:1";
    }
    void choosingAnEntry() {
        QFETCH(int, attribute);
        QFETCH(QString, flag);
        WindowFixture f;
        f.speech.voices[2].attribute = attribute;
        f.speech.calls.clear();
        f.choose(f.window->cboSelectVoice, 2);
        QCOMPARE(f.speech.calls, (QStringList{"Current:3", flag}));
        f.choose(f.window->cboSelectVoice, 0);
        QCOMPARE(f.speech.current, 1);
    }

    void noVoices() {
        FakeClock clock;
        RecordingSpeech speech;
        RecordingStarter starter;
        speech.voices.clear();
        speech.found = 0;
        frmHoravox window(clock, speech, starter, noFrame());
        window.Load();
        QCOMPARE(window.cboSelectVoice->count(), 0);
        QCOMPARE(window.cboSelectVoice->currentIndex(), -1);
        QCOMPARE(speech.calls, (QStringList{"Find", "Select:0", "Current:0", "Flag:1"}));
        QCOMPARE(window.Errors().ErrorCount(), 0);
    }

    void currentVoiceBeyondTheList() {
        FakeClock clock;
        RecordingSpeech speech;
        RecordingStarter starter;
        speech.found = 7;
        frmHoravox window(clock, speech, starter, noFrame());
        window.Load();
        QCOMPARE(window.cboSelectVoice->count(), 3); // every entry is in before the refusal
        QCOMPARE(window.cboSelectVoice->currentIndex(), -1);
        QCOMPARE(window.cboSelectVoice->currentText(), QStringLiteral("cboSelectVoice"));
        QVERIFY(window.Errors().LastMessage().contains(u"no entry 6"));
        QVERIFY(!speech.calls.contains("Current:7"));
    }
};

QTEST_MAIN(tst_Voices)
#include "tst_voices.moc"
