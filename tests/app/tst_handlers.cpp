#include "ClickableLabel.h"
#include "TextRow.h"
#include "WindowFixture.h"

#include <QPushButton>
#include <QTest>

namespace {
struct SayNow {
    QString text;
    QStringList speech, started;
};
} // namespace

class tst_Handlers : public QObject {
    Q_OBJECT
private slots:
    // The text, the calls to the speech control and the programs started.
    void sayThisNow_data() {
        const QString player = "C:\\Program Files\\Windows Media Player\\mplayer2.exe ";
        const QString wav = "c:\\windows\\media\\tada.wav";
        rows<SayNow>({{"words", {"This is a test", {"Stop", "Speak:This is a test"}, {}}},
                      {"empty", {"", {"Stop", "Speak:"}, {}}},
                      {"pasted at length",
                       {QString(30000, u'x'), {"Stop", "Speak:" + QString(128, u'x')}, {}}},
                      {"sound file", {wav, {"Stop"}, {player + wav}}},
                      {"path with blanks",
                       {"d:/my sounds/a b.wav", {"Stop"}, {player + "d:/my sounds/a b.wav"}}}});
    }
    void sayThisNow() {
        const auto [text, speech, started] = row<SayNow>();
        WindowFixture f;
        f.speech.calls.clear();
        f.window->txtSayThisNow->setText(text);
        QTest::mouseClick(f.window->cmdSayThisNow, Qt::LeftButton);
        QCOMPARE(f.speech.calls, speech);
        QCOMPARE(f.starter.started, started);
    }

    void resetMovesTheReferenceThenSaysGo() {
        WindowFixture f(QTime(23, 59, 50));
        f.setMode("Down");
        f.window->TimerStart->setText("00:10:00");
        f.tickAt(0, 0, 0, 1);
        f.tickAt(0, 0, 30, 1);
        f.speech.calls.clear();
        f.speech.failOn = "Speak";
        QTest::mouseClick(f.window->cmdReset, Qt::LeftButton);
        QCOMPARE(f.speech.calls, QStringList{"Stop"});
        QVERIFY(f.window->Errors().LastMessage().contains(u"Speak:Go"));
        const WindowVariables& v = f.window->Variables();
        QCOMPARE(v.StartSeconds, 30);
        QCOMPARE(v.NowSeconds, 30);
        QCOMPARE(v.DayCount, 0);
        QCOMPARE(v.LastScannedSecond, 30);
        f.speech.failOn.clear();
        QTest::mouseClick(f.window->cmdReset, Qt::LeftButton);
        QCOMPARE(f.speech.calls, (QStringList{"Stop", "Stop", "Speak:Go"}));
        f.tickAt(0, 0, 31, 1);
        QCOMPARE(f.timer(), QStringLiteral("00:09:59"));
    }

    // Each click starts the help text (tst_starter starts it for real); a failed start is shown.
    void helpClicks_data() {
        QTest::addColumn<int>("line");
        QTest::addRow("Help button") << -1;
        for (int i = 0; i < 5; ++i)
            QTest::addRow("instruction line %d", i) << i;
    }
    void helpClicks() {
        QFETCH(int, line);
        WindowFixture f;
        QWidget* target =
            line < 0 ? static_cast<QWidget*>(f.window->cmdHelp) : f.window->Help[std::size_t(line)];
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::mouseClick(target, Qt::LeftButton);
        QCOMPARE(f.starter.started, QStringList(2, "notepad.exe readme.txt"));
        f.starter.fail = true;
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(f.window->Errors().LastMessage().contains(u"notepad.exe readme.txt"));
    }

    void typingIntoAListChoosesNothing() {
        WindowFixture f;
        f.speech.calls.clear();
        QLineEdit* field = f.window->cboSelectVoice->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, "Carl");
        QVERIFY(f.speech.calls.isEmpty()); // typed, not chosen
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(f.speech.calls, (QStringList{"Current:3", "Flag:1"})); // Enter chooses it
        QTest::keyClicks(f.window->cboTimerMode->lineEdit(), "x");
        QCOMPARE(f.window->cboTimerMode->count(), 2);
    }
};

QTEST_MAIN(tst_Handlers)
#include "tst_handlers.moc"
