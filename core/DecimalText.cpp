#include "DecimalText.h"

#include <algorithm>

namespace tonovka {

namespace {

bool isDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Adds one to a run of digits.
void increment(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Takes one from a run of digits that is at least 1, and drops the leading zero it may leave.
void decrement(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '0') {
            --*it;
            break;
        }
        *it = '9';
    }
    if (digits.size() > 1 && digits.front() == '0')
        digits.erase(digits.begin());
}

} // namespace

std::string stepDecimal(std::string_view text, int delta)
{
    bool negative = text.starts_with('-');
    std::string digits(negative ? text.substr(1) : text);
    // The texts only ever hold values written here (or the start values); a foreign text
    // reads as 0 rather than as garbage.
    if (!isDigits(digits))
        digits = "0";
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    negative = negative && digits != "0";
    if (delta == 0)
        return negative ? '-' + digits : digits;

    const bool up = delta > 0;
    if (digits == "0") {
        digits = "1";
        negative = !up;
    } else if (up != negative) {
        increment(digits); // away from zero
    } else {
        decrement(digits); // towards zero
        negative = negative && digits != "0";
    }
    return negative ? '-' + digits : digits;
}

} // namespace tonovka
