#include "fit/starting_values.h"

#include <algorithm>
#include <cmath>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

bool Contains(const std::vector<Parameter>& list, Parameter parameter) {
  return std::find(list.begin(), list.end(), parameter) != list.end();
}

bool Wanted(const std::vector<Parameter>& refined, const std::vector<Parameter>& given,
            Parameter parameter) {
  return Contains(refined, parameter) && !Contains(given, parameter);
}

// K(T) = K0 + dK/dT (T - Tref) of a thermal expansion; a thermal pressure
// leaves K0 at the isotherm's.
double ReferenceBulkModulus(const models::Model& model, double K, double T) {
  if (models::Info(model.thermal).thermalPressure) return K;
  const double K0 = K - model[Parameter::dKdT] * (T - model[Parameter::Tref]);
  return K0 > 0.0 ? K0 : K;
}

// The points of the temperature nearest T(ref), or all of them when that
// temperature has fewer than two.
std::vector<Observation> NearestIsotherm(const FitData& data, double Tref) {
  double nearest = data.points.front().T;
  for (const Observation& point : data.points) {
    if (std::fabs(point.T - Tref) < std::fabs(nearest - Tref)) nearest = point.T;
  }
  std::vector<Observation> isotherm;
  for (const Observation& point : data.points) {
    if (point.T == nearest) isotherm.push_back(point);
  }
  return isotherm.size() >= 2 ? isotherm : data.points;
}

struct Line {
  double intercept = 0.0;
  double slope = 0.0;
};

Line LowPressureLine(std::vector<Observation> points) {
  std::sort(points.begin(), points.end(),
            [](const Observation& a, const Observation& b) { return a.P < b.P; });
  const std::size_t used = std::max<std::size_t>(2, (points.size() + 2) / 3);
  double sumP = 0.0, sumV = 0.0;
  for (std::size_t i = 0; i < used; ++i) {
    sumP += points[i].P;
    sumV += points[i].V;
  }
  const double n = static_cast<double>(used);
  const double meanP = sumP / n, meanV = sumV / n;
  double spp = 0.0, spv = 0.0;
  for (std::size_t i = 0; i < used; ++i) {
    spp += (points[i].P - meanP) * (points[i].P - meanP);
    spv += (points[i].P - meanP) * (points[i].V - meanV);
  }
  Line line;
  line.slope = spv / spp;
  line.intercept = meanV - line.slope * meanP;
  return line;
}

}  // namespace

void EstimateStart(const FitData& data, const std::vector<Parameter>& refined,
                   const std::vector<Parameter>& given, models::Model& model) {
  if (data.points.size() < 2) return;
  const std::vector<Observation> isotherm = NearestIsotherm(data, model[Parameter::Tref]);
  const Line line = LowPressureLine(isotherm);
  const double VT0 = line.intercept;
  const double K = -VT0 / line.slope;
  if (!(VT0 > 0.0) || !(K > 0.0) || !std::isfinite(VT0) || !std::isfinite(K)) return;

  const double T = isotherm.front().T;
  if (Wanted(refined, given, Parameter::K0))
    model[Parameter::K0] = ReferenceBulkModulus(model, K, T);
  const double expansion = models::ZeroPressureVolume(model, T).V / model[Parameter::V0];
  if (Wanted(refined, given, Parameter::V0) && expansion > 0.0 && std::isfinite(expansion)) {
    model[Parameter::V0] = VT0 / expansion;
  }
  if (Wanted(refined, given, Parameter::Kpp0)) {
    models::Model third = model;
    third.order = 3;
    models::ApplyImpliedCoefficients(third);
    model[Parameter::Kpp0] = third[Parameter::Kpp0];
  }
}

}  // namespace quorvane::fit
