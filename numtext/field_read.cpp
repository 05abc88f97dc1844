#include "numtext/field_read.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

namespace quorvane::numtext {
namespace {

// Digits past the 27th significant one do not change the value read.
constexpr std::size_t kSignificantDigits = 27;

// Decimal exponents of the leading digit beyond these are out of reach of a
// double either way, so the conversion is decided without converting.
constexpr long kLargestReachableExponent = 400;
constexpr long kSmallestReachableExponent = -400;

// Exponent digits saturate here; anything this large has long overflowed.
constexpr long kExponentCeiling = 100'000'000;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsSign(char c) {
  return c == '+' || c == '-';
}
bool IsExponentLetter(char c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q';
}
bool IsTruthLetter(char c) {
  return c == 'T' || c == 't' || c == 'F' || c == 'f';
}
bool EndsToken(char c) {
  return IsBlank(c) || c == ',' || c == '/' || c == ')' || c == '*';
}

constexpr FieldReadOutcome Unstored(FieldReadStatus status) {
  return {status, false};
}
constexpr FieldReadOutcome kStored{FieldReadStatus::Success, true};

// The digits of a token's value: value = digits * 10^scale, negative when the text is.
struct DecimalValue {
  bool negative = false;
  std::array<char, kSignificantDigits> digits{};  // no leading zeros; none for zero
  std::size_t count = 0;
  long scale = 0;
};

// The character rules of a numeric token; false on any breach.
bool FollowsCharacterRules(std::string_view token) {
  bool digitSeen = false;
  bool signPending = false;
  bool pointSeen = false;
  bool letterSeen = false;
  for (const char c : token) {
    if (IsDigit(c)) {
      digitSeen = true;
      signPending = false;
    } else if (IsSign(c)) {
      if (signPending) return false;
      signPending = true;
    } else if (c == '.') {
      if (pointSeen) return false;
      pointSeen = true;
    } else if (IsExponentLetter(c)) {
      if (letterSeen || !digitSeen) return false;
      letterSeen = true;
    } else {
      return false;
    }
  }
  return digitSeen && !IsSign(token.back());
}

// Reads the mantissa digits from pos on, keeping the first 27 significant ones.
void ReadMantissa(std::string_view token, std::size_t& pos, DecimalValue& value) {
  bool inFraction = false;
  for (; pos < token.size(); ++pos) {
    const char c = token[pos];
    if (c == '.') {
      inFraction = true;
      continue;
    }
    if (!IsDigit(c)) return;
    if (c == '0' && value.count == 0) {
      if (inFraction) --value.scale;
    } else if (value.count < kSignificantDigits) {
      value.digits[value.count++] = c;
      if (inFraction) --value.scale;
    } else if (!inFraction) {
      ++value.scale;
    }
  }
}

// Reads an exponent part from pos on: a letter with an optionally signed and
// possibly empty integer, or a sign with at least one digit. False when the
// part is malformed.
bool ReadExponent(std::string_view token, std::size_t& pos, long& exponent) {
  const bool hasLetter = IsExponentLetter(token[pos]);
  if (hasLetter) ++pos;
  bool negative = false;
  if (pos < token.size() && IsSign(token[pos])) negative = token[pos++] == '-';
  const std::size_t firstDigit = pos;
  long magnitude = 0;
  for (; pos < token.size() && IsDigit(token[pos]); ++pos) {
    magnitude = std::min(magnitude * 10 + (token[pos] - '0'), kExponentCeiling);
  }
  if (!hasLetter && pos == firstDigit) return false;
  exponent = negative ? -magnitude : magnitude;
  return true;
}

// Splits a token that follows the character rules into its value; the status
// tells a mantissa without digits (59) from a malformed exponent part (64).
FieldReadStatus ReadDecimal(std::string_view token, DecimalValue& value) {
  std::size_t pos = 0;
  if (IsSign(token[0])) value.negative = token[pos++] == '-';
  const std::size_t mantissaStart = pos;
  ReadMantissa(token, pos, value);
  const auto mantissa = token.substr(mantissaStart, pos - mantissaStart);
  if (mantissa.find_first_of("0123456789") == std::string_view::npos) {
    return FieldReadStatus::SyntaxError;
  }
  if (pos == token.size()) return FieldReadStatus::Success;
  long exponent = 0;
  if (!ReadExponent(token, pos, exponent) || pos != token.size()) {
    return FieldReadStatus::ConversionError;
  }
  value.scale += exponent;
  return FieldReadStatus::Success;
}

// Rounds the decimal value once to the nearest T; a value exactly halfway
// between two neighbours goes to the one with the even last bit.
template <typename T>
FieldReadOutcome Convert(const DecimalValue& value, T& destination) {
  const T signedZero = value.negative ? -T(0) : T(0);
  if (value.count == 0) {
    destination = signedZero;
    return kStored;
  }
  const long leadingExponent = static_cast<long>(value.count) - 1 + value.scale;
  if (leadingExponent > kLargestReachableExponent) {
    return Unstored(FieldReadStatus::ConversionError);
  }
  if (leadingExponent < kSmallestReachableExponent) {
    destination = signedZero;
    return kStored;
  }
  std::array<char, 64> text;
  char* out = text.data();
  if (value.negative) *out++ = '-';
  out = std::copy_n(value.digits.begin(), value.count, out);
  *out++ = 'e';
  out = std::to_chars(out, text.data() + text.size(), value.scale).ptr;

  T result{};
  const auto [end, ec] = std::from_chars(text.data(), out, result);
  if (ec == std::errc::result_out_of_range) {
    if (leadingExponent >= 0) return Unstored(FieldReadStatus::ConversionError);
    destination = signedZero;
    return kStored;
  }
  if (ec != std::errc{} || end != out) return Unstored(FieldReadStatus::ConversionError);
  destination = result;
  return kStored;
}

// A repeat count is an unsigned integer of at least one; a zero or signed
// count is a syntax error.
bool IsRepeatCount(std::string_view token) {
  return !token.empty() && token.find_first_not_of("0123456789") == std::string_view::npos &&
         token.find_first_not_of('0') != std::string_view::npos;
}

// Reads the value that starts at text[0], after the blanks and any repeat count.
template <typename T>
FieldReadOutcome ReadValue(std::string_view text, T& destination, bool afterRepeatCount) {
  const char first = text[0];
  if (first == ',' || first == '/') return Unstored(FieldReadStatus::Success);
  if (first == '\'' || first == '"') {
    const bool closed = text.find(first, 1) != std::string_view::npos;
    return Unstored(closed ? FieldReadStatus::ConversionError : FieldReadStatus::SyntaxError);
  }
  const char letter = first == '.' && text.size() > 1 ? text[1] : first;
  if (IsTruthLetter(letter)) {
    destination = (letter == 'T' || letter == 't') ? T(-1) : T(0);
    return kStored;
  }
  // A parenthesised pair is not a real number: "(" falls to the token rules and gives 59.
  const auto end = std::find_if(text.begin(), text.end(), EndsToken) - text.begin();
  const std::string_view token = text.substr(0, static_cast<std::size_t>(end));
  if (end < static_cast<long>(text.size()) && text[end] == '*') {
    if (afterRepeatCount || !IsRepeatCount(token)) return Unstored(FieldReadStatus::SyntaxError);
    const std::string_view rest = text.substr(static_cast<std::size_t>(end) + 1);
    if (rest.empty() || IsBlank(rest[0])) return Unstored(FieldReadStatus::Success);
    return ReadValue(rest, destination, true);
  }
  if (token.empty() || !FollowsCharacterRules(token)) return Unstored(FieldReadStatus::SyntaxError);
  DecimalValue value;
  const FieldReadStatus status = ReadDecimal(token, value);
  if (status != FieldReadStatus::Success) return Unstored(status);
  return Convert(value, destination);
}

template <typename T>
FieldReadOutcome ReadFirstValue(std::string_view record, T& destination) {
  record = record.substr(0, std::min<std::size_t>(record.size(), kFieldRecordLength));
  const auto start = std::find_if_not(record.begin(), record.end(), IsBlank);
  if (start == record.end()) return Unstored(FieldReadStatus::EndOfInput);
  return ReadValue(record.substr(static_cast<std::size_t>(start - record.begin())), destination,
                   false);
}

}  // namespace

FieldReadOutcome ReadFieldNumber(std::string_view record, double& destination) {
  return ReadFirstValue(record, destination);
}

FieldReadOutcome ReadFieldNumber(std::string_view record, float& destination) {
  return ReadFirstValue(record, destination);
}

FieldReadStatus ParseFieldNumber(std::string_view record, double& destination) {
  return ReadFirstValue(record, destination).status;
}

FieldReadStatus ParseFieldNumber(std::string_view record, float& destination) {
  return ReadFirstValue(record, destination).status;
}

}  // namespace quorvane::numtext
