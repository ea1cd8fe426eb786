// Any 32-bit timer value shows as "[- ]HH:MM:SS" that reads back as the same value.
#include "FuzzInput.h"
#include "clock/ClockText.h"

#include <QRegularExpression>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::int32_t))
        return 0;
    std::int32_t value;
    std::memcpy(&value, data, sizeof value);
    const QString text = FormatTimerText(value);
    static const QRegularExpression shape(R"(^(- )?(\d{2,}):([0-5]\d):([0-5]\d)$)");
    const auto match = shape.match(text);
    REQUIRE(match.hasMatch());
    const std::int64_t magnitude = match.captured(2).toLongLong() * 3600 +
                                   match.captured(3).toLongLong() * 60 +
                                   match.captured(4).toLongLong();
    REQUIRE((match.captured(1).isEmpty() ? magnitude : -magnitude) == value);
    return 0;
}
