#include "models/model_volume.h"

#include <cmath>
#include <optional>

#include "engine/exact_volume_solver.h"
#include "engine/thermal_model.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::models {
namespace {

struct Isotherm {
  const Model& model;
  double T;
};

engine::IsothermalCurve::PressureAndModulus Evaluate(const void* context, double V) {
  const Isotherm& isotherm = *static_cast<const Isotherm*>(context);
  // One pass of the formula gives the pressure and its slope.
  const PressureGradient at = PressureWithGradient(isotherm.model, V, isotherm.T, {}, true);
  return {at.P, -V * at.dPdV, 0.0};
}

bool UsesEngine(const Model& model) {
  return model.arithmetic == Arithmetic::Calculator && IsCalculatorFamily(model);
}

// The expansion models know V(T,0) in closed form; the thermal-pressure
// models start from V0, where the thermal pressure is all there is.
engine::SearchOrigin OriginAt(const Model& model, double T) {
  double V = model[Parameter::V0];
  if (!Info(model.thermal).thermalPressure) {
    V *= std::exp(ExpansionIntegral(model.thermal, model.values, T));
  }
  const double Kp = ImpliedKp(model.equation, model.order, model[Parameter::Kp0]);
  return {V, Pressure(model, V, T), BulkModulus(model, V, T), Kp,
          model.equation == Equation::Murnaghan};
}

bool SameModel(const Model& a, const Model& b) {
  return a.equation == b.equation && a.order == b.order && a.thermal == b.thermal &&
         a.arithmetic == b.arithmetic && a.volumeUnit == b.volumeUnit && a.Z == b.Z &&
         a.values == b.values;
}

// What a thread last worked out for one isotherm: the search's origin and
// V(T,0). The rows of a table, and the points of an array, mostly share their
// temperature, and V(T,0) costs as much as the row's own search. Both are
// pure functions' answers, so the same bits either way.
struct LastIsotherm {
  Model model;
  double T = 0.0;
  engine::SearchOrigin origin;
  std::optional<engine::VolumeSolution> zeroPressure;
  bool held = false;
};

LastIsotherm& IsothermOnThisThread(const Model& model, double T) {
  thread_local LastIsotherm last;
  if (last.held && last.T == T && SameModel(last.model, model)) return last;
  last = {model, T, OriginAt(model, T), std::nullopt, true};
  return last;
}

engine::VolumeSolution SearchFromOrigin(const Model& model, double P, double T) {
  const Isotherm isotherm{model, T};
  return engine::SolveVolumeExactly(IsothermOnThisThread(model, T).origin, P, Evaluate, &isotherm);
}

engine::VolumeSolution SearchedZeroPressureVolume(const Model& model, double T) {
  LastIsotherm& last = IsothermOnThisThread(model, T);
  if (!last.zeroPressure) last.zeroPressure = SearchFromOrigin(model, 0.0, T);
  return *last.zeroPressure;
}

}  // namespace

engine::VolumeSolution VolumeFromPressure(const Model& model, double P, double T) {
  if (UsesEngine(model)) return engine::SolveVolumeExactly(CalculatorParameters(model), P, T);
  return SearchFromOrigin(model, P, T);
}

engine::VolumeSolution ZeroPressureVolume(const Model& model, double T) {
  if (UsesEngine(model)) {
    const double V = engine::ZeroPressureVolume(CalculatorParameters(model), T);
    return {V, 0, std::isfinite(V) && V > 0.0};
  }
  if (!Info(model.thermal).thermalPressure) {
    const double V = OriginAt(model, T).V;
    return {V, 0, std::isfinite(V) && V > 0.0};
  }
  return SearchedZeroPressureVolume(model, T);
}

}  // namespace quorvane::models
