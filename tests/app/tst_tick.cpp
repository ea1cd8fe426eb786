// Each tick: its timer and phasing, the clock and timer texts over midnights and resets, and the
// phrase rows it finds due.
#include "TextRow.h"
#include "WindowFixture.h"
#include "ui/SpeechIndicator.h"

#include <QAbstractEventDispatcher>
#include <QTest>
#include <QTimeZone>
#include <memory>

namespace {
struct Night {
    QTime start;
    QString steps;
    QString timer;
};
struct Change {
    const char* zone;
    const char* startUtc;
    const char* zoneAfter; // the zone set anew ten seconds in, or none
    QString clockBefore, clockAfter;
};
struct DueRows {
    const char* zone;
    const char* startUtc;
    int seconds;
    QString rows; // "2 A 02:30:00; ...": how often heard, then the row's kind and time, its phrase
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

// A window loaded at the instant in the zone, its clock then moved on a second at a time.
std::unique_ptr<WindowFixture> startedAt(const char* zone, const char* startUtc) {
    auto f = std::make_unique<WindowFixture>(QTime(10, 0, 0), QMargins(), false, false);
    f->clock.moveTo(QTimeZone(zone));
    f->clock.setInstant(QDateTime::fromString(startUtc, Qt::ISODate));
    f->window->Load();
    return f;
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

    // Steps, split at "; ", are ticks, "day HH:MM:SS", or edits between ticks, "mode X", "start X".
    void timerAfterSteps_data() {
        rows<Night>({
            {"ticking through two midnights",
             {{23, 59, 58},
              "0 23:59:59; 1 00:00:00; 1 00:00:00; 1 00:00:01; 1 23:59:59; 2 00:00:00",
              "24:00:02"}},
            {"asleep over midnight", {{23, 50, 0}, "1 07:00:00", "07:10:00"}},
            {"clock set back over midnight", {{0, 30, 0}, "-1 23:30:00", "- 01:00:00"}},
            {"start value added", {{10, 0, 0}, "start 00:10:00; 0 10:02:00", "00:12:00"}},
            {"mode edited between ticks",
             {{10, 0, 0}, "start 00:10:00; 0 10:02:00; mode Down; 0 10:02:00", "00:08:00"}},
            {"only Up exactly counts up",
             {{10, 0, 0}, "mode up; start 00:05:00; 0 10:02:00", "00:03:00"}},
            {"below zero", {{10, 0, 0}, "mode Down; start 00:00:03; 0 10:00:08", "- 00:00:05"}},
        });
    }
    void timerAfterSteps() {
        const auto [start, steps, timer] = row<Night>();
        WindowFixture f(start);
        for (const QString& step : steps.split(QStringLiteral("; "))) {
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

    // The timer counts the seconds that pass, up or down, while the clock shows the local time
    // through a change of daylight saving time, or of the zone, twenty seconds after the start.
    void realSecondsThroughChanges_data() {
        rows<Change>({
            {"Berlin, autumn",
             {"Europe/Berlin", "2026-10-25T00:59:50Z", {}, "02:59:50", "02:00:10"}},
            {"Berlin, spring",
             {"Europe/Berlin", "2026-03-29T00:59:50Z", {}, "01:59:50", "03:00:10"}},
            {"New York, autumn",
             {"America/New_York", "2026-11-01T05:59:50Z", {}, "01:59:50", "01:00:10"}},
            {"New York, spring",
             {"America/New_York", "2026-03-08T06:59:50Z", {}, "01:59:50", "03:00:10"}},
            {"Sydney, autumn",
             {"Australia/Sydney", "2026-04-04T15:59:50Z", {}, "02:59:50", "02:00:10"}},
            {"Sydney, spring",
             {"Australia/Sydney", "2026-10-03T15:59:50Z", {}, "01:59:50", "03:00:10"}},
            {"UTC, then the half-hour zone of Kolkata",
             {"UTC", "2026-12-09T10:00:00Z", "Asia/Kolkata", "10:00:00", "15:30:20"}},
            {"Berlin, then New York, back over midnight",
             {"Europe/Berlin", "2026-12-09T23:59:50Z", "America/New_York", "00:59:50", "19:00:10"}},
        });
    }
    void realSecondsThroughChanges() {
        const auto [zone, startUtc, zoneAfter, clockBefore, clockAfter] = row<Change>();
        for (const auto& [mode, timer] : {std::pair{"Up", "01:00:20"}, {"Down", "00:59:40"}}) {
            const auto f = startedAt(zone, startUtc);
            f->setMode(mode);
            f->window->TimerStart->setText("01:00:00");
            f->window->Tick();
            QCOMPARE(f->window->txtTime->text(), clockBefore);
            for (int second = 1; second <= 20; ++second) {
                if (second == 10 && zoneAfter)
                    f->clock.moveTo(QTimeZone(zoneAfter));
                f->clock.pass(1);
                f->window->Tick();
            }
            QCOMPARE(f->window->txtTime->text(), clockAfter);
            QCOMPARE(f->timer(), QString(timer));
            QCOMPARE(f->window->Errors().ErrorCount(), 0);
        }
    }

    // The scan follows the displays: an A row in autumn's repeated hour is due each time the
    // clock shows it, one in spring's skipped hour never is, and every E row once.
    void rowsThroughChanges_data() {
        rows<DueRows>({{"Berlin, autumn from 01:30 to 03:00",
                        {"Europe/Berlin", "2026-10-24T23:30:00Z", 9000,
                         "2 A 02:30:00; 1 A 01:45:00; 1 E 01:00:00; 1 E 02:00:00; 0 E 02:30:01"}},
                       {"Berlin, spring from 01:30 to 04:00",
                        {"Europe/Berlin", "2026-03-29T00:30:00Z", 5400,
                         "0 A 02:30:00; 1 A 03:30:00; 1 A 01:45:00; 1 E 00:45:00; 1 E 01:15:00"}}});
    }
    void rowsThroughChanges() {
        const auto [zone, startUtc, seconds, rows] = row<DueRows>();
        const auto f = startedAt(zone, startUtc);
        f->window->cmdClearPhrases_Click();
        const QStringList entries = rows.split(QStringLiteral("; "));
        for (std::size_t i = 0; i < std::size_t(entries.size()); ++i) {
            const QString text = entries[qsizetype(i)].mid(2);
            f->window->ElapsedActual[i]->setText(text.left(1));
            f->window->TimeList[i]->setText(text.mid(2));
            f->window->SayList[i]->setText(text);
        }
        for (int second = 1; second <= seconds; ++second) {
            f->clock.pass(1);
            f->window->Tick();
        }
        const QStringList spoken = f->speech.spoken();
        for (const QString& entry : entries)
            QVERIFY2(spoken.count(entry.mid(2)) == entry.left(1).toInt(), qPrintable(entry));
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
