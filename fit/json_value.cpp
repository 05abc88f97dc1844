#include "fit/json_value.h"

#include <charconv>
#include <cstdint>
#include <utility>

namespace quorvane::fit {
namespace {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    SkipBlanks();
    JsonValue value = Value(0);
    SkipBlanks();
    if (pos_ != text_.size()) Fail("unexpected text after the JSON value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    throw JsonError("line " + std::to_string(line) + ", column " + std::to_string(column) + ": " +
                    what);
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  void SkipBlanks() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
      ++pos_;
    }
  }

  void Expect(char c) {
    if (Peek() != c || AtEnd()) Fail(std::string("expected '") + c + "'");
    ++pos_;
  }

  void Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) Fail("not a JSON value");
    pos_ += word.size();
  }

  JsonValue Value(int depth) {
    if (depth > kMaxJsonDepth) Fail("nested too deeply");
    JsonValue value;
    switch (Peek()) {
      case '{':
        return Object(depth);
      case '[':
        return Array(depth);
      case '"':
        value.kind = JsonValue::Kind::String;
        value.text = String();
        return value;
      case 't':
        Word("true");
        value.kind = JsonValue::Kind::Boolean;
        value.boolean = true;
        return value;
      case 'f':
        Word("false");
        value.kind = JsonValue::Kind::Boolean;
        return value;
      case 'n':
        Word("null");
        return value;
      default:
        value.kind = JsonValue::Kind::Number;
        value.number = Number();
        return value;
    }
  }

  JsonValue Object(int depth) {
    JsonValue value;
    value.kind = JsonValue::Kind::Object;
    Expect('{');
    SkipBlanks();
    if (Peek() == '}') {
      ++pos_;
      return value;
    }
    for (;;) {
      SkipBlanks();
      if (Peek() != '"') Fail("expected a member name in quotes");
      std::string key = String();
      SkipBlanks();
      Expect(':');
      SkipBlanks();
      value.members.push_back({std::move(key), Value(depth + 1)});
      SkipBlanks();
      if (Peek() == '}') {
        ++pos_;
        return value;
      }
      Expect(',');
    }
  }

  JsonValue Array(int depth) {
    JsonValue value;
    value.kind = JsonValue::Kind::Array;
    Expect('[');
    SkipBlanks();
    if (Peek() == ']') {
      ++pos_;
      return value;
    }
    for (;;) {
      SkipBlanks();
      value.items.push_back(Value(depth + 1));
      SkipBlanks();
      if (Peek() == ']') {
        ++pos_;
        return value;
      }
      Expect(',');
    }
  }

  void Digits() {
    if (AtEnd() || Peek() < '0' || Peek() > '9') Fail("expected a digit");
    while (!AtEnd() && Peek() >= '0' && Peek() <= '9') ++pos_;
  }

  double Number() {
    const std::size_t start = pos_;
    if (Peek() == '-') ++pos_;
    if (Peek() == '0') {
      ++pos_;
    } else {
      Digits();
    }
    if (Peek() == '.') {
      ++pos_;
      Digits();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++pos_;
      if (Peek() == '+' || Peek() == '-') ++pos_;
      Digits();
    }
    double x = 0.0;
    const char* first = text_.data() + start;
    const char* last = text_.data() + pos_;
    const auto [end, error] = std::from_chars(first, last, x);
    if (error == std::errc::result_out_of_range) {
      pos_ = start;
      Fail("number out of the range of a double");
    }
    if (error != std::errc() || end != last) Fail("not a JSON number");
    return x;
  }

  unsigned Hex4() {
    unsigned code = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = Peek();
      unsigned digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<unsigned>(c - 'A' + 10);
      } else {
        Fail("expected four hexadecimal digits after \\u");
      }
      code = code * 16 + digit;
      ++pos_;
    }
    return code;
  }

  static void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // A \u escape, joining a surrogate pair into one code point.
  std::uint32_t Escaped() {
    const unsigned high = Hex4();
    if (high < 0xD800 || high > 0xDFFF) return high;
    if (high > 0xDBFF) Fail("a low surrogate without its high one");
    if (text_.substr(pos_, 2) != "\\u") Fail("a high surrogate without its low one");
    pos_ += 2;
    const unsigned low = Hex4();
    if (low < 0xDC00 || low > 0xDFFF) Fail("a high surrogate without its low one");
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
  }

  std::string String() {
    Expect('"');
    std::string out;
    for (;;) {
      if (AtEnd()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = Peek();
      ++pos_;
      switch (e) {
        case '"':
        case '\\':
        case '/':
          out += e;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u':
          AppendUtf8(out, Escaped());
          break;
        default:
          --pos_;
          Fail("unknown escape in a string");
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
  const JsonValue* found = nullptr;
  for (const JsonMember& member : members) {
    if (member.name == key) found = &member.value;
  }
  return found;
}

JsonValue ParseJson(std::string_view text) {
  return JsonParser(text).Document();
}

void AppendJsonString(std::string& out, std::string_view x) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : x) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendJsonNumber(std::string& out, double x) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
  out.append(buffer, result.ptr);
}

void AppendJsonValue(std::string& out, const JsonValue& value) {
  switch (value.kind) {
    case JsonValue::Kind::Null:
      out += "null";
      return;
    case JsonValue::Kind::Boolean:
      out += value.boolean ? "true" : "false";
      return;
    case JsonValue::Kind::Number:
      AppendJsonNumber(out, value.number);
      return;
    case JsonValue::Kind::String:
      AppendJsonString(out, value.text);
      return;
    case JsonValue::Kind::Array:
      out += '[';
      for (std::size_t i = 0; i < value.items.size(); ++i) {
        if (i > 0) out += ", ";
        AppendJsonValue(out, value.items[i]);
      }
      out += ']';
      return;
    case JsonValue::Kind::Object:
      out += '{';
      for (std::size_t i = 0; i < value.members.size(); ++i) {
        if (i > 0) out += ", ";
        AppendJsonString(out, value.members[i].name);
        out += ": ";
        AppendJsonValue(out, value.members[i].value);
      }
      out += '}';
      return;
  }
}

}  // namespace quorvane::fit
