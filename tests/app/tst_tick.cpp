#include "WindowFixture.h"

#include <QTest>

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

    void countdownRunsBelowZero() {
        WindowFixture f;
        f.setMode("Down");
        f.window->TimerStart->setText("00:10:00");
        f.tickAt(10, 0, 5);
        QCOMPARE(f.timer(), QStringLiteral("00:09:55"));
        f.tickAt(10, 10, 0);
        QCOMPARE(f.timer(), QStringLiteral("00:00:00"));
        f.tickAt(10, 10, 5);
        QCOMPARE(f.timer(), QStringLiteral("- 00:00:05"));
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

    void throughMidnight() {
        WindowFixture f(QTime(23, 59, 58));
        f.tickAt(23, 59, 59);
        QCOMPARE(f.timer(), QStringLiteral("00:00:01"));
        f.tickAt(0, 0, 0);
        f.tickAt(0, 0, 0); // the other ticks of that second count nothing more
        QCOMPARE(f.window->Variables().DayCount, 1);
        QCOMPARE(f.window->Variables().NowSeconds, 86400);
        QCOMPARE(f.timer(), QStringLiteral("00:00:02"));
        f.tickAt(0, 0, 1);
        QCOMPARE(f.window->Variables().MidnightLatch, std::int16_t{0});
        f.tickAt(23, 59, 59);
        f.tickAt(0, 0, 0);
        QCOMPARE(f.window->Variables().DayCount, 2);
        QCOMPARE(f.timer(), QStringLiteral("24:00:02"));
    }

    void missedMidnightSecondsFallBack() {
        WindowFixture f(QTime(23, 59, 58));
        f.tickAt(0, 0, 1); // suspended over 00:00:00: not counted
        QCOMPARE(f.window->Variables().DayCount, 0);
        QCOMPARE(f.window->Variables().NowSeconds, 1);

        WindowFixture g(QTime(23, 59, 58));
        g.tickAt(0, 0, 0);
        g.tickAt(0, 0, 2); // no tick in 00:00:01: the latch stays set
        g.tickAt(23, 59, 59);
        g.tickAt(0, 0, 0);
        QCOMPARE(g.window->Variables().DayCount, 1);
        QCOMPARE(g.window->Variables().NowSeconds, 86400);
    }

    void overflowEndsTheTickAndIsShown() {
        WindowFixture f;
        // 24855 counted days still fit in 32-bit seconds; the next midnight does not.
        for (int day = 0; day < 24855; ++day) {
            f.tickAt(0, 0, 0);
            f.tickAt(0, 0, 1);
        }
        QCOMPARE(f.window->Errors().ErrorCount(), 0);
        const QString timerBefore = f.timer();
        const std::int32_t nowBefore = f.window->Variables().NowSeconds;
        f.tickAt(0, 0, 0);
        QCOMPARE(f.window->Errors().ErrorCount(), 1);
        QVERIFY(f.window->Errors().LastMessage().startsWith(u"Overflow"));
        QVERIFY(!f.window->Errors().Box()->isModal());
        QCOMPARE(f.window->Variables().DayCount, 24856);
        QCOMPARE(f.window->Variables().MidnightLatch, std::int16_t{1});
        QCOMPARE(f.window->Variables().NowSeconds, nowBefore);
        QCOMPARE(f.window->txtTime->text(), QStringLiteral("00:00:00"));
        QCOMPARE(f.timer(), timerBefore);
        f.tickAt(0, 0, 1); // fails again each tick, in the same message box
        QCOMPARE(f.window->Errors().ErrorCount(), 2);
        QCOMPARE(f.window->findChildren<QMessageBox*>().size(), 1);
    }
};

QTEST_MAIN(tst_Tick)
#include "tst_tick.moc"
