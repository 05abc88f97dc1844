#pragma once

#include <string>

namespace quorvane::numtext {

// The text of x in a field n characters wide: as many decimals as the integer
// part leaves room for, left-aligned, without trailing blanks; n asterisks when
// the value does not fit.
std::string FormatFieldNumber(double x, int n);

// x rounded correctly to d decimals and right-aligned in w columns; w asterisks
// when it needs more than w columns.
std::string FixedDecimalEdit(double x, int w, int d);

}  // namespace quorvane::numtext
