#include "cli/state_rows.h"

#include <cmath>

#include "engine/isothermal_eos.h"
#include "engine/state_point.h"
#include "engine/thermal_model.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::cli {
namespace {

StateRow FiniteRow(const engine::WorkingPoint& point) {
  const RowOutcome outcome =
      FirstNonFiniteColumn(point) ? RowOutcome::NotFinite : RowOutcome::StatePoint;
  return {point, outcome};
}

// Why a failed search's V(T,0) is or is not the state point after all.
RowOutcome FailedSearchOutcome(const engine::EosParameters& parameters, double P, double T,
                               double VT0) {
  const double residual = P - engine::PressureFromVolume(parameters, VT0, T);
  if (std::isnan(residual)) return RowOutcome::PressureNotANumber;
  const double K = engine::ThermalBulkModulus(parameters, T);
  if (std::fabs(residual) <= kUnresolvedPressureRatio * K) return RowOutcome::StatePoint;
  return RowOutcome::PressureNotReached;
}

StateRow PressureRow(const engine::EosParameters& parameters, PressureSolver solver, double P,
                     double T) {
  const engine::SolvedState solved = solver == PressureSolver::Form
                                         ? engine::SolveStateFromPressure(parameters, P, T)
                                         : engine::SolveStateExactlyFromPressure(parameters, P, T);
  StateRow row = FiniteRow(solved.point);
  if (row.outcome == RowOutcome::NotFinite || engine::IsVolumeFound(solved.solution)) return row;
  row.outcome = solved.point.V > 0.0 ? FailedSearchOutcome(parameters, P, T, solved.point.VT0)
                                     : RowOutcome::VolumeNotPositive;
  return row;
}

}  // namespace

std::array<double, kStateColumnCount> StateValues(const engine::WorkingPoint& point) {
  return {point.P, point.T, point.V, point.VoverV00, point.VT0, point.VoverVT0};
}

const char* FirstNonFiniteColumn(const engine::WorkingPoint& point) {
  // T, VT0, V, P, V/V00, V/VT0: each follows from those before it.
  static constexpr int kCauseOrder[kStateColumnCount] = {1, 4, 2, 0, 3, 5};
  const auto values = StateValues(point);
  for (const int column : kCauseOrder) {
    if (!std::isfinite(values[column])) return kStateColumnNames[column];
  }
  return nullptr;
}

StateRow ComputeStateRow(const engine::EosParameters& parameters, KnownQuantity known,
                         PressureSolver solver, StateInput input) {
  switch (known) {
    case KnownQuantity::Pressure:
      return PressureRow(parameters, solver, input.known, input.partner);
    case KnownQuantity::Volume:
      return FiniteRow(engine::StateFromVolume(parameters, input.known, input.partner));
    case KnownQuantity::VolumeOverV00:
      return FiniteRow(engine::StateFromVolumeOverV00(parameters, input.known, input.partner));
    case KnownQuantity::ZeroPressureVolume:
      return FiniteRow(engine::StateFromZeroPressureVolume(parameters, input.known, input.partner));
    case KnownQuantity::VolumeOverVT0:
      return FiniteRow(engine::StateFromVolumeOverVT0(parameters, input.known, input.partner));
  }
  return {};
}

double RowUncertainty(const EosRequest& request, const StateRow& row) {
  if (!UncertaintyColumn(request)) return 0.0;
  const engine::WorkingPoint& p = row.point;
  if (request.known == KnownQuantity::Pressure) {
    return params::VolumeUncertainty(request.parameters, *request.covariance, p.V, p.T);
  }
  return params::PressureUncertainty(request.parameters, *request.covariance, p.V, p.T);
}

std::int64_t RowCount(const EosRequest& request) {
  if (request.inputPath) return static_cast<std::int64_t>(request.csvRows.size());
  return request.knownValues.count * request.partnerValues.count;
}

StateInput RowInput(const EosRequest& request, std::int64_t row) {
  if (request.inputPath) return request.csvRows[static_cast<std::size_t>(row)];
  const std::int64_t perPartner = request.knownValues.count;
  return {request.knownValues.At(row % perPartner), request.partnerValues.At(row / perPartner)};
}

}  // namespace quorvane::cli
