#include "DecimalText.h"

#include <charconv>
#include <cstdint>

namespace tonovka {

std::string stepDecimal(std::string_view text, int delta)
{
    // The texts only ever hold values written here (or the start values), so parsing cannot
    // fail in play; a foreign text reads as 0 rather than as garbage.
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    value += delta;

    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

} // namespace tonovka
