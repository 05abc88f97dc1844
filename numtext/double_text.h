#pragma once

#include <charconv>
#include <string>

namespace quorvane::numtext {

// The shortest text that reads back as x, exactly as std::to_chars(first,
// last, x) writes it: fixed or scientific notation, whichever is shorter
// (fixed on a tie), the digits closest to x among the shortest; "inf",
// "-inf", "nan" and "-nan" for the values that are not finite.
std::string ShortestText(double x);

// The same for a float: the shortest text that reads back as x as a float.
std::string ShortestText(float x);

// ShortestText(x) appended to out, without a string of its own: reports
// write thousands of numbers.
void AppendShortestText(std::string& out, double x);

// std::to_chars(first, last, x, format, precision), which the standard
// defines as printf's %f, %e or %g with that precision.
std::string FormattedText(double x, std::chars_format format, int precision);

// std::from_chars(first, last, value) for a double in the general format:
// the same value, the same end and the same errors, result_out_of_range
// where the text overflows or underflows to zero.
std::from_chars_result ReadDouble(const char* first, const char* last, double& value);

// The same from other sources, for standard libraries without the
// floating-point charconv, where they stand in for it: the shortest digits
// from fmt's Dragonbox, the text of a given precision from fmt and the
// reading from fast_float, all in integer arithmetic (the WebAssembly C
// library's printf and strtod compute in software long double, a hundred
// times slower). Exposed for tests, which hold them to the standard
// library's where it has them.
std::string ShortestTextFromDragonbox(double x);
std::string ShortestTextFromDragonbox(float x);
std::string FormattedTextFromFmt(double x, std::chars_format format, int precision);
std::from_chars_result ReadDoubleWithFastFloat(const char* first, const char* last, double& value);

}  // namespace quorvane::numtext
