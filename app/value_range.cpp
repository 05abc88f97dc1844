#include "app/value_range.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"

namespace quorvane::app {
namespace {

// A stop that start + n step misses by rounding alone still counts as reached.
constexpr double kStepSlack = 1e-9;

// Decimal places that keep both 10^places and the scaled values exact.
constexpr int kMaxPlaces = 22;
constexpr double kMaxExactInteger = 9007199254740992.0;  // 2^53

// The decimal places of a number's text: its fraction digits less its exponent.
int DecimalPlaces(std::string_view text) {
  const auto exponentMark = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, exponentMark);
  const auto point = mantissa.find('.');
  int places = point == std::string_view::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
  if (exponentMark != std::string_view::npos) {
    const auto exponent = ParseDecimal(text.substr(exponentMark + 1));
    if (!exponent || *exponent > 400.0 || *exponent < -400.0) return kMaxPlaces + 1;
    places -= static_cast<int>(*exponent);
  }
  return places < 0 ? 0 : places;
}

// x in units of 1/unit, when that is a whole number small enough to be exact.
bool ExactUnits(double x, double unit, std::int64_t& units) {
  const double scaled = x * unit;
  if (!(std::fabs(scaled) < kMaxExactInteger) || scaled != std::nearbyint(scaled)) return false;
  units = static_cast<std::int64_t>(scaled);
  return true;
}

// Counts the values in whole units of the written decimals, so that no
// rounding decides whether the stop is reached.
bool CountInUnits(ValueRange& range, double stop, int places) {
  if (places > kMaxPlaces) return false;
  const double unit = std::pow(10.0, places);
  std::int64_t stopUnits = 0;
  if (!ExactUnits(range.start, unit, range.startUnits) ||
      !ExactUnits(range.step, unit, range.stepUnits) || !ExactUnits(stop, unit, stopUnits)) {
    return false;
  }
  const std::int64_t lastIndex = (stopUnits - range.startUnits) / range.stepUnits;
  range.unit = unit;
  range.count = lastIndex + 1;
  range.last = static_cast<double>(range.startUnits + lastIndex * range.stepUnits) / unit;
  return true;
}

double RangeNumber(std::string_view part, std::string_view text, std::string_view argument,
                   const char* role) {
  if (const auto value = ParseDecimal(part)) return *value;
  throw InputError(std::string(argument) + ": the " + role + " " + QuotedInput(part) + " of " +
                   QuotedInput(text) + " " + DecimalSyntaxProblem(part));
}

ValueRange ParseValueList(std::string_view text, std::string_view argument) {
  if (text.find(':') != std::string_view::npos) {
    throw InputError(std::string(argument) + ": " + QuotedInput(text) +
                     " mixes a list and a range; give one or the other");
  }
  ValueRange list;
  list.single = false;
  for (std::size_t begin = 0;;) {
    const auto end = std::min(text.find(',', begin), text.size());
    list.listed.push_back(RangeNumber(text.substr(begin, end - begin), text, argument, "value"));
    if (end == text.size()) break;
    begin = end + 1;
  }
  list.count = static_cast<std::int64_t>(list.listed.size());
  list.start = list.listed.front();
  list.last = list.listed.back();
  return list;
}

}  // namespace

ValueRange ParseValueRange(std::string_view text, std::string_view argument) {
  if (text.find(',') != std::string_view::npos) return ParseValueList(text, argument);
  const auto first = text.find(':');
  if (first == std::string_view::npos) {
    const auto value = ParseDecimal(text);
    if (!value) {
      throw InputError(std::string(argument) + ": " + QuotedInput(text) + " " +
                       DecimalSyntaxProblem(text));
    }
    return ValueRange::Single(*value);
  }
  const auto second = text.find(':', first + 1);
  if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
    throw InputError(std::string(argument) + ": " + QuotedInput(text) +
                     " is neither a number nor a range start:stop:step");
  }
  const std::string_view startText = text.substr(0, first);
  const std::string_view stopText = text.substr(first + 1, second - first - 1);
  const std::string_view stepText = text.substr(second + 1);
  const double start = RangeNumber(startText, text, argument, "start");
  const double stop = RangeNumber(stopText, text, argument, "stop");
  const double step = RangeNumber(stepText, text, argument, "step");

  const std::string where = std::string(argument) + ": the range " + QuotedInput(text);
  if (step == 0.0) throw InputError(where + " has a step of zero");
  const double steps = (stop - start) / step;
  if (steps < -kStepSlack) throw InputError(where + " is empty: its step leads away from the stop");
  if (!(steps + 1.0 <= static_cast<double>(kMaxRangeValues))) {
    throw InputError(where + " has more than " + std::to_string(kMaxRangeValues) + " values");
  }
  ValueRange range{start, step, 0, 0.0, false, 0.0, 0, 0, {}};
  const int places =
      std::max({DecimalPlaces(startText), DecimalPlaces(stopText), DecimalPlaces(stepText)});
  if (CountInUnits(range, stop, places)) return range;

  const auto lastIndex = static_cast<std::int64_t>(std::floor(steps + kStepSlack));
  const double reached = start + static_cast<double>(lastIndex) * step;
  range.count = lastIndex + 1;
  range.last = std::fabs(reached - stop) <= kStepSlack * std::fabs(step) ? stop : reached;
  return range;
}

std::string RangeValueLocation(std::string_view option, const ValueRange& range, std::int64_t i) {
  if (range.count == 1) return std::string(option);
  return std::string(option) + " value " + std::to_string(i + 1);
}

}  // namespace quorvane::app
