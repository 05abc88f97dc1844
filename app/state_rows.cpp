#include "app/state_rows.h"

#include <cmath>
#include <limits>

#include "engine/isothermal_eos.h"
#include "engine/state_point.h"
#include "engine/thermal_model.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::app {
namespace {

StateRow FiniteRow(const engine::WorkingPoint& point) {
  const RowOutcome outcome =
      FirstNonFiniteColumn(point) ? RowOutcome::NotFinite : RowOutcome::StatePoint;
  return {point, outcome};
}

// A row of a model whose V(T,0) may be absent (see StateRow).
StateRow FiniteRow(const models::Model& model, const engine::WorkingPoint& point) {
  StateRow row{point};
  row.zeroPressureVolumeAbsent =
      models::Info(model.thermal).thermalPressure && std::isnan(point.VT0);
  row.outcome = FirstNonFiniteColumn(row) ? RowOutcome::NotFinite : RowOutcome::StatePoint;
  return row;
}

bool IsCalculatorModel(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model);
}

// K(T) at zero pressure: the calculator's own, or the model's at V(T,0).
double ZeroPressureModulus(const models::Model& model, double T, double VT0) {
  if (IsCalculatorModel(model)) {
    return engine::ThermalBulkModulus(models::CalculatorParameters(model), T);
  }
  return models::BulkModulus(model, VT0, T);
}

// Why a failed search's V(T,0) is or is not the state point after all.
RowOutcome FailedSearchOutcome(const models::Model& model, double P, double T, double VT0) {
  const double residual = P - models::Pressure(model, VT0, T);
  if (std::isnan(residual)) return RowOutcome::PressureNotANumber;
  const double K = ZeroPressureModulus(model, T, VT0);
  if (std::fabs(residual) <= kUnresolvedPressureRatio * K) return RowOutcome::StatePoint;
  return RowOutcome::PressureNotReached;
}

// V(T,0); for the calculator's model its own value, whatever it is.
double ZeroPressureVolumeOf(const models::Model& model, double T) {
  if (IsCalculatorModel(model)) {
    return engine::ZeroPressureVolume(models::CalculatorParameters(model), T);
  }
  const engine::VolumeSolution VT0 = models::ZeroPressureVolume(model, T);
  return VT0.converged ? VT0.V : std::numeric_limits<double>::quiet_NaN();
}

engine::SolvedState SolvedFromPressure(const models::Model& model, PressureSolver solver, double P,
                                       double T) {
  if (solver == PressureSolver::Form) {
    return engine::SolveStateFromPressure(models::CalculatorParameters(model), P, T);
  }
  engine::SolvedState solved{{}, models::VolumeFromPressure(model, P, T)};
  engine::WorkingPoint& point = solved.point;
  point.P = P;
  point.T = T;
  point.VT0 = ZeroPressureVolumeOf(model, T);
  // The thermal-pressure models search from V0; a failed search answers
  // V(T,0), as the expansion models' does, V0 being no volume of the state.
  const bool thermalMiss =
      models::Info(model.thermal).thermalPressure && !engine::IsVolumeFound(solved.solution);
  point.V = thermalMiss ? point.VT0 : solved.solution.V;
  point.VoverV00 = point.V / model[models::Parameter::V0];
  point.VoverVT0 = point.V / point.VT0;
  return solved;
}

StateRow PressureRow(const models::Model& model, PressureSolver solver, double P, double T) {
  const engine::SolvedState solved = SolvedFromPressure(model, solver, P, T);
  StateRow row = FiniteRow(model, solved.point);
  if (engine::IsVolumeFound(solved.solution)) return row;
  if (row.zeroPressureVolumeAbsent) {
    row.outcome = RowOutcome::PressureNotReachedWithoutZeroPressureVolume;
    return row;
  }
  if (row.outcome == RowOutcome::NotFinite) return row;
  row.outcome = solved.point.V > 0.0 ? FailedSearchOutcome(model, P, T, solved.point.VT0)
                                     : RowOutcome::VolumeNotPositive;
  return row;
}

StateRow VolumeRow(const models::Model& model, double V, double T) {
  if (IsCalculatorModel(model)) {
    return FiniteRow(engine::StateFromVolume(models::CalculatorParameters(model), V, T));
  }
  engine::WorkingPoint point;
  point.P = models::Pressure(model, V, T);
  point.T = T;
  point.V = V;
  point.VT0 = ZeroPressureVolumeOf(model, T);
  point.VoverV00 = V / model[models::Parameter::V0];
  point.VoverVT0 = V / point.VT0;
  return FiniteRow(model, point);
}

// A row whose volume follows from V(T,0) is nothing without it.
StateRow WithZeroPressureVolumeRequired(StateRow row) {
  row.zeroPressureVolumeAbsent = false;
  if (FirstNonFiniteColumn(row.point)) row.outcome = RowOutcome::NotFinite;
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

const char* FirstNonFiniteColumn(const StateRow& row) {
  if (!row.zeroPressureVolumeAbsent) return FirstNonFiniteColumn(row.point);
  engine::WorkingPoint point = row.point;
  point.VT0 = 1.0;
  point.VoverVT0 = 1.0;
  return FirstNonFiniteColumn(point);
}

StateRow ComputeStateRow(const models::Model& model, KnownQuantity known, PressureSolver solver,
                         StateInput input) {
  const double T = input.partner;
  switch (known) {
    case KnownQuantity::Pressure:
      return PressureRow(model, solver, input.known, T);
    case KnownQuantity::Volume:
      return VolumeRow(model, input.known, T);
    case KnownQuantity::VolumeOverV00:
      if (IsCalculatorModel(model)) {
        return FiniteRow(
            engine::StateFromVolumeOverV00(models::CalculatorParameters(model), input.known, T));
      }
      return VolumeRow(model, input.known * model[models::Parameter::V0], T);
    case KnownQuantity::ZeroPressureVolume:
      // Only the calculator's own model gives T from V(T,0); the request
      // refuses it for every other.
      return FiniteRow(engine::StateFromZeroPressureVolume(models::CalculatorParameters(model),
                                                           input.known, input.partner));
    case KnownQuantity::VolumeOverVT0:
      if (IsCalculatorModel(model)) {
        return FiniteRow(
            engine::StateFromVolumeOverVT0(models::CalculatorParameters(model), input.known, T));
      }
      return WithZeroPressureVolumeRequired(
          VolumeRow(model, ZeroPressureVolumeOf(model, T) * input.known, T));
  }
  return {};
}

double RowUncertainty(const EosRequest& request, const StateRow& row) {
  if (!UncertaintyColumn(request)) return 0.0;
  const engine::WorkingPoint& p = row.point;
  if (request.known == KnownQuantity::Pressure) {
    return params::VolumeUncertainty(request.model, *request.covariance, p.V, p.T);
  }
  return params::PressureUncertainty(request.model, *request.covariance, p.V, p.T);
}

void SetRowBand(const EosRequest& request, StateRow& row) {
  if (!BandColumnsOf(request).lower) return;
  const double value = request.known == KnownQuantity::Pressure ? row.point.V : row.point.P;
  const double half = request.band->z * row.sigma;
  row.lower = value - half;
  row.upper = value + half;
}

std::int64_t RowCount(const EosRequest& request) {
  if (request.inputPath || request.isentrope)
    return static_cast<std::int64_t>(request.csvRows.size());
  return request.knownValues.count * request.partnerValues.count;
}

StateInput RowInput(const EosRequest& request, std::int64_t row) {
  if (request.inputPath || request.isentrope) return request.csvRows[static_cast<std::size_t>(row)];
  const std::int64_t perPartner = request.knownValues.count;
  return {request.knownValues.At(row % perPartner), request.partnerValues.At(row / perPartner)};
}

std::string NoStatePointReason(const StateRow& row) {
  if (row.outcome == RowOutcome::NotFinite) {
    return std::string(FirstNonFiniteColumn(row)) + " is not finite";
  }
  if (row.outcome == RowOutcome::PressureNotANumber) {
    return "the equation of state gives no number for the pressure";
  }
  if (row.outcome == RowOutcome::PressureNotReachedWithoutZeroPressureVolume) {
    return "the pressure is not reached, and at this temperature no volume has zero pressure";
  }
  return {};
}

}  // namespace quorvane::app
