#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/eos_request.h"
#include "engine/eos_parameters.h"
#include "models/model.h"

namespace quorvane::app {

// A target this close to the pressure at V(T,0), as a fraction of K(T), moves
// the volume by less than that fraction of itself: V(T,0) is then right to
// eleven digits, closer than the search comes to any ordinary target.
inline constexpr double kUnresolvedPressureRatio = 1e-11;

// What a row holds.
enum class RowOutcome {
  // A state point: every value finite, the pressure met.
  StatePoint,
  // The search for the pressure failed where the equation of state has
  // numbers: V is V(T,0), whose pressure is not the target.
  PressureNotReached,
  // The search failed because the equation of state gives no number for the
  // pressure, not even at V(T,0): V is V(T,0).
  PressureNotANumber,
  // The form's search answered a volume that is not above zero (its
  // closed-form Murnaghan inverse underflows for a huge target): no volume
  // meets the pressure, and V is the form's answer.
  VolumeNotPositive,
  // A value of the row is infinite or not a number.
  NotFinite,
  // The search for the pressure failed and the model has no V(T,0) at T to
  // stand for it: V is not a number.
  PressureNotReachedWithoutZeroPressureVolume,
};
inline constexpr int kRowOutcomeCount = 6;

struct StateRow {
  engine::WorkingPoint point;
  RowOutcome outcome = RowOutcome::StatePoint;
  // The propagated standard deviation of the derived V or P, where the
  // request asks for one.
  double sigma = 0.0;
  // The confidence band of that V or P, where the request asks for one.
  double lower = 0.0;
  double upper = 0.0;
  // A thermal-pressure model has no V(T,0) where the thermal pressure exceeds
  // the isotherm's tensile limit, while P(V,T) and V(P,T) still exist: VT0
  // and V/VT0 are then absent (not numbers) and the row is a state point.
  bool zeroPressureVolumeAbsent = false;

  bool IsStatePoint() const { return outcome == RowOutcome::StatePoint; }
};

// The values of a state point in the order of a table's columns, and their
// names.
inline constexpr int kStateColumnCount = 6;
inline constexpr const char* kStateColumnNames[kStateColumnCount] = {"P",     "T",   "V",
                                                                     "V/V00", "VT0", "V/VT0"};
std::array<double, kStateColumnCount> StateValues(const engine::WorkingPoint& point);

// The name of a value of the point that is not finite, the one the others
// follow from (T before V(T,0), V(T,0) before V, V before P and the ratios),
// or nullptr when all are finite.
const char* FirstNonFiniteColumn(const engine::WorkingPoint& point);
// The same, passing over VT0 and V/VT0 where the row has no V(T,0).
const char* FirstNonFiniteColumn(const StateRow& row);

// Why a single point is no state point at all, or empty when it is one, or
// is the V(T,0) of a pressure not reached (which a table then flags).
std::string NoStatePointReason(const StateRow& row);

// One state point of the model for the known quantity; for the calculator's
// own family along the calculator's own path.
// When the search for a pressure fails, V(T,0) still counts as the state point
// if its pressure meets the target to within kUnresolvedPressureRatio of
// K(T): so tiny targets (|P| of 1e-12 against a K of 100), which the search
// cannot tell from the pressure's own rounding, are not reported as missed.
StateRow ComputeStateRow(const models::Model& model, KnownQuantity known, PressureSolver solver,
                         StateInput input);

// The row's sigma from the request's covariance (0 without one).
double RowUncertainty(const EosRequest& request, const StateRow& row);

// Sets the row's band from its sigma: the derived V or P +- z sigma.
void SetRowBand(const EosRequest& request, StateRow& row);

// The rows of a request in output order: the CSV rows as read, or the grid
// with the partner (temperature, or the volume held) outermost.
std::int64_t RowCount(const EosRequest& request);
StateInput RowInput(const EosRequest& request, std::int64_t row);

}  // namespace quorvane::app
