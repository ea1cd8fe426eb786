#include "CheckedArithmetic.h"
#include "ClockText.h"
#include "TextRow.h"
#include "TickArithmetic.h"

#include <QTest>
#include <limits>

namespace {
struct Seconds {
    QString text;
    double seconds;
};
} // namespace

class tst_ClockText : public QObject {
    Q_OBJECT
private slots:
    void timerStart_data() {
        rows<Seconds>({{"ten minutes", {"00:10:00", 600}},
                       {"last second of the day", {"23:59:59", 86399}},
                       {"hour 24 invalid", {"24:00:00", 0}},
                       {"minute 60 invalid alone", {"12:60:30", 43230}},
                       {"single hour digit", {"5:00:00", 0}},
                       {"short text", {"1:30", 0}},
                       {"empty", {"", 0}},
                       {"separators ignored", {"12.34.56", 45296}},
                       {"three hour digits", {"100:00:00", 36000}},
                       {"leading space", {" 1:00:00", 0}},
                       {"sign in a field", {"+1:-5:+9", 0}},
                       {"hours 19 and 20", {"19:00:00", 68400}},
                       {"garbage after", {"01:02:03xyz", 3723}},
                       {"other digits", {"\u0661\u0662:00:00", 0}}});
    }
    void timerStart() {
        const auto [text, seconds] = row<Seconds>();
        QCOMPARE(TimerStartSeconds(text), seconds);
    }

    void timerText_data() {
        constexpr int max = std::numeric_limits<int>::max(), min = std::numeric_limits<int>::min();
        rows<Seconds>({{"zero", {"00:00:00", 0}},
                       {"five seconds", {"00:00:05", 5}},
                       {"negative", {"- 00:00:05", -5}},
                       {"one hour less a second", {"00:59:59", 3599}},
                       {"100 hours", {"100:00:00", 360000}},
                       {"largest", {"596523:14:07", max}},
                       {"smallest", {"- 596523:14:08", min}}});
    }
    void timerText() {
        const auto [text, value] = row<Seconds>();
        QCOMPARE(FormatTimerText(std::int32_t(value)), text);
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
