#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Second counts, voice numbers and list positions are fixed-width integers; leaving their range
// is an error the user is shown, never a silent wrap-around.
class OverflowError : public std::runtime_error {
public:
    explicit OverflowError(const std::string& what)
        : std::runtime_error("Overflow: " + what + " is out of range.") {}
};

namespace checked {

std::int32_t add(std::int32_t a, std::int32_t b);
std::int32_t subtract(std::int32_t a, std::int32_t b);
std::int32_t multiply(std::int32_t a, std::int32_t b);
std::int16_t add16(std::int16_t a, std::int16_t b);

// Rounds half to even, as the double-to-integer conversion of second counts does.
std::int32_t roundToInt32(double value);
std::int16_t toInt16(std::int32_t value);
std::int32_t toInt32(std::int64_t value);

} // namespace checked
