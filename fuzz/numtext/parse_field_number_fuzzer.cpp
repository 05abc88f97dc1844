// Any bytes as a field record, read into both destinations: the status is one
// of the four, and a destination changes only when a value was stored.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "numtext/field_read.h"

namespace {

using quorvane::numtext::FieldReadOutcome;
using quorvane::numtext::FieldReadStatus;

constexpr std::uint64_t kDoubleSentinel = 0x7ff4'dead'beef'cafeULL;  // a signalling NaN
constexpr std::uint32_t kFloatSentinel = 0x7fa0'beefU;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsKnownStatus(FieldReadStatus status) {
  switch (status) {
    case FieldReadStatus::Success:
    case FieldReadStatus::EndOfInput:
    case FieldReadStatus::SyntaxError:
    case FieldReadStatus::ConversionError:
      return true;
  }
  return false;
}

template <typename T, typename Bits>
void CheckDestination(std::string_view record, Bits sentinel) {
  T destination = std::bit_cast<T>(sentinel);
  const FieldReadOutcome outcome = quorvane::numtext::ReadFieldNumber(record, destination);
  Require(IsKnownStatus(outcome.status));
  Require(!outcome.stored || outcome.status == FieldReadStatus::Success);
  if (outcome.stored) {
    Require(std::isfinite(destination));
  } else {
    Require(std::bit_cast<Bits>(destination) == sentinel);
  }
  T again = std::bit_cast<T>(sentinel);
  Require(quorvane::numtext::ParseFieldNumber(record, again) == outcome.status);
  Require(std::bit_cast<Bits>(again) == std::bit_cast<Bits>(destination));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  CheckDestination<double>(record, kDoubleSentinel);
  CheckDestination<float>(record, kFloatSentinel);
  return 0;
}
