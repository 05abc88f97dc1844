#include "workbench/fit_setup.h"

#include <algorithm>
#include <bit>

#include "app/fit_request.h"
#include "fit/starting_values.h"
#include "models/model_catalogue.h"

namespace quorvane::workbench {
namespace {

using models::Parameter;

// The request is read as the command line reads it; the data file's name is
// never opened.
constexpr const char* kNoFile = "-";

std::vector<std::string> Arguments(const FitSetup& setup) {
  std::vector<std::string> arguments{"--eos",     models::Info(setup.equation).name,
                                     "--order",   std::to_string(setup.order),
                                     "--thermal", models::Info(setup.thermal).name};
  if (setup.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell) {
    arguments.insert(arguments.end(), {"--volume-unit", "A3", "--Z", std::to_string(setup.Z)});
  }
  if (!setup.axis.empty()) arguments.insert(arguments.end(), {"--axis", setup.axis});
  for (const auto& [parameter, text] : setup.typed) {
    arguments.push_back(std::string("--") + models::Info(parameter).name);
    arguments.push_back(text);
  }
  if (setup.refined && !setup.refined->empty()) {
    // Separator and name appended apart: GCC 12 at -O2 takes the literal
    // inserted before a temporary for an overlapping copy and warns
    // (-Wrestrict, its bug 105651).
    std::string list;
    for (Parameter parameter : *setup.refined) {
      if (!list.empty()) list += ',';
      list += models::Info(parameter).name;
    }
    arguments.push_back("--refine");
    arguments.push_back(list);
  }
  arguments.push_back(kNoFile);
  return arguments;
}

int NearestOrder(models::Equation equation, int order) {
  if (models::IsOfferedOrder(equation, order)) return order;
  const unsigned orders = models::Info(equation).orders;
  for (int distance = 1; distance < 8; ++distance) {
    if (models::IsOfferedOrder(equation, order - distance)) return order - distance;
    if (models::IsOfferedOrder(equation, order + distance)) return order + distance;
  }
  return std::countr_zero(orders);
}

}  // namespace

fit::FitRequest RequestFor(const FitSetup& setup) {
  return app::FitRequestFromArguments(Arguments(setup)).fit;
}

void ChooseModel(FitSetup& setup, models::Equation equation, int order, models::Thermal thermal) {
  setup.equation = equation;
  setup.order = NearestOrder(equation, order);
  setup.thermal = thermal;
  const models::Model shape =
      models::DefaultModel(equation, setup.order, thermal, models::Arithmetic::Textbook);
  const auto free = [&](Parameter p) { return models::RoleOf(shape, p) == models::Role::Free; };
  std::erase_if(setup.typed, [&](const auto& entry) { return !free(entry.first); });
  if (setup.refined && !std::all_of(setup.refined->begin(), setup.refined->end(), free)) {
    setup.refined.reset();
  }
}

std::vector<Parameter> ListedParameters(const models::Model& model) {
  std::vector<Parameter> listed;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (models::RoleOf(model, parameter) != models::Role::Unused) listed.push_back(parameter);
  }
  return listed;
}

std::vector<Parameter> EffectiveRefined(const FitSetup& setup, const fit::FitData& data) {
  if (setup.refined) return *setup.refined;
  return fit::DefaultRefined(RequestFor(setup).start, data);
}

models::Model StartFor(const FitSetup& setup, const fit::FitData& data) {
  const fit::FitRequest request = RequestFor(setup);
  models::Model start = request.start;
  if (data.points.empty()) return start;
  const std::vector<Parameter> refined =
      setup.refined ? *setup.refined : fit::DefaultRefined(start, data);
  fit::EstimateStart(data, refined, request.givenStart, start);
  return start;
}

void ForgetDataStarts(FitSetup& setup) {
  setup.typed.erase(Parameter::V0);
  setup.typed.erase(Parameter::K0);
  setup.refined.reset();
}

bool RefinesNothing(const FitSetup& setup) {
  return setup.refined && setup.refined->empty();
}

}  // namespace quorvane::workbench
