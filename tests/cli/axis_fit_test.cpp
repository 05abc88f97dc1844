#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/program_run.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"
#include "params/json_text.h"

namespace quorvane::cli {
namespace {

using models::Equation;
using models::Parameter;

using AxisFit = ScratchFolderTest;

// Every digit, so that the reader gets the very double back.
std::string Exact(double x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", x);
  return buffer;
}

double Member(const params::Json& object, const char* key) {
  return object.at(key).get<double>();
}

params::Json FitJson(const std::vector<std::string>& arguments) {
  std::vector<std::string> all{"fit", "--format", "json"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  const Outcome run = RunProgram(all);
  EXPECT_EQ(run.code, 0) << run.err;
  return run.code == 0 ? params::ParseJson(run.out) : params::Json::object();
}

// A cubic crystal measured twice over: as its edge a and as V = a^3 with
// sigV = 3 a^2 siga. The two fits see the same numbers, so the axis' moduli
// are three times the volume's to the last bit, whatever the equation.
TEST_F(AxisFit, CubicEdgeAndItsVolumeGiveMEqualToThreeKExactly) {
  // Lattice parameters of a cubic cell near 4.2 A, with scatter of a few
  // 1e-4 A, as a user's file holds them.
  const double P[] = {0.0001, 1.05, 2.2, 3.41, 4.62, 5.9, 7.3, 8.8, 10.1};
  const double a[] = {4.2117, 4.2021, 4.1918, 4.1822, 4.1726, 4.1634, 4.1535, 4.1437, 4.1355};
  std::string edges = "P,sigP,a,sig_a\n", volumes = "P,sigP,V,sigV\n";
  for (std::size_t i = 0; i < std::size(P); ++i) {
    const double V = a[i] * a[i] * a[i], sigV = 3.0 * a[i] * a[i] * 0.0003;
    edges += Exact(P[i]) + ",0.02," + Exact(a[i]) + ",0.0003\n";
    volumes += Exact(P[i]) + ",0.02," + Exact(V) + "," + Exact(sigV) + "\n";
  }
  const std::string edgeFile = Write("edges.csv", edges),
                    volumeFile = Write("volumes.csv", volumes);
  const std::vector<std::vector<std::string>> models = {{"--eos", "bm", "--order", "3"},
                                                        {"--eos", "bm", "--order", "2"},
                                                        {"--eos", "vinet", "--order", "3"},
                                                        {"--eos", "natural-strain", "--order", "3"},
                                                        {"--eos", "murnaghan", "--order", "3"}};
  for (const std::vector<std::string>& model : models) {
    SCOPED_TRACE(model[1] + " " + model[3]);
    std::vector<std::string> axisRun = model, volumeRun = model;
    axisRun.insert(axisRun.end(), {"--axis", "a", edgeFile});
    volumeRun.push_back(volumeFile);
    const params::Json axis = FitJson(axisRun), volume = FitJson(volumeRun);
    ASSERT_TRUE(axis.contains("axis"));
    EXPECT_FALSE(volume.contains("axis"));
    const params::Json& K = volume.at("parameters");
    const params::Json& M = axis.at("axis");
    EXPECT_EQ(M.at("name").get<std::string>(), "a");
    EXPECT_EQ(Member(M, "M0"), 3.0 * Member(K, "K0"));
    EXPECT_EQ(Member(M, "Mp0"), 3.0 * Member(K, "Kp0"));
    EXPECT_EQ(Member(M, "L0"), std::cbrt(Member(K, "V0")));
    EXPECT_EQ(Member(axis.at("axis_esd"), "M0"), 3.0 * Member(volume.at("esd_reported"), "K0"));
    // The cubed axis' own parameters stand beside the axis' in the report.
    EXPECT_EQ(axis.at("parameters"), K);
  }
}

// One axis of a cell: its own equation and parameters, in the axis' terms.
struct AxisTruth {
  const char* column;
  Equation equation;
  int order;
  double L0, M0, Mp0, Mpp0;
  // The axis' expansion (1e-5/K) and dM/dT where the data span temperatures.
  double alpha0, dMdT;
  std::vector<double> T;
  models::Thermal thermal = models::Thermal::Linear;
};

// The cubed axis as the volume model the fit sees: V0 = L0^3, K = M / 3,
// alpha = 3 alpha(L).
models::Model CubedModel(const AxisTruth& truth) {
  models::Model model = models::DefaultModel(truth.equation, truth.order, truth.thermal,
                                             models::Arithmetic::Textbook);
  model[Parameter::V0] = truth.L0 * truth.L0 * truth.L0;
  model[Parameter::K0] = truth.M0 / 3.0;
  model[Parameter::Kp0] = truth.Mp0 / 3.0;
  if (truth.order == 4) model[Parameter::Kpp0] = truth.Mpp0 / 3.0;
  model[Parameter::alpha0] = 3.0 * truth.alpha0;
  model[Parameter::alpha1] = 0.0;
  model[Parameter::dKdT] = truth.dMdT / 3.0;
  model[Parameter::Tref] = 298.0;
  models::ApplyImpliedCoefficients(model);
  return model;
}

// Noise-free points of the axis: from its length at zero pressure down by 4 %.
std::string AxisFile(const AxisTruth& truth) {
  const models::Model model = CubedModel(truth);
  std::string text = std::string("P,T,") + truth.column + "\n";
  constexpr int kPoints = 10;
  for (const double T : truth.T) {
    const double L0 = std::cbrt(models::ZeroPressureVolume(model, T).V);
    for (int i = 0; i < kPoints; ++i) {
      const double L = L0 * (1.0 - 0.04 * i / (kPoints - 1));
      text += Exact(models::Pressure(model, L * L * L, T)) + "," + Exact(T) + "," + Exact(L) + "\n";
    }
  }
  return text;
}

// The three edges of an orthorhombic cell, each compressing by an equation
// of its own, and one expanding with temperature, are each recovered from
// their lengths alone.
TEST_F(AxisFit, RecoversEachAxisOfAnOrthorhombicCell) {
  const AxisTruth axes[] = {
      {"a", Equation::BirchMurnaghan, 3, 4.756, 390.0, 15.0, 0.0, 0.0, 0.0, {298.0}},
      {"b", Equation::Vinet, 3, 10.207, 285.0, 12.6, 0.0, 0.0, 0.0, {298.0}},
      {"c", Equation::BirchMurnaghan, 4, 5.980, 345.0, 18.0, -0.09, 0.0, 0.0, {298.0}},
      {"c", Equation::NaturalStrain, 3, 5.980, 345.0, 18.0, 0.0, 1.1, -0.06, {298.0, 600.0, 900.0}},
      {"b",
       Equation::Vinet,
       3,
       10.207,
       285.0,
       12.6,
       0.0,
       1.4,
       -0.05,
       {298.0, 700.0, 1100.0},
       models::Thermal::HollandPowell},
  };
  for (const AxisTruth& truth : axes) {
    SCOPED_TRACE(std::string(truth.column) + " " + models::Info(truth.equation).name);
    const std::string file = Write("axis.csv", AxisFile(truth));
    std::vector<std::string> arguments{"--eos",
                                       models::Info(truth.equation).name,
                                       "--order",
                                       std::to_string(truth.order),
                                       "--arithmetic",
                                       "textbook",
                                       "--Tref",
                                       "298",
                                       "--thermal",
                                       models::Info(truth.thermal).name,
                                       "--axis",
                                       truth.column,
                                       file};
    const params::Json axis = FitJson(arguments).at("axis");
    EXPECT_NEAR(Member(axis, "L0"), truth.L0, 1e-9 * truth.L0);
    EXPECT_NEAR(Member(axis, "M0"), truth.M0, 1e-6 * truth.M0);
    EXPECT_NEAR(Member(axis, "Mp0"), truth.Mp0, 1e-5 * truth.Mp0);
    if (truth.order == 4) {
      EXPECT_NEAR(Member(axis, "Mpp0"), truth.Mpp0, 1e-4);
    } else {
      EXPECT_FALSE(axis.contains("Mpp0"));
    }
    if (truth.T.size() > 1) {
      EXPECT_NEAR(Member(axis, "alpha0"), truth.alpha0, 1e-7);
      EXPECT_NEAR(Member(axis, "dMdT"), truth.dMdT, 1e-7);
    }
  }
}

// The axis column's own refusals: each one line naming the file's fault.
TEST_F(AxisFit, RefusesAxisDataItCannotRead) {
  struct Case {
    const char* text;
    const char* axis;
    const char* says;
  };
  const Case cases[] = {
      {"P,a,siga,sig_a\n1,4.2,0.001,0.001\n2,4.19,0.001,0.001\n", "a", "give siga or sig_a"},
      {"P,b\n1,4.2\n2,0\n", "b", "line 3, column 2: b must be greater than zero"},
      {"P,b,sigb\n1,1e200,0.01\n", "b", "line 2, column 2: b has no cube in double precision"},
      {"P,b,sigb\n1,1e-200,0.01\n", "b", "line 2, column 2: b has no cube in double precision"},
      {"P,a,siga\n1,4.2,0.001\n2,4.19,\n", "a", "in sigP, siga or sigT"},
      {"P,V\n1,60\n2,59\n", "a", "no column \"a\""},
      {"P,T\n1,300\n", "T", "--axis: \"T\" is no column"},
  };
  for (const Case& c : cases) {
    const Outcome run = RunProgram({"fit", "--axis", c.axis, Write("bad.csv", c.text)});
    EXPECT_EQ(run.code, 2) << c.text;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace quorvane::cli
