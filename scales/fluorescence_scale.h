#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "scales/scale_info.h"

namespace quorvane::scales {

// How the pressure follows from the line's shift.
enum class FluorescenceForm {
  // P = A/B ((lambda/lambda0)^B - 1), GPa.
  Power,
  // P = A x (1 + B x), x = (lambda - lambda0)/lambda0, GPa.
  Quadratic,
  // P = A d (1 + B d)/(1 + C d), d = lambda - lambda0 in nm, GPa.
  Rational,
};

// A fluorescence gauge: a line whose wavelength (nm) moves with pressure.
struct FluorescenceScale {
  ScaleInfo info;
  FluorescenceForm form = FluorescenceForm::Power;
  double A = 0.0;
  double B = 0.0;
  double C = 0.0;
  // The line at ambient pressure and 296 K where the source gives one (nm).
  std::optional<double> lambda0;
  // The ruby R1 line's shift with temperature is taken off before the
  // pressure is computed; the other gauges take none.
  bool rubyTemperatureShift = false;
};

// The gauges Quorvane knows.
std::span<const FluorescenceScale> FluorescenceScales();
const FluorescenceScale* FindFluorescenceScale(std::string_view name);

// The ruby R1 line's shift (nm) from 296 K to T at ambient pressure.
double RubyTemperatureShift(double T);

struct FluorescencePressure {
  double P = 0.0;
  double dPdLambda = 0.0;
  double dPdLambda0 = 0.0;
  double dPdT = 0.0;
};

// The pressure at wavelength lambda, with its slopes; lambda0 is the line at
// ambient pressure and 296 K. Not a number where the form has none (a
// rational gauge's pole).
FluorescencePressure PressureFromWavelength(const FluorescenceScale& scale, double lambda,
                                            double lambda0, double T);

// Whether the gauge vouches for the pressure p it gives at lambda: P and T
// inside its calibrated range, on the branch its calibration measured: the
// line shifted to the red of lambda0 (after the ruby's temperature shift),
// the pressure rising with the wavelength. Below lambda0 the quadratic and
// rational forms give positive pressures again, which no sample had.
bool InCalibratedRange(const FluorescenceScale& scale, double lambda, double lambda0, double T,
                       const FluorescencePressure& p);

// The wavelength at P: the inverse, in closed form. Not a number where no
// wavelength gives P.
double WavelengthFromPressure(const FluorescenceScale& scale, double P, double lambda0, double T);

}  // namespace quorvane::scales
