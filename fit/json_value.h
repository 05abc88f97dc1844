#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::fit {

// A text that is not JSON. The message says where (line and column).
class JsonError : public std::runtime_error {
 public:
  explicit JsonError(const std::string& message) : std::runtime_error(message) {}
};

struct JsonMember;

// One parsed JSON value. Objects keep their members in the order written.
struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0.0;
  std::string text;
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;

  // The last member of that name (nullptr when absent or not an object).
  const JsonValue* Find(std::string_view key) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

// Strict JSON (RFC 8259) with nesting limited to kMaxJsonDepth. Numbers are
// read with correct rounding; a number beyond the range of a double is
// refused rather than turned into an infinity.
JsonValue ParseJson(std::string_view text);

inline constexpr int kMaxJsonDepth = 64;

// Appends x as a JSON string literal.
void AppendJsonString(std::string& out, std::string_view x);

// Appends the shortest decimal text that reads back to exactly x (finite x).
void AppendJsonNumber(std::string& out, double x);

// Appends the value on one line, members and items separated by ", " and
// names by ": ", so that what ParseJson read writes back the same every time.
void AppendJsonValue(std::string& out, const JsonValue& value);

}  // namespace quorvane::fit
