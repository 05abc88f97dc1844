#include "app/property_columns.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/thermodynamic_properties.h"
#include "params/property_uncertainty.h"

namespace quorvane::app {
namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

struct Values {
  models::ThermodynamicProperties properties;
  double rho = kNotANumber;
  double Vphi = kNotANumber;
};

template <class Record>
double Column(const Record& r, Property property) {
  switch (property) {
    case Property::KT:
      return r.KT;
    case Property::Kp:
      return r.Kp;
    case Property::alpha:
      return r.alpha;
    case Property::dKdT:
      return r.dKdT;
    case Property::Pth:
      return r.Pth;
    case Property::CV:
      return r.CV;
    case Property::gamma:
      return r.gamma;
    case Property::CP:
      return r.CP;
    case Property::KS:
      return r.KS;
    default:
      return kNotANumber;
  }
}

double ValueOf(const Values& v, Property property) {
  if (property == Property::rho) return v.rho;
  if (property == Property::Vphi) return v.Vphi;
  return Column(v.properties, property);
}

double SigmaOf(const params::PropertyUncertainties& s, Property property) {
  if (property == Property::rho) return s.rho;
  if (property == Property::Vphi) return s.Vphi;
  return Column(s, property);
}

}  // namespace

const char* PropertySet::Name(int value) const {
  const int column = static_cast<int>(columns[value % count]);
  return value < count ? kPropertyNames[column] : kPropertySigmaNames[column];
}

PropertySet PropertiesOf(const models::Model& model, const PropertyRequest& request, bool sigmas) {
  PropertySet set;
  set.sigmas = sigmas;
  auto add = [&set](Property property) { set.columns[set.count++] = property; };
  add(Property::KT);
  add(Property::Kp);
  add(Property::alpha);
  const bool thermalPressure = models::Info(model.thermal).thermalPressure;
  if (!thermalPressure) add(Property::dKdT);
  if (thermalPressure) add(Property::Pth);
  const bool heat = models::HasHeatCapacity(model, request.einsteinAtoms);
  if (heat) {
    for (Property property : {Property::CV, Property::gamma, Property::CP, Property::KS}) {
      add(property);
    }
  }
  if (request.molarMass) add(Property::rho);
  if (request.molarMass && heat) add(Property::Vphi);
  return set;
}

PropertySet PropertiesOf(const EosRequest& request) {
  if (!request.properties.wanted) return {};
  // The sigmas of the properties where the table has one of V or P.
  return PropertiesOf(request.model, request.properties, UncertaintyColumn(request) != nullptr);
}

void ComputeProperties(const models::Model& model, const PropertyRequest& request,
                       const params::ParameterCovariance* covariance, const PropertySet& set,
                       double V, double T, bool pressureHeld, std::span<double> values) {
  Values v{models::PropertiesAt(model, V, T, request.einsteinAtoms)};
  if (request.molarMass) {
    v.rho = *request.molarMass / (V * models::MolarVolumeFactor(model));
    v.Vphi = std::sqrt(v.properties.KS / v.rho);
  }
  const auto columns = set.Columns();
  for (std::size_t i = 0; i < columns.size(); ++i) values[i] = ValueOf(v, columns[i]);
  if (!set.sigmas || !covariance) return;
  const params::PropertyUncertainties s = params::PropertyUncertaintiesAt(
      model, *covariance, V, T, pressureHeld, request.molarMass, request.einsteinAtoms);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    values[columns.size() + i] = SigmaOf(s, columns[i]);
  }
}

void ComputeProperties(const EosRequest& request, const PropertySet& set, const StateRow& row,
                       std::span<double> values) {
  if (!row.IsStatePoint()) {
    std::fill(values.begin(), values.end(), kNotANumber);
    return;
  }
  ComputeProperties(request.model, request.properties,
                    request.covariance ? &*request.covariance : nullptr, set, row.point.V,
                    row.point.T, request.known == KnownQuantity::Pressure, values);
}

}  // namespace quorvane::app
