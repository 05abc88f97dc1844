#include "models/thermodynamic_properties.h"

#include <Eigen/Core>
#include <cmath>
#include <limits>
#include <unsupported/Eigen/AutoDiff>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/state_jet.h"
#include "models/thermal_equations.h"

namespace quorvane::models {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr int kVolumeSlot = kParameterCount;
using Slots = Eigen::Matrix<double, kParameterCount + 1, 1>;
using Dual = Eigen::AutoDiffScalar<Slots>;

template <class T>
struct Properties {
  T KT, Kp, alpha, dKdT, Pth, CV, gamma, CP, KS;
};

// The thermal energy whose temperature derivative is C_V, on the jet.
template <class T>
jet::StateJet<T> ThermalEnergy(const Model& shape, const ParameterArray<jet::StateJet<T>>& p,
                               const jet::StateJet<T>& V, const jet::StateJet<T>& temperature,
                               const std::optional<double>& einsteinAtoms) {
  if (shape.thermal == Thermal::MieGruneisenDebye) {
    return DebyeEnergy(temperature, DebyeStateAt(p, V).theta, p[Index(Parameter::natoms)]);
  }
  return EinsteinEnergy(temperature, p[Index(Parameter::theta0)], jet::StateJet<T>(*einsteinAtoms));
}

// Every property from one pass of P(V,T) on the jet and, for C_V, one of the
// thermal energy: T is double for the values, Dual for their derivatives.
template <class T>
Properties<T> Evaluate(const Model& shape, const ParameterArray<T>& p, const T& V,
                       const T& temperature, const std::optional<double>& einsteinAtoms) {
  using Jet = jet::StateJet<T>;
  ParameterArray<Jet> jp;
  for (int i = 0; i < kParameterCount; ++i) jp[i] = Jet(p[i]);
  const Jet volume = Jet::Volume(V);
  const Jet P = ModelPressure(shape, jp, volume, Jet::Temperature(temperature));
  Properties<T> r;
  r.KT = -V * P.dV;
  // dK_T/dV at T held, then its ratio to dP/dV and its change with T at P held.
  const T dKdV = -P.dV - V * P.dVV;
  r.Kp = dKdV / P.dV;
  r.alpha = P.dT / r.KT;
  r.dKdT = -V * P.dVT + dKdV * r.alpha * V;
  r.Pth = P.v - ModelPressure(shape, p, V, p[Index(Parameter::Tref)]);
  if (!HasHeatCapacity(shape, einsteinAtoms)) {
    r.CV = r.gamma = r.CP = r.KS = T(kNotANumber);
    return r;
  }
  r.CV = ThermalEnergy(shape, jp, volume, Jet::Temperature(temperature), einsteinAtoms).dT;
  // alpha K_T V is in GPa cm^3/(mol K), C_V in J/(mol K).
  const T molarVolume = V * MolarVolumeFactor(shape);
  r.gamma = P.dT * molarVolume / kGigapascalsPerJoulePerCubicCentimetre / r.CV;
  const T factor = 1.0 + r.alpha * r.gamma * temperature;
  r.CP = r.CV * factor;
  r.KS = r.KT * factor;
  return r;
}

void Store(const Dual& x, PropertyGradients::Gradient& gradient) {
  for (int i = 0; i <= kParameterCount; ++i) gradient[i] = x.derivatives()[i];
}

}  // namespace

bool HasHeatCapacity(const Model& model, std::optional<double> einsteinAtoms) {
  if (model.thermal == Thermal::MieGruneisenDebye) return true;
  return model.thermal == Thermal::Einstein && einsteinAtoms && *einsteinAtoms > 0.0;
}

ThermodynamicProperties PropertiesAt(const Model& model, double V, double T,
                                     std::optional<double> einsteinAtoms) {
  if (!HasPressure(model, V, T)) {
    return {kNotANumber, kNotANumber, kNotANumber, kNotANumber, kNotANumber,
            kNotANumber, kNotANumber, kNotANumber, kNotANumber};
  }
  const Properties<double> r = Evaluate(model, model.values, V, T, einsteinAtoms);
  return {r.KT, r.Kp, r.alpha, r.dKdT, r.Pth, r.CV, r.gamma, r.CP, r.KS};
}

PropertyGradients PropertyGradientsAt(const Model& model, double V, double T,
                                      std::optional<double> einsteinAtoms) {
  ParameterArray<Dual> p;
  for (int i = 0; i < kParameterCount; ++i) p[i] = Dual(model.values[i], Slots::Unit(i));
  const Dual volume(V, Slots::Unit(kVolumeSlot));
  const Properties<Dual> r = Evaluate(model, p, volume, Dual(T, Slots::Zero()), einsteinAtoms);
  PropertyGradients g;
  Store(r.KT, g.KT);
  Store(r.Kp, g.Kp);
  Store(r.alpha, g.alpha);
  Store(r.dKdT, g.dKdT);
  Store(r.Pth, g.Pth);
  Store(r.CV, g.CV);
  Store(r.gamma, g.gamma);
  Store(r.CP, g.CP);
  Store(r.KS, g.KS);
  return g;
}

double Entropy(const Model& model, double V, double T) {
  if (model.thermal != Thermal::MieGruneisenDebye || !HasPressure(model, V, T)) return kNotANumber;
  return DebyeEntropy(T, DebyeStateAt(model.values, V).theta, model[Parameter::natoms]);
}

}  // namespace quorvane::models
