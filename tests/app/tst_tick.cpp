// Each tick: its timer and phasing, the clock and timer texts over midnights and resets, and the
// phrase rows it finds due.
#include "TextRow.h"
#include "WindowFixture.h"
#include "ui/SpeechIndicator.h"

#include <QAbstractEventDispatcher>
#include <QTest>

namespace {
struct Night {
    QTime start;
    QStringList steps;
    QString timer;
};
struct Phase {
    int second, millisecond, delay; // delay 0: the ticks run on
};

// The delays of the single-shot timers waiting on the event thread.
QList<int> pendingDelays() {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QList<int> delays;
    for (QObject* timer : dispatcher->children())
        for (const auto& info : dispatcher->registeredTimers(timer))
            delays << info.interval;
    return delays;
}

// Seconds 0..last after a start at 10:00:00, one tick in each.
QStringList spokenDuring(WindowFixture& f, int last) {
    for (int s = 0; s <= last; ++s)
        f.tickAt(10, 0, s);
    return f.speech.spoken();
}
} // namespace

class tst_Tick : public QObject {
    Q_OBJECT
private slots:
    // The window's own timer runs the tick every 100 ms from its creation; the design texts
    // show until the first. Each tick asks whether speech is heard.
    void ownTimerTicks() {
        WindowFixture f;
        frmHoravox window(f.clock, f.speech, f.starter, f.frame, f.reader);
        f.speech.speaking = true;
        QCOMPARE(window.txtTime->text(), QStringLiteral("time"));
        QCOMPARE(window.txtTimer->text(), QStringLiteral("timer"));
        QCOMPARE(window.tmrTimer1->interval(), 100);
        f.clock.set(10, 0, 5);
        QTRY_COMPARE(window.txtTime->text(), QStringLiteral("10:00:05"));
        QVERIFY(window.TextToSpeech1->Speaking());
    }

    // A tick that finds a new second more than 20 ms into it stops the ticks and starts them
    // again, with a tick, 5 ms into a later second; any other tick leaves them running.
    void phasing_data() {
        rows<Phase>({{"late in a new second", {1, 30, 75}},
                     {"just past the limit", {1, 21, 84}},
                     {"at the limit", {1, 20, 0}},
                     {"late in a second already scanned", {0, 60, 0}}});
    }
    void phasing() {
        const auto [second, millisecond, delay] = row<Phase>();
        WindowFixture f;
        f.tickAt(10, 0, 0);
        f.window->tmrTimer1->start();
        f.tickAt(10, 0, second, 0, millisecond);
        QCOMPARE(pendingDelays(), delay ? QList<int>{delay} : QList<int>{});
        QCOMPARE(f.window->tmrTimer1->isActive(), !delay);
        if (!delay)
            return;
        f.clock.set(10, 0, 2, 0, 5);
        QTRY_VERIFY(f.window->tmrTimer1->isActive());
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("10:00:02"));
    }

    // Steps are ticks, "day HH:MM:SS", or edits between ticks, "mode X" and "start X".
    void timerAfterSteps_data() {
        rows<Night>(
            {{"ticking through two midnights",
              {{23, 59, 58},
               {"0 23:59:59", "1 00:00:00", "1 00:00:00", "1 00:00:01", "1 23:59:59", "2 00:00:00"},
               "24:00:02"}},
             {"asleep over midnight", {{23, 50, 0}, {"1 07:00:00"}, "07:10:00"}},
             {"clock set back over midnight", {{0, 30, 0}, {"-1 23:30:00"}, "- 01:00:00"}},
             {"start value added", {{10, 0, 0}, {"start 00:10:00", "0 10:02:00"}, "00:12:00"}},
             {"mode edited between ticks",
              {{10, 0, 0},
               {"start 00:10:00", "0 10:02:00", "mode Down", "0 10:02:00"},
               "00:08:00"}},
             {"only Up exactly counts up",
              {{10, 0, 0}, {"mode up", "start 00:05:00", "0 10:02:00"}, "00:03:00"}},
             {"below zero",
              {{10, 0, 0}, {"mode Down", "start 00:00:03", "0 10:00:08"}, "- 00:00:05"}}});
    }
    void timerAfterSteps() {
        const auto [start, steps, timer] = row<Night>();
        WindowFixture f(start);
        for (const QString& step : steps) {
            const QString value = step.section(u' ', 1);
            const QTime time = QTime::fromString(value, u"HH:mm:ss");
            if (step.startsWith(u"mode "))
                f.setMode(value);
            else if (step.startsWith(u"start "))
                f.window->TimerStart->setText(value);
            else
                f.tickAt(time.hour(), time.minute(), time.second(),
                         step.section(u' ', 0, 0).toInt());
        }
        QCOMPARE(f.timer(), timer);
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
    }

    void overflowEndsTheTickAndIsShown() {
        WindowFixture f;
        f.tickAt(10, 0, 1);
        // 24855 days still fit in 32-bit seconds; one more does not.
        f.tickAt(0, 0, 0, 24855);
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
        const QString timerBefore = f.timer();
        const std::int32_t nowBefore = f.window->Variables().NowSeconds;
        f.tickAt(0, 0, 0, 24856);
        QCOMPARE(f.window->Errors().ErrorCount(), 1);
        QVERIFY(f.window->Errors().LastMessage().startsWith(u"Overflow"));
        QVERIFY(!f.window->Errors().Box()->isModal());
        QCOMPARE(f.window->Variables().NowSeconds, nowBefore);
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("00:00:00"));
        QCOMPARE(f.timer(), timerBefore);
        f.tickAt(0, 0, 1, 24856); // fails again each tick, in the same message box
        QCOMPARE(f.window->Errors().ErrorCount(), 2);
        QCOMPARE(f.window->findChildren<QMessageBox*>().size(), 1);
    }

    void defaultTableIntroducesTheProgram() {
        WindowFixture f;
        const QStringList spoken = spokenDuring(f, 25);
        QCOMPARE(spoken,
                 (QStringList{"", "", "", "Horavox", "Click the reset buttun to restart the clock",
                              "Click the help buttun for instructions",
                              "Change the display mode to edet the phrases spoken",
                              "The letter ee, indicates elapsed time and the letter eh, "
                              "indicates actual time"}));
        QCOMPARE(f.speech.calls.count("Stop"), spoken.size()); // each output stops speech first
    }

    void actualRowEveryDay() {
        WindowFixture f(QTime(21, 59, 58));
        f.tickAt(22, 0, 0);
        f.tickAt(0, 0, 0, 1);
        f.tickAt(0, 0, 1, 1);
        f.tickAt(22, 0, 0, 1);
        QCOMPARE(f.speech.spoken().count("This phrase will be spoken at 10 o clock p m"), 2);
    }

    void rowsOfOneSecondInRowOrder() {
        WindowFixture f;
        f.window->cmdClearPhrases_Click();
        for (int i = 0; i < PhraseRowCount; ++i) {
            QCOMPARE(f.window->TimeList[std::size_t(i)]->text(), QStringLiteral("00:00:00"));
            QCOMPARE(f.window->ElapsedActual[std::size_t(i)]->text(), QString(i == 9 ? "A" : "E"));
        }
        f.window->TimeList[3]->setText("00:00:04");
        f.window->SayList[3]->setText("first");
        f.window->TimeList[7]->setText("00:00:04");
        f.window->SayList[7]->setText("second");
        f.window->ElapsedActual[8]->setText("e"); // not "E": never due
        f.tickAt(10, 0, 0);
        QCOMPARE(f.speech.spoken(), QStringList(6, QString())); // E rows with nothing to say
        f.speech.calls.clear();
        f.tickAt(10, 0, 4);
        QCOMPARE(f.speech.calls, (QStringList{"Stop", "Speak:first", "Stop", "Speak:second"}));
    }

    void failingOutputEndsTheScan() {
        WindowFixture f;
        f.window->SayList[0]->setText("c:/bell.wav");
        f.window->TimeList[1]->setText("00:00:02");
        f.starter.fail = true;
        spokenDuring(f, 2);
        QVERIFY(f.window->Errors().LastMessage().contains(u"mplayer2.exe c:/bell.wav"));
        QVERIFY(!f.speech.spoken().contains("Click the reset buttun to restart the clock"));
        f.tickAt(10, 0, 2); // that second is not scanned again
        QCOMPARE(f.window->Errors().ErrorCount(), 1);
    }

    void scanWaitsWhenTheClockIsSetBack() {
        WindowFixture g(QTime(11, 0, 0));
        g.tickAt(11, 0, 0);
        g.speech.calls.clear();
        g.window->ElapsedActual[0]->setText("A");
        g.window->TimeList[0]->setText("10:30:00");
        g.tickAt(10, 0, 0); // the clock set back an hour: silent until 11:00:01
        g.tickAt(10, 30, 0);
        g.tickAt(10, 59, 59);
        QVERIFY(g.speech.spoken().isEmpty());
        QCOMPARE(g.window->Variables().LastScannedSecond, 39600);
        g.tickAt(11, 0, 1);
        QCOMPARE(g.window->Variables().LastScannedSecond, 39601);
    }
};

QTEST_MAIN(tst_Tick)
#include "tst_tick.moc"
