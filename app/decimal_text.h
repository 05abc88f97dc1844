#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::app {

// A finite decimal number: an optional sign, digits with at most one point
// (at least one digit in all), and an optional exponent "e" or "E" with an
// optional sign and at least one digit. Nothing else: no blanks, no comma, no
// "inf", "nan" or hexadecimal. Empty when the text is not such a number or
// lies beyond the range of a double.
std::optional<double> ParseDecimal(std::string_view text);

// Why ParseDecimal refused the text, for an error message.
std::string DecimalSyntaxProblem(std::string_view text);

// The shortest text that reads back to exactly x ("nan", "inf", "-inf" for the
// non-finite values).
void AppendShortest(std::string& out, double x);

}  // namespace quorvane::app
