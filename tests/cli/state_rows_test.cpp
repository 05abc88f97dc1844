#include "cli/state_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/thermal_model.h"

namespace quorvane::cli {
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
  RowOutcome outcome;
};

engine::EosParameters FourthOrderWithHugeKpp0() {
  engine::EosParameters p = StartUpWith(engine::EosType::BirchMurnaghan, 4);
  p.Kpp0 = 1e308;
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
    {"Reached", kBirchMurnaghan, Pressure, {10.0, 298.0}, StatePoint},
    {"TinyTargetMetByTheZeroPressureVolume", kBirchMurnaghan, Pressure, {1e-12, 298.0}, StatePoint},
    {"TinyTensionNaturalStrain", kNaturalStrain, Pressure, {-1e-10, 298.0}, StatePoint},
    {"TinyTensionVinet", kVinet, Pressure, {-1e-16, 298.0}, StatePoint},
    {"BelowTheLowestReachable", kBirchMurnaghan, Pressure, {-30.0, 298.0}, PressureNotReached},
    {"HugeTarget", kBirchMurnaghan, Pressure, {1e9, 298.0}, PressureNotReached},
    {"NoPressureAnywhere", FourthOrderWithHugeKpp0(), Pressure, {1.0, 298.0}, PressureNotANumber},
    {"NoZeroPressureVolume", kBirchMurnaghan, Pressure, {1.0, 1e308}, NotFinite},
    {"MurnaghanBeyondItsClosedForm", kMurnaghan, Pressure, {-26.0, 298.0}, NotFinite},
    {"TemperatureOfNoExpansion", WithoutExpansion(), ZeroPressureVolume, {10.0, 10.0}, NotFinite},
    {"VolumeGivesAPressure", kVinet, Volume, {9.0, 298.0}, StatePoint},
};

class RowOutcomes : public testing::TestWithParam<OutcomeCase> {};

TEST_P(RowOutcomes, SayWhatTheRowHolds) {
  const OutcomeCase& c = GetParam();
  const StateRow row = ComputeStateRow(c.parameters, c.known, c.input);
  EXPECT_EQ(row.outcome, c.outcome);
  if (c.outcome == RowOutcome::StatePoint) {
    EXPECT_EQ(FirstNonFiniteColumn(row.point), nullptr);
  }
  if (c.outcome == RowOutcome::PressureNotReached || c.outcome == RowOutcome::PressureNotANumber) {
    EXPECT_EQ(row.point.V, engine::ZeroPressureVolume(c.parameters, c.input.partner));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, RowOutcomes, testing::ValuesIn(kOutcomeCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quorvane::cli
