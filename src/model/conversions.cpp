#include "conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

std::int16_t toInteger(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (rounded >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}

double leadingNumber(std::string_view text)
{
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return 0.0;
    text.remove_prefix(start);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec != std::errc {} || !std::isfinite(value))
        return 0.0;
    return value;
}

std::string shortestDecimal(double value)
{
    if (value == 0.0)
        return "0"; // also for negative zero
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
