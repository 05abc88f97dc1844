#include "web/page_state.h"

#include <array>
#include <optional>

#include "app/atom_count.h"
#include "app/eos_request.h"
#include "app/input_error.h"
#include "app/property_columns.h"
#include "app/state_rows.h"
#include "models/model_catalogue.h"
#include "params/parameter_file.h"
#include "web/page_json.h"

namespace quorvane::web {
namespace {

using app::EosRequest;
using app::KnownQuantity;
using app::RowOutcome;
using app::StateRow;

EosRequest RequestFromFile(const std::string& text) {
  const params::ParameterFile file = params::ReadParameterFile(text, "the fitted parameters");
  EosRequest request;
  request.model = file.model;
  if (!file.covariance.empty()) {
    request.covariance = params::ParameterCovariance{file.refined, file.covariance};
  }
  request.properties.wanted = true;
  return request;
}

void ReadInputs(EosRequest& request, const std::string& known, double molarMass,
                const std::string& natoms) {
  if (known != "P" && known != "V") throw app::InputError("the known quantity is P or V");
  request.known = known == "P" ? KnownQuantity::Pressure : KnownQuantity::Volume;
  if (molarMass < 0.0) throw app::InputError("the molar mass must be above zero");
  if (molarMass > 0.0) request.properties.molarMass = molarMass;
  if (!natoms.empty()) app::ReadAtomCount(natoms, request);
}

std::string UnreachedWarning(const StateRow& row) {
  const char* why = nullptr;
  if (row.outcome == RowOutcome::PressureNotReached) why = "the search gave up and V is V(T,0)";
  if (row.outcome == RowOutcome::VolumeNotPositive) why = "V is not above zero";
  if (!why) return {};
  std::string warning = "the pressure ";
  app::AppendShortest(warning, row.point.P);
  warning += " is not reached at T = ";
  app::AppendShortest(warning, row.point.T);
  return warning + "; " + why;
}

// The unit each column is in: the thermal-pressure models compute in GPa
// and in the model's volume unit; the expansion models in the data's own
// units, which no file names.
struct Units {
  std::string pressure;
  std::string volume;
};

Units UnitsOf(const models::Model& model) {
  if (!models::Info(model.thermal).thermalPressure) {
    return {"unit of the data's P", "unit of the data's V"};
  }
  const bool perCell = model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell;
  return {"GPa", perCell ? "Å³ per cell" : "cm³/mol"};
}

std::string UnitOf(const std::string& column, const Units& units) {
  const std::string name = column.starts_with("sig_")  ? column.substr(4)
                           : column.starts_with("sig") ? column.substr(3)
                                                       : column;
  if (name == "P" || name == "KT" || name == "KS" || name == "Pth") return units.pressure;
  if (name == "V" || name == "VT0") return units.volume;
  if (name == "T") return "K";
  if (name == "alpha") return "1/K";
  if (name == "dKdT") return units.pressure + " per K";
  if (name == "CV" || name == "CP") return "J/(mol K)";
  if (name == "rho") return "g/cm³";
  if (name == "Vphi") return "km/s";
  return "";
}

void AppendRow(std::string& out, std::string& units, const EosRequest& request,
               const StateRow& row) {
  const Units modelUnits = UnitsOf(request.model);
  auto column = [&](const std::string& name, double value) {
    AppendJsonKey(out, name);
    const bool absent = row.zeroPressureVolumeAbsent && (name == "VT0" || name == "V/VT0");
    AppendJsonNumber(out, absent ? std::nan("") : value);
    AppendJsonKey(units, name);
    params::AppendJsonString(units, UnitOf(name, modelUnits));
  };
  const auto values = app::StateValues(row.point);
  for (int i = 0; i < app::kStateColumnCount; ++i) column(app::kStateColumnNames[i], values[i]);
  if (const char* sigma = app::UncertaintyColumn(request)) column(sigma, row.sigma);
  const app::PropertySet set = app::PropertiesOf(request);
  std::array<double, 2 * app::kPropertyCount> properties{};
  app::ComputeProperties(request, set, row, properties);
  for (int i = 0; i < set.ValueCount(); ++i) column(set.Name(i), properties[i]);
  AppendJsonKey(out, "converged");
  out += row.IsStatePoint() ? "true" : "false";
}

}  // namespace

std::string StatePointJson(const std::string& parameterFileText, const std::string& known,
                           double value, double T, double molarMass, const std::string& natoms) {
  try {
    EosRequest request = RequestFromFile(parameterFileText);
    ReadInputs(request, known, molarMass, natoms);
    if (const std::string error = models::TemperatureError(request.model, T); !error.empty()) {
      return ErrorJson(error);
    }
    StateRow row =
        app::ComputeStateRow(request.model, request.known, app::PressureSolver::Exact, {value, T});
    if (const std::string reason = app::NoStatePointReason(row); !reason.empty()) {
      return ErrorJson("these inputs determine no state point: " + reason);
    }
    row.sigma = app::RowUncertainty(request, row);
    std::string out = "{\"row\": {";
    std::string units = "{";
    AppendRow(out, units, request, row);
    out += "}, \"units\": " + units + "}, \"warning\": ";
    params::AppendJsonString(out, UnreachedWarning(row));
    return out + ", \"error\": null}";
  } catch (const params::ParameterFileError& error) {
    return ErrorJson(error.what());
  } catch (const app::InputError& error) {
    return ErrorJson(error.what());
  }
}

}  // namespace quorvane::web
