#include "models/model_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace quorvane::models {
namespace {

struct Refusal {
  const char* what;
  std::function<void(Model&)> change;
  const char* message;  // a part of the line; empty: the model is accepted
};

TEST(ModelCatalogue, RefusesWhatNoModelComputesWithOneLine) {
  const Refusal refusals[] = {
      {"Tait at 5th order", [](Model& m) { m.order = 5; }, "offered at order 2, 3, 4 only"},
      {"Vinet at 4th", [](Model& m) { m.equation = Equation::Vinet, m.order = 4; },
       "Vinet equation is offered at order 2, 3 only"},
      {"calculator arithmetic for Tait", [](Model& m) { m.arithmetic = Arithmetic::Calculator; },
       "calculator's arithmetic"},
      {"calculator arithmetic with MGD",
       [](Model& m) {
         m.equation = Equation::BirchMurnaghan;
         m.arithmetic = Arithmetic::Calculator;
       },
       "calculator's arithmetic"},
      {"Debye temperature zero", [](Model& m) { m[Parameter::theta0] = 0.0; }, "theta0 must be"},
      {"no atoms", [](Model& m) { m[Parameter::natoms] = -1.0; }, "natoms must be above zero"},
      {"q not finite", [](Model& m) { m[Parameter::q] = INFINITY; }, "q is not a finite number"},
      {"gamma0 not a number", [](Model& m) { m[Parameter::gamma0] = NAN; }, "gamma0 is not"},
      {"reference at 0 K", [](Model& m) { m[Parameter::Tref] = 0.0; }, "Tref must be above zero"},
      {"negative V0", [](Model& m) { m[Parameter::V0] = -3.0; }, "V0 must be above zero"},
      {"cell without formula units",
       [](Model& m) {
         m.volumeUnit = VolumeUnit::CubicAngstromsPerCell;
         m.Z = 0.0;
       },
       "Z must be"},
      {"Tait with K'0 at -1", [](Model& m) { m[Parameter::Kp0] = -1.0; },
       "the Tait equation needs K'0 above -1"},
      {"alpha0 unused by MGD", [](Model& m) { m[Parameter::alpha0] = NAN; }, ""},
      {"linear expansion about 0 K",
       [](Model& m) {
         m.thermal = Thermal::Linear;
         m[Parameter::Tref] = 0.0;
       },
       ""},
  };
  for (const Refusal& refusal : refusals) {
    Model model = DefaultModel(Equation::Tait, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
    refusal.change(model);
    const std::string error = ValidationError(model);
    if (std::string(refusal.message).empty()) {
      EXPECT_EQ(error, "") << refusal.what;
    } else {
      EXPECT_NE(error.find(refusal.message), std::string::npos) << refusal.what << ": " << error;
    }
  }
}

// Which parameters a user may give, and which the model computes itself.
TEST(ModelCatalogue, RolesFollowEquationOrderAndThermalModel) {
  struct Expectation {
    Equation equation;
    int order;
    Thermal thermal;
    Parameter parameter;
    Role role;
  };
  const Expectation expectations[] = {
      {Equation::BirchMurnaghan, 2, Thermal::Linear, Parameter::Kp0, Role::Implied},
      {Equation::Murnaghan, 3, Thermal::Linear, Parameter::Kpp0, Role::Unused},
      {Equation::Vinet, 3, Thermal::Linear, Parameter::Kpp0, Role::Implied},
      {Equation::Tait, 4, Thermal::Einstein, Parameter::Kpp0, Role::Free},
      {Equation::Tait, 3, Thermal::Einstein, Parameter::alpha0, Role::Free},
      {Equation::Tait, 3, Thermal::Einstein, Parameter::dKdT, Role::Unused},
      {Equation::Vinet, 3, Thermal::MieGruneisenDebye, Parameter::alpha0, Role::Unused},
      {Equation::Vinet, 3, Thermal::MieGruneisenDebye, Parameter::q, Role::Free},
      {Equation::Vinet, 3, Thermal::Linear, Parameter::gamma0, Role::Unused},
      {Equation::NaturalStrain, 4, Thermal::Fei, Parameter::alpha2, Role::Free},
      {Equation::NaturalStrain, 4, Thermal::Berman, Parameter::alpha2, Role::Unused},
      {Equation::Vinet, 3, Thermal::HollandPowell, Parameter::alpha1, Role::Unused},
      {Equation::Vinet, 3, Thermal::HollandPowell, Parameter::dKdT, Role::Free},
      {Equation::Vinet, 3, Thermal::HollandPowell, Parameter::theta0, Role::Unused},
  };
  for (const Expectation& e : expectations) {
    const Model model = DefaultModel(e.equation, e.order, e.thermal, Arithmetic::Textbook);
    EXPECT_EQ(RoleOf(model, e.parameter), e.role)
        << Info(e.equation).name << " " << e.order << " " << Info(e.thermal).name << " "
        << Info(e.parameter).name;
  }
}

}  // namespace
}  // namespace quorvane::models
