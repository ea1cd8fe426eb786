#include "TextRow.h"
#include "WindowFixture.h"

#include <QTest>

namespace {
struct Night {
    QTime start;
    QStringList steps;
    QString timer;
};
} // namespace

class tst_Tick : public QObject {
    Q_OBJECT
private slots:
    void designTextsUntilFirstTick() {
        WindowFixture f;
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("time"));
        QCOMPARE(f.timer(), QStringLiteral("timer"));
        f.tickAt(10, 0, 5);
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("10:00:05"));
        QCOMPARE(f.timer(), QStringLiteral("00:00:05"));
    }

    void editsTakeEffectAtTheNextTick() {
        WindowFixture f;
        f.window->TimerStart->setText("00:10:00");
        f.tickAt(10, 2, 0);
        QCOMPARE(f.timer(), QStringLiteral("00:12:00"));
        f.setMode("Down");
        f.tickAt(10, 2, 0);
        QCOMPARE(f.timer(), QStringLiteral("00:08:00"));
        f.setMode("up"); // only "Up" exactly counts up
        f.window->TimerStart->setText("00:05:00");
        f.tickAt(10, 2, 0);
        QCOMPARE(f.timer(), QStringLiteral("00:03:00"));
    }

    // Steps are ticks, "day HH:MM:SS", or "reset"; the timer counts up from 00:00:00.
    void midnights_data() {
        rows<Night>(
            {{"ticking through two midnights",
              {{23, 59, 58},
               {"0 23:59:59", "1 00:00:00", "1 00:00:00", "1 00:00:01", "1 23:59:59", "2 00:00:00"},
               "24:00:02"}},
             {"asleep over midnight", {{23, 50, 0}, {"1 07:00:00"}, "07:10:00"}},
             {"no tick in 00:00:01",
              {{23, 59, 58}, {"1 00:00:00", "1 00:00:02", "2 00:00:00"}, "24:00:02"}},
             {"reset inside 00:00:00",
              {{23, 59, 58}, {"1 00:00:00", "reset", "1 00:00:00", "1 00:00:02"}, "00:00:02"}},
             {"started inside 00:00:00", {{0, 0, 0}, {"0 00:00:00", "0 00:00:02"}, "00:00:02"}},
             {"clock set back over midnight", {{0, 30, 0}, {"-1 23:30:00"}, "- 01:00:00"}}});
    }
    void midnights() {
        const auto [start, steps, timer] = row<Night>();
        WindowFixture f(start);
        for (const QString& step : steps) {
            if (step == u"reset") {
                f.window->cmdReset_Click();
                continue;
            }
            const QTime time = QTime::fromString(step.section(u' ', 1), u"HH:mm:ss");
            f.tickAt(time.hour(), time.minute(), time.second(), step.section(u' ', 0, 0).toInt());
        }
        QCOMPARE(f.timer(), timer);
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
    }

    void resetScansAgainFromTheNextSecond() {
        WindowFixture f(QTime(22, 0, 0));
        f.tickAt(23, 59, 59);
        f.tickAt(7, 0, 0, 1); // the morning after
        f.window->cmdReset_Click();
        f.tickAt(7, 0, 1, 1);
        f.tickAt(7, 0, 2, 1);
        QCOMPARE(f.speech.spoken().last(), QStringLiteral("Horavox"));

        // A reset inside a second already scanned does not scan it again.
        f.tickAt(7, 1, 0, 1);
        f.speech.calls.clear();
        f.window->cmdReset_Click();
        f.tickAt(7, 1, 0, 1);
        QCOMPARE(f.speech.spoken(), QStringList{"Go"}); // the empty "E 00:00:00" rows stay quiet
        QCOMPARE(f.timer(), QStringLiteral("00:00:00"));
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
};

QTEST_MAIN(tst_Tick)
#include "tst_tick.moc"
