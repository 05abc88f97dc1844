#include "app/state_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/thermal_model.h"
#include "models/calculator_parameters.h"

namespace quorvane::app {
namespace {

engine::EosParameters StartUpWith(engine::EosType type, engine::EosOrder order = 3) {
  engine::EosParameters p;
  p.type = type;
  p.order = order;
  engine::UpdateImpliedCoefficients(p);
  return p;
}

struct OutcomeCase {
  const char* name;
  engine::EosParameters parameters;
  KnownQuantity known;
  StateInput input;
  RowOutcome outcome;       // with the form's search
  RowOutcome exactOutcome;  // with the exact inversion
};

engine::EosParameters FourthOrderWithHugeKpp0() {
  engine::EosParameters p = StartUpWith(engine::EosType::BirchMurnaghan, 4);
  p.Kpp0 = 1e308;
  return p;
}

// K'0 at its floor: x^K'0 underflows to zero under a huge pressure.
engine::EosParameters MurnaghanAtTheFloorOfKp0() {
  engine::EosParameters p = StartUpWith(engine::EosType::Murnaghan);
  p.Kp0 = engine::kParameterFloor;
  return p;
}

engine::EosParameters WithoutExpansion() {
  engine::EosParameters p = StartUpWith(engine::EosType::BirchMurnaghan);
  p.alpha0 = 0.0;
  p.alpha1 = 0.0;
  return p;
}

const engine::EosParameters kBirchMurnaghan = StartUpWith(engine::EosType::BirchMurnaghan);
const engine::EosParameters kVinet = StartUpWith(engine::EosType::Vinet);
const engine::EosParameters kNaturalStrain = StartUpWith(engine::EosType::NaturalStrain);
const engine::EosParameters kMurnaghan = StartUpWith(engine::EosType::Murnaghan);

using enum KnownQuantity;
using enum RowOutcome;
const OutcomeCase kOutcomeCases[] = {
    {"Reached", kBirchMurnaghan, Pressure, {10.0, 298.0}, StatePoint, StatePoint},
    {"TinyTargetMetByTheZeroPressureVolume",
     kBirchMurnaghan,
     Pressure,
     {1e-12, 298.0},
     StatePoint,
     StatePoint},
    {"TinyTensionNaturalStrain", kNaturalStrain, Pressure, {-1e-10, 298.0}, StatePoint, StatePoint},
    {"TinyTensionVinet", kVinet, Pressure, {-1e-16, 298.0}, StatePoint, StatePoint},
    {"BelowTheLowestReachable",
     kBirchMurnaghan,
     Pressure,
     {-30.0, 298.0},
     PressureNotReached,
     PressureNotReached},
    {"HugeTarget", kBirchMurnaghan, Pressure, {1e9, 298.0}, PressureNotReached, StatePoint},
    {"NoPressureAnywhere",
     FourthOrderWithHugeKpp0(),
     Pressure,
     {1.0, 298.0},
     PressureNotANumber,
     PressureNotANumber},
    {"NoZeroPressureVolume", kBirchMurnaghan, Pressure, {1.0, 1e308}, NotFinite, NotFinite},
    {"MurnaghanBeyondItsClosedForm",
     kMurnaghan,
     Pressure,
     {-26.0, 298.0},
     NotFinite,
     PressureNotReached},
    {"MurnaghanClosedFormUnderflowsToZeroVolume",
     MurnaghanAtTheFloorOfKp0(),
     Pressure,
     {1e10, 298.0},
     VolumeNotPositive,
     PressureNotReached},
    {"TemperatureOfNoExpansion",
     WithoutExpansion(),
     ZeroPressureVolume,
     {10.0, 10.0},
     NotFinite,
     NotFinite},
    {"VolumeGivesAPressure", kVinet, Volume, {9.0, 298.0}, StatePoint, StatePoint},
};

class RowOutcomes : public testing::TestWithParam<OutcomeCase> {};

TEST_P(RowOutcomes, SayWhatTheRowHolds) {
  const OutcomeCase& c = GetParam();
  for (const PressureSolver solver : {PressureSolver::Form, PressureSolver::Exact}) {
    SCOPED_TRACE(solver == PressureSolver::Form ? "form" : "exact");
    const RowOutcome outcome = solver == PressureSolver::Form ? c.outcome : c.exactOutcome;
    const StateRow row =
        ComputeStateRow(models::FromCalculatorParameters(c.parameters), c.known, solver, c.input);
    EXPECT_EQ(row.outcome, outcome);
    if (outcome == RowOutcome::StatePoint) {
      EXPECT_EQ(FirstNonFiniteColumn(row.point), nullptr);
    }
    if (outcome == RowOutcome::PressureNotReached || outcome == RowOutcome::PressureNotANumber) {
      EXPECT_EQ(row.point.V, engine::ZeroPressureVolume(c.parameters, c.input.partner));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, RowOutcomes, testing::ValuesIn(kOutcomeCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::app
