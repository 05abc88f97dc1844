#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "models/model.h"
#include "params/parameter_covariance.h"
#include "scales/lattice_centring.h"
#include "scales/scale_info.h"

namespace quorvane::scales {

// A volume scale: a model of the catalogue for the calibrant, from a
// parameter file whose optional "scale" object adds the citation and range.
struct VolumeScale {
  ScaleInfo info;
  models::Model model;
  // The source's esds as a covariance, where the file holds one.
  std::optional<params::ParameterCovariance> covariance;
  // A cubic cell: V = a^3, so the lattice parameter can stand for V.
  bool cubic = false;
  Centring centring = Centring::Unknown;
};

// Reads a scale from a parameter file's text; source names it in errors and,
// for a file without a "scale" object (any parameter file can serve), its
// name is fallbackName and its range unbounded. Throws ScaleError naming the
// source: a file the parameter-file reader refuses, a "scale" that is no
// object or has a range that is not two increasing numbers.
VolumeScale ReadVolumeScale(std::string_view text, const std::string& source,
                            const std::string& fallbackName);

// Whether the scale vouches for the pressure P (slope dPdV) it gives at V and
// T: P and T inside its calibrated range, and V on the branch of its equation
// through the zero-pressure volume, where the pressure falls as the volume
// grows. Far beyond the spinodal an equation gives a pressure again, rising
// with the volume; such a state is computed but not physical.
bool InCalibratedRange(const VolumeScale& scale, double V, double T, double P, double dPdV);

// A volume scale needs molar or cell volumes with pressures in GPa: the
// thermal-pressure models compute in those units. A scale of another model
// is taken as it is.
inline bool IsCellVolumeScale(const VolumeScale& scale) {
  return scale.model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell;
}

}  // namespace quorvane::scales
