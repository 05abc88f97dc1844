#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "scale_command_fixture.h"

namespace quorvane::cli {
namespace {

using AxesCommand = ScaleCommandTest;

// An orthorhombic crystal's edges (A) at room temperature, each with a sigma
// of 0.0002 A and P with one of 0.01 GPa: an illustrative set, not a
// published one.
const char* kEdges =
    "P,sigP,a,siga,b,sigb,c,sigc\n"
    "0.0001,0.01,4.75007,0.0002,10.18985,0.0002,5.97946,0.0002\n"
    "0.8183,0.01,4.74036,0.0002,10.16127,0.0002,5.96575,0.0002\n"
    "1.6364,0.01,4.73077,0.0002,10.13356,0.0002,5.95280,0.0002\n"
    "2.4546,0.01,4.72125,0.0002,10.10711,0.0002,5.93999,0.0002\n"
    "3.2728,0.01,4.71277,0.0002,10.08123,0.0002,5.92784,0.0002\n"
    "4.0910,0.01,4.70400,0.0002,10.05624,0.0002,5.91602,0.0002\n"
    "4.9091,0.01,4.69538,0.0002,10.03201,0.0002,5.90498,0.0002\n"
    "5.7273,0.01,4.68740,0.0002,10.00872,0.0002,5.89331,0.0002\n"
    "6.5455,0.01,4.67937,0.0002,9.98606,0.0002,5.88278,0.0002\n"
    "7.3637,0.01,4.67158,0.0002,9.96395,0.0002,5.87293,0.0002\n"
    "8.1818,0.01,4.66393,0.0002,9.94281,0.0002,5.86262,0.0002\n"
    "9.0000,0.01,4.65663,0.0002,9.92188,0.0002,5.85288,0.0002\n";

std::string Exact(double x) {
  std::ostringstream text;
  text << std::setprecision(17) << x;
  return text.str();
}

// The same points as cell volumes abc, sigV from the edges' sigmas.
std::string Volumes() {
  std::string text = "P,sigP,V,sigV\n";
  for (const std::vector<double>& row : CsvRows(kEdges)) {
    const double V = row[2] * row[4] * row[6];
    const double relative = std::hypot(row[3] / row[2], row[5] / row[4], row[7] / row[6]);
    text += Exact(row[0]) + "," + Exact(row[1]) + "," + Exact(V) + "," + Exact(V * relative) + "\n";
  }
  return text;
}

// Columns P, T, then edge, sigma and beta of each axis, then V and sigV.
enum Column { kP, kT, kA, kSigA, kBetaA, kB, kSigB, kBetaB, kC, kSigC, kBetaC, kV, kSigV };

// The edges the axial fits give at P = 0 are their L0 with beta = 1/M0; the
// cell they make agrees with the volume fit of the same crystal within the
// cell volume's sigma over the data's range.
TEST_F(AxesCommand, EdgesAreTheAxialFitsAndTheirCellIsTheVolumeFits) {
  const std::string edges = Write("edges.csv", kEdges);
  std::vector<std::string> axes;
  std::vector<std::vector<double>> zero;
  for (const std::string axis : {"a", "b", "c"}) {
    const std::string file = Path(axis + ".json");
    const ScaleOutcome fit =
        RunScaleProgram({"fit", edges, "--axis", axis, "--params-out", file, "--format", "json"});
    ASSERT_EQ(fit.code, 0) << fit.err;
    const std::size_t at = fit.out.find("\"axis\": {");
    ASSERT_NE(at, std::string::npos);
    const std::size_t L0 = fit.out.find("\"L0\": ", at) + 6, M0 = fit.out.find("\"M0\": ", at) + 6;
    zero.push_back({std::stod(fit.out.substr(L0)), std::stod(fit.out.substr(M0))});
    axes.insert(axes.end(), {"--axis", axis + "=" + file});
  }
  const std::string volumeFile = Path("V.json");
  const ScaleOutcome volumeFit =
      RunScaleProgram({"fit", Write("volumes.csv", Volumes()), "--params-out", volumeFile});
  ASSERT_EQ(volumeFit.code, 0) << volumeFit.err;

  std::vector<std::string> arguments{"axes", "--P", "0:9:1.5"};
  arguments.insert(arguments.end(), axes.begin(), axes.end());
  const ScaleOutcome run = RunScaleProgram(arguments);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "P,T,a,siga,betaa,b,sigb,betab,c,sigc,betac,V,sigV,in_range");
  const std::vector<std::vector<double>> rows = CsvRows(run.out);
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(rows[0][kA + 3 * k], zero[k][0], 1e-14 * zero[k][0]);
    // K at V0 is K0 to the calculator's single-precision exponents only.
    EXPECT_NEAR(rows[0][kBetaA + 3 * k], 1.0 / zero[k][1], 1e-7 / zero[k][1]);
  }
  for (const std::vector<double>& row : rows) {
    SCOPED_TRACE("P = " + Exact(row[kP]));
    EXPECT_NEAR(row[kV], row[kA] * row[kB] * row[kC], 1e-13 * row[kV]);
    const ScaleOutcome volume =
        RunScaleProgram({"--params", volumeFile, "--P", Exact(row[kP]), "--format", "csv"});
    ASSERT_EQ(volume.code, 0) << volume.err;
    EXPECT_NEAR(CsvRows(volume.out).at(0).at(2), row[kV], row[kSigV]);
  }
}

// The angles enter the volume as the cell's metric has them: a hexagonal
// cell takes one edge file twice, a monoclinic one its beta.
TEST_F(AxesCommand, AnglesGiveTheVolumeOfTheirCell) {
  const std::string edges = Write("edges.csv", kEdges);
  for (const std::string axis : {"a", "c"}) {
    ASSERT_EQ(
        RunScaleProgram({"fit", edges, "--axis", axis, "--params-out", Path(axis + ".json")}).code,
        0);
  }
  const double degrees = std::numbers::pi / 180.0;
  struct Case {
    std::vector<std::string> cell;
    double factor;
  };
  const std::string a = "a=" + Path("a.json"), c = "c=" + Path("c.json");
  const Case cases[] = {
      {{"--axis", a, "--axis", a, "--axis", c, "--gamma", "120"}, std::sin(120 * degrees)},
      {{"--axis", a, "--axis", c, "--axis", a, "--beta", "100.5"}, std::sin(100.5 * degrees)},
      {{"--axis", a, "--axis", a, "--axis", a, "--alpha", "60", "--beta", "60", "--gamma", "60"},
       1.0 / std::sqrt(2.0)},
  };
  for (const Case& k : cases) {
    std::vector<std::string> arguments{"axes", "--P", "3"};
    arguments.insert(arguments.end(), k.cell.begin(), k.cell.end());
    const ScaleOutcome run = RunScaleProgram(arguments);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<double> row = CsvRows(run.out).at(0);
    EXPECT_NEAR(row[kV], row[kA] * row[kB] * row[kC] * k.factor, 1e-13 * row[kV]) << run.out;
  }
}

TEST_F(AxesCommand, BadInputIsOneLineAndNothingWritten) {
  const std::string a = "a=" + Path("a.json");
  ASSERT_EQ(RunScaleProgram(
                {"fit", Write("edges.csv", kEdges), "--axis", "a", "--params-out", Path("a.json")})
                .code,
            0);
  const std::vector<Refusal> refusals{
      {{"--P", "1"}, "--axis: which axes?"},
      {{"--axis", "a", "--P", "1"}, "\"a\" is not NAME=FILE"},
      {{"--axis", "a=" + Path("none.json"), "--P", "1"}, "cannot open"},
      {{"--axis", a}, "--P: no pressure given"},
      {{"--axis", a, "--P", "1", "--gamma", "180"}, "--gamma: not between 0 and 180"},
      {{"--axis", a, "--P", "1", "--alpha", "20", "--beta", "20", "--gamma", "80"},
       "these angles close no cell"},
      {{"--axis", a, "--P", "-500"}, "axis a: P = -500 is beyond what"},
  };
  ExpectRefusals("axes", refusals);
}

}  // namespace
}  // namespace quorvane::cli
