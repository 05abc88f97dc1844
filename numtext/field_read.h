#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane::numtext {

enum class FieldReadStatus : std::int32_t {
  Success = 0,
  EndOfInput = -1,      // no value in the record
  SyntaxError = 59,     // the text breaks the value syntax
  ConversionError = 64  // a valid token that does not fit the destination
};

// Length of the blank-padded record a field's text is read from.
inline constexpr int kFieldRecordLength = 256;

// Reads the first free-form value of the record into destination. The
// destination is written only when a value was actually read: never on a
// non-zero status, nor on a null value, a slash or a bare repeat count.
FieldReadStatus ParseFieldNumber(std::string_view record, double& destination);
FieldReadStatus ParseFieldNumber(std::string_view record, float& destination);

// The status together with whether a value was stored, which status 0 alone
// does not tell.
struct FieldReadOutcome {
  FieldReadStatus status = FieldReadStatus::EndOfInput;
  bool stored = false;
};
FieldReadOutcome ReadFieldNumber(std::string_view record, double& destination);
FieldReadOutcome ReadFieldNumber(std::string_view record, float& destination);

}  // namespace quorvane::numtext
