#include "engine/eos_parameters.h"

namespace quorvane::engine {
namespace {

double BirchMurnaghanKpp0(double Kp0, double K0) {
  return -((Kp0 - 4.0) * (Kp0 - 3.0) + kBirchCoefficient) / K0;
}

double VinetKpp0(double Kp0, double K0) {
  const double h = Kp0 / 2.0;
  return -(h * h + h - kVinetCoefficient) / K0;
}

double NaturalStrainKpp0(double Kp0, double K0) {
  const double d = Kp0 - 2.0;
  return -(d * d + d + 1.0) / K0;
}

}  // namespace

// At order 4, and at any order the form never sets, Birch-Murnaghan and natural
// strain keep the user's K'0 and K''0. Vinet has no K''0 term, so its K''0 is
// implied at every order.
void UpdateImpliedCoefficients(EosParameters& parameters) {
  EosParameters& p = parameters;
  switch (p.type) {
    case EosType::BirchMurnaghan:
      if (p.order == 2) p.Kp0 = 4.0;
      if (p.order == 2 || p.order == 3) p.Kpp0 = BirchMurnaghanKpp0(p.Kp0, p.K0);
      return;
    case EosType::Vinet:
      if (p.order == 2) p.Kp0 = 1.0;
      p.Kpp0 = VinetKpp0(p.Kp0, p.K0);
      return;
    case EosType::NaturalStrain:
      if (p.order == 2) p.Kp0 = 2.0;
      if (p.order == 2 || p.order == 3) p.Kpp0 = NaturalStrainKpp0(p.Kp0, p.K0);
      return;
    default:
      p.Kpp0 = 0.0;
      return;
  }
}

}  // namespace quorvane::engine
