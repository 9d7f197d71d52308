#pragma once

#include <string>
#include <string_view>

namespace tonovka {

// The game keeps its numbers as the decimal text that the labels show. Every change reads
// the text as a number, moves it by exactly one and writes canonical text back: digits,
// a leading "-" when negative, no leading zeros.
std::string stepDecimal(std::string_view text, int delta);

} // namespace tonovka
