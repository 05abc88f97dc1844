#include "python/model_arrays.h"

#include <cmath>
#include <limits>

#include "app/eos_request.h"
#include "app/state_rows.h"
#include "engine/state_point.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "python/lane_pressures.h"
#include "python/parallel_loop.h"

namespace py = pybind11;

namespace quorvane::python {
namespace {

using models::Parameter;

// V(T,0), not a number where the model has no volume at zero pressure.
double ZeroPressureVolumeOrNaN(const models::Model& model, double T) {
  const engine::VolumeSolution VT0 = models::ZeroPressureVolume(model, T);
  return VT0.converged ? VT0.V : std::numeric_limits<double>::quiet_NaN();
}

app::KnownQuantity KnownFromName(const std::string& name) {
  if (name == "P") return app::KnownQuantity::Pressure;
  if (name == "V") return app::KnownQuantity::Volume;
  if (name == "V/V00") return app::KnownQuantity::VolumeOverV00;
  if (name == "V/VT0") return app::KnownQuantity::VolumeOverVT0;
  if (name == "VT0") {
    throw py::value_error(
        "VT0: only the calculator's equations with the linear thermal model, in the "
        "calculator's arithmetic, give the temperature from V(T,0)");
  }
  throw py::value_error("unknown quantity \"" + name + "\"");
}

}  // namespace

bool ComputesAsTheForm(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Calculator && models::IsCalculatorFamily(model);
}

Array ModelPressures(const models::Model& model, const Array& V, const Array& T) {
  if (HasLanePressures(model)) {
    // One temperature for all the volumes is read in place.
    const std::size_t stride = T.size() == 1 ? 0 : 1;
    if (stride == 1) RequireSameSize(V, T);
    Array result(V.size());
    const double* volume = V.data();
    const double* temperature = T.data();
    double* out = result.mutable_data();
    py::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(V.size()), [&](std::size_t begin, std::size_t end) {
      LanePressures(model, volume + begin, temperature + begin * stride, stride, end - begin,
                    out + begin);
    });
    return result;
  }
  return Map(V, T, [&model](double v, double t) { return models::Pressure(model, v, t); });
}

py::tuple ModelVolumes(const models::Model& model, const Array& P, const Array& T) {
  RequireSameSize(P, T);
  Array volumes(P.size());
  Flags converged(P.size());
  const double* pressure = P.data();
  const double* temperature = T.data();
  double* V = volumes.mutable_data();
  bool* reached = converged.mutable_data();
  const bool thermalPressure = models::Info(model.thermal).thermalPressure;
  {
    py::gil_scoped_release release;
    ParallelFor(static_cast<std::size_t>(P.size()), [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        const engine::VolumeSolution s =
            models::VolumeFromPressure(model, pressure[i], temperature[i]);
        reached[i] = engine::IsVolumeFound(s);
        // A missed target answers V(T,0) for every model, not the thermal
        // models' starting point V0.
        V[i] =
            reached[i] || !thermalPressure ? s.V : ZeroPressureVolumeOrNaN(model, temperature[i]);
      }
    });
  }
  return py::make_tuple(volumes, converged);
}

Array ModelZeroPressureVolumes(const models::Model& model, const Array& T) {
  return Map(T, T, [&model](double t, double) { return ZeroPressureVolumeOrNaN(model, t); });
}

Array ModelZeroPressureModuli(const models::Model& model, const Array& T) {
  if (models::Info(model.thermal).thermalPressure) {
    return Map(T, T, [&model](double t, double) {
      return models::BulkModulus(model, ZeroPressureVolumeOrNaN(model, t), t);
    });
  }
  // The expansion models' isotherm at T has K(T) by definition.
  return Map(T, T, [&model](double t, double) {
    return model[Parameter::K0] + model[Parameter::dKdT] * (t - model[Parameter::Tref]);
  });
}

py::tuple ModelStates(const models::Model& model, const std::string& known, const Array& values,
                      const Array& partners) {
  RequireSameSize(values, partners);
  const app::KnownQuantity quantity = KnownFromName(known);
  return MapStates(values, partners, [&](double value, double partner, StateRowValues& row) {
    const app::StateRow state =
        app::ComputeStateRow(model, quantity, app::PressureSolver::Exact, {value, partner});
    row = app::StateValues(state.point);
    return state.IsStatePoint();
  });
}

Array BulkModuli(const models::Model& model, const Array& V, const Array& T) {
  return Map(V, T, [&model](double v, double t) { return models::BulkModulus(model, v, t); });
}

}  // namespace quorvane::python
