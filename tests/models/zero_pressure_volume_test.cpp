#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "models/model_catalogue.h"
#include "models/model_volume.h"

namespace quorvane::models {
namespace {

Model Base() {
  Model model = DefaultModel(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  model[Parameter::V0] = 11.25;
  model[Parameter::K0] = 160.0;
  model[Parameter::theta0] = 760.0;
  model[Parameter::natoms] = 2.0;
  model[Parameter::Tref] = 300.0;
  ApplyImpliedCoefficients(model);
  return model;
}

// V(T,0) of one model right after that of another, which differs in one
// thing only, is that model's own and not the other's remembered one.
TEST(ZeroPressureVolume, OfEachModelAfterAnotherIsItsOwn) {
  struct Change {
    const char* what;
    std::function<void(Model&, double&)> apply;
  };
  const Change changes[] = {
      {"T", [](Model&, double& T) { T = 2100.0; }},
      {"V0", [](Model& m, double&) { m[Parameter::V0] = 11.3; }},
      {"gamma0", [](Model& m, double&) { m[Parameter::gamma0] = 1.7; }},
      {"equation", [](Model& m, double&) { m.equation = Equation::BirchMurnaghan; }},
      {"order", [](Model& m, double&) { m.order = 2; }},
      {"thermal", [](Model& m, double&) { m.thermal = Thermal::Einstein; }},
      {"volume unit",
       [](Model& m, double&) {
         m.volumeUnit = VolumeUnit::CubicAngstromsPerCell;
         m.Z = 0.6;
       }},
      {"Z",
       [](Model& m, double&) {
         m.volumeUnit = VolumeUnit::CubicAngstromsPerCell;
         m.Z = 0.61;
       }},
  };
  for (const Change& change : changes) {
    Model first = Base();
    double T = 2000.0;
    if (std::string(change.what) == "Z") {
      first.volumeUnit = VolumeUnit::CubicAngstromsPerCell;
      first.Z = 0.6;
    }
    const double before = ZeroPressureVolume(first, T).V;
    Model second = first;
    change.apply(second, T);
    const double after = ZeroPressureVolume(second, T).V;
    EXPECT_EQ(after, VolumeFromPressure(second, 0.0, T).V) << change.what;
    EXPECT_NE(after, before) << change.what;
    EXPECT_EQ(ZeroPressureVolume(first, 2000.0).V, before) << change.what;
  }
}

}  // namespace
}  // namespace quorvane::models
