#include "fit/eos_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fit/synthetic_data.h"

namespace quorvane::fit {
namespace {

using engine::EosParameters;
using engine::EosType;
using testing::GaussianNoise;
using testing::kModels;
using testing::Model;
using testing::SyntheticData;

// A material far from the calculator's start-up values, so the start has to
// come from the data.
EosParameters Truth(Model model) {
  EosParameters p;
  p.type = model.type;
  p.order = model.order;
  p.V0 = 163.7;
  p.K0 = 87.5;
  p.Kp0 = 4.9;
  p.alpha0 = 2.6;
  p.alpha1 = 1.4;
  p.dKdT = -0.031;
  p.Tref = 298.0;
  engine::UpdateImpliedCoefficients(p);
  if (model.order == 4) p.Kpp0 = -0.071;
  return p;
}

// The calculator's start-up set with the model chosen, as the command line
// builds it when only the type and order are given.
EosParameters StartUp(Model model) {
  EosParameters p;
  p.type = model.type;
  p.order = model.order;
  engine::UpdateImpliedCoefficients(p);
  return p;
}

std::string Describe(Model model, bool thermal) {
  return std::string(EosName(model.type)) + " order " + std::to_string(model.order) +
         (thermal ? " with thermal terms" : "");
}

// Noise-free points of every equation and order, on one isotherm and on four:
// the refined values come back to 1e-9. Thermal fits refine all seven free
// parameters from start values the data give.
TEST(FitRecovery, RecoversNoiseFreeParametersForEveryEquationAndOrder) {
  for (const Model& model : kModels) {
    for (bool thermal : {false, true}) {
      const EosParameters truth = Truth(model);
      const FitData data = SyntheticData(
          truth, thermal ? std::vector<double>{298, 500, 700, 900} : std::vector<double>{298}, 25);
      FitRequest request;
      request.start = StartUp(model);
      request.refined = DefaultRefined(request.start, data);
      if (thermal) request.refined.push_back(RefinedParameter::alpha1);

      const FitResult result = FitEos(data, request);
      ASSERT_TRUE(result.converged) << Describe(model, thermal);
      for (RefinedParameter parameter : result.refined) {
        const double expected = ParameterValue(truth, parameter);
        EXPECT_NEAR(ParameterValue(result.parameters, parameter), expected,
                    1e-9 * std::fabs(expected))
            << Describe(model, thermal) << ": " << ParameterName(parameter);
      }
    }
  }
}

// A start far off leads the solver out of the model's domain, or to where the
// data determine nothing: the fit starts once more from the data's own
// estimate, ends where that start ends, and says why. A start near the answer
// is kept.
TEST(FitRecovery, RestartsFromTheDataWhenAGivenStartFails) {
  using enum RefinedParameter;
  struct Start {
    Model model;
    RefinedParameter parameter;
    double value;
    // Part of the restart's reason; empty: no restart.
    const char* reason;
  };
  const Model bm3{EosType::BirchMurnaghan, 3}, vinet{EosType::Vinet, 3};
  const Start starts[] = {
      {bm3, V0, 50.0, "K0 = -"},   {bm3, V0, 1.0, "V0 = "},
      {bm3, V0, 1e6, "K0 = "},     {bm3, V0, 0.01, "cannot be determined"},
      {vinet, V0, 0.1, "stalled"}, {bm3, K0, 1e9, ""},
  };
  for (const Start& start : starts) {
    const FitData data = SyntheticData(Truth(start.model), {298}, 15);
    FitRequest request;
    request.start = StartUp(start.model);
    const FitResult expected = FitEos(data, request);
    ParameterValue(request.start, start.parameter) = start.value;
    request.givenStart = {start.parameter};
    const std::string name = Describe(start.model, false) + ", " + ParameterName(start.parameter) +
                             " from " + std::to_string(start.value);
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << name << ": " << result.failure;
    EXPECT_EQ(result.restart.empty(), *start.reason == '\0') << name << ": " << result.restart;
    EXPECT_NE(result.restart.find(start.reason), std::string::npos)
        << name << ": " << result.restart;
    for (RefinedParameter parameter : result.refined) {
      const double value = ParameterValue(expected.parameters, parameter);
      EXPECT_NEAR(ParameterValue(result.parameters, parameter), value, 1e-9 * std::fabs(value))
          << name << ": " << ParameterName(parameter);
    }
  }
}

// The unscaled esd is a statement about the scatter of the fitted values when
// the sigmas are right: over many noisy replicas of one data set, the spread
// of each refined value must match it. Errors in V enter only through the
// effective variance, so this also checks the re-evaluated K_T weights.
TEST(FitUncertainty, UnscaledEsdMatchesScatterOfReplicas) {
  constexpr int kReplicas = 400;
  const Model model{EosType::BirchMurnaghan, 3};
  const EosParameters truth = Truth(model);
  const FitData exact = SyntheticData(truth, {298}, 20);
  constexpr double kSigP = 0.02;
  constexpr double kSigVRelative = 4e-4;
  GaussianNoise noise(20261208);

  std::vector<double> sum(3, 0.0), sumSquares(3, 0.0), esd(3, 0.0);
  for (int replica = 0; replica < kReplicas; ++replica) {
    FitData data = exact;
    for (Observation& point : data.points) {
      point.sigP = kSigP;
      point.sigV = kSigVRelative * point.V;
      point.P += kSigP * noise.Next();
      point.V += point.sigV * noise.Next();
    }
    FitRequest request;
    request.start = StartUp(model);
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged);
    for (std::size_t i = 0; i < 3; ++i) {
      const double value = ParameterValue(result.parameters, result.refined[i]);
      sum[i] += value;
      sumSquares[i] += value * value;
      esd[i] += result.esd[i] / kReplicas;
    }
  }
  for (std::size_t i = 0; i < 3; ++i) {
    const double mean = sum[i] / kReplicas;
    const double scatter = std::sqrt((sumSquares[i] - kReplicas * mean * mean) / (kReplicas - 1));
    EXPECT_NEAR(esd[i] / scatter, 1.0, 0.15) << "parameter " << i;
  }
}

struct BadRequest {
  const char* name;
  Model model;
  std::vector<RefinedParameter> refined;
  int points;
  // Applied to the first point.
  double V;
  double sigP;
  const char* message;
};

// Requests no fit can answer: each is refused with a message naming the cause.
TEST(FitRefusals, RefusesRequestsItCannotAnswer) {
  using enum RefinedParameter;
  const BadRequest cases[] = {
      {"fewer points than parameters",
       {EosType::BirchMurnaghan, 3},
       {},
       2,
       0,
       0,
       "2 data points cannot determine 3 refined parameters"},
      {"K''0 implied by the order",
       {EosType::BirchMurnaghan, 3},
       {V0, K0, Kpp0},
       10,
       0,
       0,
       "K''0 is implied by birch-murnaghan at order 3"},
      {"K'0 implied at 2nd order",
       {EosType::Vinet, 2},
       {V0, Kp0},
       10,
       0,
       0,
       "K'0 is implied by vinet at order 2"},
      {"alpha0 without temperatures",
       {EosType::BirchMurnaghan, 3},
       {V0, K0, alpha0},
       10,
       0,
       0,
       "alpha0 cannot be determined from these data"},
      {"a parameter named twice",
       {EosType::BirchMurnaghan, 3},
       {V0, V0},
       10,
       0,
       0,
       "V0 is named twice"},
      {"negative volume",
       {EosType::BirchMurnaghan, 3},
       {},
       10,
       -1.0,
       0,
       "point 1: V must be greater than zero"},
      {"infinite volume",
       {EosType::BirchMurnaghan, 3},
       {},
       10,
       INFINITY,
       0,
       "point 1: P, V and T must be finite"},
      {"negative sigma",
       {EosType::BirchMurnaghan, 3},
       {},
       10,
       0,
       -0.1,
       "point 1: standard deviations must be finite and positive"},
      {"4th-order Vinet", {EosType::Vinet, 4}, {}, 10, 0, 0, "not offered at order 4"},
  };
  for (const BadRequest& bad : cases) {
    FitData data = SyntheticData(Truth(bad.model), {298}, bad.points);
    if (bad.V != 0) data.points[0].V = bad.V;
    if (bad.sigP != 0) data.points[0].sigP = bad.sigP;
    FitRequest request;
    request.start = StartUp(bad.model);
    request.refined = bad.refined;
    try {
      FitEos(data, request);
      ADD_FAILURE() << bad.name << ": accepted";
    } catch (const FitError& error) {
      EXPECT_NE(std::string(error.what()).find(bad.message), std::string::npos)
          << bad.name << ": " << error.what();
    }
  }
}

// V0 and alpha0 move V(T,0) the same way on one isotherm away from T(ref):
// the message names the pair.
TEST(FitRefusals, NamesTheCorrelatedPartnerOfAnUndeterminedParameter) {
  const Model model{EosType::BirchMurnaghan, 3};
  const FitData data = SyntheticData(Truth(model), {600}, 12);
  FitRequest request;
  request.start = StartUp(model);
  request.refined = {RefinedParameter::V0, RefinedParameter::K0, RefinedParameter::alpha0};
  try {
    FitEos(data, request);
    ADD_FAILURE() << "accepted";
  } catch (const FitError& error) {
    const std::string message = error.what();
    EXPECT_NE(message.find("cannot be determined"), std::string::npos) << message;
    EXPECT_NE(message.find("correlation with"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace quorvane::fit
