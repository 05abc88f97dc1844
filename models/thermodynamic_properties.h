#pragma once

#include <optional>

#include "models/model.h"

namespace quorvane::models {

// The thermodynamic properties at one state point, each a derivative or an
// identity of the model's one P(V,T) (and, for C_V, of the thermal energy
// its thermal pressure is made of). Pressures and moduli in the model's
// pressure unit; C_V and C_P in J/(mol K) per formula unit.
struct ThermodynamicProperties {
  double KT = 0.0;     // -V (dP/dV)_T
  double Kp = 0.0;     // (dK_T/dP)_T
  double alpha = 0.0;  // (dP/dT)_V / K_T = (1/V)(dV/dT)_P
  double dKdT = 0.0;   // (dK_T/dT)_P
  double Pth = 0.0;    // P(V,T) - P(V,Tref)
  // Not a number where the model defines no heat capacity (the expansion
  // models, and Einstein without an atom count).
  double CV = 0.0;
  double gamma = 0.0;  // alpha K_T V / C_V
  double CP = 0.0;     // C_V (1 + alpha gamma T)
  double KS = 0.0;     // K_T (1 + alpha gamma T)
};

// What is defined for a model: the heat capacity and what follows from it
// belong to the thermal-pressure models; Einstein's needs its atom count.
bool HasHeatCapacity(const Model& model, std::optional<double> einsteinAtoms);

// The properties at V and T. einsteinAtoms: the atoms per formula unit of
// an Einstein model, whose pressure does not hold them.
ThermodynamicProperties PropertiesAt(const Model& model, double V, double T,
                                     std::optional<double> einsteinAtoms = std::nullopt);

// Each property's derivatives by the parameters, at V and T held, and by V
// (for the properties at a pressure held, whose volume moves with the
// parameters). Index by Parameter; slot kParameterCount is d/dV.
struct PropertyGradients {
  using Gradient = std::array<double, kParameterCount + 1>;
  Gradient KT{}, Kp{}, alpha{}, dKdT{}, Pth{}, CV{}, gamma{}, CP{}, KS{};
};
PropertyGradients PropertyGradientsAt(const Model& model, double V, double T,
                                      std::optional<double> einsteinAtoms = std::nullopt);

// The entropy per formula unit, J/(mol K), up to a constant, of the models
// whose thermal part has one in closed form (Mie-Grueneisen-Debye); not a
// number otherwise.
double Entropy(const Model& model, double V, double T);

}  // namespace quorvane::models
