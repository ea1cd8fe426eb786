// Any start value gives a whole number of seconds in 0 to 86399 and never fails.
#include "ClockText.h"
#include "FuzzInput.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double seconds = TimerStartSeconds(FuzzText(data, size));
    Require(seconds >= 0 && seconds <= 86399, "start value in 0 to 86399");
    Require(seconds == std::floor(seconds), "start value in whole seconds");
    return 0;
}
