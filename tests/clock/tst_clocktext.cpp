// Start values and timer texts at their edges, and checked arithmetic at the edges of its types.
// The tick's tests cover the everyday texts.
#include "TextRow.h"
#include "clock/CheckedArithmetic.h"
#include "clock/ClockText.h"

#include <QStringList>
#include <QTest>
#include <functional>
#include <limits>
#include <optional>

namespace {
struct Seconds {
    QString text;
    double seconds;
};
struct Checked {
    std::function<std::int64_t()> operation;
    std::optional<std::int64_t> result; // none: an overflow error
};
constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
} // namespace

class tst_ClockText : public QObject {
    Q_OBJECT
private slots:
    void timerStart_data() {
        rows<Seconds>({{"last second of the day", {"23:59:59", 86399}},
                       {"hour 19", {"19:00:00", 68400}},
                       {"hour 24 invalid", {"24:00:00", 0}},
                       {"minute 60 invalid alone", {"12:60:30", 43230}},
                       {"second 60 invalid alone", {"12:30:60", 45000}},
                       {"single hour digit", {"5:00:00", 0}},
                       {"empty", {"", 0}},
                       {"separators ignored", {"12.34.56", 45296}},
                       {"three hour digits", {"100:00:00", 36000}},
                       {"leading space", {" 1:00:00", 0}},
                       {"sign in a field", {"+1:-5:+9", 0}},
                       {"garbage after", {"01:02:03xyz", 3723}},
                       {"other digits", {"\u0661\u0662:00:00", 0}}});
    }
    void timerStart() {
        const auto [text, seconds] = row<Seconds>();
        QCOMPARE(TimerStartSeconds(text), seconds);
    }

    void timerText_data() {
        rows<Seconds>({{"one hour less a second", {"00:59:59", 3599}},
                       {"100 hours", {"100:00:00", 360000}},
                       {"largest", {"596523:14:07", Max}},
                       {"smallest", {"- 596523:14:08", Min}}});
    }
    void timerText() {
        const auto [text, value] = row<Seconds>();
        QCOMPARE(FormatTimerText(std::int32_t(value)), text);
    }

    void checkedEdges_data() {
        using namespace checked;
        rows<Checked>({{"sum at the lowest", {[] { return add(Min + 1, -1); }, Min}},
                       {"sum below", {[] { return add(Min, -1); }, {}}},
                       {"difference at the highest", {[] { return subtract(Max - 1, -1); }, Max}},
                       {"16-bit sum above", {[] { return add16(32767, 1); }, {}}},
                       {"rounded at the lowest", {[] { return roundToInt32(Min - 0.4); }, Min}},
                       {"rounded at the highest", {[] { return roundToInt32(Max + 0.4); }, Max}},
                       {"rounded above", {[] { return roundToInt32(Max + 0.6); }, {}}}});
    }
    void checkedEdges() {
        const auto [operation, result] = row<Checked>();
        if (result)
            QCOMPARE(operation(), *result);
        else
            QVERIFY_THROWS_EXCEPTION(OverflowError, operation());
    }
};

QTEST_APPLESS_MAIN(tst_ClockText)
#include "tst_clocktext.moc"
