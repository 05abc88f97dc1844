#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "scale_command_fixture.h"

namespace quorvane::cli {
namespace {

using RescaleCommand = ScaleCommandTest;

// Moving a data set to another scale and back returns its pressures and
// sigP, for volume scales and gauges, at room and high temperature.
TEST_F(RescaleCommand, ThereAndBackReturnsTheData) {
  struct Case {
    const char* from;
    const char* to;
    const char* data;
  };
  const Case cases[] = {
      {"au-fei2007", "au-dorfman2012",
       "P,sigP,V,T\n0.5,0.1,163,300\n20,0.2,140,300\n95,0.5,110,300\n"},
      {"pt-fei2007", "pt-dorfman2012", "P,sigP,V\n3,0.1,160\n60,0.4,120\n"},
      {"ruby-mao1986", "ruby-shen2020", "P,sigP,V\n1,0.05,160\n40,0.2,130\n79,0.3,112\n"},
      {"ruby-shen2020", "ruby-dewaele2008", "P,sigP,V,T\n0,0.05,160,296\n30,0.2,130,500\n"},
      {"nacl-b2-fei2007", "nacl-b2-fei2007", "P,sigP,V,T\n40,0.3,100,1500\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " to " + c.to);
    const std::string data = Write("data.csv", c.data);
    const std::string there = Path("there.csv");
    const ScaleOutcome out =
        RunScaleProgram({"rescale", data, "--from", c.from, "--to", c.to, "-o", there});
    ASSERT_EQ(out.code, 0) << out.err;
    const ScaleOutcome back = RunScaleProgram({"rescale", there, "--from", c.to, "--to", c.from});
    ASSERT_EQ(back.code, 0) << back.err;
    const std::vector<std::vector<double>> original = CsvRows(std::string(c.data));
    const std::vector<std::vector<double>> returned = CsvRows(back.out);
    ASSERT_EQ(returned.size(), original.size());
    for (std::size_t r = 0; r < original.size(); ++r) {
      for (std::size_t k = 0; k < original[r].size(); ++k) {
        EXPECT_NEAR(returned[r][k], original[r][k], 1e-9 * (1 + std::fabs(original[r][k])))
            << "row " << r << " column " << k;
      }
    }
  }
}

// The calibrant's own volume gives the pressure command's pressure; the
// message says which way was taken; refused data leave no output file.
TEST_F(RescaleCommand, CalibrantColumnAndRefusals) {
  const std::string data = Write("au.csv", "P,V,Vcal,sigVcal,T\n10,100,58.5,0.02,1200\n");
  const ScaleOutcome run =
      RunScaleProgram({"rescale", data, "--from", "au-dorfman2012", "--to", "au-fei2007"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("from the calibrant's Vcal column"), std::string::npos) << run.err;
  const ScaleOutcome direct = RunScaleProgram(
      {"pressure", "--scale", "au-fei2007", "--V", "58.5", "--T", "1200", "--sigV", "0.02"});
  EXPECT_EQ(CsvRows(run.out).at(0).at(0), CsvRows(direct.out).at(0).at(0));
  EXPECT_EQ(CsvRows(run.out).at(0).at(1), CsvRows(direct.out).at(0).at(1));

  const std::string none = Write("none.csv", "V,T\n100,300\n");
  struct Case {
    std::vector<std::string> arguments;
    const char* says;
  };
  const Case cases[] = {
      {{none, "--from", "au-fei2007", "--to", "au-dorfman2012"}, "nor P"},
      {{data, "--from", "au-fei2007", "--to", "pt-fei2007"}, "different calibrants"},
      {{data, "--from", "au-fei2007", "--to", "ruby-shen2020"}, "different calibrants"},
      {{data, "--from", "gold", "--to", "au-fei2007"}, "--from: no scale is named \"gold\""},
      {{Write("far.csv", "P\n400\n"), "--from", "ruby-mao1986", "--to", "ruby-shen2020",
        "--lambda0", "0"},
       "lambda0 is not above zero"},
      {{data, "--from", "au-fei2007", "--to", "au-dorfman2012", "-o", data}, "au.csv"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"rescale"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    arguments.insert(arguments.end(), {"-o", Path("out.csv")});
    if (c.arguments.back() == data && c.arguments.size() > 5)
      arguments.resize(arguments.size() - 2);
    const ScaleOutcome refused = RunScaleProgram(arguments);
    EXPECT_EQ(refused.code, kExitBadInput) << c.says;
    EXPECT_NE(refused.err.find(c.says), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(Path("out.csv"))) << c.says;
  }
  EXPECT_EQ(Read(data), "P,V,Vcal,sigVcal,T\n10,100,58.5,0.02,1200\n");
}

// A user moves a ruby-calibrated data set to the 2020 ruby scale and fits
// the result as it is.
TEST_F(RescaleCommand, TheMovedDataSetIsFittedDirectly) {
  const std::string data =
      Write("run.csv",
            "P,sigP,V,lambda\n0.1,0.05,163.6,694.28\n5.1,0.05,155.2,696.1\n10.3,0.06,149.1,698.0\n"
            "15.2,0.06,144.2,699.8\n20.4,0.07,139.9,701.6\n25.1,0.08,136.4,703.3\n30.2,0.08,133.2,"
            "705.1\n");
  const std::string moved = Path("moved.csv");
  const ScaleOutcome run = RunScaleProgram(
      {"rescale", data, "--from", "ruby-mao1986", "--to", "ruby-shen2020", "-o", moved});
  ASSERT_EQ(run.code, 0) << run.err;
  const ScaleOutcome fit = RunScaleProgram({"fit", moved});
  EXPECT_EQ(fit.code, 0) << fit.err;
  EXPECT_NE(fit.out.find("Converged"), std::string::npos) << fit.out;
}

// The numbers of a table's last line.
std::vector<double> LastRow(const std::string& table) {
  const std::size_t start = table.rfind('\n', table.size() - 2) + 1;
  return CsvNumbers(table.substr(start, table.size() - 1 - start));
}

// A point's sigP carries its measurement only, the scale's own esd stands in
// a column of its own (or is added on request); no --from is asked for where
// P is recomputed from the calibrant; an ambient row without a reading is
// kept; -o - is standard output; a negative sigma is refused by line.
TEST_F(RescaleCommand, MeasurementSigmaAmbientRowsAndStandardOutput) {
  const std::string data = Write("run.csv",
                                 "P,sigP,V,sigV,acal,sigAcal,T\n0,0.05,74.7,0.01,,,300\n"
                                 "30,0.1,68,0.01,3.85,0.0005,1500\n");
  const ScaleOutcome direct = RunScaleProgram(
      {"pressure", "--scale", "au-fei2007", "--a", "3.85", "--sigA", "0.0005", "--T", "1500"});
  ASSERT_EQ(direct.code, 0) << direct.err;
  const std::vector<double> expected = CsvRows(direct.out).at(0);

  const ScaleOutcome run = RunScaleProgram({"rescale", data, "--to", "au-fei2007", "-o", "-"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
            "P,sigP,V,sigV,T,acal,sigAcal,sigPscale,in_range");
  // The ambient row, kept with its P and its reading left empty.
  EXPECT_NE(run.out.find("\n0,0.05,74.7,0.01,300,,,0,true\n"), std::string::npos) << run.out;
  const std::vector<std::vector<double>> rows{{}, LastRow(run.out)};
  ASSERT_EQ(rows[1].size(), 8u);
  EXPECT_NE(run.err.find("1 row (line 2) without a calibrant reading kept"), std::string::npos)
      << run.err;
  EXPECT_EQ(rows[1][0], expected[0]);
  EXPECT_EQ(rows[1][1], expected[1]);  // the measurement's sigma only
  EXPECT_EQ(rows[1][7], expected[5]);  // the scale's, apart
  EXPECT_LT(rows[1][1], rows[1][7]);

  const ScaleOutcome added =
      RunScaleProgram({"rescale", data, "--to", "au-fei2007", "--add-scale-esd"});
  ASSERT_EQ(added.code, 0) << added.err;
  EXPECT_EQ(LastRow(added.out).at(1), std::hypot(expected[1], expected[5]));

  struct Case {
    std::string data;
    std::vector<std::string> options;
    const char* says;
  };
  const Case refusals[] = {
      {Write("neg.csv", "P,sigP,V\n10,0.1,60\n12,-0.1,59\n"),
       {"--from", "au-fei2007", "--to", "au-dorfman2012"},
       "neg.csv line 3, column 2: sigP = -0.1 is no"},
      {Write("negV.csv", "P,sigP,V,sigV\n10,0.1,60,-0.01\n"),
       {"--from", "au-fei2007", "--to", "au-dorfman2012"},
       "negV.csv line 2, column 4: sigV = -0.01 is no"},
      {Write("noP.csv", "P,sigP,V\n10,0.1,60\n"), {"--to", "au-dorfman2012"}, "--from:"},
  };
  for (const Case& c : refusals) {
    std::vector<std::string> arguments{"rescale", c.data};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const ScaleOutcome refused = RunScaleProgram(arguments);
    EXPECT_EQ(refused.code, kExitBadInput) << c.says;
    EXPECT_TRUE(refused.out.empty()) << c.says;
    EXPECT_NE(refused.err.find(c.says), std::string::npos) << refused.err;
  }
}

// "-o -" names standard output, never a file called "-" (looked for in a
// folder of the test's own, made the working one for the run).
TEST_F(RescaleCommand, DashOutputIsStandardOutput) {
  const std::string data = Write("data.csv", "P,sigP,V\n10,0.1,60\n");
  const std::filesystem::path was = std::filesystem::current_path();
  std::filesystem::current_path(dir_);
  const ScaleOutcome run = RunScaleProgram(
      {"rescale", data, "--from", "au-fei2007", "--to", "au-dorfman2012", "-o", "-"});
  const bool dashFile = std::filesystem::exists(dir_ / "-");
  std::filesystem::current_path(was);
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_FALSE(dashFile);
  EXPECT_EQ(CsvRows(run.out).size(), 1u);
}

}  // namespace
}  // namespace quorvane::cli
