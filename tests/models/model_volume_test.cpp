#include "models/model_volume.h"

#include <gtest/gtest.h>

#include <cmath>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "reference_cases.h"

namespace quorvane::models {
namespace {

// Every reference model, compressed and expanded, cold and hot: the volume
// found for the pressure at V is V itself, to rounding.
TEST(ModelVolume, InvertsEveryModelsPressure) {
  for (const ReferenceCase& c : ReadReferenceCases()) {
    const double P = Pressure(c.model, c.V, c.T);
    const engine::VolumeSolution found = VolumeFromPressure(c.model, P, c.T);
    EXPECT_TRUE(found.converged) << c.line;
    EXPECT_NEAR(found.V, c.V, 4e-15 * c.V) << c.line;
  }
}

// The thermal-pressure models' V(T,0) is a search of its own: zero pressure
// there, and V0 itself at Tref.
TEST(ModelVolume, ZeroPressureVolumeOfThermalPressureModels) {
  for (const ReferenceCase& c : ReadReferenceCases()) {
    if (!Info(c.model.thermal).thermalPressure) continue;
    const engine::VolumeSolution VT0 = ZeroPressureVolume(c.model, c.T);
    ASSERT_TRUE(VT0.converged) << c.line;
    EXPECT_NEAR(Pressure(c.model, VT0.V, c.T), 0.0, 1e-12 * c.model[Parameter::K0]) << c.line;
    const double Tref = c.model[Parameter::Tref];
    EXPECT_EQ(ZeroPressureVolume(c.model, Tref).V, c.model[Parameter::V0]) << c.line;
  }
}

// A tension beyond the spinodal of the Vinet isotherm, where the pressure
// turns back, is not reached.
TEST(ModelVolume, PressureBeyondTheBranchIsNotReached) {
  const Model model =
      DefaultModel(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  EXPECT_FALSE(VolumeFromPressure(model, -1000.0 * model[Parameter::K0], 1000.0).converged);
  EXPECT_FALSE(VolumeFromPressure(model, 10.0, 0.0).converged);
}

}  // namespace
}  // namespace quorvane::models
