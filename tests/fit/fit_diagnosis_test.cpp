#include "fit/fit_diagnosis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using models::Parameter;

// The lowest-pressure point at T(ref) is (P, 100); another 5 GPa above.
FitData TwoPoints(double lowestP) {
  FitData data;
  data.points = {{lowestP, 100.0, 300.0, 0, 0, 0}, {lowestP + 5.0, 97.0, 300.0, 0, 0, 0}};
  return data;
}

// The limits where parameters count as run away, on either side of each.
TEST(FitDiagnosis, NamesParametersThatRanAwayAndNoOthers) {
  struct Case {
    const char* name;
    double V0;
    double Kp0;
    double lowestP;
    std::vector<Parameter> refined;
    const char* problem;  // "" for none
  };
  using enum Parameter;
  const std::vector<Parameter> all{V0, K0, Kp0};
  const Case cases[] = {
      {"sensible", 101.0, 4.0, 0.0, all, ""},
      {"K'0 at 30", 101.0, 30.0, 0.0, all, ""},
      {"K'0 above 30", 101.0, 30.5, 0.0, all, "K'0 = 30.5 ran above 30"},
      {"K'0 below 0", 101.0, -0.5, 0.0, all, "K'0 = -0.5 ran below 0"},
      {"K'0 held at -0.5", 101.0, -0.5, 0.0, {V0, K0}, ""},
      {"V0 9 % off", 109.0, 4.0, 0.0, all, ""},
      {"V0 11 % off", 111.0, 4.0, 0.0, all, "V0 = 111 is 11 % from the volume at the lowest"},
      {"V0 11 % low", 89.0, 4.0, 0.0, all, "V0 = 89 is 11 % from"},
      {"V0 held 11 % off", 111.0, 4.0, 0.0, {K0, Kp0}, ""},
      {"lowest pressure too high to judge V0", 111.0, 4.0, 9.0, all, ""},
  };
  for (const Case& c : cases) {
    models::Model model =
        models::DefaultModel(models::Equation::BirchMurnaghan, 3, models::Thermal::Linear,
                             models::Arithmetic::Calculator);
    model[V0] = c.V0;
    model[K0] = 160.0;
    model[Kp0] = c.Kp0;
    model[Tref] = 300.0;
    const std::string problem = RunawayProblem(model, c.refined, TwoPoints(c.lowestP));
    if (*c.problem == '\0') {
      EXPECT_EQ(problem, "") << c.name;
    } else {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
    }
  }
}

// A fit that fails says where the parameters went and what to try; one that
// converges to a K'0 no solid has says so beside its results.
TEST(FitDiagnosis, FailedAndRunawayFitsExplainThemselves) {
  struct Case {
    const char* name;
    std::vector<std::pair<double, double>> PV;
    bool converged;
    std::vector<const char*> said;
  };
  const Case cases[] = {
      {"volume growing with pressure",
       {{0, 10}, {1, 10.1}, {2, 10.2}, {3, 10.3}, {5, 10.5}},
       false,
       {"K0 = -99.4", "K'0 = -1.636 ran below 0 at iteration 3",
        "iterations the values were V0 = 9.999912, K0 = -99.48961, K'0 = -1.635747",
        "try fixing K'0 at 4", "or checking that P and V are in the units"}},
      {"softening with pressure",
       {{0.0001, 163.7}, {1, 162.9}, {2, 162.1}, {3, 161.0}, {4, 158.5}, {5, 154}, {6, 147}},
       true,
       {"ran below 0; try fixing K'0 at 4"}},
  };
  for (const Case& c : cases) {
    FitData data;
    for (const auto& [P, V] : c.PV) data.points.push_back({P, V, 298.0, 0, 0, 0});
    FitRequest request;
    request.start = models::DefaultModel(models::Equation::BirchMurnaghan, 3,
                                         models::Thermal::Linear, models::Arithmetic::Calculator);
    const FitResult result = FitEos(data, request);
    EXPECT_EQ(result.converged, c.converged) << c.name << ": " << result.failure;
    const std::string& text = c.converged ? result.warning : result.failure;
    for (const char* said : c.said) {
      EXPECT_NE(text.find(said), std::string::npos) << c.name << ": " << text;
    }
  }
}

// MgO (V0 11.25 cm3/mol = 74.71 A3 per cell of Z = 4, 2 atoms) and gold
// (10.21 cm3/mol = 67.85 A3, Z = 4, 1 atom): a thermal pressure given the
// volumes in the other unit is named, with the unit to choose; a right
// choice, a model without a thermal pressure, and the advice of a failed fit.
TEST(FitDiagnosis, NamesTheVolumeUnitAThermalPressureWasGivenWrongly) {
  using models::Thermal;
  using models::VolumeUnit;
  struct Case {
    const char* name;
    Thermal thermal;
    VolumeUnit unit;
    double Z;
    double V0;
    double atoms;
    const char* hint;  // "" for none
  };
  const Case cases[] = {
      {"MgO in A3 taken as cm3/mol", Thermal::MieGruneisenDebye,
       VolumeUnit::CubicCentimetresPerMole, 1, 74.71, 2, "choose the volume unit A3 and Z"},
      {"MgO in cm3/mol", Thermal::MieGruneisenDebye, VolumeUnit::CubicCentimetresPerMole, 1, 11.25,
       2, ""},
      {"MgO in A3 with Z = 4", Thermal::MieGruneisenDebye, VolumeUnit::CubicAngstromsPerCell, 4,
       74.71, 2, ""},
      {"MgO in cm3/mol taken as A3, Z = 4", Thermal::MieGruneisenDebye,
       VolumeUnit::CubicAngstromsPerCell, 4, 11.25, 2, "choose the volume unit cm3/mol"},
      {"gold in A3 taken as cm3/mol, Einstein", Thermal::Einstein,
       VolumeUnit::CubicCentimetresPerMole, 1, 67.85, 1,
       "67.8 cm3/mol per atom, more than solids have"},
      {"gold in A3, no thermal pressure", Thermal::Linear, VolumeUnit::CubicCentimetresPerMole, 1,
       67.85, 1, ""},
      {"argon at 22.6 cm3/mol, above the range, is asked about", Thermal::MieGruneisenDebye,
       VolumeUnit::CubicCentimetresPerMole, 1, 22.6, 1, "more than solids have"},
  };
  for (const Case& c : cases) {
    models::Model model =
        models::DefaultModel(models::Equation::Vinet, 3, c.thermal, models::Arithmetic::Textbook);
    model.volumeUnit = c.unit;
    model.Z = c.Z;
    model[Parameter::V0] = c.V0;
    model[Parameter::natoms] = c.atoms;
    const std::string hint = VolumeUnitHint(model);
    if (*c.hint == '\0') {
      EXPECT_EQ(hint, "") << c.name;
    } else {
      EXPECT_NE(hint.find(c.hint), std::string::npos) << c.name << ": " << hint;
    }
    const bool thermalPressure = c.thermal != Thermal::Linear;
    EXPECT_EQ(Advice(model, {Parameter::V0}).find("cm3/mol") != std::string::npos, thermalPressure)
        << c.name;
  }
}

}  // namespace
}  // namespace quorvane::fit
