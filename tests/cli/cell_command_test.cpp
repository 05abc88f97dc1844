#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "scale_command_fixture.h"

namespace quorvane::cli {
namespace {

using CellCommand = ScaleCommandTest;

std::string Exact(double x) {
  std::ostringstream text;
  text << std::setprecision(17) << x;
  return text.str();
}

std::string Header(const std::string& csv) {
  return csv.substr(0, csv.find('\n'));
}

// P and the scale's own sigma of it from the pressure command.
struct Pressure {
  double P;
  double sigPscale;
};
Pressure PressureAt(const std::string& scale, double V, double T) {
  const ScaleOutcome run =
      RunScaleProgram({"pressure", "--scale", scale, "--V", Exact(V), "--T", Exact(T)});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "P,sigP,V,T,sigPscale,in_range");
  const std::vector<double> row = CsvRows(run.out).at(0);
  return {row.at(0), row.at(4)};
}

// Columns P, T, V, sigV, a, siga, then d and sigd of each reflection.
enum Column { kP, kT, kV, kSigV, kA, kSigA, kFirstSpacing };

// The cell the command gives is the one the pressure command reads back:
// V returns P, a is V's cube root, each d is a / sqrt(h^2 + k^2 + l^2) as
// Bragg's law for a cubic cell has it, and sigV is the scale's own sigPscale over
// |dP/dV| (central differences of the pressure command's own P).
TEST_F(CellCommand, SpacingsFollowBraggFromTheVolumeThatGivesThePressureBack) {
  struct Case {
    const char* scale;
    double P, T;
  };
  const Case cases[] = {
      {"au-fei2007", 50, 2000}, {"au-fei2007", 0, 300},       {"pt-dorfman2012", 120, 300},
      {"mgo-ye2017", 30, 1500}, {"ne-fei2007", 80, 1000},     {"nacl-b2-fei2007", 40, 300},
      {"pt-fei2007", 10, 2500}, {"au-tsuchiya2003", 25, 800},
  };
  const double norms[] = {std::sqrt(3.0), 2.0, std::sqrt(8.0), std::sqrt(11.0), std::sqrt(3.0)};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scale) + " at " + Exact(c.P) + " GPa, " + Exact(c.T) + " K");
    const ScaleOutcome run = RunScaleProgram({"cell", "--scale", c.scale, "--P", Exact(c.P), "--T",
                                              Exact(c.T), "--hkl", "111,200,220,311,-111"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Header(run.out),
              "P,T,V,sigV,a,siga,d111,sigd111,d200,sigd200,d220,sigd220,d311,sigd311,d-111,"
              "sigd-111,in_range");
    const std::vector<double> row = CsvRows(run.out).at(0);
    const double V = row[kV], a = row[kA];
    const Pressure back = PressureAt(c.scale, V, c.T);
    EXPECT_NEAR(back.P, c.P, 1e-9 * std::max(1.0, c.P));
    EXPECT_NEAR(a * a * a, V, 1e-14 * V);
    EXPECT_NEAR(row[kSigA], a * row[kSigV] / (3.0 * V), 1e-15 * a);
    for (std::size_t k = 0; k < std::size(norms); ++k) {
      EXPECT_NEAR(row[kFirstSpacing + 2 * k], a / norms[k], 1e-15 * a);
      EXPECT_NEAR(row[kFirstSpacing + 2 * k + 1], row[kSigA] / norms[k], 1e-15 * a);
    }
    const double h = 1e-4 * V;
    const double dPdV =
        (PressureAt(c.scale, V + h, c.T).P - PressureAt(c.scale, V - h, c.T).P) / (2.0 * h);
    EXPECT_NEAR(row[kSigV], back.sigPscale / std::fabs(dPdV), 1e-5 * row[kSigV] + 1e-15);
  }
}

// Gold on the scale of Fei et al. (2007) at 50 GPa and 2000 K, computed apart
// from this program: the Vinet isotherm and Mie-Grueneisen-Debye thermal
// pressure of the shipped parameters, the Debye function by Simpson's rule
// on 200000 intervals, V by bisection to the last bit, in Python.
TEST_F(CellCommand, GoldAtFiftyGigapascalsAndTwoThousandKelvinMatchesAnIndependentComputation) {
  const ScaleOutcome run = RunScaleProgram(
      {"cell", "--scale", "au-fei2007", "--P", "50", "--T", "2000", "--hkl", "111,200,220"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::vector<double> row = CsvRows(run.out).at(0);
  const double expected[] = {58.705771791670415, 3.8865142762818525, 2.2438800636206513,
                             1.9432571381409263, 1.3740902999686124};
  const double got[] = {row[kV], row[kA], row[kFirstSpacing], row[kFirstSpacing + 2],
                        row[kFirstSpacing + 4]};
  for (std::size_t k = 0; k < std::size(expected); ++k) {
    EXPECT_NEAR(got[k], expected[k], 1e-12 * expected[k]) << k;
  }
}

// An input file of states gives the rows the ranges give, in JSON too.
TEST_F(CellCommand, InputFileGivesTheRowsOfTheRanges) {
  const std::string file = Write("states.csv", "P (GPa),T (K)\n0,300\n60,300\n0,1300\n60,1300\n");
  const ScaleOutcome fromFile =
      RunScaleProgram({"cell", "--scale", "pt-fei2007", "--input", file, "--hkl", "111"});
  const ScaleOutcome fromRanges = RunScaleProgram(
      {"cell", "--scale", "pt-fei2007", "--P", "0:60:60", "--T", "300:1300:1000", "--hkl", "111"});
  ASSERT_EQ(fromFile.code, 0) << fromFile.err;
  ASSERT_EQ(fromRanges.code, 0) << fromRanges.err;
  EXPECT_EQ(fromFile.out, fromRanges.out);
  EXPECT_EQ(CsvRows(fromFile.out).size(), 4u);
  const ScaleOutcome json = RunScaleProgram(
      {"cell", "--scale", "pt-fei2007", "--P", "60", "--hkl", "200", "--format", "json"});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"d200\": "), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"sigd200\": "), std::string::npos) << json.out;
}

// A face-centred calibrant shows only reflections with h, k, l all odd or all
// even, a primitive one every reflection; a spacing asked for or read of
// another is computed with a warning, since indexing a line as one is a
// mistake. The sign of an index does not change its parity.
TEST_F(CellCommand, ReflectionsTheLatticeExtinguishesAreWarnedOf) {
  const struct {
    std::vector<std::string> arguments;
    const char* absent;  // empty: no warning
  } cases[] = {
      {{"cell", "--scale", "au-fei2007", "--P", "10", "--hkl", "111,200,220,311,-1-11"}, ""},
      {{"cell", "--scale", "ne-fei2007", "--P", "10", "--hkl", "100,111,110,210"}, "100, 110, 210"},
      {{"cell", "--scale", "mgo-ye2017", "--P", "10", "--hkl", "-100,002"}, "-100"},
      {{"cell", "--scale", "nacl-b2-fei2007", "--P", "40", "--hkl", "100,110"}, ""},
      {{"pressure", "--scale", "au-fei2007", "--d110", "2.7", "--T", "300"}, "110"},
      {{"pressure", "--scale", "au-fei2007", "--d-3-1-1", "1.2", "--T", "300"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[2] + " " + c.arguments.back());
    const ScaleOutcome run = RunScaleProgram(c.arguments);
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string absent = c.absent;
    if (absent.empty()) {
      EXPECT_EQ(run.err.find("shows no reflection"), std::string::npos) << run.err;
    } else {
      EXPECT_NE(run.err.find("shows no reflection " + absent + "; computed all the same"),
                std::string::npos)
          << run.err;
    }
  }
}

// Every refusal is one line naming what is wrong, exit 2 and nothing written.
TEST_F(CellCommand, BadInputIsOneLineAndNothingWritten) {
  const std::string both = Write("states.csv", "P\n10\n");
  const std::vector<Refusal> refusals{
      {{"--P", "10"}, "--scale: which scale?"},
      {{"--scale", "ruby-shen2020", "--P", "10"}, "is a fluorescence gauge: it has no cell"},
      {{"--scale", "au-fei2007"}, "--P: no pressure given"},
      {{"--scale", "au-fei2007", "--P", "10", "--hkl", "11"}, "--hkl: \"11\" is no reflection"},
      {{"--scale", "au-fei2007", "--P", "10", "--hkl", "111,000"}, "\"000\" is no reflection"},
      {{"--scale", "au-fei2007", "--P", "10", "--hkl", "1111"}, "\"1111\" is no reflection"},
      {{"--scale", "au-fei2007", "--P", "10", "--hkl", "1-1"}, "\"1-1\" is no reflection"},
      {{"--scale", "au-fei2007", "--P", "10", "--T", "0"}, "--T: T = 0 is not above zero"},
      {{"--scale", "au-fei2007", "--P", "-500"}, "does not reach that pressure"},
      {{"--scale", "au-fei2007", "--P", "10", "--input", both}, "--P: the states come from"},
      {{"--scale", "au-fei2007", "--P", "0:100:1e-5"}, "more than 1000000 points"},
  };
  ExpectRefusals("cell", refusals);
}

}  // namespace
}  // namespace quorvane::cli
