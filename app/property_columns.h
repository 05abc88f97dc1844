#pragma once

#include <array>
#include <optional>
#include <span>

#include "app/eos_request.h"
#include "app/state_rows.h"
#include "models/model.h"
#include "params/parameter_covariance.h"

namespace quorvane::app {

// The thermodynamic properties a table adds with --properties.
enum class Property { KT, Kp, alpha, dKdT, Pth, CV, gamma, CP, KS, rho, Vphi };
inline constexpr int kPropertyCount = 11;
inline constexpr const char* kPropertyNames[kPropertyCount] = {
    "KT", "Kp", "alpha", "dKdT", "Pth", "CV", "gamma", "CP", "KS", "rho", "Vphi"};
inline constexpr const char* kPropertySigmaNames[kPropertyCount] = {
    "sig_KT",    "sig_Kp", "sig_alpha", "sig_dKdT", "sig_Pth", "sig_CV",
    "sig_gamma", "sig_CP", "sig_KS",    "sig_rho",  "sig_Vphi"};

// Which properties a model defines: K_T, K', alpha and (dK_T/dT)_P for the
// expansion models; K_T, K', alpha, P_th and, with a heat capacity, C_V,
// gamma, C_P and K_S for the thermal-pressure models; rho (and Vphi where K_S
// is defined) with a molar mass.
struct PropertySet {
  std::array<Property, kPropertyCount> columns{};
  int count = 0;
  // Whether each comes with its standard deviation.
  bool sigmas = false;

  std::span<const Property> Columns() const { return {columns.data(), std::size_t(count)}; }
  // The number of values a row adds: each property, then each sigma.
  int ValueCount() const { return sigmas ? 2 * count : count; }
  const char* Name(int value) const;
};
PropertySet PropertiesOf(const models::Model& model, const PropertyRequest& request, bool sigmas);

// The set of a table's request (empty without --properties).
PropertySet PropertiesOf(const EosRequest& request);

// The values at V and T in the set's order: the properties, then their
// standard deviations from the covariance. pressureHeld: the state point is
// the one at a known pressure, whose V moves with the parameters.
void ComputeProperties(const models::Model& model, const PropertyRequest& request,
                       const params::ParameterCovariance* covariance, const PropertySet& set,
                       double V, double T, bool pressureHeld, std::span<double> values);

// The same for a row of a table; not a number for a row that is no state point.
void ComputeProperties(const EosRequest& request, const PropertySet& set, const StateRow& row,
                       std::span<double> values);

}  // namespace quorvane::app
