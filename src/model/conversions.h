#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Float to 16-bit Integer: nearest, ties to even; NaN gives 0 and values
// beyond the range saturate instead of overflowing.
std::int16_t toInteger(double value);

// The number at the start of a caption ("-15abc" gives -15); 0 if there is none.
double leadingNumber(std::string_view text);

// The shortest decimal text that reads back as the same double: "5", "-3", "0.5".
std::string shortestDecimal(double value);
