#include "fit/eos_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "fit/fit_checks.h"
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

CovarianceEstimate CheckedCovariance(const PressureResiduals& residuals, const Eigen::VectorXd& x,
                                     const std::vector<Parameter>& refined) {
  Eigen::MatrixXd jacobian(residuals.values(), residuals.inputs());
  residuals.df(x, jacobian);
  CovarianceEstimate estimate = EstimateCovariance(jacobian);
  if (estimate.singular) RefuseUndetermined(estimate, refined);
  return estimate;
}

Eigen::VectorXd CheckedSigmas(const FitData& data, const PressureResiduals& residuals,
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

// Levenberg-Marquardt passes, each with the effective variances of the
// previous pass's parameters, until the variances settle.
bool Solve(PressureResiduals& residuals, Eigen::VectorXd& x, int& iterations) {
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    Eigen::LevenbergMarquardt<PressureResiduals> solver(residuals);
    solver.setFtol(kSolverTolerance);
    solver.setXtol(kSolverTolerance);
    solver.setMaxfev(kEvaluationsPerParameter * (residuals.inputs() + 1));
    const auto status = solver.minimize(x);
    // The solver counts nothing when it refuses its input.
    if (status == Eigen::LevenbergMarquardtSpace::ImproperInputParameters) return false;
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

void FillResiduals(const FitData& data, const PressureResiduals& residuals,
                   const Eigen::VectorXd& x, FitResult& result) {
  Eigen::VectorXd scaled(residuals.values());
  residuals(x, scaled);
  const Eigen::VectorXd& sigmas = residuals.Sigmas();
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const auto k = static_cast<Eigen::Index>(i);
    PointResidual point;
    point.Pobs = data.points[i].P;
    point.Pcalc = models::Pressure(result.model, data.points[i].V, data.points[i].T);
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
double Unsettled(const FitData& data, const PressureResiduals& residuals,
                 const Eigen::VectorXd& x) {
  Eigen::VectorXd r(residuals.values());
  residuals(x, r);
  Eigen::MatrixXd jacobian(residuals.values(), residuals.inputs());
  residuals.df(x, jacobian);
  Eigen::VectorXd y(residuals.values());
  for (Eigen::Index i = 0; i < y.size(); ++i) {
    y[i] = data.points[static_cast<std::size_t>(i)].P / residuals.Sigmas()[i];
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

// One run of the solver from one start. Data that cannot determine a
// parameter there are refused; a run that does not settle, or settles outside
// the model's domain, returns with the reason.
FitResult FitFrom(const FitData& data, const std::vector<Parameter>& refined, const Model& start) {
  PressureResiduals residuals(data, refined, start);
  Eigen::VectorXd x = residuals.Start();
  residuals.HoldSigmas(CheckedSigmas(data, residuals, x));
  CheckedCovariance(residuals, x, refined);

  FitResult result;
  result.refined = refined;
  result.weighted = HasSigmas(data);
  result.converged = Solve(residuals, x, result.iterations);
  result.model = residuals.ModelAt(x);
  result.dof = static_cast<int>(data.points.size() - refined.size());
  FillResiduals(data, residuals, x, result);
  if (!result.converged) {
    return Failed(
        result, "the fit did not converge (" + std::to_string(result.iterations) + " iterations)");
  }
  const std::string outside = DomainProblem(result.model);
  if (!outside.empty()) return Failed(result, "the fit left the model's domain: " + outside);
  if (Unsettled(data, residuals, x) > kUnsettled) {
    return Failed(result,
                  "the fit stalled short of a minimum of chi2w, where the pressures hardly depend "
                  "on the parameters");
  }

  const CovarianceEstimate estimate = CheckedCovariance(residuals, x, refined);
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

FitResult FitEos(const FitData& data, const FitRequest& request) {
  CheckModel(request.start);
  if (data.points.empty()) throw FitError("no data points");
  CheckPoints(data);
  CheckTemperatures(data, request.start);
  const std::vector<Parameter> refined =
      request.refined.empty() ? DefaultRefined(request.start, data) : request.refined;
  CheckRefined(request.start, refined, data.points.size());
  CheckStates(data, refined.size());

  Model start = request.start;
  EstimateStart(data, refined, request.givenStart, start);
  if (!StartGiven(refined, request.givenStart)) return FitFrom(data, refined, start);

  // A start far off can lead the solver astray where the data's own would not.
  FitResult first;
  try {
    first = FitFrom(data, refined, start);
    if (first.converged) return first;
  } catch (const FitError& error) {
    first.failure = error.what();
  }
  FitResult second = FitFrom(data, refined, DataEstimate(data, refined, request.start));
  if (second.converged) {
    second.restart = first.failure;
    return second;
  }
  second.failure = "from the given start, " + first.failure + "; from the data's own estimate, " +
                   second.failure + "; check the starting values";
  return second;
}

}  // namespace quorvane::fit
