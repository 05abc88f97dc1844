#include "fit/eos_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/isothermal_curve.h"
#include "fit/parameter_covariance.h"
#include "fit/pressure_residuals.h"
#include "fit/starting_values.h"

namespace quorvane::fit {
namespace {

using engine::EosParameters;

// The solver's tolerances sit just above the rounding of the pressure, so
// noise-free data are fitted to the last digits the equations carry.
constexpr double kSolverTolerance = 1e-14;
constexpr int kEvaluationsPerParameter = 500;
// The effective variances follow the parameters; the fit is settled when a
// pass changes none of them by more than this fraction.
constexpr double kSigmaSettled = 1e-10;
constexpr int kMaxPasses = 50;

std::string PointText(std::size_t index) {
  return "point " + std::to_string(index + 1);
}

void CheckPoints(const FitData& data) {
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    const Observation& point = data.points[i];
    if (!std::isfinite(point.P) || !std::isfinite(point.V) || !std::isfinite(point.T)) {
      throw FitError(PointText(i) + ": P, V and T must be finite numbers");
    }
    if (!(point.V > 0.0)) throw FitError(PointText(i) + ": V must be greater than zero");
    for (double sigma : {point.sigP, point.sigV, point.sigT}) {
      if (!(sigma >= 0.0) || !std::isfinite(sigma)) {
        throw FitError(PointText(i) + ": standard deviations must be finite and positive");
      }
    }
  }
}

void CheckRefined(const EosParameters& p, const std::vector<RefinedParameter>& refined,
                  std::size_t points) {
  if (refined.empty()) throw FitError("no parameter to refine");
  for (std::size_t i = 0; i < refined.size(); ++i) {
    const RefinedParameter parameter = refined[i];
    if (std::find(refined.begin(), refined.begin() + static_cast<long>(i), parameter) !=
        refined.begin() + static_cast<long>(i)) {
      throw FitError(std::string(ParameterSymbol(parameter)) + " is named twice");
    }
    if (!IsFree(p, parameter)) {
      throw FitError(std::string(ParameterSymbol(parameter)) + " is implied by " + EosName(p.type) +
                     " at order " + std::to_string(p.order) + " and cannot be refined");
    }
  }
  if (points < refined.size()) {
    throw FitError(std::to_string(points) + " data points cannot determine " +
                   std::to_string(refined.size()) + " refined parameters");
  }
}

[[noreturn]] void RefuseUndetermined(const CovarianceEstimate& estimate,
                                     const std::vector<RefinedParameter>& refined) {
  std::string message = std::string(ParameterSymbol(refined[estimate.weakest])) +
                        " cannot be determined from these data";
  if (estimate.partner >= 0) {
    message += ": its correlation with " + std::string(ParameterSymbol(refined[estimate.partner])) +
               " is " + std::to_string(estimate.correlation);
  } else {
    message += ": the pressures do not depend on it";
  }
  throw FitError(message);
}

CovarianceEstimate CheckedCovariance(const PressureResiduals& residuals, const Eigen::VectorXd& x,
                                     const std::vector<RefinedParameter>& refined) {
  Eigen::MatrixXd jacobian(residuals.values(), residuals.inputs());
  residuals.df(x, jacobian);
  CovarianceEstimate estimate = EstimateCovariance(jacobian);
  if (estimate.singular) RefuseUndetermined(estimate, refined);
  return estimate;
}

Eigen::VectorXd CheckedSigmas(const PressureResiduals& residuals, const Eigen::VectorXd& x) {
  const Eigen::VectorXd sigmas = residuals.EffectiveSigmas(x);
  for (Eigen::Index i = 0; i < sigmas.size(); ++i) {
    if (!(sigmas[i] > 0.0) || !std::isfinite(sigmas[i])) {
      throw FitError(PointText(static_cast<std::size_t>(i)) +
                     ": no finite, positive standard deviation (give sigP, or sigV and sigT "
                     "for every point)");
    }
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
    point.Pcalc =
        engine::IsothermalCurve(result.parameters, data.points[i].T).Pressure(data.points[i].V);
    point.dP = point.Pobs - point.Pcalc;
    point.sigma = sigmas[k];
    result.residuals.push_back(point);
    result.chi2w += scaled[k] * scaled[k];
    result.maxResidualOverSigma = std::max(result.maxResidualOverSigma, std::fabs(scaled[k]));
  }
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

std::vector<RefinedParameter> DefaultRefined(const EosParameters& p, const FitData& data) {
  std::vector<RefinedParameter> refined{RefinedParameter::V0, RefinedParameter::K0};
  if (IsFree(p, RefinedParameter::Kp0)) refined.push_back(RefinedParameter::Kp0);
  if (IsFree(p, RefinedParameter::Kpp0)) refined.push_back(RefinedParameter::Kpp0);
  if (!IsIsothermal(data)) {
    refined.push_back(RefinedParameter::alpha0);
    refined.push_back(RefinedParameter::dKdT);
  }
  return refined;
}

FitResult FitEos(const FitData& data, const FitRequest& request) {
  if (!IsOfferedOrder(request.start.type, request.start.order)) {
    throw FitError("the equation of state is not offered at order " +
                   std::to_string(request.start.order));
  }
  if (data.points.empty()) throw FitError("no data points");
  CheckPoints(data);
  const std::vector<RefinedParameter> refined =
      request.refined.empty() ? DefaultRefined(request.start, data) : request.refined;
  CheckRefined(request.start, refined, data.points.size());

  EosParameters start = request.start;
  EstimateStart(data, refined, request.givenStart, start);
  PressureResiduals residuals(data, refined, start);
  Eigen::VectorXd x = residuals.Start();
  residuals.HoldSigmas(CheckedSigmas(residuals, x));
  CheckedCovariance(residuals, x, refined);

  FitResult result;
  result.refined = refined;
  result.weighted = HasSigmas(data);
  result.converged = Solve(residuals, x, result.iterations);
  result.parameters = residuals.ParametersAt(x);
  result.dof = static_cast<int>(data.points.size() - refined.size());
  FillResiduals(data, residuals, x, result);
  if (!result.converged) return result;

  const CovarianceEstimate estimate = CheckedCovariance(residuals, x, refined);
  result.covariance = Rows(estimate.covariance);
  result.correlation = Rows(CorrelationOf(estimate.covariance));
  const double scale = std::sqrt(result.ReducedChi2());
  for (Eigen::Index i = 0; i < estimate.covariance.rows(); ++i) {
    result.esd.push_back(std::sqrt(estimate.covariance(i, i)));
    result.esdScaled.push_back(result.esd.back() * scale);
  }
  return result;
}

}  // namespace quorvane::fit
