#include "fit/eos_fit.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "fit/constrained_residuals.h"
#include "fit/fit_checks.h"
#include "fit/fit_diagnosis.h"
#include "fit/parameter_covariance.h"
#include "fit/pressure_residuals.h"
#include "fit/starting_values.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::fit {
namespace {

using models::Model;
using models::Parameter;
using models::Role;

// The solver's tolerances sit just above the rounding of the pressure, so
// noise-free data are fitted to the last digits the equations carry.
constexpr double kSolverTolerance = 1e-14;
constexpr int kEvaluationsPerParameter = 500;
// The effective variances follow the parameters; the fit is settled when a
// pass changes none of them by more than this fraction.
constexpr double kSigmaSettled = 1e-10;
constexpr int kMaxPasses = 50;
// At a minimum of chi2w no parameter can explain more of the weighted
// pressures to first order than rounding leaves (below 1e-7 in practice).
constexpr double kUnsettled = 1e-5;

const char* Symbol(Parameter parameter) {
  return models::Info(parameter).symbol;
}

[[noreturn]] void RefuseUndetermined(const CovarianceEstimate& estimate,
                                     const std::vector<Parameter>& refined) {
  std::string message =
      std::string(Symbol(refined[estimate.weakest])) + " cannot be determined from these data";
  if (estimate.partner >= 0) {
    message += ": its correlation with " + std::string(Symbol(refined[estimate.partner])) + " is " +
               std::to_string(estimate.correlation);
  } else {
    message += ": the pressures do not depend on it";
  }
  throw FitError(message);
}

Eigen::MatrixXd ParameterJacobian(const ConstrainedResiduals& residuals, const Eigen::VectorXd& x) {
  Eigen::MatrixXd jacobian(residuals.values(), residuals.inputs());
  residuals.ParameterJacobian(x, jacobian);
  return jacobian;
}

CovarianceEstimate CheckedCovariance(const Eigen::MatrixXd& jacobian,
                                     const std::vector<Parameter>& refined) {
  CovarianceEstimate estimate = EstimateCovariance(jacobian);
  if (estimate.singular) RefuseUndetermined(estimate, refined);
  return estimate;
}

Eigen::VectorXd CheckedSigmas(const FitData& data, const ConstrainedResiduals& residuals,
                              const Eigen::VectorXd& x) {
  const Eigen::VectorXd sigmas = residuals.EffectiveSigmas(x);
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const std::string problem = SigmaProblem(data.points[i], sigmas[static_cast<Eigen::Index>(i)]);
    if (!problem.empty()) throw FitError(PointName(data, i) + ": " + problem);
  }
  return sigmas;
}

bool Converged(Eigen::LevenbergMarquardtSpace::Status status) {
  return status != Eigen::LevenbergMarquardtSpace::TooManyFunctionEvaluation &&
         status != Eigen::LevenbergMarquardtSpace::ImproperInputParameters &&
         status != Eigen::LevenbergMarquardtSpace::UserAsked;
}

// The first iteration at which the parameters ran away, and how.
struct Runaway {
  int iteration = -1;
  std::string problem;
};

// Levenberg-Marquardt passes, each with the effective variances of the
// previous pass's parameters, until the variances settle. Every step is
// watched for parameters running away, so a failure can say where it began.
bool Solve(ConstrainedResiduals& residuals, Eigen::VectorXd& x, int& iterations,
           const std::function<std::string(const Eigen::VectorXd&)>& problem, Runaway& runaway) {
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    Eigen::LevenbergMarquardt<ConstrainedResiduals> solver(residuals);
    solver.setFtol(kSolverTolerance);
    solver.setXtol(kSolverTolerance);
    solver.setMaxfev(kEvaluationsPerParameter * (residuals.inputs() + 1));
    auto status = solver.minimizeInit(x);
    // The solver counts nothing when it refuses its input.
    if (status == Eigen::LevenbergMarquardtSpace::ImproperInputParameters) return false;
    do {
      status = solver.minimizeOneStep(x);
      if (runaway.iteration >= 0) continue;
      runaway.problem = problem(x);
      if (!runaway.problem.empty()) {
        runaway.iteration = iterations + static_cast<int>(solver.iterations());
      }
    } while (status == Eigen::LevenbergMarquardtSpace::Running);
    iterations += static_cast<int>(solver.iterations());
    if (!Converged(status) || !x.allFinite()) return false;
    const Eigen::VectorXd sigmas = residuals.EffectiveSigmas(x);
    if (!sigmas.allFinite()) return false;
    const double change =
        ((sigmas - residuals.Sigmas()).array().abs() / residuals.Sigmas().array()).maxCoeff();
    residuals.HoldSigmas(sigmas);
    if (change <= kSigmaSettled) return true;
  }
  return false;
}

std::vector<std::vector<double>> Rows(const Eigen::MatrixXd& matrix) {
  std::vector<std::vector<double>> rows(static_cast<std::size_t>(matrix.rows()));
  for (Eigen::Index i = 0; i < matrix.rows(); ++i) {
    for (Eigen::Index j = 0; j < matrix.cols(); ++j) rows[i].push_back(matrix(i, j));
  }
  return rows;
}

// scaled: the weighted residuals; calculated: the model's pressures.
void FillResiduals(const FitData& data, const ConstrainedResiduals& residuals,
                   const Eigen::VectorXd& scaled, const Eigen::VectorXd& calculated,
                   FitResult& result) {
  const Eigen::VectorXd& sigmas = residuals.Sigmas();
  for (Eigen::Index k = residuals.Points(); k < scaled.size(); ++k) {
    result.chi2w += scaled[k] * scaled[k];
  }
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const auto k = static_cast<Eigen::Index>(i);
    PointResidual point;
    point.Pobs = data.points[i].P;
    point.Pcalc = calculated[k];
    point.dP = point.Pobs - point.Pcalc;
    point.sigma = sigmas[k];
    result.residuals.push_back(point);
    result.chi2w += scaled[k] * scaled[k];
    result.maxResidualOverSigma = std::max(result.maxResidualOverSigma, std::fabs(scaled[k]));
  }
}

// How far x is from a stationary point of chi2w: the largest |J_j . r| over
// |J_j| |y|, y the weighted observed pressures (or r, where that is longer).
// At a minimum it is rounding; where the solver stalls on a plateau, with the
// pressures hardly depending on the parameters, it is of order 1.
// r and jacobian: the weighted residuals and their Jacobian by the parameters.
double Unsettled(const FitData& data, const ConstrainedResiduals& residuals,
                 const Eigen::VectorXd& r, const Eigen::MatrixXd& jacobian) {
  Eigen::VectorXd y(residuals.values());
  for (Eigen::Index i = 0; i < residuals.Points(); ++i) {
    y[i] = data.points[static_cast<std::size_t>(i)].P / residuals.Sigmas()[i];
  }
  for (std::size_t i = 0; i < residuals.Priors().size(); ++i) {
    const Prior& prior = residuals.Priors()[i];
    y[residuals.Points() + static_cast<Eigen::Index>(i)] = prior.mean / prior.sigma;
  }
  const double scale = std::max(y.norm(), r.norm());
  double largest = 0.0;
  for (Eigen::Index j = 0; j < jacobian.cols(); ++j) {
    const double share = std::fabs(jacobian.col(j).dot(r)) / (jacobian.col(j).norm() * scale);
    largest = std::max(largest, share);
  }
  return largest;
}

FitResult Failed(FitResult result, const std::string& failure) {
  result.converged = false;
  result.failure = failure;
  return result;
}

// Where the run went: the runaway first seen, and the values it ended at.
std::string Course(const FitResult& result, const Runaway& runaway) {
  std::string text;
  if (runaway.iteration >= 0) {
    text += "; " + runaway.problem + " at iteration " + std::to_string(runaway.iteration);
  }
  return text + "; after " + std::to_string(result.iterations) + " iterations the values were " +
         ValuesText(result.model, result.refined);
}

// The refined parameters but those held on a limit, and the model with them
// exactly there.
std::vector<Parameter> Without(const std::vector<Parameter>& refined,
                               const std::vector<Parameter>& held) {
  std::vector<Parameter> rest;
  for (Parameter parameter : refined) {
    if (std::find(held.begin(), held.end(), parameter) == held.end()) rest.push_back(parameter);
  }
  return rest;
}

Model OnLimits(Model model, const std::vector<Parameter>& held, const std::vector<Bound>& bounds) {
  for (const Bound& bound : bounds) {
    if (std::find(held.begin(), held.end(), bound.parameter) == held.end()) continue;
    double& value = model[bound.parameter];
    value = value - bound.lower < bound.upper - value ? bound.lower : bound.upper;
  }
  models::ApplyImpliedCoefficients(model);
  return model;
}

// The result of the fit with the parameters on their limits held, given for
// the whole refined list: no esd for those, and no covariance with them.
FitResult WithHeld(FitResult fitted, const std::vector<Parameter>& refined,
                   const std::vector<Parameter>& held) {
  if (!fitted.converged) return fitted;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::size_t m = refined.size();
  FitResult whole = fitted;
  whole.refined = refined;
  whole.atBound = held;
  whole.esd.assign(m, nan);
  whole.esdScaled.assign(m, nan);
  whole.covariance.assign(m, std::vector<double>(m, 0.0));
  whole.correlation.assign(m, std::vector<double>(m, nan));
  std::vector<std::size_t> from(m, m);
  for (std::size_t i = 0; i < m; ++i) {
    const auto at = std::find(fitted.refined.begin(), fitted.refined.end(), refined[i]);
    if (at != fitted.refined.end()) from[i] = static_cast<std::size_t>(at - fitted.refined.begin());
  }
  for (std::size_t i = 0; i < m; ++i) {
    if (from[i] == m) continue;
    whole.esd[i] = fitted.esd[from[i]];
    whole.esdScaled[i] = fitted.esdScaled[from[i]];
    for (std::size_t j = 0; j < m; ++j) {
      if (from[j] == m) continue;
      whole.covariance[i][j] = fitted.covariance[from[i]][from[j]];
      whole.correlation[i][j] = fitted.correlation[from[i]][from[j]];
    }
  }
  return whole;
}

// One run of the solver from one start. Data that cannot determine a
// parameter there are refused; a run that does not settle, or settles outside
// the model's domain, returns with the reason. Parameters that settle on a
// limit are held there while the others are fitted again.
FitResult FitFrom(const FitData& data, const FitRequest& request,
                  const std::vector<Parameter>& refined, const Model& start) {
  ConstrainedResiduals residuals(data, refined, start, request.priors, request.bounds);
  Eigen::VectorXd x = residuals.Start();
  residuals.HoldSigmas(CheckedSigmas(data, residuals, x));
  CheckedCovariance(ParameterJacobian(residuals, x), refined);

  FitResult result;
  result.refined = refined;
  result.weighted = HasSigmas(data);
  Runaway runaway;
  RunawayWatch watch(data, refined);
  result.converged = Solve(
      residuals, x, result.iterations,
      [&](const Eigen::VectorXd& at) { return watch(residuals.ModelAt(at)); }, runaway);
  result.model = residuals.ModelAt(x);
  const std::vector<Parameter> held =
      result.converged ? residuals.AtBound(x) : std::vector<Parameter>{};
  if (!held.empty() && held.size() < refined.size()) {
    const Model onLimits = OnLimits(result.model, held, request.bounds);
    const std::string outsideRange = models::ValidationError(onLimits);
    if (!outsideRange.empty()) {
      return Failed(result,
                    "a refined parameter ran to a limit where the model has no "
                    "pressures (" +
                        outsideRange + "): set that limit inside the model's range");
    }
    FitResult rest = FitFrom(data, request, Without(refined, held), onLimits);
    rest.iterations += result.iterations;
    return WithHeld(rest, refined, held);
  }
  result.dof = residuals.values() - static_cast<int>(refined.size());
  Eigen::VectorXd scaled(residuals.values());
  const Eigen::VectorXd calculated = residuals.Evaluate(x, scaled);
  FillResiduals(data, residuals, scaled, calculated, result);
  if (!result.converged)
    return Failed(result, "the fit did not converge" + Course(result, runaway));
  if (!held.empty()) {
    return Failed(result,
                  "every refined parameter ran to one of its limits: widen the bounds or "
                  "refine other parameters");
  }
  const std::string outside = DomainProblem(result.model);
  if (!outside.empty()) {
    return Failed(result, "the fit left the model's domain: " + outside + Course(result, runaway));
  }
  // One Jacobian at the solution for the check and the covariance.
  const Eigen::MatrixXd jacobian = ParameterJacobian(residuals, x);
  if (Unsettled(data, residuals, scaled, jacobian) > kUnsettled) {
    return Failed(result,
                  "the fit stalled short of a minimum of chi2w, where the pressures hardly depend "
                  "on the parameters" +
                      Course(result, runaway));
  }
  const std::string ranAway = watch(result.model);
  if (!ranAway.empty()) result.warning = ranAway + "; " + Advice(result.model, refined);
  const std::string unitHint = VolumeUnitHint(result.model);
  if (!unitHint.empty()) result.warning += (result.warning.empty() ? "" : "; ") + unitHint;

  const CovarianceEstimate estimate = CheckedCovariance(jacobian, refined);
  if (!std::isfinite(result.chi2w) || !estimate.covariance.allFinite()) {
    return Failed(result, "the fit gives no finite chi2w or covariance");
  }
  result.covariance = Rows(estimate.covariance);
  result.correlation = Rows(CorrelationOf(estimate.covariance));
  const double scale = std::sqrt(result.ReducedChi2());
  for (Eigen::Index i = 0; i < estimate.covariance.rows(); ++i) {
    result.esd.push_back(std::sqrt(estimate.covariance(i, i)));
    result.esdScaled.push_back(result.esd.back() * scale);
  }
  return result;
}

// The scaling the request asks for, applied, and the constraints the fit
// was made under.
FitResult Finished(FitResult result, const FitRequest& request) {
  result.esdScaling = request.esdScaling;
  result.priors = request.priors;
  result.bounds = request.bounds;
  const double reduced = result.ReducedChi2();
  // Unit weights carry no scale of their own (the esds would follow the
  // pressure unit): chi2w/dof is then the only measure of the scatter.
  const bool autoScales = reduced > 1.0 || !result.weighted;
  result.scaledByChi2 = result.dof > 0 && (request.esdScaling == EsdScaling::Always ||
                                           (request.esdScaling == EsdScaling::Auto && autoScales));
  result.esdReported = result.scaledByChi2 ? result.esdScaled : result.esd;
  return result;
}

bool StartGiven(const std::vector<Parameter>& refined, const std::vector<Parameter>& given) {
  return std::any_of(refined.begin(), refined.end(), [&](Parameter parameter) {
    return std::find(given.begin(), given.end(), parameter) != given.end();
  });
}

// The start the data suggest, with the start-up value for every refined
// parameter they say nothing about.
Model DataEstimate(const FitData& data, const std::vector<Parameter>& refined, Model start) {
  const Model startUp =
      models::DefaultModel(start.equation, start.order, start.thermal, start.arithmetic);
  for (Parameter parameter : refined) start[parameter] = startUp[parameter];
  EstimateStart(data, refined, {}, start);
  return start;
}

}  // namespace

double FitResult::ReducedChi2() const {
  return dof > 0 ? chi2w / dof : std::numeric_limits<double>::quiet_NaN();
}

std::vector<std::vector<double>> FitResult::ScaledCovariance() const {
  std::vector<std::vector<double>> scaled = covariance;
  for (auto& row : scaled) {
    for (double& value : row) value *= ReducedChi2();
  }
  return scaled;
}

std::vector<std::vector<double>> FitResult::ReportedCovariance() const {
  return scaledByChi2 ? ScaledCovariance() : covariance;
}

bool FitResult::AtBound(Parameter parameter) const {
  return std::find(atBound.begin(), atBound.end(), parameter) != atBound.end();
}

std::vector<Parameter> DefaultRefined(const Model& model, const FitData& data) {
  std::vector<Parameter> refined{Parameter::V0, Parameter::K0};
  for (Parameter parameter : {Parameter::Kp0, Parameter::Kpp0}) {
    if (models::RoleOf(model, parameter) == Role::Free) refined.push_back(parameter);
  }
  if (IsIsothermal(data)) return refined;
  switch (model.thermal) {
    case models::Thermal::Einstein:
      refined.push_back(Parameter::alpha0);
      break;
    case models::Thermal::MieGruneisenDebye:
      refined.push_back(Parameter::gamma0);
      refined.push_back(Parameter::q);
      break;
    default:
      refined.push_back(Parameter::alpha0);
      refined.push_back(Parameter::dKdT);
  }
  return refined;
}

namespace {

void Hold(FitRequest& request, std::vector<Parameter>& refined, Parameter parameter, double value) {
  request.start[parameter] = value;
  std::erase(refined, parameter);
  std::erase(request.givenStart, parameter);
  std::erase_if(request.priors, [parameter](const Prior& p) { return p.parameter == parameter; });
  std::erase_if(request.bounds, [parameter](const Bound& b) { return b.parameter == parameter; });
}

bool IsIn(const std::vector<Parameter>& refined, Parameter parameter) {
  return std::find(refined.begin(), refined.end(), parameter) != refined.end();
}

// Limits that (nearly) meet, or a prior whose sigma is beyond the resolution
// of the parameter's value, leave the parameter no freedom: it is held there
// rather than refined over a range the solver cannot resolve, or with a
// weight that swamps every other in the covariance.
void HoldPinnedParameters(FitRequest& request, std::vector<Parameter>& refined) {
  for (const Bound bound : std::vector<Bound>(request.bounds)) {
    const double scale = std::max({1.0, std::fabs(bound.lower), std::fabs(bound.upper)});
    const bool pinned = std::isfinite(bound.lower) && std::isfinite(bound.upper) &&
                        std::fabs(bound.upper - bound.lower) <= kPinnedBoundWidth * scale;
    if (pinned && IsIn(refined, bound.parameter)) {
      Hold(request, refined, bound.parameter, 0.5 * (bound.lower + bound.upper));
    }
  }
  for (const Prior prior : std::vector<Prior>(request.priors)) {
    const bool pinned = std::isfinite(prior.mean) && prior.sigma > 0.0 &&
                        prior.sigma <= kPinnedPriorSigma * std::max(1.0, std::fabs(prior.mean));
    if (pinned && IsIn(refined, prior.parameter)) {
      Hold(request, refined, prior.parameter, prior.mean);
    }
  }
  models::ApplyImpliedCoefficients(request.start);
}

}  // namespace

FitResult FitEos(const FitData& data, const FitRequest& asked) {
  CheckModel(asked.start);
  if (data.points.empty()) throw FitError("no data points");
  CheckPoints(data);
  CheckTemperatures(data, asked.start);
  std::vector<Parameter> refined =
      asked.refined.empty() ? DefaultRefined(asked.start, data) : asked.refined;
  FitRequest request = asked;
  HoldPinnedParameters(request, refined);
  CheckRefined(request.start, refined, data.points.size());
  CheckConstraints(request.priors, request.bounds, refined);
  CheckStates(data, refined.size());

  Model start = request.start;
  EstimateStart(data, refined, request.givenStart, start);
  PlaceStartWithinBounds(request.bounds, request.givenStart, start);
  if (!StartGiven(refined, request.givenStart)) {
    FitResult result = FitFrom(data, request, refined, start);
    if (!result.converged) result.failure += "; " + Advice(result.model, refined);
    return Finished(result, asked);
  }

  // A start far off can lead the solver astray where the data's own would not.
  FitResult first;
  try {
    first = FitFrom(data, request, refined, start);
    if (first.converged) return Finished(first, asked);
  } catch (const FitError& error) {
    first.failure = error.what();
  }
  Model estimate = DataEstimate(data, refined, request.start);
  PlaceStartWithinBounds(request.bounds, {}, estimate);
  FitResult second = FitFrom(data, request, refined, estimate);
  if (second.converged) {
    second.restart = first.failure;
    return Finished(second, asked);
  }
  second.failure = "from the given start, " + first.failure + "; from the data's own estimate, " +
                   second.failure + "; " + Advice(request.start, refined) +
                   "; check the starting values";
  return Finished(second, asked);
}

}  // namespace quorvane::fit
