#pragma once

#include <string_view>

namespace quorvane::plot {

// The width of UTF-8 text in a sans-serif face at a size of one pixel, from
// typical character widths: no font is read, so every host lays a figure out
// alike. It errs wide, so that what is placed by it never overlaps.
double TextWidth(std::string_view text);

}  // namespace quorvane::plot
