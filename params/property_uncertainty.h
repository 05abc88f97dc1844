#pragma once

#include <optional>

#include "models/model.h"
#include "params/parameter_covariance.h"

namespace quorvane::params {

// The standard deviations of the thermodynamic properties that the
// parameters' covariance implies, sqrt(g' C g) with g each property's
// derivatives by the parameters, taken through the same automatic
// derivatives as the properties themselves.
struct PropertyUncertainties {
  double KT = 0.0;
  double Kp = 0.0;
  double alpha = 0.0;
  double dKdT = 0.0;
  double Pth = 0.0;
  double CV = 0.0;
  double gamma = 0.0;
  double CP = 0.0;
  double KS = 0.0;
  double rho = 0.0;
  double Vphi = 0.0;
};

// At V and T. pressureHeld: the state point is the one at a known pressure,
// whose volume moves with the parameters (dV = -dP/d(parameter) / (dP/dV));
// otherwise V itself is known. molarMass (g/mol) gives rho and Vphi.
PropertyUncertainties PropertyUncertaintiesAt(const models::Model& model,
                                              const ParameterCovariance& covariance, double V,
                                              double T, bool pressureHeld,
                                              std::optional<double> molarMass,
                                              std::optional<double> einsteinAtoms);

}  // namespace quorvane::params
