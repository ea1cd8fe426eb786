// Any start value gives a whole number of seconds in 0 to 86399 and never fails.
#include "FuzzInput.h"
#include "clock/ClockText.h"

#include <cmath>

FUZZ_TEXT(text) {
    const double seconds = TimerStartSeconds(text);
    REQUIRE(seconds >= 0 && seconds <= 86399 && seconds == std::floor(seconds));
}
