#include "fit/fit_constraints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "fit/eos_fit.h"
#include "fit/synthetic_data.h"
#include "models/model_catalogue.h"

namespace quorvane::fit {
namespace {

using models::Equation;
using models::Model;
using models::Parameter;
using testing::GaussianNoise;
using testing::SyntheticData;

Model Truth(Equation equation) {
  Model truth =
      models::DefaultModel(equation, 3, models::Thermal::Linear, models::Arithmetic::Calculator);
  truth[Parameter::V0] = 74.7;
  truth[Parameter::K0] = 160.0;
  truth[Parameter::Kp0] = 4.6;
  truth[Parameter::Tref] = 298.0;
  models::ApplyImpliedCoefficients(truth);
  return truth;
}

// The truth's isotherm with pressures scattered by sigP * noiseScale; the
// data say sigP.
FitData Noisy(const Model& truth, double sigP, double noiseScale, std::uint64_t seed) {
  FitData data = SyntheticData(truth, {298}, 16);
  GaussianNoise noise(seed);
  for (Observation& point : data.points) {
    point.sigP = sigP;
    point.P += sigP * noiseScale * noise.Next();
  }
  return data;
}

FitRequest Request(const Model& truth) {
  FitRequest request;
  request.start =
      models::DefaultModel(truth.equation, truth.order, truth.thermal, truth.arithmetic);
  request.start[Parameter::Tref] = truth[Parameter::Tref];
  return request;
}

double Value(const FitResult& result, Parameter parameter) {
  return result.model[parameter];
}

double Esd(const FitResult& result, Parameter parameter, const std::vector<double>& esds) {
  for (std::size_t i = 0; i < result.refined.size(); ++i) {
    if (result.refined[i] == parameter) return esds[i];
  }
  return std::nan("");
}

// A prior far tighter than the data is the parameter held at its mean; one
// far looser is no prior at all. Both limits must come out of the same
// pseudo-observation, for every parameter it may sit on.
TEST(FitPriors, TightPriorHoldsTheParameterAndLoosePriorChangesNothing) {
  struct Case {
    Equation equation;
    Parameter parameter;
    double mean;
  };
  const Case cases[] = {{Equation::BirchMurnaghan, Parameter::K0, 155.0},
                        {Equation::BirchMurnaghan, Parameter::Kp0, 4.0},
                        {Equation::Vinet, Parameter::V0, 74.75},
                        {Equation::Vinet, Parameter::Kp0, 5.0}};
  for (const Case& c : cases) {
    const std::string name =
        std::string(models::Info(c.equation).name) + " " + models::Info(c.parameter).name;
    const Model truth = Truth(c.equation);
    const FitData data = Noisy(truth, 0.05, 1.0, 11);
    const FitRequest free = Request(truth);
    const FitResult unconstrained = FitEos(data, free);

    FitRequest fixed = free;
    fixed.start[c.parameter] = c.mean;
    models::ApplyImpliedCoefficients(fixed.start);
    for (Parameter p : DefaultRefined(free.start, data)) {
      if (p != c.parameter) fixed.refined.push_back(p);
    }
    const FitResult held = FitEos(data, fixed);

    FitRequest tight = free, loose = free;
    tight.priors = {{c.parameter, c.mean, 1e-9 * std::fabs(c.mean)}};
    loose.priors = {{c.parameter, c.mean, 1e9}};
    const FitResult tightFit = FitEos(data, tight), looseFit = FitEos(data, loose);
    ASSERT_TRUE(held.converged && tightFit.converged && looseFit.converged) << name;
    EXPECT_EQ(tightFit.dof, unconstrained.dof + 1) << name;
    for (Parameter p : unconstrained.refined) {
      EXPECT_NEAR(Value(tightFit, p), Value(held, p), 1e-6 * std::fabs(Value(held, p)))
          << name << ": " << models::Info(p).name;
      EXPECT_NEAR(Value(looseFit, p), Value(unconstrained, p),
                  1e-8 * std::fabs(Value(unconstrained, p)))
          << name << ": " << models::Info(p).name;
      if (p == c.parameter) continue;
      EXPECT_NEAR(Esd(tightFit, p, tightFit.esd), Esd(held, p, held.esd),
                  1e-4 * Esd(held, p, held.esd))
          << name << ": " << models::Info(p).name;
    }
    EXPECT_NEAR(Esd(tightFit, c.parameter, tightFit.esd), 1e-9 * std::fabs(c.mean),
                1e-11 * std::fabs(c.mean))
        << name;
  }
}

// Limits the best fit would cross: the parameter is held on the limit, with
// no esd, the others are those of the fit with it held there, and the
// covariance has nothing of it. Limits it stays within change nothing.
TEST(FitBounds, ActiveLimitHoldsTheParameterWithoutEsd) {
  struct Case {
    Bound bound;
    bool active;
  };
  const Case cases[] = {{{Parameter::Kp0, 2.0, 4.2}, true},
                        {{Parameter::Kp0, 5.0, 8.0}, true},
                        {{Parameter::K0, 100.0, 158.0}, true},
                        {{Parameter::Kp0, 2.0, 8.0}, false}};
  const Model truth = Truth(Equation::BirchMurnaghan);
  const FitData data = Noisy(truth, 0.05, 1.0, 5);
  const FitResult unbounded = FitEos(data, Request(truth));
  for (const Case& c : cases) {
    const std::string name = BoundText(c.bound);
    FitRequest request = Request(truth);
    request.bounds = {c.bound};
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << name << ": " << result.failure;
    EXPECT_EQ(result.AtBound(c.bound.parameter), c.active) << name;
    const double value = Value(result, c.bound.parameter);
    EXPECT_TRUE(value >= c.bound.lower && value <= c.bound.upper) << name << ": " << value;
    if (!c.active) {
      EXPECT_NEAR(value, Value(unbounded, c.bound.parameter), 1e-8 * std::fabs(value)) << name;
      continue;
    }
    const double limit =
        Value(unbounded, c.bound.parameter) < c.bound.lower ? c.bound.lower : c.bound.upper;
    EXPECT_EQ(value, limit) << name;
    EXPECT_TRUE(std::isnan(Esd(result, c.bound.parameter, result.esdReported))) << name;
    FitRequest fixed = Request(truth);
    fixed.start[c.bound.parameter] = limit;
    models::ApplyImpliedCoefficients(fixed.start);
    for (Parameter p : result.refined) {
      if (p != c.bound.parameter) fixed.refined.push_back(p);
    }
    const FitResult held = FitEos(data, fixed);
    const std::vector<std::vector<double>> covariance = result.ReportedCovariance();
    for (std::size_t i = 0; i < result.refined.size(); ++i) {
      const Parameter p = result.refined[i];
      if (p == c.bound.parameter) {
        for (double entry : covariance[i]) EXPECT_EQ(entry, 0.0) << name;
        continue;
      }
      EXPECT_NEAR(Value(result, p), Value(held, p), 1e-7 * std::fabs(Value(held, p))) << name;
      EXPECT_NEAR(Esd(result, p, result.esd), Esd(held, p, held.esd), 1e-4 * Esd(held, p, held.esd))
          << name;
    }
  }
}

// Limits that meet, or all but meet, and a prior tighter than any value can
// resolve leave nothing to refine: the parameter is held there, as if fixed,
// instead of the solver wandering a range it cannot resolve until it gives
// up, or a weight of 1e300 making the others look undetermined.
TEST(FitBounds, LimitsThatMeetOrAPriorBeyondResolutionHoldTheParameter) {
  struct Case {
    std::vector<Bound> bounds;
    std::vector<Prior> priors;
    Parameter parameter;
    double value;
  };
  using enum Parameter;
  const Case cases[] = {{{{Kp0, 4.0, 4.0}}, {}, Kp0, 4.0},
                        {{{Kp0, 4.9, 4.9000001}}, {}, Kp0, 4.90000005},
                        {{{K0, 150.0, 150.0 + 1e-5}}, {}, K0, 150.000005},
                        {{}, {{Kp0, 4.0, 1e-300}}, Kp0, 4.0}};
  const Model truth = Truth(Equation::BirchMurnaghan);
  const FitData data = Noisy(truth, 0.05, 1.0, 5);
  for (const Case& c : cases) {
    const std::string name = models::Info(c.parameter).name + std::to_string(c.value);
    FitRequest request = Request(truth);
    request.bounds = c.bounds;
    request.priors = c.priors;
    const FitResult result = FitEos(data, request);
    ASSERT_TRUE(result.converged) << name << ": " << result.failure;
    EXPECT_LT(result.iterations, 100) << name;
    EXPECT_EQ(std::count(result.refined.begin(), result.refined.end(), c.parameter), 0) << name;
    EXPECT_NEAR(result.model[c.parameter], c.value, 1e-15 * c.value) << name;
    FitRequest fixed = Request(truth);
    fixed.start[c.parameter] = result.model[c.parameter];
    models::ApplyImpliedCoefficients(fixed.start);
    fixed.refined = result.refined;
    const FitResult held = FitEos(data, fixed);
    for (Parameter p : result.refined) {
      EXPECT_NEAR(Value(result, p), Value(held, p), 1e-9 * std::fabs(Value(held, p))) << name;
    }
  }
}

// The esds reported scale by sqrt(chi2w/dof) where the request says so:
// auto only for data that scatter more than their sigmas say, never
// shrinking them for data that scatter less.
TEST(FitEsdScaling, ScalesOnlyWhereAsked) {
  struct Case {
    EsdScaling scaling;
    double noiseScale;
    bool scaled;
  };
  const Case cases[] = {
      {EsdScaling::Auto, 3.0, true},   {EsdScaling::Auto, 0.3, false},
      {EsdScaling::Always, 0.3, true}, {EsdScaling::Always, 3.0, true},
      {EsdScaling::Never, 3.0, false}, {EsdScaling::Never, 0.3, false},
  };
  const Model truth = Truth(Equation::Vinet);
  for (const Case& c : cases) {
    const std::string name =
        std::string(EsdScalingName(c.scaling)) + ", noise x" + std::to_string(c.noiseScale);
    FitRequest request = Request(truth);
    request.esdScaling = c.scaling;
    const FitResult result = FitEos(Noisy(truth, 0.05, c.noiseScale, 3), request);
    ASSERT_TRUE(result.converged) << name;
    EXPECT_EQ(result.ReducedChi2() > 1.0, c.noiseScale > 1.0) << name;
    EXPECT_EQ(result.scaledByChi2, c.scaled) << name;
    EXPECT_EQ(result.esdReported, c.scaled ? result.esdScaled : result.esd) << name;
    EXPECT_EQ(result.ReportedCovariance(), c.scaled ? result.ScaledCovariance() : result.covariance)
        << name;
  }
}

// Priors and bounds no fit can use are refused with a line naming them; a
// start the user gave outside its bounds too, while one that is only the
// data's estimate is moved inside.
TEST(FitConstraintRefusals, RefusesConstraintsItCannotUse) {
  struct Case {
    const char* name;
    std::vector<Prior> priors;
    std::vector<Bound> bounds;
    bool givenKp0;
    const char* message;
  };
  using enum Parameter;
  const Case cases[] = {
      {"a prior on a parameter held", {{Kpp0, 0.0, 1.0}}, {}, false, "K''0: it is not refined"},
      {"a prior twice", {{K0, 150.0, 1.0}, {K0, 160.0, 1.0}}, {}, false, "K0: given twice"},
      {"sigma zero", {{K0, 150.0, 0.0}}, {}, false, "sigma = 0 must be"},
      {"sigma negative", {{K0, 150.0, -1.0}}, {}, false, "sigma = -1 must be"},
      {"sigma infinite", {{K0, 150.0, INFINITY}}, {}, false, "sigma = inf must be"},
      {"mean not a number", {{K0, NAN, 1.0}}, {}, false, "not a finite number"},
      {"limits crossed", {}, {{Kp0, 8.0, 2.0}}, false, "the lower limit 8 is not below"},
      {"bounds on alpha0", {}, {{alpha0, 0.0, 1.0}}, false, "alpha0: it is not refined"},
      {"limits wider than a double",
       {},
       {{Kp0, -1e308, 1e308}},
       false,
       "the limits -1e+308 and 1e+308 are farther apart than a double holds"},
      {"a given start outside", {}, {{Kp0, 5.0, 8.0}}, true, "the start K'0 = 4 is not inside"},
  };
  const Model truth = Truth(Equation::BirchMurnaghan);
  const FitData data = SyntheticData(truth, {298}, 10);
  for (const Case& c : cases) {
    FitRequest request = Request(truth);
    request.priors = c.priors;
    request.bounds = c.bounds;
    if (c.givenKp0) request.givenStart = {Kp0};
    try {
      FitEos(data, request);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const FitError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.name << ": " << error.what();
    }
  }
  FitRequest moved = Request(truth);
  moved.bounds = {{Parameter::Kp0, 4.5, 8.0}};
  const FitResult result = FitEos(data, moved);
  ASSERT_TRUE(result.converged) << result.failure;
  EXPECT_NEAR(result.model[Parameter::Kp0], truth[Parameter::Kp0], 1e-8);
}

}  // namespace
}  // namespace quorvane::fit
