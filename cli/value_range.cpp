#include "cli/value_range.h"

#include <cmath>
#include <string>

#include "cli/decimal_text.h"
#include "cli/input_error.h"

namespace quorvane::cli {
namespace {

// A stop that start + n step misses by rounding alone still counts as reached.
constexpr double kStepSlack = 1e-9;

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

double RangeNumber(std::string_view part, std::string_view text, std::string_view argument,
                   const char* role) {
  if (const auto value = ParseDecimal(part)) return *value;
  throw InputError(std::string(argument) + ": the " + role + " " + Quoted(part) + " of " +
                   Quoted(text) + " " + DecimalSyntaxProblem(part));
}

}  // namespace

ValueRange ParseValueRange(std::string_view text, std::string_view argument) {
  const auto first = text.find(':');
  if (first == std::string_view::npos) {
    const auto value = ParseDecimal(text);
    if (!value) {
      throw InputError(std::string(argument) + ": " + Quoted(text) + " " +
                       DecimalSyntaxProblem(text));
    }
    return {*value, 0.0, 1, *value, true};
  }
  const auto second = text.find(':', first + 1);
  if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos) {
    throw InputError(std::string(argument) + ": " + Quoted(text) +
                     " is neither a number nor a range start:stop:step");
  }
  const double start = RangeNumber(text.substr(0, first), text, argument, "start");
  const double stop =
      RangeNumber(text.substr(first + 1, second - first - 1), text, argument, "stop");
  const double step = RangeNumber(text.substr(second + 1), text, argument, "step");

  const std::string range = std::string(argument) + ": the range " + Quoted(text);
  if (step == 0.0) throw InputError(range + " has a step of zero");
  const double steps = (stop - start) / step;
  if (steps < -kStepSlack) throw InputError(range + " is empty: its step leads away from the stop");
  if (!(steps + 1.0 <= static_cast<double>(kMaxRangeValues))) {
    throw InputError(range + " has more than " + std::to_string(kMaxRangeValues) + " values");
  }
  const auto lastIndex = static_cast<std::int64_t>(std::floor(steps + kStepSlack));
  const double reached = start + static_cast<double>(lastIndex) * step;
  const double last = std::fabs(reached - stop) <= kStepSlack * std::fabs(step) ? stop : reached;
  return {start, step, lastIndex + 1, last, false};
}

}  // namespace quorvane::cli
