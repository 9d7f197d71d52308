#pragma once

#include <string>
#include <string_view>

namespace tonovka {

// The game keeps its numbers as the decimal text that the labels show. Every change moves the
// number by exactly one, up for a positive delta and down for a negative one, and writes
// canonical text back: digits, a leading "-" when negative, no leading zeros. The arithmetic is
// done on the digits themselves, so it is exact at any length and never wraps.
std::string stepDecimal(std::string_view text, int delta);

} // namespace tonovka
