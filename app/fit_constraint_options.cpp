#include "app/fit_constraint_options.h"

#include <utility>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "models/model_catalogue.h"

namespace quorvane::app {
namespace {

struct Item {
  models::Parameter parameter;
  double first;
  double second;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

double Number(const std::string& option, const std::string& item, const std::string& text) {
  if (const auto value = ParseDecimal(text)) return *value;
  throw InputError(option + ": " + QuotedInput(item) + ": " + QuotedInput(text) + " " +
                   DecimalSyntaxProblem(text));
}

// NAME=A:B, with NAME one of the catalogue's parameters.
Item ParseItem(const std::string& option, const std::string& item, const char* form) {
  const std::size_t equals = item.find('=');
  const std::string name = item.substr(0, equals);
  const auto parameter = models::ParameterFromName(name);
  if (!parameter || *parameter == models::Parameter::Tref) {
    throw InputError(option + ": " + QuotedInput(name) + " is no parameter a fit refines");
  }
  const std::vector<std::string> values = equals == std::string::npos
                                              ? std::vector<std::string>{}
                                              : Split(item.substr(equals + 1), ':');
  if (values.size() != 2) {
    throw InputError(option + ": " + QuotedInput(item) + " is not of the form " + form);
  }
  return {*parameter, Number(option, item, values[0]), Number(option, item, values[1])};
}

std::vector<Item> Items(const std::string& option, const std::vector<std::string>& options,
                        const char* form) {
  std::vector<Item> items;
  for (const std::string& text : options) {
    for (const std::string& item : Split(text, ',')) items.push_back(ParseItem(option, item, form));
  }
  return items;
}

}  // namespace

std::vector<fit::Prior> PriorsFromOptions(const std::vector<std::string>& options) {
  std::vector<fit::Prior> priors;
  for (const Item& item : Items("--constrain", options, "NAME=VALUE:SIGMA")) {
    priors.push_back({item.parameter, item.first, item.second});
  }
  return priors;
}

std::vector<fit::Bound> BoundsFromOptions(const std::vector<std::string>& options) {
  std::vector<fit::Bound> bounds;
  for (const Item& item : Items("--bounds", options, "NAME=LOWER:UPPER")) {
    bounds.push_back({item.parameter, item.first, item.second});
  }
  return bounds;
}

fit::EsdScaling EsdScalingFromOption(const std::string& text) {
  if (const auto scaling = fit::EsdScalingFromName(text)) return *scaling;
  throw InputError("--esd-scaling: " + QuotedInput(text) + " is not one of auto, always, never");
}

}  // namespace quorvane::app
