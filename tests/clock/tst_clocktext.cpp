#include "CheckedArithmetic.h"
#include "ClockText.h"
#include "TickArithmetic.h"

#include <QTest>
#include <limits>

class tst_ClockText : public QObject {
    Q_OBJECT
private slots:
    void timerStart_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("seconds");
        QTest::addRow("ten minutes") << "00:10:00" << 600.0;
        QTest::addRow("last second of the day") << "23:59:59" << 86399.0;
        QTest::addRow("hour 24 invalid") << "24:00:00" << 0.0;
        QTest::addRow("minute 60 invalid alone") << "12:60:30" << 43230.0;
        QTest::addRow("single hour digit") << "5:00:00" << 0.0;
        QTest::addRow("short text") << "1:30" << 0.0;
        QTest::addRow("empty") << "" << 0.0;
        QTest::addRow("separators ignored") << "12.34.56" << 45296.0;
        QTest::addRow("three hour digits") << "100:00:00" << 36000.0;
        QTest::addRow("leading space") << " 1:00:00" << 0.0;
        QTest::addRow("sign in a field") << "+1:-5:+9" << 0.0;
        QTest::addRow("hours 19 and 20") << "19:00:00" << 68400.0;
        QTest::addRow("garbage after") << "01:02:03xyz" << 3723.0;
        QTest::addRow("other digits") << "\u0661\u0662:00:00" << 0.0;
    }
    void timerStart() {
        QFETCH(QString, text);
        QFETCH(double, seconds);
        QCOMPARE(TimerStartSeconds(text), seconds);
    }

    void timerText_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addRow("zero") << 0 << "00:00:00";
        QTest::addRow("five seconds") << 5 << "00:00:05";
        QTest::addRow("negative") << -5 << "- 00:00:05";
        QTest::addRow("one hour less a second") << 3599 << "00:59:59";
        QTest::addRow("100 hours") << 360000 << "100:00:00";
        QTest::addRow("largest") << std::numeric_limits<int>::max() << "596523:14:07";
        QTest::addRow("smallest") << std::numeric_limits<int>::min() << "- 596523:14:08";
    }
    void timerText() {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(FormatTimerText(value), text);
    }

    void clockTexts() {
        QCOMPARE(FormatClock(QTime(0, 0, 0)), QStringLiteral("00:00:00"));
        QCOMPARE(FormatClock(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
        QCOMPARE(ClockSeconds("23:59:59"), 86399);
        QCOMPARE(ClockSeconds("10:00:05"), 36005);
    }

    void overflowsAreErrors() {
        const QDate day(2026, 3, 2);
        QVERIFY_THROWS_EXCEPTION(OverflowError, DaysSince(day, day.addDays(3'000'000'000LL)));
        QVERIFY_THROWS_EXCEPTION(OverflowError, RunningSeconds("00:00:00", 24856));
        QCOMPARE(RunningSeconds("00:00:00", 24855), 2147472000);
        QVERIFY_THROWS_EXCEPTION(OverflowError, TimerValue("Up", -2147483647, 10, 0));
        QVERIFY_THROWS_EXCEPTION(OverflowError, checked::toInt16(32768));
        QVERIFY_THROWS_EXCEPTION(OverflowError, checked::add16(32767, 1));
    }
};

QTEST_APPLESS_MAIN(tst_ClockText)
#include "tst_clocktext.moc"
