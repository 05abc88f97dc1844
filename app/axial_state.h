#pragma once

#include <string>

#include "scales/scale_directory.h"

namespace quorvane::app {

// One cell edge: its name and the fit of its cube, read as any parameter file.
struct Axis {
  std::string name;
  scales::VolumeScale cubed;
};

// The edge at P and T, its sigma from the file's covariance, and its linear
// compressibility 1/M = 1/(3 K) of the cube.
struct AxisState {
  double L = 0.0;
  double sigL = 0.0;
  double beta = 0.0;
};

// The axis name with the file read as its cube's fit; quoted (the input as
// the caller's error lines quote it) heads the InputError for a file that
// holds a fluorescence gauge rather than an equation of state.
Axis AxisOf(const std::string& name, const scales::Scale& file, const std::string& quoted);

// Throws InputError, what and the axis named, where the cube's equation
// does not reach P at T.
AxisState AxisStateAt(const Axis& axis, double P, double T, const std::string& what);

}  // namespace quorvane::app
