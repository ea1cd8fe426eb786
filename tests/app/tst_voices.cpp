// The voice set-up at load and the voice list's choices. The speech control may settle on another
// voice than the one it was told, so only what is read back from it may count.
#include "WindowFixture.h"

#include <QTest>

class tst_Voices : public QObject {
    Q_OBJECT
private slots:
    void startUp_data() {
        QTest::addColumn<int>("voices");
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("settled");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("error");
        QTest::addRow("three voices, the second found")
            << 3 << 2 << 0 << 1 << QStringList{"Find", "Select:2", "Current:2", "Flag:0"} << "";
        QTest::addRow("the control settles on another")
            << 3 << 2 << 3 << 2 << QStringList{"Find", "Select:2", "Current:3", "Flag:1"} << "";
        QTest::addRow("no voices")
            << 0 << 0 << 0 << -1 << QStringList{"Find", "Select:0", "Current:0", "Flag:1"} << "";
        QTest::addRow("current voice beyond the list")
            << 3 << 7 << 0 << -1 << QStringList{"Find", "Select:7"} << "no entry 6";
    }
    void startUp() {
        QFETCH(int, voices);
        QFETCH(int, found);
        QFETCH(int, settled);
        QFETCH(int, index);
        QFETCH(QStringList, calls);
        QFETCH(QString, error);
        FakeClock clock;
        RecordingSpeech speech;
        RecordingStarter starter;
        speech.voices.resize(std::size_t(voices));
        speech.found = found;
        speech.settled = settled;
        frmHoravox window(clock, speech, starter, noFrame());
        window.Load();
        QStringList entries;
        for (int i = 0; i < window.cboSelectVoice->count(); ++i)
            entries << window.cboSelectVoice->itemText(i);
        QCOMPARE(entries, QStringList({"Anna", "Bert", "Carl"}).first(voices)); // all in, in order
        QCOMPARE(window.cboSelectVoice->currentIndex(), index);
        if (!error.isEmpty()) // refused: the list keeps its design text
            QCOMPARE(window.cboSelectVoice->currentText(), QStringLiteral("cboSelectVoice"));
        QCOMPARE(speech.calls, calls);
        QCOMPARE(window.Errors().ErrorCount(), error.isEmpty() ? 0 : 1);
        QVERIFY(window.Errors().LastMessage().contains(error));
    }

    void choosingAnEntry_data() {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<int>("settled");
        QTest::addColumn<QString>("flag");
        QTest::addRow("attribute 1") << 1 << 0 << "Flag:0";
        QTest::addRow("attribute 0") << 0 << 0 << "Flag:1";
        QTest::addRow("attribute 2") << 2 << 0 << "Flag:1";
        QTest::addRow("attribute -1") << -1 << 0 << "Flag:1";
        QTest::addRow("the flag follows the voice read back") << 0 << 2 << "Flag:0";
    }
    void choosingAnEntry() {
        QFETCH(int, attribute);
        QFETCH(int, settled);
        QFETCH(QString, flag);
        WindowFixture f;
        f.speech.voices[2].attribute = attribute;
        f.speech.settled = settled;
        f.speech.calls.clear();
        f.choose(f.window->cboSelectVoice, 2);
        QCOMPARE(f.speech.calls, (QStringList{"Current:3", flag}));
        f.choose(f.window->cboSelectVoice, 0);
        QCOMPARE(f.speech.current, 1);
    }
};

QTEST_MAIN(tst_Voices)
#include "tst_voices.moc"
