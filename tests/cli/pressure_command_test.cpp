#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "scale_command_fixture.h"

namespace quorvane::cli {
namespace {

using PressureCommand = ScaleCommandTest;

// au-fei2007 without its covariance, as a user's own file: sigP is then
// only what sigV and sigT carry.
const char* kGoldWithout = R"({
  "format": "quorvane-eos-parameters", "version": 1, "eos": "vinet", "order": 3,
  "thermal": "mgd", "volume_unit": "A3", "Z": 4,
  "parameters": {"V0": 67.85, "K0": 167, "Kp0": KP, "Kpp0": 0, "Tref": 300,
                 "theta0": 170, "gamma0": G0, "q": Q, "natoms": 1}
})";

std::string Gold(const std::string& Kp, const std::string& g0, const std::string& q) {
  std::string text = kGoldWithout;
  text.replace(text.find("KP"), 2, Kp);
  text.replace(text.find("G0"), 2, g0);
  text.replace(text.find("Q,"), 1, q);
  return text;
}

// Every digit, so that the command reads back the very double.
std::string Exact(double x) {
  std::ostringstream text;
  text << std::setprecision(17) << x;
  return text.str();
}

double PressureOf(const std::string& scale, double V, double T) {
  const ScaleOutcome run =
      RunScaleProgram({"pressure", "--scale", scale, "--V", Exact(V), "--T", Exact(T)});
  EXPECT_EQ(run.code, 0) << run.err;
  return CsvRows(run.out).at(0).at(0);
}

// Every refusal is one line naming what is wrong, exit 2 and nothing written.
TEST_F(PressureCommand, BadInputIsOneLineAndNothingWritten) {
  const std::string noV = Write("noV.csv", "T\n300\n");
  const std::string negative = Write("negative.csv", "V,sigV\n60,0.01\n61,-0.01\n");
  const std::string negativeLine = Write("line.csv", "lambda,sigLambda\n700,-0.1\n");
  const std::string both = Write("both.csv", "V,acal\n100,3.9\n");
  const std::vector<Refusal> refusals{
      {{"--scale", "gold", "--V", "60"}, "no scale is named \"gold\"; known: au-dorfman2012, "},
      {{"--V", "60"}, "--scale: which scale?"},
      {{"--scale", "ruby-shen2020", "--lambda", "0"}, "lambda = 0 is not above zero"},
      {{"--scale", "ruby-shen2020", "--lambda", "700", "--lambda0", "-694"}, "lambda0 = -694"},
      {{"--scale", "ruby-shen2020", "--V", "60"}, "is a fluorescence gauge"},
      {{"--scale", "au-fei2007", "--lambda", "700"}, "is a volume scale"},
      {{"--scale", "au-fei2007", "--V", "60", "--T", "0"}, "T = 0 is not above zero"},
      {{"--scale", "au-fei2007", "--V", "-1"}, "V = -1 is not above zero"},
      {{"--scale", "au-fei2007", "--a", "0"}, "a is not above zero"},
      {{"--scale", "au-fei2007"}, "--V: no reading given"},
      {{"--scale", "au-fei2007", "--V", "60", "--a", "4"}, "give --V or --a, not both"},
      {{"--scale", "au-fei2007", "--V", "60", "--sigV", "-1"}, "not below zero"},
      {{"--scale", "au-fei2007", "--input", noV}, "V"},
      {{"--scale", "au-fei2007", "--V", "60", "--format", "xml"}, "not one of csv, tsv, json"},
      {{"--scale", Path("none.json"), "--V", "60"}, "cannot open the scale file"},
      {{"--scale", "au-fei2007", "--V", "50:70:1e-5"}, "more than 1000000 points"},
      // One rule for a standard deviation, wherever it comes from.
      {{"--scale", "au-fei2007", "--V", "60", "--sigV", "1e308"}, "gives no finite sigP"},
      {{"--scale", "au-fei2007", "--V", "1e-300"}, "gives no finite sigP"},
      {{"--scale", "ruby-shen2020", "--lambda", "700", "--sigT", "-1"}, "sigT = -1 is no"},
      {{"--scale", "au-fei2007", "--input", negative}, "negative.csv line 3: sigV = -0.01 is no"},
      {{"--scale", "ruby-shen2020", "--input", negativeLine},
       "line.csv line 2: sigLambda = -0.1 is no"},
      // The calibrant's reading is never guessed between candidates.
      {{"--scale", "au-fei2007", "--input", both}, "\"V\" and \"acal\" could each be"},
      {{"--scale", "au-fei2007", "--input", both, "--column", "lambda"}, "is no reading"},
      {{"--scale", "au-fei2007", "--V", "60", "--column", "V"}, "only with --input"},
      // A spacing is one reading among the others, of a cubic calibrant only.
      {{"--scale", "au-fei2007", "--d111", "2.2", "--d200", "1.9"}, "give one reading"},
      {{"--scale", "au-fei2007", "--d111", "2.2", "--a", "3.9"}, "give one reading"},
      {{"--scale", "au-fei2007", "--d111", "0"}, "d111 = 0 is not above zero"},
      {{"--scale", "au-fei2007", "--d111", "2.2", "--sigD", "-1"}, "sigD = -1 is no"},
      {{"--scale", "au-fei2007", "--a", "3.9", "--sigD", "0.1"}, "only with a spacing"},
      {{"--scale", "ruby-shen2020", "--d111", "2.2"}, "is a fluorescence gauge"},
      {{"--scale", "au-fei2007", "--d000", "2.2"}, "--d000"},
      {{"--scale", "au-fei2007", "--input", Write("d.csv", "d111,a\n2.2,3.9\n")},
       "\"a\" and \"d111\" could each be"},
      {{"--scale", "au-fei2007", "--input", Write("s.csv", "d111,sig_d111\n2.2,-1\n")},
       "sigd111 = -1 is no"},
      {{"--scale", "au-fei2007", "--input", Write("t.csv", "d111,D111 (A)\n2.2,2.2\n")},
       "\"d111\" appears twice"},
      {{"--scale", "pt-fei2007", "--input", Write("u.csv", "d111,d200\n2.2,1.9\n")},
       "\"d111\" and \"d200\" could each be"},
  };
  ExpectRefusals("pressure", refusals);
}

// sigP from sigV and sigT against central differences of the pressure the
// command itself prints, and the scale's own esds against differences of
// the pressure with each refined parameter moved (a user's file of each).
TEST_F(PressureCommand, PropagatedSigmaAgreesWithCentralDifferences) {
  const double V = 58.0, T = 1800.0, sigV = 0.03, sigT = 40.0, h = 1e-3;
  const std::string plain = Write("gold.json", Gold("6.0", "2.97", "0.6"));
  const ScaleOutcome run = RunScaleProgram(
      {"pressure", "--scale", plain, "--V", "58", "--T", "1800", "--sigV", "0.03", "--sigT", "40"});
  ASSERT_EQ(run.code, 0) << run.err;
  const double dPdV = (PressureOf(plain, V + h, T) - PressureOf(plain, V - h, T)) / (2 * h);
  const double dPdT = (PressureOf(plain, V, T + 1) - PressureOf(plain, V, T - 1)) / 2;
  const double expected = std::hypot(dPdV * sigV, dPdT * sigT);
  EXPECT_NEAR(CsvRows(run.out).at(0).at(1), expected, 1e-5 * expected);

  // The shipped scale's esds: Kp0 0.02, gamma0 0.03, q 0.3 (diagonal), in a
  // column of their own (sigP is the reading's alone).
  const ScaleOutcome shipped =
      RunScaleProgram({"pressure", "--scale", "au-fei2007", "--V", "58", "--T", "1800"});
  ASSERT_EQ(shipped.code, 0) << shipped.err;
  const double dKp = (PressureOf(Write("a.json", Gold("6.001", "2.97", "0.6")), V, T) -
                      PressureOf(Write("b.json", Gold("5.999", "2.97", "0.6")), V, T)) /
                     0.002;
  const double dg = (PressureOf(Write("c.json", Gold("6.0", "2.971", "0.6")), V, T) -
                     PressureOf(Write("d.json", Gold("6.0", "2.969", "0.6")), V, T)) /
                    0.002;
  const double dq = (PressureOf(Write("e.json", Gold("6.0", "2.97", "0.601")), V, T) -
                     PressureOf(Write("f.json", Gold("6.0", "2.97", "0.599")), V, T)) /
                    0.002;
  const double own =
      std::sqrt(std::pow(dKp * 0.02, 2) + std::pow(dg * 0.03, 2) + std::pow(dq * 0.3, 2));
  EXPECT_EQ(CsvRows(shipped.out).at(0).at(1), 0.0);
  EXPECT_NEAR(CsvRows(shipped.out).at(0).at(4), own, 1e-5 * own);
}

// A lattice parameter stands for its cube, an input file for the ranges,
// and readings beyond the calibrated range are computed, flagged and counted.
TEST_F(PressureCommand, LatticeParameterInputFileAndRange) {
  const ScaleOutcome cubic =
      RunScaleProgram({"pressure", "--scale", "pt-fei2007", "--a", "3.8", "--T", "300:3300:3000"});
  ASSERT_EQ(cubic.code, 0) << cubic.err;
  EXPECT_EQ(cubic.out.substr(0, cubic.out.find('\n')), "P,sigP,a,V,T,sigPscale,in_range");
  EXPECT_NE(cubic.out.find(",true\n"), std::string::npos);
  EXPECT_NE(cubic.out.find(",false\n"), std::string::npos);
  EXPECT_NE(cubic.err.find("1 row lies outside the range of pt-fei2007"), std::string::npos)
      << cubic.err;
  const std::vector<std::vector<double>> rows = CsvRows(cubic.out);
  EXPECT_EQ(rows.at(0).at(0), PressureOf("pt-fei2007", rows.at(0).at(3), 300));

  const std::string file =
      Write("lines.csv", "lambda (nm),T,sigLambda\n700,296,0.02\n720,500,0.02\n");
  const ScaleOutcome fromFile =
      RunScaleProgram({"pressure", "--scale", "ruby-shen2020", "--input", file});
  const ScaleOutcome fromRange = RunScaleProgram(
      {"pressure", "--scale", "ruby-shen2020", "--lambda", "700", "--sigLambda", "0.02"});
  ASSERT_EQ(fromFile.code, 0) << fromFile.err;
  EXPECT_EQ(CsvRows(fromFile.out).at(0), CsvRows(fromRange.out).at(0));
  EXPECT_EQ(CsvRows(fromFile.out).size(), 2u);
}

// Every documented reading column gives the pressure its option gives; with
// more than one candidate, --column says which is the calibrant's.
TEST_F(PressureCommand, EveryReadingColumnIsRead) {
  const auto first = [](const ScaleOutcome& run) { return CsvRows(run.out).at(0); };
  const ScaleOutcome byA =
      RunScaleProgram({"pressure", "--scale", "au-fei2007", "--a", "3.9", "--T", "1200"});
  const ScaleOutcome byV =
      RunScaleProgram({"pressure", "--scale", "au-fei2007", "--V", "58.5", "--T", "1200"});
  const ScaleOutcome byLambda =
      RunScaleProgram({"pressure", "--scale", "ruby-shen2020", "--lambda", "705"});
  struct Case {
    const char* scale;
    const char* file;
    std::vector<std::string> extra;
    const ScaleOutcome& same;
  };
  const Case cases[] = {
      {"au-fei2007", "a,T\n3.9,1200\n", {}, byA},
      {"au-fei2007", "acal,T\n3.9,1200\n", {}, byA},
      {"au-fei2007", "Vcal,T\n58.5,1200\n", {}, byV},
      {"au-fei2007", "V,sigV,acal,T\n100,0.2,3.9,1200\n", {"--column", "acal"}, byA},
      {"au-fei2007", "V,Vcal,T\n100,58.5,1200\n", {"--column", "Vcal"}, byV},
      {"ruby-shen2020", "V,lambda\n100,705\n", {}, byLambda},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"pressure", "--scale", c.scale, "--input",
                                       Write("readings.csv", c.file)};
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const ScaleOutcome run = RunScaleProgram(arguments);
    ASSERT_EQ(run.code, 0) << c.file << run.err;
    EXPECT_EQ(first(run).at(0), first(c.same).at(0)) << c.file;
  }
}

// A measured spacing gives back the pressure the calibrant's cell at that
// pressure has it at, by option and by file column, for reflections whose
// index sums differ; its sigma is the lattice parameter's scaled by the same
// factor, whatever the column of the sigma is called.
TEST_F(PressureCommand, SpacingGivesBackThePressureOfTheCell) {
  const double P = 50.0, sigD = 0.002;
  const ScaleOutcome cell = RunScaleProgram(
      {"cell", "--scale", "au-fei2007", "--P", "50", "--T", "2000", "--hkl", "111,200,-311"});
  ASSERT_EQ(cell.code, 0) << cell.err;
  const std::vector<double> row = CsvRows(cell.out).at(0);  // P,T,V,sigV,a,siga,d,sigd,...
  struct Case {
    const char* name;
    double sumOfSquares;
    double d;
  };
  const Case cases[] = {{"111", 3, row.at(6)}, {"200", 4, row.at(8)}, {"-311", 11, row.at(10)}};
  for (const Case& c : cases) {
    const std::string option = std::string("--d") + c.name;
    const ScaleOutcome byOption =
        RunScaleProgram({"pressure", "--scale", "au-fei2007", option, Exact(c.d), "--T", "2000",
                         "--sigD", Exact(sigD)});
    ASSERT_EQ(byOption.code, 0) << c.name << byOption.err;
    EXPECT_EQ(byOption.out.substr(0, byOption.out.find('\n')),
              std::string("P,sigP,d") + c.name + ",a,V,T,sigPscale,in_range");
    const std::vector<double> got = CsvRows(byOption.out).at(0);
    EXPECT_NEAR(got.at(0), P, 1e-9 * P) << c.name;
    EXPECT_NEAR(got.at(3), row.at(4), 1e-12 * row.at(4)) << c.name;

    const double sigA = sigD * std::sqrt(c.sumOfSquares);
    const ScaleOutcome byA =
        RunScaleProgram({"pressure", "--scale", "au-fei2007", "--a", Exact(got.at(3)), "--T",
                         "2000", "--sigA", Exact(sigA)});
    ASSERT_EQ(byA.code, 0) << byA.err;
    EXPECT_NEAR(got.at(1), CsvRows(byA.out).at(0).at(1), 1e-12 * got.at(1)) << c.name;

    for (const std::string sigma : {"sigd", "sig_d"}) {
      const std::string file =
          Write("spacings.csv", std::string("T,d") + c.name + " (A)," + sigma + c.name + "\n2000," +
                                    Exact(c.d) + "," + Exact(sigD) + "\n");
      const ScaleOutcome byFile =
          RunScaleProgram({"pressure", "--scale", "au-fei2007", "--input", file});
      ASSERT_EQ(byFile.code, 0) << c.name << byFile.err;
      EXPECT_EQ(CsvRows(byFile.out).at(0), got) << c.name << " " << sigma;
    }
  }
}

}  // namespace
}  // namespace quorvane::cli
