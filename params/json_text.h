#pragma once

#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvane::params {

// A text that is not JSON. The message says where (line and column).
class JsonError : public std::runtime_error {
 public:
  explicit JsonError(const std::string& message) : std::runtime_error(message) {}
};

// Objects keep their members in the order written.
using Json = nlohmann::ordered_json;

inline constexpr int kMaxJsonDepth = 64;

// Strict JSON (RFC 8259, strings in UTF-8) with arrays and objects nested at
// most kMaxJsonDepth deep. Every number is a double read from its own text
// with correct rounding, so -0 stays negative; one beyond the range of a
// double, above or below, is refused rather than turned into an infinity or
// a zero. A key given twice counts once, with its last value.
Json ParseJson(std::string_view text);

// Appends x as a JSON string literal; bytes that are not UTF-8 become U+FFFD,
// so that whatever is written reads back.
void AppendJsonString(std::string& out, std::string_view x);

// Appends the shortest decimal text that reads back to exactly x (finite x).
void AppendJsonNumber(std::string& out, double x);

// Appends the value on one line, members and items separated by ", " and
// names by ": ", so that what ParseJson read writes back the same every time.
void AppendJsonValue(std::string& out, const Json& value);

}  // namespace quorvane::params
