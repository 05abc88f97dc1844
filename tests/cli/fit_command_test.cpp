#include "cli/fit_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/decimal_text.h"
#include "app/input_error.h"
#include "app/output_files.h"
#include "cli/eos_command.h"
#include "cli/program_run.h"
#include "engine/isothermal_eos.h"
#include "params/json_text.h"

namespace quorvane::cli {
namespace {

namespace fs = std::filesystem;

class FitCommand : public ScratchFolderTest {
 protected:
  std::set<fs::path> Entries() const {
    std::set<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_))
      entries.insert(entry.path());
    return entries;
  }
};

// Points of a 3rd-order Birch-Murnaghan isotherm with a little scatter, as
// a user's file might hold them: units in the header, a note column, a
// comment and CRLF line ends.
const char* kMeasured =
    "# run 7\r\n"
    "P (GPa),V [A^3],sigP,sigV,note\r\n"
    "0.0001,163.702,0.0001,0.01,first\r\n"
    "1.12,161.61,0.02,0.01,\r\n"
    "2.31,159.51,0.02,0.01,\r\n"
    "3.48,157.63,0.02,0.01,\r\n"
    "4.95,155.42,0.02,0.01,\r\n"
    "6.17,153.74,0.02,0.01,\r\n"
    "7.72,151.71,0.02,0.01,\r\n"
    "9.05,150.08,0.02,0.01,last\r\n";

std::uint64_t Bits(double x) {
  return std::bit_cast<std::uint64_t>(x);
}

// The fitted set, through its parameter file, gives the table the fit's own
// calculated pressures to the last bit, at every measured volume.
TEST_F(FitCommand, ParameterFileReproducesTheFittedPressuresBitForBit) {
  const std::string data = Write("measured.csv", kMeasured);
  const std::string params = Path("fitted.json");
  const Outcome fit = RunProgram({"fit", "--format", "json", "--params-out", params, data});
  ASSERT_EQ(fit.code, 0) << fit.err;
  const params::Json report = params::ParseJson(fit.out);
  const params::Json& residuals = report.at("residuals");
  ASSERT_EQ(residuals.size(), 8u);
  for (const params::Json& residual : residuals) {
    const double V = residual.at("V").get<double>();
    std::string volume;
    app::AppendShortest(volume, V);
    const Outcome table = RunProgram({"--params", params, "--V", volume, "--format", "json"});
    ASSERT_EQ(table.code, 0) << table.err;
    const params::Json row = params::ParseJson(table.out).at(0);
    EXPECT_EQ(Bits(row.at("P").get<double>()), Bits(residual.at("P_calc").get<double>())) << V;
    // The file holds a covariance: the table adds the propagated sigma of P.
    EXPECT_GT(row.at("sigP").get<double>(), 0.0);
  }
  EXPECT_TRUE(report.at("converged").get<bool>());
  EXPECT_EQ(report.at("refined").size(), 3u);
  EXPECT_EQ(report.at("ff").at("points").size(), 8u);
}

// Bad input of every kind: exit 2, one line naming the cause, nothing on
// standard output and no parameter file.
TEST_F(FitCommand, RefusesBadInputWithOneLineAndNothingWritten) {
  struct Case {
    const char* name;
    std::string data;
    std::vector<std::string> options;
    const char* message;
  };
  const Case cases[] = {
      {"volume zero", "P,V\n1,160\n2,0\n3,158\n4,157\n", {}, "line 3, column 2: V must be"},
      {"sigma zero",
       "P,V,sigP\n1,160,0.1\n2,159,0\n3,158,0.1\n4,157,0.1\n",
       {},
       "line 3, column 3: a standard deviation must be"},
      {"not a number", "P,V\n1,160\n2,nan\n", {}, "line 3, column 2"},
      {"no V column", "P,Vol\n1,160\n", {}, "V"},
      {"too few points", "P,V\n1,160\n2,159\n", {}, "2 data points cannot determine 3"},
      {"implied K''0",
       "P,V\n1,160\n2,159\n3,158\n4,157\n",
       {"--refine", "V0,K0,Kpp0"},
       "K''0 is implied by birch-murnaghan at order 3"},
      {"unknown parameter", "P,V\n1,160\n", {"--refine", "V0,B0"}, "--refine: \"B0\""},
      {"bad format", "P,V\n1,160\n", {"--format", "xml"}, "--format"},
      {"a prior on a parameter held",
       kMeasured,
       {"--constrain", "Kp0=4:0.1,Kpp0=0:1"},
       "the constraint on K''0: it is not refined"},
      {"a prior without sigma", kMeasured, {"--constrain", "K0=84"}, "NAME=VALUE:SIGMA"},
      {"a prior with sigma 0", kMeasured, {"--constrain", "K0=84:0"}, "sigma = 0 must be"},
      {"a prior on no parameter", kMeasured, {"--constrain", "B0=84:1"}, "--constrain: \"B0\""},
      {"bounds crossed", kMeasured, {"--bounds", "Kp0=8:2"}, "lower limit 8 is not below"},
      {"bounds not numbers", kMeasured, {"--bounds", "Kp0=2:x"}, "--bounds: \"Kp0=2:x\""},
      {"a given start outside its bounds",
       kMeasured,
       {"--Kp0", "9", "--bounds", "Kp0=2:8"},
       "the start K'0 = 9 is not inside its bounds"},
      {"an unknown esd scaling", kMeasured, {"--esd-scaling", "maybe"}, "--esd-scaling"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"fit", "--params-out", Path("never.json")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.push_back(Write("bad.csv", c.data));
    const Outcome outcome = RunProgram(arguments);
    EXPECT_EQ(outcome.code, kExitBadInput) << c.name;
    EXPECT_EQ(outcome.out, "") << c.name;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.name << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.name;
    EXPECT_FALSE(fs::exists(Path("never.json"))) << c.name;
  }
  const Outcome unnamed = RunProgram({"fit", ""});
  EXPECT_EQ(unnamed.code, kExitBadInput);
  EXPECT_EQ(unnamed.err, "quorvane-eos fit: DATA: the data file name is empty\n");
}

// An output that may not be replaced is bad input: exit 2, one line naming
// it, nothing written, the data untouched. Plot names are refused before
// anything is drawn, so the stand-in for plots does not hide them.
TEST_F(FitCommand, RefusesOutputsItMayNotReplace) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    const char* message;
  };
  const std::string data = Write("measured.csv", kMeasured);
  const std::string readOnly = Write("read-only.json", "{}");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
  std::vector<Case> cases{
      {"the data file", {"fit", "--params-out", data, data}, "is the input file"},
      {"the data file spelled otherwise",
       {"fit", "--params-out", (dir_ / "." / "measured.csv").string(), data},
       "is the input file"},
      {"a read-only file", {"fit", "--params-out", readOnly, data}, "is read-only"},
      {"a folder", {"fit", "--params-out", dir_.string(), data}, "is a folder"},
      {"an empty parameter file name", {"fit", "--params-out", "", data}, "the file name is empty"},
      {"an empty plot prefix", {"fit", "--plot", "", data}, "--plot: the file name is empty"},
      {"a plot prefix naming a folder",
       {"fit", "--plot", Path("plots") + "/", data},
       "names a folder, not a file"},
      {"an empty table plot", {"--P", "0:10:1", "--plot", ""}, "--plot: the file name is empty"},
  };
#ifndef _WIN32
  fs::create_symlink("measured.csv", Path("link.json"));
  cases.push_back({"a link to the data file",
                   {"fit", "--params-out", Path("link.json"), data},
                   "is the input file"});
#endif
  const std::set<fs::path> before = Entries();
  for (const Case& c : cases) {
    const Outcome outcome = RunProgram(c.arguments);
    EXPECT_EQ(outcome.code, kExitBadInput) << c.name;
    EXPECT_EQ(outcome.out, "") << c.name;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.name << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.name;
    EXPECT_EQ(Entries(), before) << c.name;
    EXPECT_EQ(Read(data), kMeasured) << c.name;
    EXPECT_EQ(Read(readOnly), "{}") << c.name;
  }
  // Windows removes no read-only file.
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
}

// A point at a volume so large that 1 + 2f is 0 has no F: its row in the F-f
// table shows what it has and why the line passes it over, no -inf or -nan.
TEST_F(FitCommand, StrainTableMarksAPointWithoutF) {
  const std::string data =
      Write("far.csv", "P,V\n-1e-300,1e300\n1,9.9\n2,9.8\n3,9.72\n4,9.63\n5,9.55\n");
  const Outcome fit = RunProgram({"fit", "--V0", "10", "--refine", "K0,Kp0", data});
  ASSERT_EQ(fit.code, 0) << fit.err;
  const std::string table = fit.out.substr(fit.out.find("F-f ("));
  const std::string row = table.substr(table.find('\n', table.find("sigF")) + 1);
  EXPECT_EQ(row.substr(0, row.find('\n')),
            "         -0.5            0            -            -  left out: not a finite number");
  EXPECT_EQ(table.find("nan"), std::string::npos) << table;
  EXPECT_EQ(table.find("inf"), std::string::npos) << table;
}

// Two outputs naming one file, however spelled: the later would replace the
// earlier, so neither is written.
TEST_F(FitCommand, RefusesTwoOutputsNamingOneFile) {
  const std::string figure = Path("fit-isotherm.svg");
  const std::string spellings[] = {figure, (dir_ / "." / "fit-isotherm.svg").string(),
                                   (dir_ / "plots" / ".." / "fit-isotherm.svg").string()};
  fs::create_directory(Path("plots"));
  const std::set<fs::path> before = Entries();
  for (const std::string& other : spellings) {
    const std::vector<app::OutputFile> outputs{{"--plot", figure, "<svg/>"},
                                               {"--params-out", other, "{}"}};
    try {
      app::WriteOutputFiles(outputs, {});
      ADD_FAILURE() << other << " was written";
    } catch (const app::InputError& error) {
      EXPECT_NE(std::string(error.what()).find("is also written by --plot"), std::string::npos)
          << error.what();
    }
    EXPECT_EQ(Entries(), before) << other;
  }
}

// A parameter file that cannot be written (its folder is a file): exit 1,
// one line naming it, no results and nothing left behind.
TEST_F(FitCommand, FailedParameterFileWriteSaysWhich) {
  const std::string data = Write("measured.csv", kMeasured);
  const std::string target = data + "/fitted.json";
  const Outcome outcome = RunProgram({"fit", "--params-out", target, data});
  EXPECT_EQ(outcome.code, 1);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("quorvane-eos fit: --params-out: cannot write \"" + target, 0), 0u)
      << outcome.err;
  EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1);
  EXPECT_EQ(Entries().size(), 1u);
  EXPECT_EQ(Read(data), kMeasured);
}

// Data and requests with no sound answer: a fit that leaves the model's
// domain, data that cannot determine the parameters, standard deviations that
// cannot weight, and options at fault. Each fails (1) or is refused (2) with
// one line naming the cause, and writes nothing.
TEST_F(FitCommand, NeverReportsNonsenseAsAFit) {
  struct Case {
    const char* name;
    std::string data;
    std::vector<std::string> options;
    int code;
    const char* message;
  };
  const std::string growing = "P,V\n0,10\n1,10.1\n2,10.2\n3,10.3\n5,10.5\n";
  const std::string measured = kMeasured;
  const Case cases[] = {
      {"volume growing with pressure", growing, {}, 1, "K0 = -99.4"},
      {"a bulk modulus run to a limit of zero",
       measured,
       {"--bounds", "K0=0:1e9"},
       1,
       "ran to a limit where the model has no pressures (K0 must be above zero)"},
      {"start and data estimate both fail",
       growing,
       {"--V0", "10"},
       1,
       "; check the starting values; no results are given"},
      {"every point at P = 0",
       "P,V\n0,10\n0,9.9\n0,9.8\n0,9.7\n",
       {},
       2,
       "4 data points at 1 distinct pressure cannot determine 3"},
      {"every point at P = 1",
       "P,V,sigP\n1,10,0.1\n1,9.9,0.1\n1,9.8,0.1\n1,9.7,0.1\n",
       {},
       2,
       "at 1 distinct pressure"},
      {"pressures too close for K'0",
       "P,V\n1,10\n1,9.9\n1,9.8\n1.0000001,9.7\n1.0000002,9.6\n",
       {},
       2,
       "K'0 cannot be determined from these data"},
      {"sigmas whose squares underflow",
       "P,V,sigP,sigV\n0,10,1e-300,1e-300\n1,9.9,1e-300,1e-300\n2,9.8,1e-300,1e-300\n"
       "3,9.7,1e-300,1e-300\n",
       {},
       2,
       "point 1: its standard deviations (sigP = 1e-300, sigV = 1e-300) are too small"},
      {"a sigma whose square overflows",
       "P,V,sigV\n0,10,1e300\n1,9.9,1\n2,9.8,1\n3,9.7,1\n",
       {},
       2,
       "too large to weight by"},
      {"T(ref) out of range",
       measured,
       {"--Tref", "1e308"},
       2,
       "fit: --Tref: T(ref) = 1e+308 is out of range"},
      {"a temperature out of range",
       "P,V,T\n0,10,300\n1,9.9,1e200\n2,9.8,300\n3,9.7,300\n",
       {},
       2,
       "point 2: T = 1e+200 is out of range"},
      {"a parameter refined twice",
       measured,
       {"--refine", "V0,K0,V0"},
       2,
       "fit: --refine: V0 is named twice"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"fit", "--params-out", Path("never.json")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.push_back(Write("nonsense.csv", c.data));
    const Outcome outcome = RunProgram(arguments);
    EXPECT_EQ(outcome.code, c.code) << c.name << ": " << outcome.err;
    EXPECT_EQ(outcome.out, "") << c.name;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.name << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.name;
    EXPECT_FALSE(fs::exists(Path("never.json"))) << c.name;
  }
}

// Without sigmas the weights carry no unit: the esds reported (auto) must
// follow the pressures' unit, the same in GPa as in kbar, with the parameter
// file holding that covariance too.
TEST_F(FitCommand, UnitWeightEsdsDoNotDependOnThePressureUnit) {
  const char* rows[][2] = {{"0.0001", "163.702"}, {"1.12", "161.61"}, {"2.31", "159.51"},
                           {"3.48", "157.63"},    {"4.95", "155.42"}, {"6.17", "153.74"},
                           {"7.72", "151.71"},    {"9.05", "150.08"}};
  struct Unit {
    const char* name;
    double perGigapascal;
  };
  const Unit units[] = {{"GPa", 1.0}, {"kbar", 10.0}};
  params::Json esd[2];
  for (int u = 0; u < 2; ++u) {
    std::string csv = "P,V\n";
    for (const auto& row : rows) {
      app::AppendShortest(csv, *app::ParseDecimal(row[0]) * units[u].perGigapascal);
      csv += std::string(",") + row[1] + "\n";
    }
    const std::string params = Path(std::string(units[u].name) + ".json");
    const Outcome fit =
        RunProgram({"fit", "--format", "json", "--params-out", params, Write(units[u].name, csv)});
    ASSERT_EQ(fit.code, 0) << fit.err;
    const params::Json report = params::ParseJson(fit.out);
    EXPECT_EQ(report.at("covariance_scaling"), "chi2") << units[u].name;
    EXPECT_EQ(params::ParseJson(Read(params)).at("covariance"), report.at("covariance_reported"));
    esd[u] = report.at("esd_reported");
  }
  EXPECT_NEAR(esd[1].at("K0").get<double>(), 10.0 * esd[0].at("K0").get<double>(),
              1e-6 * esd[1].at("K0").get<double>());
  EXPECT_NEAR(esd[1].at("V0").get<double>(), esd[0].at("V0").get<double>(),
              1e-6 * esd[0].at("V0").get<double>());
}

// The parameter file holds the covariance the report gives, under the
// scaling applied, and says which, with the constraints in its provenance;
// the table reads it back. The example's chi2w/dof is 0.15: auto leaves it
// unscaled, until K'0 held at 4.5, away from its 5.0, raises it above 1.
TEST_F(FitCommand, ParameterFileHoldsTheCovarianceUnderTheScalingApplied) {
  struct Case {
    std::vector<std::string> options;
    const char* scaling;
    std::vector<std::string> atBound;
  };
  const Case cases[] = {
      {{}, "none", {}},
      {{"--esd-scaling", "always"}, "chi2", {}},
      {{"--esd-scaling", "never", "--constrain", "K0=84:0.5"}, "none", {}},
      {{"--bounds", "Kp0=2:4.5", "--bounds", "V0=150:170"}, "chi2", {"Kp0"}},
  };
  const std::string data = Write("measured.csv", kMeasured);
  for (const Case& c : cases) {
    const std::string params = Path("fitted.json");
    std::vector<std::string> arguments{"fit", "--format", "json", "--params-out", params};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    arguments.push_back(data);
    const Outcome fit = RunProgram(arguments);
    ASSERT_EQ(fit.code, 0) << c.scaling << ": " << fit.err;
    const params::Json report = params::ParseJson(fit.out);
    const params::Json file = params::ParseJson(Read(params));
    EXPECT_EQ(report.at("covariance_scaling"), std::string(c.scaling));
    EXPECT_EQ(file.at("covariance_scaling"), std::string(c.scaling));
    EXPECT_EQ(file.at("covariance"), report.at("covariance_reported"));
    EXPECT_EQ(file.at("provenance").at("esd_scaling"), report.at("esd_scaling"));
    EXPECT_EQ(report.at("at_bound").get<std::vector<std::string>>(), c.atBound);
    EXPECT_EQ(file.at("provenance").value("at_bound", std::vector<std::string>{}), c.atBound);
    EXPECT_EQ(file.at("provenance").contains("bounds"), !report.at("bounds").empty());
    EXPECT_EQ(file.at("provenance").contains("constraints"), !report.at("constraints").empty());
    const Outcome table = RunProgram({"--params", params, "--P", "0:10:5"});
    EXPECT_EQ(table.code, 0) << table.err;
  }
}

// A point far off the curve is named in both reports by its line in the
// file (comments and the header counted), not only by its place among the
// points; the measured file itself has none.
TEST_F(FitCommand, NamesOutliersByTheirLineInTheFile) {
  std::string shifted = kMeasured;
  shifted.replace(shifted.find("4.95,"), 5, "5.15,");
  const std::string files[] = {Write("measured.csv", kMeasured), Write("shifted.csv", shifted)};
  for (const std::string& data : files) {
    const Outcome text = RunProgram({"fit", data});
    const Outcome json = RunProgram({"fit", "--format", "json", data});
    ASSERT_EQ(text.code, 0) << text.err;
    ASSERT_EQ(json.code, 0) << json.err;
    const params::Json outliers = params::ParseJson(json.out).at("outliers");
    if (data == files[0]) {
      EXPECT_NE(text.out.find("outliers beyond 3 sigma: none\n"), std::string::npos);
      EXPECT_TRUE(outliers.empty());
      continue;
    }
    EXPECT_NE(text.out.find("outliers beyond 3 sigma: line 7, point 5 (P = 5.15, V = 155.42"),
              std::string::npos)
        << text.out;
    ASSERT_EQ(outliers.size(), 1u);
    EXPECT_EQ(outliers[0].at("line"), 7);
    EXPECT_EQ(outliers[0].at("point"), 5);
    EXPECT_GT(outliers[0].at("residual_over_sigma").get<double>(), 3.0);
  }
}

// A standard deviation may be missing from one column where another gives
// the point one: an empty field and 0 are the same, and fit exactly as the
// same file without the column's value. A point that no column weights, and
// a negative value, are refused with the line.
TEST_F(FitCommand, TakesEmptyOrZeroSigmaWhereAnotherColumnWeightsThePoint) {
  const std::string header = "P,V,sigP,sigV\n";
  const std::string rows[] = {"0.0001,163.702,,0.01\n",  "1.12,161.61,0.02,0.01\n",
                              "2.31,159.51,0.02,0.01\n", "3.48,157.63,0.02,0.01\n",
                              "4.95,155.42,0.02,0.01\n", "6.17,153.74,,0.01\n"};
  std::string empty = header, zero = header;
  for (const std::string& row : rows) {
    empty += row;
    std::string zeroed = row;
    // One character, not a literal: GCC 12 at -O2 takes inserting the literal
    // for an overlapping copy and warns (-Wrestrict, its bug 105651).
    if (const auto at = zeroed.find(",,"); at != std::string::npos) zeroed.insert(at + 1, 1, '0');
    zero += zeroed;
  }
  const Outcome fromEmpty = RunProgram({"fit", "--format", "json", Write("empty.csv", empty)});
  const Outcome fromZero = RunProgram({"fit", "--format", "json", Write("zero.csv", zero)});
  ASSERT_EQ(fromEmpty.code, 0) << fromEmpty.err;
  ASSERT_EQ(fromZero.code, 0) << fromZero.err;
  const params::Json a = params::ParseJson(fromEmpty.out), b = params::ParseJson(fromZero.out);
  EXPECT_EQ(a.at("parameters"), b.at("parameters"));
  EXPECT_EQ(a.at("residuals"), b.at("residuals"));
  EXPECT_TRUE(a.at("weighted").get<bool>());

  struct Case {
    const char* name;
    std::string data;
    const char* message;
  };
  const Case refused[] = {
      {"a point no column weights", header + rows[1] + "2.31,159.51,,0\n" + rows[3] + rows[4],
       "line 3, column 3: a standard deviation must be greater than zero in sigP, sigV or sigT"},
      {"a point with every field empty", header + rows[1] + rows[2] + "3.48,157.63,,\n" + rows[4],
       "line 4, column 3:"},
      {"a negative sigma", header + rows[1] + "2.31,159.51,0.02,-0.01\n" + rows[3],
       "line 3, column 4: a standard deviation must not be negative"},
  };
  for (const Case& c : refused) {
    const Outcome outcome = RunProgram({"fit", Write("refused.csv", c.data)});
    EXPECT_EQ(outcome.code, kExitBadInput) << c.name;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.name << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.name;
  }
}

// This test program links the stand-in for PNG images, as a build without
// Qt does: --plot still writes every figure as SVG, and a PNG asked for by
// name says it cannot be drawn and fails, printing no results.
TEST_F(FitCommand, PlotWithoutPngWritesSvgAndRefusesPng) {
  const Outcome fit = RunProgram({"fit", "--plot", Path("fit"), Write("measured.csv", kMeasured)});
  EXPECT_EQ(fit.code, 0) << fit.err;
  for (const char* figure : {"isotherm", "residuals", "residuals-V", "ff"}) {
    EXPECT_TRUE(std::filesystem::exists(Path("fit-") + figure + ".svg")) << figure;
    EXPECT_FALSE(std::filesystem::exists(Path("fit-") + figure + ".png")) << figure;
  }
  const Outcome table = RunProgram({"--P", "0:10:1", "--plot", Path("table.png")});
  EXPECT_EQ(table.code, 1);
  EXPECT_EQ(table.out, "");
  EXPECT_NE(table.err.find("PNG plots are not available in this build"), std::string::npos)
      << table.err;
  EXPECT_FALSE(std::filesystem::exists(Path("table.svg")));
}

}  // namespace
}  // namespace quorvane::cli
