#include "app/fit_report.h"

#include <algorithm>
#include <cmath>

#include "app/axis_report.h"
#include "app/decimal_text.h"
#include "engine/thermal_model.h"
#include "fit/fit_summary.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "numtext/double_text.h"
#include "params/json_text.h"

namespace quorvane::app {
namespace {

using fit::FitResult;
using models::Parameter;
using models::Role;

// Standard deviations and statistics are shown to this many significant
// digits in text; parameter values in full, so they can be typed back.
constexpr int kSignificantDigits = 4;

std::string Shortest(double x) {
  std::string text;
  AppendShortest(text, x);
  return text;
}

// printf's %.4g, from charconv where the C library's printf is slow.
std::string Rounded(double x) {
  return numtext::FormattedText(x, std::chars_format::general, kSignificantDigits);
}

std::string Padded(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

bool IsRefined(const FitResult& result, Parameter parameter) {
  return std::find(result.refined.begin(), result.refined.end(), parameter) != result.refined.end();
}

std::string Symbol(Parameter parameter) {
  return models::Info(parameter).symbol;
}

// The parameters the model's set holds, in the catalogue's order.
std::vector<Parameter> Listed(const models::Model& model) {
  std::vector<Parameter> listed;
  for (int i = 0; i < models::kParameterCount; ++i) {
    const auto parameter = static_cast<Parameter>(i);
    if (models::ListedRole(model, parameter) != Role::Unused) listed.push_back(parameter);
  }
  return listed;
}

// A model the calculator computes, in the textbook arithmetic instead: the
// only one whose arithmetic is not plain from its equation and thermal model.
bool TextbookClassic(const models::Model& model) {
  return model.arithmetic == models::Arithmetic::Textbook &&
         models::Info(model.equation).calculator && model.thermal == models::Thermal::Linear;
}

// The thermal model and the arithmetic where they are not the calculator's.
std::string ModelText(const models::Model& model) {
  std::string text;
  if (model.thermal != models::Thermal::Linear) {
    text += std::string(", ") + models::Info(model.thermal).name + " thermal model";
  }
  if (TextbookClassic(model)) text += ", textbook arithmetic";
  if (model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell) {
    text += ", V in A3 per cell of Z = " + Shortest(model.Z);
  }
  return text;
}

// A parameter held on a limit has no esd of its own.
std::string EsdText(const FitResult& r, std::size_t i, double esd) {
  return r.AtBound(r.refined[i]) ? "at bound" : Rounded(esd);
}

std::string ScalingText(const FitResult& r) {
  std::string text = std::string("esd scaling ") + fit::EsdScalingName(r.esdScaling) + ": ";
  if (r.scaledByChi2) return text + "the scaled esds and covariance are the ones reported";
  if (r.dof <= 0) return text + "no degrees of freedom to scale by; the unscaled are reported";
  if (r.esdScaling == fit::EsdScaling::Never) return text + "the unscaled are reported";
  return text + "chi2w/dof is not above 1, the unscaled are reported";
}

// " item;" added in three steps: GCC 12 at -O2 takes `" " + std::string(...)`,
// which inserts at the front of the temporary, for an overlapping copy and
// warns (-Wrestrict, its bug 105651).
void AppendListItem(std::string& out, const std::string& item) {
  out += ' ';
  out += item;
  out += ';';
}

void AppendConstraints(std::string& out, const FitResult& r) {
  if (!r.priors.empty()) {
    out += "Constraints (each counted as an observation):";
    for (const fit::Prior& prior : r.priors) AppendListItem(out, fit::PriorText(prior));
    out.back() = '\n';
  }
  if (r.bounds.empty()) return;
  out += "Bounds:";
  for (const fit::Bound& bound : r.bounds) {
    AppendListItem(out, fit::BoundText(bound) + (r.AtBound(bound.parameter) ? " (active)" : ""));
  }
  out.back() = '\n';
  for (Parameter parameter : r.atBound) {
    out += Symbol(parameter) + " = " + Shortest(r.model[parameter]) +
           " sits on its bound: it is held there, with no esd, and the others fitted with it\n";
  }
}

void AppendParameters(std::string& out, const FitReport& report) {
  const FitResult& r = *report.result;
  out += "Refined parameters (esd = sqrt of the covariance diagonal; scaled: x sqrt(chi2w/dof))\n";
  out += "  parameter                    value          esd   esd scaled\n";
  for (std::size_t i = 0; i < r.refined.size(); ++i) {
    const std::string symbol = Symbol(r.refined[i]);
    out += "  " + symbol + std::string(symbol.size() < 8 ? 8 - symbol.size() : 1, ' ');
    out += Padded(Shortest(r.model[r.refined[i]]), 25);
    out += Padded(EsdText(r, i, r.esd[i]), 13) + Padded(EsdText(r, i, r.esdScaled[i]), 13) + '\n';
  }
  out += ScalingText(r) + "\n";
  AppendConstraints(out, r);
  out += "Held fixed:";
  for (Parameter parameter : Listed(r.model)) {
    if (parameter == Parameter::Tref || IsRefined(r, parameter)) continue;
    const bool implied = models::ListedRole(r.model, parameter) == Role::Implied;
    AppendListItem(out, Symbol(parameter) + " = " + Shortest(r.model[parameter]) +
                            (implied ? " (implied)" : ""));
  }
  out += " T(ref) = " + Shortest(r.model[Parameter::Tref]) + "\n";
}

void AppendMatrix(std::string& out, const char* title, const FitResult& r,
                  const std::vector<std::vector<double>>& matrix) {
  out += title;
  out += "\n          ";
  for (Parameter parameter : r.refined) out += Padded(Symbol(parameter), 12);
  out += '\n';
  for (std::size_t i = 0; i < matrix.size(); ++i) {
    const std::string name = Symbol(r.refined[i]);
    out += "  " + name + std::string(name.size() < 8 ? 8 - name.size() : 1, ' ');
    for (double value : matrix[i]) out += Padded(Rounded(value), 12);
    out += '\n';
  }
}

std::string OutliersText(const FitReport& report) {
  const std::vector<std::size_t> outliers = fit::Outliers(*report.result);
  if (outliers.empty()) return "none";
  std::string text;
  for (std::size_t i : outliers) {
    const fit::Observation& point = report.data->points[i];
    text += (text.empty() ? "" : "; ") + fit::PointName(*report.data, i) +
            " (P = " + Shortest(point.P) + ", V = " + Shortest(point.V) +
            ", |dP|/sigma = " + Rounded(fit::ResidualInSigmas(*report.result, i)) + ")";
  }
  return text;
}

void AppendResiduals(std::string& out, const FitReport& report) {
  out +=
      "Residuals\n point        P_obs            V            T       P_calc"
      "           dP        sigma\n";
  for (std::size_t i = 0; i < report.result->residuals.size(); ++i) {
    const fit::PointResidual& point = report.result->residuals[i];
    const fit::Observation& obs = report.data->points[i];
    out += Padded(std::to_string(i + 1), 6);
    for (double x : {point.Pobs, obs.V, obs.T, point.Pcalc, point.dP, point.sigma}) {
      out += Padded(Rounded(x), 13);
    }
    out += '\n';
  }
}

std::string LeftOutText(int count) {
  if (count == 0) return "";
  return " (" + std::to_string(count) + (count == 1 ? " point" : " points") +
         " with a non-finite f or F left out)";
}

void AppendStrainText(std::string& out, const FitReport& report) {
  if (!report.strain) return;
  out += "F-f (Eulerian strain f = ((V0/V)^(2/3) - 1)/2, F = P / (3f (1+2f)^(5/2)), V0 = " +
         Shortest(report.strainV0) + ")\n";
  out += "             f         sigf            F         sigF\n";
  for (const fit::StrainPoint& point : *report.strain) {
    // A value that is no number reads "-", and the row says why the line
    // passes it over, rather than printing -inf or -nan.
    for (double x : {point.f, point.sigf, point.F, point.sigF}) {
      out += Padded(std::isfinite(x) ? Rounded(x) : "-", 13);
    }
    const bool leftOut =
        !std::isfinite(point.f) || !std::isfinite(point.F) || !std::isfinite(point.sigF);
    out += leftOut ? "  left out: not a finite number\n" : "\n";
  }
  const fit::StrainLine& line = report.strainLine;
  const std::string leftOut = LeftOutText(line.leftOut);
  if (line.points < 2) {
    out += "Too few points with non-zero strain for a line" + leftOut + ".\n";
    return;
  }
  out += std::string(line.weighted ? "Weighted" : "Unweighted") + " line" + leftOut +
         ": F = " + Rounded(line.intercept) + " (" + Rounded(line.esdIntercept) + ") + " +
         Rounded(line.slope) + " (" + Rounded(line.esdSlope) +
         ") f; implied K'0 = " + Rounded(line.ImpliedKp0()) + "\n";
}

// JSON numbers; the non-finite ones, which JSON cannot write, as null.
void Number(std::string& out, double x) {
  if (std::isfinite(x)) {
    params::AppendJsonNumber(out, x);
  } else {
    out += "null";
  }
}

void Key(std::string& out, const char* key) {
  params::AppendJsonString(out, key);
  out += ": ";
}

void NumberMember(std::string& out, const char* key, double x, bool last = false) {
  Key(out, key);
  Number(out, x);
  if (!last) out += ", ";
}

// An empty text is null, and the member ends its line.
void TextOrNullMember(std::string& out, const char* key, const std::string& text) {
  Key(out, key);
  if (text.empty()) {
    out += "null";
  } else {
    params::AppendJsonString(out, text);
  }
  out += ",\n  ";
}

void JsonMatrix(std::string& out, const std::vector<std::vector<double>>& matrix) {
  out += '[';
  for (std::size_t i = 0; i < matrix.size(); ++i) {
    out += i ? ", [" : "[";
    for (std::size_t j = 0; j < matrix[i].size(); ++j) {
      if (j) out += ", ";
      Number(out, matrix[i][j]);
    }
    out += ']';
  }
  out += ']';
}

void JsonNamedValues(std::string& out, const char* key, const FitResult& r,
                     const std::vector<double>& values) {
  out += ",\n  ";
  Key(out, key);
  out += '{';
  for (std::size_t i = 0; i < r.refined.size(); ++i) {
    NumberMember(out, models::Info(r.refined[i]).name, values[i], i + 1 == r.refined.size());
  }
  out += '}';
}

void JsonParameters(std::string& out, const FitResult& r) {
  out += "  \"parameters\": {";
  const std::vector<Parameter> listed = Listed(r.model);
  for (Parameter parameter : listed) {
    NumberMember(out, models::Info(parameter).name, r.model[parameter], parameter == listed.back());
  }
  out += "},\n  \"refined\": [";
  for (std::size_t i = 0; i < r.refined.size(); ++i) {
    if (i) out += ", ";
    params::AppendJsonString(out, models::Info(r.refined[i]).name);
  }
  out += ']';
  JsonNamedValues(out, "esd", r, r.esd);
  JsonNamedValues(out, "esd_scaled", r, r.esdScaled);
  JsonNamedValues(out, "esd_reported", r, r.esdReported);
  out += ",\n  \"covariance\": ";
  JsonMatrix(out, r.covariance);
  out += ",\n  \"covariance_scaled\": ";
  JsonMatrix(out, r.ScaledCovariance());
  out += ",\n  \"covariance_reported\": ";
  JsonMatrix(out, r.ReportedCovariance());
  out += ",\n  \"correlation\": ";
  JsonMatrix(out, r.correlation);
  out += ",\n";
}

// The keys a calculator model leaves out.
void JsonModelKeys(std::string& out, const models::Model& model) {
  if (model.thermal != models::Thermal::Linear) {
    Key(out, "thermal");
    params::AppendJsonString(out, models::Info(model.thermal).name);
    out += ", ";
  }
  if (TextbookClassic(model)) out += "\"arithmetic\": \"textbook\", ";
  if (model.volumeUnit == models::VolumeUnit::CubicAngstromsPerCell) {
    out += "\"volume_unit\": \"A3\", ";
    NumberMember(out, "Z", model.Z);
  }
}

// The scaling asked for and applied, the priors and bounds, and the
// parameters held on a limit.
void JsonConstraints(std::string& out, const FitResult& r) {
  out += "  \"esd_scaling\": ";
  params::AppendJsonString(out, fit::EsdScalingName(r.esdScaling));
  out += r.scaledByChi2 ? ", \"covariance_scaling\": \"chi2\",\n  \"constraints\": ["
                        : ", \"covariance_scaling\": \"none\",\n  \"constraints\": [";
  for (std::size_t i = 0; i < r.priors.size(); ++i) {
    out += i ? ", {\"parameter\": " : "{\"parameter\": ";
    params::AppendJsonString(out, models::Info(r.priors[i].parameter).name);
    out += ", ";
    NumberMember(out, "value", r.priors[i].mean);
    NumberMember(out, "sigma", r.priors[i].sigma, true);
    out += '}';
  }
  out += "], \"bounds\": [";
  for (std::size_t i = 0; i < r.bounds.size(); ++i) {
    out += i ? ", {\"parameter\": " : "{\"parameter\": ";
    params::AppendJsonString(out, models::Info(r.bounds[i].parameter).name);
    out += ", ";
    NumberMember(out, "lower", r.bounds[i].lower);
    NumberMember(out, "upper", r.bounds[i].upper);
    out += r.AtBound(r.bounds[i].parameter) ? "\"active\": true}" : "\"active\": false}";
  }
  out += "], \"at_bound\": [";
  for (std::size_t i = 0; i < r.atBound.size(); ++i) {
    if (i) out += ", ";
    params::AppendJsonString(out, models::Info(r.atBound[i]).name);
  }
  out += "],\n";
}

// The equation written out, R^2 of P and the points beyond 3 sigma.
void JsonSummary(std::string& out, const FitReport& report) {
  const FitResult& r = *report.result;
  out += "  \"equation\": ";
  params::AppendJsonString(out, fit::FittedEquationText(r.model));
  out += ",\n  ";
  NumberMember(out, "r_squared", fit::PressureRSquared(r));
  out += "\"outliers\": [";
  const std::vector<std::size_t> outliers = fit::Outliers(r);
  for (std::size_t k = 0; k < outliers.size(); ++k) {
    const std::size_t i = outliers[k];
    out += k ? ", {" : "{";
    out += "\"point\": " + std::to_string(i + 1) + ", \"line\": ";
    out += i < report.data->lines.size() ? std::to_string(report.data->lines[i]) : "null";
    out += ", ";
    NumberMember(out, "P_obs", report.data->points[i].P);
    NumberMember(out, "V", report.data->points[i].V);
    NumberMember(out, "residual_over_sigma", fit::ResidualInSigmas(r, i), true);
    out += '}';
  }
  out += "],\n";
}

void JsonResiduals(std::string& out, const FitReport& report) {
  out += "  \"residuals\": [";
  for (std::size_t i = 0; i < report.result->residuals.size(); ++i) {
    const fit::PointResidual& point = report.result->residuals[i];
    const fit::Observation& obs = report.data->points[i];
    out += i ? ",\n    {" : "\n    {";
    NumberMember(out, "P_obs", point.Pobs);
    NumberMember(out, "V", obs.V);
    NumberMember(out, "T", obs.T);
    NumberMember(out, "P_calc", point.Pcalc);
    NumberMember(out, "dP", point.dP);
    NumberMember(out, "sigma", point.sigma, true);
    out += '}';
  }
  out += "\n  ],\n";
}

void JsonStrain(std::string& out, const FitReport& report) {
  out += "  \"ff\": ";
  if (!report.strain) {
    out += "null\n";
    return;
  }
  out += "{";
  NumberMember(out, "V0", report.strainV0);
  out += "\"points\": [";
  for (std::size_t i = 0; i < report.strain->size(); ++i) {
    const fit::StrainPoint& point = (*report.strain)[i];
    out += i ? ", {" : "{";
    NumberMember(out, "f", point.f);
    NumberMember(out, "sigf", point.sigf);
    NumberMember(out, "F", point.F);
    NumberMember(out, "sigF", point.sigF, true);
    out += '}';
  }
  const fit::StrainLine& line = report.strainLine;
  out += "], \"line\": {";
  NumberMember(out, "intercept", line.intercept);
  NumberMember(out, "esd_intercept", line.esdIntercept);
  NumberMember(out, "slope", line.slope);
  NumberMember(out, "esd_slope", line.esdSlope);
  NumberMember(out, "implied_Kp0", line.ImpliedKp0());
  out += "\"left_out\": " + std::to_string(line.leftOut) + ", ";
  out += line.weighted ? "\"weighted\": true}}\n" : "\"weighted\": false}}\n";
}

}  // namespace

FitReport MakeFitReport(const fit::FitData& data, const fit::FitResult& result) {
  FitReport report;
  report.data = &data;
  report.result = &result;
  if (!data.axis.empty()) report.axial = fit::AxialFromCubed(data.axis, result);
  if (!fit::IsIsothermal(data)) return report;
  report.strainV0 = models::ZeroPressureVolume(result.model, data.points.front().T).V;
  double sigV0 = 0.0;
  for (std::size_t i = 0; i < result.refined.size(); ++i) {
    if (result.refined[i] == Parameter::V0) sigV0 = result.esd[i];
  }
  // Without standard deviations in the data the line is unweighted anyway.
  if (!result.weighted) sigV0 = 0.0;
  report.strain = fit::EulerianStrainPoints(data, report.strainV0, sigV0);
  report.strainLine = fit::FitStrainLine(*report.strain);
  return report;
}

void AppendFitText(std::string& out, const FitReport& report) {
  const FitResult& r = *report.result;
  out += std::string("Equation of state: ") + models::Info(r.model.equation).name + ", order " +
         std::to_string(r.model.order) + ModelText(r.model) + "; " +
         std::to_string(r.residuals.size()) + " points from " + report.data->source + "\n";
  out += "Converged after " + std::to_string(r.iterations) + " iterations; " +
         (r.weighted ? "weights 1/sigma^2, sigma^2 = sigP^2 + (K_T sigV/V)^2 + (dP/dT sigT)^2"
                     : "unit weights (no sigP, sigV or sigT in the data)") +
         "\n";
  if (!r.restart.empty()) {
    out += "Restarted from the data's own estimate: from the given start, " + r.restart + "\n";
  }
  if (!r.warning.empty()) out += "Warning: " + r.warning + "\n";
  out += '\n';
  AppendParameters(out, report);
  if (report.axial) AppendAxisText(out, *report.axial);
  out += "\nchi2w = " + Rounded(r.chi2w) + ", dof = " + std::to_string(r.dof) +
         ", chi2w/dof = " + Rounded(r.ReducedChi2()) +
         ", max |dP|/sigma = " + Rounded(r.maxResidualOverSigma) + "\n";
  out += "R^2 of P = " + Shortest(fit::PressureRSquared(r)) +
         "; outliers beyond 3 sigma: " + OutliersText(report) + "\n";
  out += "Fitted equation: " + fit::FittedEquationText(r.model) + "\n\n";
  AppendMatrix(out, "Correlation", r, r.correlation);
  AppendMatrix(out, r.scaledByChi2 ? "Covariance (scaled)" : "Covariance (unscaled)", r,
               r.ReportedCovariance());
  out += '\n';
  AppendEllipseText(out, report.ellipses);
  AppendResiduals(out, report);
  if (report.strain) out += '\n';
  AppendStrainText(out, report);
}

void AppendFitJson(std::string& out, const FitReport& report) {
  const FitResult& r = *report.result;
  out += "{\n  \"eos\": ";
  params::AppendJsonString(out, models::Info(r.model.equation).name);
  out += ", \"order\": " + std::to_string(r.model.order) + ", ";
  JsonModelKeys(out, r.model);
  out += "\"data\": ";
  params::AppendJsonString(out, report.data->source);
  out += ", \"points\": " + std::to_string(r.residuals.size()) + ",\n  ";
  out += r.converged ? "\"converged\": true, " : "\"converged\": false, ";
  out += "\"iterations\": " + std::to_string(r.iterations) + ", ";
  out += r.weighted ? "\"weighted\": true,\n  " : "\"weighted\": false,\n  ";
  TextOrNullMember(out, "restart", r.restart);
  TextOrNullMember(out, "warning", r.warning);
  NumberMember(out, "chi2w", r.chi2w);
  out += "\"dof\": " + std::to_string(r.dof) + ", ";
  NumberMember(out, "reduced_chi2", r.ReducedChi2());
  NumberMember(out, "max_abs_residual_over_sigma", r.maxResidualOverSigma, true);
  out += ",\n";
  JsonParameters(out, r);
  if (report.axial) AppendAxisJson(out, *report.axial);
  JsonConstraints(out, r);
  JsonSummary(out, report);
  JsonResiduals(out, report);
  AppendEllipseJson(out, report.ellipses);
  JsonStrain(out, report);
  out += "}\n";
}

}  // namespace quorvane::app
