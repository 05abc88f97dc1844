#include "app/scale_pressure.h"

#include <cmath>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/safe_text.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/propagated_uncertainty.h"

namespace quorvane::app {
namespace {

constexpr double kVolumeScaleDefaultT = 300.0;
// The ambient temperature the gauges' lambda0 is measured at.
constexpr double kGaugeDefaultT = 296.0;

std::string Number(double x) {
  std::string text;
  AppendShortest(text, x);
  return text;
}

void RequirePositive(double x, const char* name, const std::string& what) {
  if (!(x > 0.0)) throw InputError(what + ": " + name + " = " + Number(x) + " is not above zero");
}

// A slope times a standard deviation; a zero deviation adds nothing even
// where the slope is no finite number.
double Term(double slope, double sigma) {
  return sigma == 0.0 ? 0.0 : slope * sigma;
}

double Hypot(double a, double b) {
  return std::sqrt(a * a + b * b);
}

void RequireFiniteSigmas(const ScalePressure& p, const char* reading, double x,
                         const std::string& scale, const std::string& what) {
  if (std::isfinite(p.sigP) && std::isfinite(p.sigPScale)) return;
  throw InputError(what + ": " + reading + " = " + Number(x) + " gives no finite sigP on " + scale +
                   " (the standard deviations or the reading are too large)");
}

}  // namespace

void RequireSigma(double sigma, const std::string& name, const std::string& what) {
  if (sigma >= 0.0 && std::isfinite(sigma)) return;
  throw InputError(what + ": " + name + " = " + Number(sigma) +
                   " is no standard deviation (a finite number not below zero)");
}

ScalePressure VolumeScalePressure(const scales::VolumeScale& scale, double V, double sigV, double T,
                                  double sigT, const std::string& what) {
  RequirePositive(V, "V", what);
  RequirePositive(T, "T", what);
  RequireSigma(sigV, "sigV", what);
  RequireSigma(sigT, "sigT", what);
  const models::PressureGradient g = models::PressureWithGradient(scale.model, V, T);
  if (!std::isfinite(g.P)) {
    throw InputError(what + ": V = " + Number(V) + " is beyond what " + scale.info.name +
                     " gives a pressure for");
  }
  ScalePressure p{g.P, Hypot(Term(g.dPdV, sigV), Term(g.dPdT, sigT)), 0.0,
                  scales::InCalibratedRange(scale, V, T, g.P, g.dPdV)};
  if (scale.covariance) {
    p.sigPScale = params::PressureUncertainty(scale.model, *scale.covariance, V, T);
  }
  RequireFiniteSigmas(p, "V", V, scale.info.name, what);
  return p;
}

ScalePressure GaugePressure(const scales::FluorescenceScale& scale, double lambda, double sigLambda,
                            double lambda0, double T, double sigT, const std::string& what) {
  RequirePositive(lambda, "lambda", what);
  RequirePositive(lambda0, "lambda0", what);
  RequirePositive(T, "T", what);
  RequireSigma(sigLambda, "sigLambda", what);
  RequireSigma(sigT, "sigT", what);
  const scales::FluorescencePressure p = scales::PressureFromWavelength(scale, lambda, lambda0, T);
  if (!std::isfinite(p.P)) {
    throw InputError(what + ": lambda = " + Number(lambda) + " is beyond what " + scale.info.name +
                     " gives a pressure for");
  }
  const ScalePressure result{p.P, Hypot(Term(p.dPdLambda, sigLambda), Term(p.dPdT, sigT)), 0.0,
                             scales::InCalibratedRange(scale, lambda, lambda0, T, p)};
  RequireFiniteSigmas(result, "lambda", lambda, scale.info.name, what);
  return result;
}

ScalePressure ReadingPressure(const scales::Scale& scale, Reading reading, double x, double sigX,
                              double T, double sigT, std::optional<double> lambda0,
                              const std::string& what) {
  if (const auto* gauge = std::get_if<const scales::FluorescenceScale*>(&scale)) {
    if (reading != Reading::Wavelength) {
      throw InputError(what + ": " + (*gauge)->info.name + " is a fluorescence gauge: it reads " +
                       "a wavelength, not a volume");
    }
    const double l0 = GaugeLambda0(**gauge, lambda0.value_or(0.0), lambda0.has_value());
    return GaugePressure(**gauge, x, sigX, l0, T, sigT, what);
  }
  const scales::VolumeScale& volume = std::get<scales::VolumeScale>(scale);
  if (reading == Reading::Wavelength) {
    throw InputError(what + ": " + volume.info.name + " is a volume scale: it reads a volume, " +
                     "not a wavelength");
  }
  if (reading == Reading::Volume) return VolumeScalePressure(volume, x, sigX, T, sigT, what);
  if (!volume.cubic) throw InputError(what + ": " + volume.info.name + " has no cubic cell");
  if (!(x > 0.0)) throw InputError(what + ": a is not above zero");
  RequireSigma(sigX, "sigA", what);
  return VolumeScalePressure(volume, x * x * x, 3.0 * x * x * sigX, T, sigT, what);
}

ScalePressure SpacingPressure(const scales::Scale& scale, const scales::Reflection& reflection,
                              double d, double sigD, double T, double sigT,
                              const std::string& what) {
  const std::string name = "d" + scales::ReflectionName(reflection);
  if (!(d > 0.0)) throw InputError(what + ": " + name + " = " + Number(d) + " is not above zero");
  RequireSigma(sigD, "sig" + name, what);
  const double norm = scales::IndexNorm(reflection);
  return ReadingPressure(scale, Reading::Lattice, d * norm, sigD * norm, T, sigT, {}, what);
}

double CalibrantVolume(const scales::VolumeScale& scale, double P, double T,
                       const std::string& what) {
  RequirePositive(T, "T", what);
  const engine::VolumeSolution solution = models::VolumeFromPressure(scale.model, P, T);
  if (!solution.converged || !(solution.V > 0.0)) {
    throw InputError(what + ": P = " + Number(P) + " is beyond what " + scale.info.name +
                     " reaches at T = " + Number(T));
  }
  return solution.V;
}

ScalePressure MovedPressure(const scales::Scale& from, const scales::Scale& to, double P,
                            double sigP, double T, double lambda0, const std::string& what) {
  RequireSigma(sigP, "sigP", what);
  using Gauge = const scales::FluorescenceScale*;
  if (std::holds_alternative<Gauge>(from) && std::holds_alternative<Gauge>(to)) {
    const scales::FluorescenceScale& old = *std::get<Gauge>(from);
    const scales::FluorescenceScale& now = *std::get<Gauge>(to);
    const double lambda = scales::WavelengthFromPressure(old, P, lambda0, T);
    if (!(lambda > 0.0)) {
      throw InputError(what + ": P is beyond what " + old.info.name + " reaches");
    }
    const ScalePressure moved = GaugePressure(now, lambda, 0.0, lambda0, T, 0.0, what);
    const double ratio = scales::PressureFromWavelength(now, lambda, lambda0, T).dPdLambda /
                         scales::PressureFromWavelength(old, lambda, lambda0, T).dPdLambda;
    return {moved.P, std::fabs(ratio) * sigP, moved.sigPScale, moved.inRange};
  }
  const auto* old = std::get_if<scales::VolumeScale>(&from);
  const auto* now = std::get_if<scales::VolumeScale>(&to);
  if (!old || !now)
    throw InputError(what + ": a volume scale and a gauge measure different calibrants");
  const double V = CalibrantVolume(*old, P, T, what);
  const ScalePressure moved = VolumeScalePressure(*now, V, 0.0, T, 0.0, what);
  const double ratio = models::PressureWithGradient(now->model, V, T).dPdV /
                       models::PressureWithGradient(old->model, V, T).dPdV;
  return {moved.P, std::fabs(ratio) * sigP, moved.sigPScale, moved.inRange};
}

scales::Scale ScaleOption(const std::string& option, const std::string& nameOrPath) {
  return ScaleOption(option, nameOrPath, scales::ShippedScalesFolder());
}

scales::Scale ScaleOption(const std::string& option, const std::string& nameOrPath,
                          const std::filesystem::path& folder) {
  try {
    return scales::FindScale(nameOrPath, folder);
  } catch (const scales::ScaleError& error) {
    throw InputError(option + ": " + SafeText(error.what(), kLongInputLimit * 4));
  }
}

double DefaultTemperature(const scales::Scale& scale) {
  if (const auto* volume = std::get_if<scales::VolumeScale>(&scale)) {
    const double Tref = volume->model[models::Parameter::Tref];
    return Tref > 0.0 ? Tref : kVolumeScaleDefaultT;
  }
  return kGaugeDefaultT;
}

double GaugeLambda0(const scales::FluorescenceScale& scale, double given, bool hasGiven) {
  if (hasGiven) return given;
  if (scale.lambda0) return *scale.lambda0;
  throw InputError("--lambda0: " + scale.info.name +
                   " publishes no ambient wavelength; give the one you measured");
}

std::string ScaleTable::Text(OutputFormat format) const {
  const char separator = format == OutputFormat::Tsv ? '\t' : ',';
  std::string out;
  if (format == OutputFormat::Json) {
    out += "[\n";
  } else {
    for (const std::string& column : columns) out += column + separator;
    out += "in_range\n";
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (format == OutputFormat::Json) out += r == 0 ? "  {" : ",\n  {";
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (format == OutputFormat::Json) out += "\"" + columns[c] + "\": ";
      const double x = rows[r][c];
      // A value a row lacks (a calibrant reading left empty) stays empty.
      if (std::isnan(x)) {
        out += format == OutputFormat::Json ? "null" : "";
      } else if (format == OutputFormat::Json && !std::isfinite(x)) {
        out += "null";
      } else {
        AppendShortest(out, x);
      }
      out += format == OutputFormat::Json ? std::string(", ") : std::string(1, separator);
    }
    if (format == OutputFormat::Json) out += "\"in_range\": ";
    out += inRange[r] ? "true" : "false";
    out += format == OutputFormat::Json ? "}" : "\n";
  }
  if (format == OutputFormat::Json) out += rows.empty() ? "]\n" : "\n]\n";
  return out;
}

long ScaleTable::OutOfRange() const {
  long count = 0;
  for (const bool in : inRange) count += in ? 0 : 1;
  return count;
}

OutputFormat ScaleFormat(const std::string& text) {
  if (text == "csv") return OutputFormat::Csv;
  if (text == "tsv") return OutputFormat::Tsv;
  if (text == "json") return OutputFormat::Json;
  throw InputError("--format: " + QuotedInput(text) + " is not one of csv, tsv, json");
}

std::string RangeText(const scales::ScaleInfo& info) {
  auto piece = [](const scales::ScaleRange& r) {
    const std::string P = Number(r.minP) + " to " + Number(r.maxP) + " GPa";
    if (r.minT == r.maxT) return P + " at " + Number(r.minT) + " K";
    return P + ", " + Number(r.minT) + " to " + Number(r.maxT) + " K";
  };
  if (info.calibrated.empty()) return piece(info.range);
  std::string text;
  for (const scales::ScaleRange& r : info.calibrated) text += (text.empty() ? "" : "; ") + piece(r);
  return text;
}

std::string RangeWarning(const std::string& command, long rows, const scales::ScaleInfo& info) {
  if (rows == 0) return {};
  return "quorvane-eos " + command + ": warning: " + std::to_string(rows) +
         (rows == 1 ? " row lies" : " rows lie") + " outside the range of " + info.name + " (" +
         RangeText(info) + "): in_range false\n";
}

std::string AbsentReflections(const scales::VolumeScale& scale,
                              const std::vector<scales::Reflection>& reflections) {
  std::string absent;
  for (const scales::Reflection& r : reflections) {
    if (!scales::SystematicallyAbsent(scale.centring, r.h, r.k, r.l)) continue;
    absent += (absent.empty() ? "" : ", ") + scales::ReflectionName(r);
  }
  if (absent.empty()) return {};
  const char* lattice =
      scale.centring == scales::Centring::FaceCentred ? "face-centred" : "body-centred";
  return "the lattice of " + scale.info.name + " is " + lattice + " (" +
         scales::ReflectionRule(scale.centring) + ") and shows no reflection " + absent +
         "; computed all the same";
}

std::string AbsentReflectionWarning(const std::string& command, const scales::VolumeScale& scale,
                                    const std::vector<scales::Reflection>& reflections) {
  const std::string text = AbsentReflections(scale, reflections);
  if (text.empty()) return {};
  return "quorvane-eos " + command + ": warning: " + text + "\n";
}

}  // namespace quorvane::app
