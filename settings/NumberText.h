#pragma once

#include <optional>
#include <string>

namespace parvel {

// Conversions between typed or stored number texts and numbers. None of them depends on the C
// library locale (the GUI sets it from the environment): the decimal separator is passed in.

// A whole number: optional blanks (spaces, tabs) around it, an optional sign, decimal digits.
// An empty text, a lone sign, any other character or a second number is not a whole number.
// Values beyond +-kWholeNumberLimit are returned as that limit: every caller clamps to a small
// range, so a long run of digits still counts as "large" instead of overflowing.
constexpr long long kWholeNumberLimit = 1000000000000LL;
std::optional<long long> ParseWholeNumber(const std::string& text);

// A decimal number in the user's locale: optional blanks around it, an optional sign, digits
// with at most one `decimal_separator` and at least one digit ("0,5", ",5", "5," and "-3" under
// a German locale). No exponent and no digit grouping; the other separator is not a number.
std::optional<double> ParseLocaleDecimal(const std::string& text, char decimal_separator);

// value rounded to `decimals` decimals, written with `decimal_separator` ("1,000").
std::string FormatLocaleDecimal(double value, int decimals, char decimal_separator);

}  // namespace parvel
