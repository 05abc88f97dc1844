#pragma once

#include <cmath>
#include <string>
#include <string_view>

#include "app/decimal_text.h"
#include "params/json_text.h"

namespace quorvane::web {

// A number as the command line's JSON writes it: the shortest text that reads
// back to the same double, null where JSON has no word for it.
inline void AppendJsonNumber(std::string& out, double x) {
  if (!std::isfinite(x)) {
    out += "null";
    return;
  }
  app::AppendShortest(out, x);
}

// "name": with a comma before it unless it opens its object.
inline void AppendJsonKey(std::string& out, std::string_view name) {
  if (out.back() != '{' && out.back() != '[') out += ", ";
  params::AppendJsonString(out, name);
  out += ": ";
}

// {"error": "message"}: how every answer of the page's core says it failed.
inline std::string ErrorJson(std::string_view message) {
  std::string out = "{\"error\": ";
  params::AppendJsonString(out, message);
  return out + "}";
}

}  // namespace quorvane::web
