#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "fit/fit_constraints.h"
#include "fit/fit_data.h"
#include "models/model.h"

namespace quorvane::fit {

// Data or a request that no fit can be made of. The message is one line for
// the user.
class FitError : public std::runtime_error {
 public:
  explicit FitError(const std::string& message) : std::runtime_error(message) {}
};

struct FitRequest {
  // The model fitted, the values of the parameters held fixed, and where the
  // data give none, the starting values of the refined ones.
  models::Model start;
  // Refined parameters, any of the model's free ones; empty: DefaultRefined.
  std::vector<models::Parameter> refined;
  // Parameters whose starting value the user gave: the data do not replace it.
  std::vector<models::Parameter> givenStart;
  EsdScaling esdScaling = EsdScaling::Auto;
  // Priors count as observations: each adds one to the degrees of freedom
  // and its squared residual to chi2w.
  std::vector<Prior> priors;
  std::vector<Bound> bounds;
};

struct PointResidual {
  double Pobs = 0.0;
  double Pcalc = 0.0;
  // Pobs - Pcalc.
  double dP = 0.0;
  // The effective standard deviation of the point (1 with unit weights).
  double sigma = 1.0;
};

// The outcome of a fit. The unscaled covariance is (J' W J)^-1 with weights
// 1/sigma^2; the scaled one multiplies it by chi2w / dof. A refined parameter
// held on one of its limits has the esd NaN and its covariance row and
// column 0: the fit determined the others with it fixed there.
struct FitResult {
  models::Model model;
  std::vector<models::Parameter> refined;
  std::vector<double> esd;
  std::vector<double> esdScaled;
  // The esds under the scaling applied.
  std::vector<double> esdReported;
  std::vector<std::vector<double>> covariance;
  std::vector<std::vector<double>> correlation;
  double chi2w = 0.0;
  int dof = 0;
  double maxResidualOverSigma = 0.0;
  int iterations = 0;
  // False for no fit at all, with the reason in failure; the other members
  // then show where the solver stopped, without a covariance.
  bool converged = false;
  std::string failure;
  // Empty, or why the fit from the given starting values failed before a
  // restart from the data's own estimate succeeded.
  std::string restart;
  bool weighted = false;
  // The data points' residuals; chi2w also sums the priors' squared ones.
  std::vector<PointResidual> residuals;
  EsdScaling esdScaling = EsdScaling::Auto;
  // The scaling applied: true where the reported covariance is the scaled one.
  bool scaledByChi2 = false;
  std::vector<Prior> priors;
  std::vector<Bound> bounds;
  // Refined parameters the fit holds on one of their limits.
  std::vector<models::Parameter> atBound;
  // A converged fit whose parameters look run away (K'0 below 0 or above 30,
  // V0 far from the volume at the lowest pressure): what, and what to try.
  std::string warning;

  // chi2w / dof, not a number without degrees of freedom.
  double ReducedChi2() const;
  std::vector<std::vector<double>> ScaledCovariance() const;
  // The covariance under the scaling applied.
  std::vector<std::vector<double>> ReportedCovariance() const;
  bool AtBound(models::Parameter parameter) const;
};

// The refined parameters a request without a list gets: V0, K0, and K'0 and
// K''0 where the order leaves them free; for data at more than one
// temperature also alpha0 and dK/dT of a thermal expansion, alpha0 of the
// Einstein model, and gamma0 and q of Mie-Grueneisen-Debye. The Einstein and
// Debye temperatures stay held: P-V-T data hardly determine them.
std::vector<models::Parameter> DefaultRefined(const models::Model& model, const FitData& data);

// Weighted least squares in pressure with effective variances
// sigma^2 = sigP^2 + (K_T sigV / V)^2 + (dP/dT sigT)^2, re-evaluated as the
// parameters change. Throws FitError for data or a request that cannot be fitted
// (too few points or distinct states, a fixed-by-order parameter, a parameter
// the data cannot determine). A fit that does not converge, or converges
// outside the model's domain, is no fit: from given starting values it is
// restarted once from the data's own estimate, and otherwise returns with
// converged false and the reason.
FitResult FitEos(const FitData& data, const FitRequest& request);

}  // namespace quorvane::fit
