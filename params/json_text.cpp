#include "params/json_text.h"

#include <charconv>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <vector>

#include "numtext/double_text.h"

namespace quorvane::params {
namespace {

std::string Where(std::string_view text, std::size_t offset) {
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    ++line;
    lineStart = i + 1;
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(offset - lineStart + 1);
}

[[noreturn]] void Fail(std::string_view text, std::size_t offset, const std::string& what) {
  throw JsonError(Where(text, offset) + ": " + what);
}

bool InNumber(char c) {
  return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// The offset of the quote that closes the string opened at start, or the end.
std::size_t StringEnd(std::string_view text, std::size_t start) {
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return i;
    }
  }
  return text.size();
}

// Where each number outside the strings starts, in order: the parser hands
// its numbers over without their text, -0 as an integer zero and the others
// through strtod, so each is read again from its own text. The nesting is
// refused here, before the parser builds a frame for every level.
std::vector<std::size_t> NumberStarts(std::string_view text) {
  std::vector<std::size_t> starts;
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      i = StringEnd(text, i);
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxJsonDepth) Fail(text, i, "nested too deeply");
    } else if (c == ']' || c == '}') {
      depth = depth > 0 ? depth - 1 : 0;
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      starts.push_back(i);
      while (i + 1 < text.size() && InNumber(text[i + 1])) ++i;
    }
  }
  return starts;
}

double NumberAt(std::string_view text, std::size_t start) {
  std::size_t end = start;
  while (end < text.size() && InNumber(text[end])) ++end;
  double x = 0.0;
  const auto [stop, error] = numtext::ReadDouble(text.data() + start, text.data() + end, x);
  if (error == std::errc::result_out_of_range) {
    Fail(text, start, "number out of the range of a double");
  }
  // The parser has checked the grammar; a number it has read is one here too.
  if (error != std::errc() || stop == text.data() + start) Fail(text, start, "not a JSON number");
  return x;
}

// The parser's own words, without its prefix and without the input it quotes,
// which may hold any bytes.
std::string Description(const std::string& what) {
  std::string description = what;
  const std::size_t colon = description.find(": ");
  if (colon != std::string::npos) description.erase(0, colon + 2);
  const std::size_t quoted = description.find("; last read: ");
  if (quoted != std::string::npos) description.erase(quoted);
  return description;
}

// The length of the well-formed UTF-8 sequence at i, or 0.
std::size_t Utf8Length(std::string_view x, std::size_t i) {
  const auto byte = [&x](std::size_t k) {
    return k < x.size() ? static_cast<unsigned char>(x[k]) : 0u;
  };
  const unsigned lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

Json ParseJson(std::string_view text) {
  const std::vector<std::size_t> starts = NumberStarts(text);
  std::size_t numbersRead = 0;
  const auto exactNumbers = [&](int, Json::parse_event_t event, Json& parsed) {
    if (event != Json::parse_event_t::value || !parsed.is_number()) return true;
    parsed = NumberAt(text, numbersRead < starts.size() ? starts[numbersRead] : text.size());
    ++numbersRead;
    return true;
  };
  try {
    return Json::parse(text.begin(), text.end(), exactNumbers);
  } catch (const Json::parse_error& error) {
    Fail(text, error.byte > 0 ? error.byte - 1 : 0, Description(error.what()));
  } catch (const Json::out_of_range&) {
    // The parser refuses a number that its strtod takes to an infinity.
    Fail(text, numbersRead < starts.size() ? starts[numbersRead] : text.size(),
         "number out of the range of a double");
  }
}

void AppendJsonString(std::string& out, std::string_view x) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t i = 0; i < x.size();) {
    const char c = x[i];
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t length = Utf8Length(x, i);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out.append(x.substr(i, length));
    }
    i += length;
  }
  out += '"';
}

void AppendJsonNumber(std::string& out, double x) {
  numtext::AppendShortestText(out, x);
}

void AppendJsonValue(std::string& out, const Json& value) {
  switch (value.type()) {
    case Json::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      return;
    case Json::value_t::number_float:
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
      AppendJsonNumber(out, value.get<double>());
      return;
    case Json::value_t::string:
      AppendJsonString(out, value.get_ref<const std::string&>());
      return;
    case Json::value_t::array: {
      out += '[';
      const char* separator = "";
      for (const Json& item : value) {
        out += separator;
        AppendJsonValue(out, item);
        separator = ", ";
      }
      out += ']';
      return;
    }
    case Json::value_t::object: {
      out += '{';
      const char* separator = "";
      for (const auto& [name, member] : value.items()) {
        out += separator;
        AppendJsonString(out, name);
        out += ": ";
        AppendJsonValue(out, member);
        separator = ", ";
      }
      out += '}';
      return;
    }
    default:
      out += "null";
      return;
  }
}

}  // namespace quorvane::params
