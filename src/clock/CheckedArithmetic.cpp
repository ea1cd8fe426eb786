#include "clock/CheckedArithmetic.h"

#include <cmath>
#include <limits>

namespace checked {

namespace {
template <typename T> T fitted(std::int64_t value, const char* what) {
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        throw OverflowError(what);
    return static_cast<T>(value);
}
} // namespace

std::int32_t add(std::int32_t a, std::int32_t b) {
    return fitted<std::int32_t>(std::int64_t{a} + b, "the sum of two 32-bit numbers");
}

std::int32_t subtract(std::int32_t a, std::int32_t b) {
    return fitted<std::int32_t>(std::int64_t{a} - b, "the difference of two 32-bit numbers");
}

std::int32_t multiply(std::int32_t a, std::int32_t b) {
    return fitted<std::int32_t>(std::int64_t{a} * b, "the product of two 32-bit numbers");
}

std::int16_t add16(std::int16_t a, std::int16_t b) {
    return fitted<std::int16_t>(std::int64_t{a} + b, "the sum of two 16-bit numbers");
}

std::int32_t roundToInt32(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max()))
        throw OverflowError("a number converted to 32 bits");
    return static_cast<std::int32_t>(rounded);
}

std::int16_t toInt16(std::int32_t value) {
    return fitted<std::int16_t>(value, "a number converted to 16 bits");
}

std::int32_t toInt32(std::int64_t value) {
    return fitted<std::int32_t>(value, "a number converted to 32 bits");
}

} // namespace checked
