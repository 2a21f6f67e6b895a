#pragma once

#include <cstdint>
#include <string>

// Float to 16-bit integer: nearest, ties to even; NaN gives 0 and values
// beyond the range saturate instead of overflowing.
std::int16_t saturatingInt16(double value);

// The shortest decimal text that reads back as the same double: "5", "-3", "0.5".
std::string shortestDecimal(double value);
