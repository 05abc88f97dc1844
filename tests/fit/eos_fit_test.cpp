#include "fit/eos_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "fit/synthetic_data.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using models::Equation;
using models::Model;
using models::Parameter;
using models::Thermal;
using testing::GaussianNoise;
using testing::kCalculatorShapes;
using testing::Shape;
using testing::SyntheticData;

// A material far from the calculator's start-up values, so the start has to
// come from the data.
Model Truth(Shape shape) {
  Model truth = models::DefaultModel(shape.equation, shape.order, Thermal::Linear,
                                     models::Arithmetic::Calculator);
  truth[Parameter::V0] = 163.7;
  truth[Parameter::K0] = 87.5;
  truth[Parameter::Kp0] = 4.9;
  truth[Parameter::alpha0] = 2.6;
  truth[Parameter::alpha1] = 1.4;
  truth[Parameter::dKdT] = -0.031;
  truth[Parameter::Tref] = 298.0;
  models::ApplyImpliedCoefficients(truth);
  if (shape.order == 4) truth[Parameter::Kpp0] = -0.071;
  return truth;
}

// The calculator's start-up set with the model chosen, as the command line
// builds it when only the type and order are given.
Model StartUp(const Model& model) {
  return models::DefaultModel(model.equation, model.order, model.thermal, model.arithmetic);
}

std::string Describe(const Model& model, bool thermal) {
  return std::string(models::Info(model.equation).name) + " order " + std::to_string(model.order) +
         " " + models::Info(model.thermal).name + (thermal ? " with thermal terms" : "");
}

const char* Name(Parameter parameter) {
  return models::Info(parameter).name;
}

void ExpectRecovered(const FitResult& result, const Model& truth, double tolerance,
                     const std::string& name) {
  for (Parameter parameter : result.refined) {
    const double expected = truth[parameter];
    EXPECT_NEAR(result.model[parameter], expected, tolerance * std::fabs(expected))
        << name << ": " << Name(parameter);
  }
}

// Noise-free points of every equation and order, on one isotherm and on four:
// the refined values come back to 1e-9. Thermal fits refine all seven free
// parameters from start values the data give.
TEST(FitRecovery, RecoversNoiseFreeParametersForEveryEquationAndOrder) {
  for (const Shape& shape : kCalculatorShapes) {
    for (bool thermal : {false, true}) {
      const Model truth = Truth(shape);
      const FitData data = SyntheticData(
          truth, thermal ? std::vector<double>{298, 500, 700, 900} : std::vector<double>{298}, 25);
      FitRequest request;
      request.start = StartUp(truth);
      request.refined = DefaultRefined(request.start, data);
      if (thermal) request.refined.push_back(Parameter::alpha1);

      const FitResult result = FitEos(data, request);
      ASSERT_TRUE(result.converged) << Describe(truth, thermal) << ": " << result.failure;
      ExpectRecovered(result, truth, 1e-9, Describe(truth, thermal));
    }
  }
}

// A thermal pressure on a reference isotherm, in the textbook arithmetic:
// noise-free P-V-T data to 2000 K give back the isotherm and the refined
// thermal parameters to 1e-8, the Einstein and Debye temperatures included,
// from the catalogue's starting values; the parameters held are the true ones.
TEST(FitRecovery, RecoversThermalPressureModelsFromNoiseFreePVTData) {
  struct Case {
    Equation equation;
    int order;
    Thermal thermal;
    std::vector<std::pair<Parameter, double>> values;
    std::vector<Parameter> alsoRefined;
    std::vector<double> temperatures = {300, 700, 1100, 1500, 2000};
  };
  const Case cases[] = {
      {Equation::Vinet,
       3,
       Thermal::MieGruneisenDebye,
       {{Parameter::V0, 11.248},
        {Parameter::K0, 160.3},
        {Parameter::Kp0, 4.18},
        {Parameter::theta0, 773.0},
        {Parameter::gamma0, 1.53},
        {Parameter::q, 1.7},
        {Parameter::natoms, 2.0},
        {Parameter::Tref, 300.0}},
       {Parameter::theta0}},
      {Equation::Tait,
       3,
       Thermal::Einstein,
       {{Parameter::V0, 43.66},
        {Parameter::K0, 126.3},
        {Parameter::Kp0, 4.54},
        {Parameter::alpha0, 2.85},
        {Parameter::theta0, 471.0},
        {Parameter::Tref, 298.15}},
       {Parameter::theta0}},
      // Near 0 K, where e^(theta/T) is far beyond a double.
      {Equation::BirchMurnaghan,
       3,
       Thermal::Einstein,
       {{Parameter::theta0, 1500.0}},
       {},
       {1, 300, 900, 1500}},
  };
  for (const Case& c : cases) {
    Model truth =
        models::DefaultModel(c.equation, c.order, c.thermal, models::Arithmetic::Textbook);
    for (const auto& [parameter, value] : c.values) truth[parameter] = value;
    models::ApplyImpliedCoefficients(truth);
    const FitData data = SyntheticData(truth, c.temperatures, 8);
    FitRequest request;
    request.start = truth;
    request.refined = DefaultRefined(truth, data);
    for (Parameter parameter : c.alsoRefined) request.refined.push_back(parameter);
    for (Parameter parameter : request.refined)
      request.start[parameter] = StartUp(truth)[parameter];

    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << Describe(truth, true) << ": " << result.failure;
    ExpectRecovered(result, truth, 1e-8, Describe(truth, true));
  }
}

// A start far off leads the solver out of the model's domain, or to where the
// data determine nothing: the fit starts once more from the data's own
// estimate, ends where that start ends, and says why. A start near the answer
// is kept.
TEST(FitRecovery, RestartsFromTheDataWhenAGivenStartFails) {
  using enum Parameter;
  struct Start {
    Shape shape;
    Parameter parameter;
    double value;
    // Part of the restart's reason; empty: no restart.
    const char* reason;
  };
  const Shape bm3{Equation::BirchMurnaghan, 3}, vinet{Equation::Vinet, 3};
  const Start starts[] = {
      {bm3, V0, 50.0, "K0 = -"},   {bm3, V0, 1.0, "V0 = "},
      {bm3, V0, 1e6, "K0 = "},     {bm3, V0, 0.01, "cannot be determined"},
      {vinet, V0, 0.1, "stalled"}, {bm3, K0, 1e9, ""},
  };
  for (const Start& start : starts) {
    const Model truth = Truth(start.shape);
    const FitData data = SyntheticData(truth, {298}, 15);
    FitRequest request;
    request.start = StartUp(truth);
    const FitResult expected = FitEos(data, request);
    request.start[start.parameter] = start.value;
    request.givenStart = {start.parameter};
    const std::string name = Describe(truth, false) + ", " + Name(start.parameter) + " from " +
                             std::to_string(start.value);
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << name << ": " << result.failure;
    EXPECT_EQ(result.restart.empty(), *start.reason == '\0') << name << ": " << result.restart;
    EXPECT_NE(result.restart.find(start.reason), std::string::npos)
        << name << ": " << result.restart;
    ExpectRecovered(result, expected.model, 1e-9, name);
  }
}

// The unscaled esd is a statement about the scatter of the fitted values when
// the sigmas are right: over many noisy replicas of one data set, the spread
// of each refined value must match it. Errors in V enter only through the
// effective variance, so this also checks the re-evaluated K_T weights.
TEST(FitUncertainty, UnscaledEsdMatchesScatterOfReplicas) {
  constexpr int kReplicas = 400;
  const Model truth = Truth({Equation::BirchMurnaghan, 3});
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
    request.start = StartUp(truth);
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged);
    for (std::size_t i = 0; i < 3; ++i) {
      const double value = result.model[result.refined[i]];
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
  Shape shape;
  Thermal thermal;
  std::vector<Parameter> refined;
  int points;
  // Applied to the first point.
  double V;
  double T;
  double sigP;
  const char* message;
};

// Requests no fit can answer: each is refused with a message naming the cause.
TEST(FitRefusals, RefusesRequestsItCannotAnswer) {
  using enum Parameter;
  const Shape bm3{Equation::BirchMurnaghan, 3}, vinet3{Equation::Vinet, 3};
  const Thermal linear = Thermal::Linear, mgd = Thermal::MieGruneisenDebye;
  const BadRequest cases[] = {
      {"fewer points than parameters",
       bm3,
       linear,
       {},
       2,
       0,
       0,
       0,
       "2 data points cannot determine 3 refined parameters"},
      {"K''0 implied by the order",
       bm3,
       linear,
       {V0, K0, Kpp0},
       10,
       0,
       0,
       0,
       "K''0 is implied by birch-murnaghan at order 3"},
      {"K'0 implied at 2nd order",
       {Equation::Vinet, 2},
       linear,
       {V0, Kp0},
       10,
       0,
       0,
       0,
       "K'0 is implied by vinet at order 2"},
      {"K''0 of Murnaghan",
       {Equation::Murnaghan, 3},
       linear,
       {V0, K0, Kpp0},
       10,
       0,
       0,
       0,
       "K''0 is implied by murnaghan at order 3"},
      {"a parameter the model lacks",
       bm3,
       linear,
       {V0, K0, theta0},
       10,
       0,
       0,
       0,
       "theta0 is not a parameter of birch-murnaghan with the linear thermal model"},
      {"the reference temperature",
       vinet3,
       mgd,
       {V0, K0, Tref},
       10,
       0,
       0,
       0,
       "Tref is the temperature the other parameters refer to"},
      {"alpha0 without temperatures",
       bm3,
       linear,
       {V0, K0, alpha0},
       10,
       0,
       0,
       0,
       "alpha0 cannot be determined from these data"},
      {"a parameter named twice", bm3, linear, {V0, V0}, 10, 0, 0, 0, "V0 is named twice"},
      {"negative volume", bm3, linear, {}, 10, -1.0, 0, 0, "point 1: V must be greater than zero"},
      {"infinite volume",
       bm3,
       linear,
       {},
       10,
       INFINITY,
       0,
       0,
       "point 1: P, V and T must be finite"},
      {"negative sigma",
       bm3,
       linear,
       {},
       10,
       0,
       0,
       -0.1,
       "point 1: standard deviations must be finite and positive"},
      {"a thermal pressure at T <= 0",
       vinet3,
       mgd,
       {},
       10,
       0,
       -5.0,
       0,
       "point 1: T = -5 must be above zero for the mgd thermal model"},
      {"4th-order Vinet",
       {Equation::Vinet, 4},
       linear,
       {},
       10,
       0,
       0,
       0,
       "offered at order 2, 3 only"},
  };
  for (const BadRequest& bad : cases) {
    Model truth = Truth(bad.shape);
    if (bad.thermal != Thermal::Linear) {
      truth.thermal = bad.thermal;
      truth.arithmetic = models::Arithmetic::Textbook;
    }
    FitData data = SyntheticData(truth, {298}, bad.points);
    if (bad.V != 0) data.points[0].V = bad.V;
    if (bad.T != 0) data.points[0].T = bad.T;
    if (bad.sigP != 0) data.points[0].sigP = bad.sigP;
    FitRequest request;
    request.start = StartUp(truth);
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
  const Model truth = Truth({Equation::BirchMurnaghan, 3});
  const FitData data = SyntheticData(truth, {600}, 12);
  FitRequest request;
  request.start = StartUp(truth);
  request.refined = {Parameter::V0, Parameter::K0, Parameter::alpha0};
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
