#include "scales/fluorescence_scale.h"

#include <Eigen/Core>
#include <cmath>
#include <limits>
#include <unsupported/Eigen/AutoDiff>

namespace quorvane::scales {
namespace {

using Derivatives = Eigen::Vector3d;
using Dual = Eigen::AutoDiffScalar<Derivatives>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Datchi et al. (2007) High Pressure Research 27, 447-463, doi:10.1080/08957950701659593,
// their Eq. 2: the R1 line's shift from 296 K, valid at ambient pressure to 900 K as we read it.
constexpr double kRubyReferenceT = 296.0;
constexpr double kRubyShift1 = 0.00746;
constexpr double kRubyShift2 = -3.01e-6;
constexpr double kRubyShift3 = 8.76e-9;
// The ambient R1 wavelength commonly adopted (nm); a measured lambda0 is better. Below
// 296 K the shift above is an extrapolation, so those temperatures are out of range.
constexpr double kRubyLambda0 = 694.24;
// Shen et al. (2020), the abstract: lambda0 is "the wavelength of the R1-line near 694.25 nm
// at ambient condition"; their gauge takes that, 0.01 nm (0.03 GPa) above the common value.
constexpr double kRuby2020Lambda0 = 694.25;
// Datchi et al. (1997) J. Appl. Phys. 81, 3333, doi:10.1063/1.365025: the 0-0 line of
// SrB4O7:Sm2+ at ambient conditions (nm).
constexpr double kSamariumLambda0 = 685.41;
constexpr double kRubyMaxT = 900.0;
// Datchi et al. (1997) found the 0-0 line all but independent of temperature below about 500 K.
constexpr double kSamariumMaxT = 500.0;

ScaleInfo Gauge(const char* name, const char* material, const char* citation, double maxP,
                double minT, double maxT) {
  return {name, material, ScaleKind::Fluorescence, citation, {0.0, maxP, minT, maxT}, {}};
}

const FluorescenceScale kScales[] = {
    {Gauge("ruby-mao1986", "ruby R1",
           "Mao, Xu & Bell (1986) J. Geophys. Res. 91(B5), 4673-4676, doi:10.1029/JB091iB05p04673",
           80.0, kRubyReferenceT, kRubyMaxT),
     FluorescenceForm::Power, 1904.0, 7.665, 0.0, kRubyLambda0, true},
    {Gauge("ruby-dewaele2008", "ruby R1",
           "Dewaele, Torrent, Loubeyre & Mezouar (2008) Phys. Rev. B 78, 104102, "
           "doi:10.1103/PhysRevB.78.104102",
           150.0, kRubyReferenceT, kRubyMaxT),
     FluorescenceForm::Power, 1920.0, 9.61, 0.0, kRubyLambda0, true},
    {Gauge("ruby-shen2020", "ruby R1",
           "Shen et al. (2020) High Pressure Research 40(3), 299-314, "
           "doi:10.1080/08957959.2020.1791107",
           150.0, kRubyReferenceT, kRubyMaxT),
     FluorescenceForm::Quadratic, 1870.0, 5.63, 0.0, kRuby2020Lambda0, true},
    {Gauge("smsbo-datchi1997", "SrB4O7:Sm2+ 0-0 line",
           "Datchi, LeToullec & Loubeyre (1997) J. Appl. Phys. 81, 3333-3339, doi:10.1063/1.365025",
           124.0, 0.0, kSamariumMaxT),
     FluorescenceForm::Rational, 4.032, 9.29e-3, 2.32e-2, kSamariumLambda0, false},
};

template <class S>
S RubyShift(const S& T) {
  const S dT = T - kRubyReferenceT;
  return dT * (kRubyShift1 + dT * (kRubyShift2 + dT * kRubyShift3));
}

template <class S>
S Pressure(const FluorescenceScale& scale, S lambda, const S& lambda0, const S& T) {
  using std::pow;
  if (scale.rubyTemperatureShift) lambda -= RubyShift(T);
  switch (scale.form) {
    case FluorescenceForm::Power:
      return scale.A / scale.B * (pow(lambda / lambda0, scale.B) - 1.0);
    case FluorescenceForm::Quadratic: {
      const S x = (lambda - lambda0) / lambda0;
      return scale.A * x * (1.0 + scale.B * x);
    }
    case FluorescenceForm::Rational: {
      const S d = lambda - lambda0;
      return scale.A * d * (1.0 + scale.B * d) / (1.0 + scale.C * d);
    }
  }
  return S(kNaN);
}

// The root of a x^2 + b x + c = 0 that is zero at c = 0, without the
// cancellation of the textbook formula.
double SmallRoot(double a, double b, double c) {
  const double discriminant = b * b - 4.0 * a * c;
  if (!(discriminant >= 0.0)) return kNaN;
  const double root = std::sqrt(discriminant);
  return b >= 0.0 ? -2.0 * c / (b + root) : (-b + root) / (2.0 * a);
}

// The shift (nm, or relative for the quadratic form) at P.
double ShiftFromPressure(const FluorescenceScale& scale, double P, double lambda0) {
  switch (scale.form) {
    case FluorescenceForm::Power: {
      const double base = 1.0 + scale.B * P / scale.A;
      if (!(base > 0.0)) return kNaN;
      return lambda0 * (std::pow(base, 1.0 / scale.B) - 1.0);
    }
    case FluorescenceForm::Quadratic:
      return lambda0 * SmallRoot(scale.A * scale.B, scale.A, -P);
    case FluorescenceForm::Rational:
      // A d (1 + B d) = P (1 + C d).
      return SmallRoot(scale.A * scale.B, scale.A - P * scale.C, -P);
  }
  return kNaN;
}

}  // namespace

std::span<const FluorescenceScale> FluorescenceScales() {
  return kScales;
}

const FluorescenceScale* FindFluorescenceScale(std::string_view name) {
  for (const FluorescenceScale& scale : kScales) {
    if (scale.info.name == name) return &scale;
  }
  return nullptr;
}

double RubyTemperatureShift(double T) {
  return RubyShift(T);
}

FluorescencePressure PressureFromWavelength(const FluorescenceScale& scale, double lambda,
                                            double lambda0, double T) {
  const Dual P = Pressure(scale, Dual(lambda, 3, 0), Dual(lambda0, 3, 1), Dual(T, 3, 2));
  return {P.value(), P.derivatives()[0], P.derivatives()[1], P.derivatives()[2]};
}

bool InCalibratedRange(const FluorescenceScale& scale, double lambda, double lambda0, double T,
                       const FluorescencePressure& p) {
  const double line = scale.rubyTemperatureShift ? lambda - RubyShift(T) : lambda;
  if (!(line >= lambda0) || !(p.dPdLambda > 0.0)) return false;
  return std::isfinite(p.P) && scale.info.Holds(p.P, T);
}

double WavelengthFromPressure(const FluorescenceScale& scale, double P, double lambda0, double T) {
  const double shift = ShiftFromPressure(scale, P, lambda0);
  const double lambda = lambda0 + shift;
  return scale.rubyTemperatureShift ? lambda + RubyShift(T) : lambda;
}

}  // namespace quorvane::scales
