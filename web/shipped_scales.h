#pragma once

#include <span>

namespace quorvane::web {

// The volume scales the packages ship (scales/*.json), built into the page's
// core: a page opened from file:// may read no file beside it.
struct ShippedScaleText {
  const char* name;  // the file's name without .json, as `--scale` takes it
  const char* text;
};
std::span<const ShippedScaleText> ShippedScaleTexts();

}  // namespace quorvane::web
