#include "cli/eos_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/decimal_text.h"
#include "engine/state_point.h"

namespace quorvane::cli {
namespace {

struct Outcome {
  int code = -1;
  std::string out;
  std::string err;
};

Outcome RunEos(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  Outcome outcome;
  outcome.code = RunEosCommand(arguments, in, out, err);
  outcome.out = out.str();
  outcome.err = err.str();
  return outcome;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) parts.push_back(part);
  return parts;
}

// The data rows of a CSV table, each as its numbers (the converged column dropped).
std::vector<std::vector<double>> Numbers(const std::string& csv) {
  std::vector<std::vector<double>> rows;
  const std::vector<std::string> lines = Split(csv, '\n');
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::vector<double> row;
    for (const std::string& field : Split(lines[i], ',')) {
      if (field == "true" || field == "false") continue;
      const auto value = app::ParseDecimal(field);
      EXPECT_TRUE(value.has_value()) << field;
      row.push_back(value.value_or(-1.0));
    }
    rows.push_back(row);
  }
  return rows;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectRow(const std::vector<double>& row, const engine::WorkingPoint& p) {
  ASSERT_EQ(row.size(), 6u);
  const double want[] = {p.P, p.T, p.V, p.VoverV00, p.VT0, p.VoverVT0};
  for (int i = 0; i < 6; ++i) EXPECT_PRED2(SameBits, row[i], want[i]) << "column " << i;
}

engine::EosParameters StartUp() {
  engine::EosParameters p;
  engine::UpdateImpliedCoefficients(p);
  return p;
}

TEST(EosCommand, EachSinglePointPathPrintsTheEnginesStatePointExactly) {
  const engine::EosParameters p = StartUp();
  struct PathCase {
    std::vector<std::string> arguments;
    engine::WorkingPoint want;
  };
  const PathCase cases[] = {
      {{"--P", "10", "--T", "900", "--solver", "form"}, engine::StateFromPressure(p, 10.0, 900.0)},
      {{"--P", "10", "--T", "900"}, engine::SolveStateExactlyFromPressure(p, 10.0, 900.0).point},
      {{"--V", "9.1"}, engine::StateFromVolume(p, 9.1, 298.0)},
      {{"--V-over-V00", "0.93", "--T", "500"}, engine::StateFromVolumeOverV00(p, 0.93, 500.0)},
      {{"--VT0", "10.3", "--V", "9.5"}, engine::StateFromZeroPressureVolume(p, 10.3, 9.5)},
      {{"--V-over-VT0", "0.95", "--T", "1200"}, engine::StateFromVolumeOverVT0(p, 0.95, 1200.0)},
  };
  for (const PathCase& c : cases) {
    const Outcome outcome = RunEos(c.arguments);
    SCOPED_TRACE(c.arguments[0]);
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(outcome.err, "");
    const auto rows = Numbers(outcome.out);
    ASSERT_EQ(rows.size(), 1u);
    ExpectRow(rows[0], c.want);
  }
}

TEST(EosCommand, PrintsTheWholeStatePointWithItsHeader) {
  EXPECT_EQ(RunEos({"--P", "10", "--solver", "form"}).out,
            "P,T,V,V/V00,VT0,V/VT0,converged\n"
            "10,298,9.190194525163582,0.9190194525163582,10,0.9190194525163582,true\n");
  EXPECT_EQ(RunEos({"--V", "9", "--format", "tsv"}).out,
            "P\tT\tV\tV/V00\tVT0\tV/VT0\tconverged\n"
            "13.010144336152795\t298\t9\t0.9\t10\t0.9\ttrue\n");
  EXPECT_EQ(RunEos({"--V", "9", "--T", "298:299:1", "--format", "json"}).out,
            "[\n"
            "  {\"P\": 13.010144336152795, \"T\": 298, \"V\": 9, \"V/V00\": 0.9, \"VT0\": 10, "
            "\"V/VT0\": 0.9, \"converged\": true},\n"
            "  {\"P\": 13.0105328829374, \"T\": 299, \"V\": 9, \"V/V00\": 0.9, \"VT0\": "
            "10.000200002000012, \"V/VT0\": 0.8999820001799989, \"converged\": true}\n"
            "]\n");
}

TEST(EosCommand, WidthPrintsTheFormsFieldTexts) {
  EXPECT_EQ(RunEos({"--P", "0:10:5", "--width", "7"}).out,
            "P,T,V,V/V00,VT0,V/VT0,converged\n"
            "0.00000,298.000,10.0000,1.00000,10.0000,1.00000,true\n"
            "5.00000,298.000,9.55389,0.95539,10.0000,0.95539,true\n"
            "10.0000,298.000,9.19019,0.91902,10.0000,0.91902,true\n");
  EXPECT_EQ(RunEos({"--V", "9", "--width", "2", "--format", "json"}).out,
            "[\n  {\"P\": \"**\", \"T\": \"**\", \"V\": \"9.\", \"V/V00\": \"1.\", \"VT0\": "
            "\"**\", \"V/VT0\": \"1.\", \"converged\": true}\n]\n");
}

TEST(EosCommand, ReportsAnUnreachablePressure) {
  const Outcome single = RunEos({"--P", "-30"});
  EXPECT_EQ(single.code, 0);
  EXPECT_EQ(single.out, "P,T,V,V/V00,VT0,V/VT0,converged\n-30,298,10,1,10,1,false\n");
  EXPECT_EQ(single.err,
            "quorvane-eos: warning: the pressure -30 is not reached at T = 298; the search gave "
            "up and V is V(T,0)\n");

  const Outcome table = RunEos({"--P", "-30:-10:10", "--eos", "vinet"});
  EXPECT_EQ(table.err,
            "quorvane-eos: warning: 2 rows are not a state point (converged false): the pressure "
            "is not reached; V is V(T,0)\n");
  const std::vector<std::string> lines = Split(table.out, '\n');
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "-30,298,10,1,10,1,false");
  EXPECT_EQ(lines[3].substr(lines[3].rfind(',')), ",true");
}

struct SinglePointCase {
  const char* name;
  std::vector<std::string> arguments;
  int code;
  const char* converged;  // the row's last fields; "" when nothing is printed
  const char* err;
};

const SinglePointCase kSinglePointCases[] = {
    {"TinyTargetIsTheZeroPressureVolume", {"--P", "1e-12"}, 0, "true", ""},
    {"TinyTensionNeverAnswersANegativeVolume", {"--P", "-1e-12"}, 0, "true", ""},
    {"HugeTargetReachedExactly", {"--P", "1e9"}, 0, "true", ""},
    {"HugeTargetNotReachedByTheSearch",
     {"--P", "1e9", "--solver", "form"},
     0,
     "false",
     "quorvane-eos: warning: the pressure 1e+09 is not reached at T = 298; the search gave up "
     "and V is V(T,0)\n"},
    {"FormVolumeUnderflowsToZero",
     {"--eos", "m", "--Kp0", "0.0010000000474974513", "--P", "1e10", "--solver", "form"},
     0,
     "false",
     "quorvane-eos: warning: the pressure 1e+10 is not reached at T = 298; V is not above zero\n"},
    {"NoNumberForThePressure",
     {"--order", "4", "--Kpp0", "1e308", "--P", "1"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: the equation of state gives no number "
     "for the pressure\n"},
    {"NoZeroPressureVolume",
     {"--T", "1e308", "--P", "1"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: VT0 is not finite\n"},
    {"HotStateWithoutZeroPressureVolumeFromV",
     {"--eos",    "vinet", "--thermal", "mgd", "--volume-unit", "A3", "--Z",      "4",
      "--V0",     "67.85", "--K0",      "167", "--Kp0",         "6",  "--theta0", "170",
      "--gamma0", "2.97",  "--q",       "1.6", "--V",           "50", "--T",      "3000"},
     0,
     ",,true",
     ""},
    {"HotStateWithoutZeroPressureVolumeFromP",
     {"--eos",    "vinet", "--thermal", "mgd", "--volume-unit", "A3",  "--Z",      "4",
      "--V0",     "67.85", "--K0",      "167", "--Kp0",         "6",   "--theta0", "170",
      "--gamma0", "2.97",  "--q",       "1.6", "--P",           "135", "--T",      "4000"},
     0,
     ",,true",
     ""},
    {"TensionBeyondReachWithoutZeroPressureVolume",
     {"--eos",    "vinet", "--thermal", "mgd", "--volume-unit", "A3", "--Z",      "4",
      "--V0",     "67.85", "--K0",      "167", "--Kp0",         "6",  "--theta0", "170",
      "--gamma0", "2.97",  "--q",       "1.6", "--P",           "0",  "--T",      "4000"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: the pressure is not reached, and at "
     "this temperature no volume has zero pressure\n"},
    {"EinsteinNearAbsoluteZero",
     {"--thermal", "einstein", "--theta0", "1500", "--P", "10", "--T", "2"},
     0,
     "true",
     ""},
    {"EinsteinTensionNotReachedGivesZeroPressureVolume",
     {"--thermal", "einstein", "--P", "-60", "--T", "1000"},
     0,
     "10.172191075361594,1.0172191075361594,10.172191075361594,1,false",
     "quorvane-eos: warning: the pressure -60 is not reached at T = 1000; the search gave up and "
     "V is V(T,0)\n"},
    {"TaitAtItsSingularCoefficientIsTheLimit",
     {"--eos", "tait", "--order", "4", "--Kpp0", "-0.05", "--V", "9"},
     0,
     "12.974425414002559,298,9,0.9,10,0.9,true",
     ""},
    {"TaitOverflowingIsNoStatePoint",
     {"--eos", "tait", "--Kp0", "1e20", "--V", "9"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: P is not finite\n"},
    // The slope of the pressure at volumes whose square leaves the doubles.
    {"TextbookVolumesNearTenToThe200",
     {"--arithmetic", "textbook", "--V0", "1e200", "--P", "10"},
     0,
     "10,298,9.19019033909583e+199,0.9190190339095831,1e+200,0.9190190339095831,true",
     ""},
    {"TextbookVolumesNearTenToTheMinus200",
     {"--arithmetic", "textbook", "--V0", "1e-200", "--P", "10"},
     0,
     "10,298,9.19019033909583e-201,0.9190190339095831,1e-200,0.9190190339095831,true",
     ""},
    {"NoTemperatureWithoutExpansion",
     {"--alpha0", "0", "--alpha1", "0", "--VT0", "10", "--V", "10"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: T is not finite\n"},
    {"InfiniteTemperature",
     {"--alpha0", "0", "--VT0", "11", "--V", "10"},
     3,
     "",
     "quorvane-eos: these inputs determine no state point: T is not finite\n"},
};

class SinglePoints : public testing::TestWithParam<SinglePointCase> {};

TEST_P(SinglePoints, SayTruthfullyWhatTheRowHolds) {
  const SinglePointCase& c = GetParam();
  const Outcome outcome = RunEos(c.arguments);
  EXPECT_EQ(outcome.code, c.code);
  EXPECT_EQ(outcome.err, c.err);
  const std::string converged = c.converged;
  if (converged.empty()) {
    EXPECT_EQ(outcome.out, "");
  } else {
    EXPECT_TRUE(outcome.out.ends_with(converged + "\n")) << outcome.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SinglePoints, testing::ValuesIn(kSinglePointCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EosCommand, GridRunsThroughTheKnownQuantityAtEachTemperature) {
  const engine::EosParameters p = StartUp();
  const Outcome outcome = RunEos({"--P", "10:0:-5", "--T", "300:900:600", "--solver", "form"});
  const auto rows = Numbers(outcome.out);
  ASSERT_EQ(rows.size(), 6u);
  const double pressures[] = {10.0, 5.0, 0.0};
  for (int i = 0; i < 6; ++i) {
    ExpectRow(rows[i], engine::StateFromPressure(p, pressures[i % 3], i < 3 ? 300.0 : 900.0));
  }
}

TEST(EosCommand, PrintsNonFiniteResultsFlagged) {
  // Without thermal expansion, a V(T,0) other than V0 is reached at no temperature.
  EXPECT_EQ(RunEos({"--alpha0", "0", "--VT0", "11", "--V", "9:9.5:0.5"}).out,
            "P,T,V,V/V00,VT0,V/VT0,converged\n"
            "nan,inf,9,0.9,nan,nan,false\n"
            "nan,inf,9.5,0.95,nan,nan,false\n");
  EXPECT_EQ(RunEos({"--alpha0", "0", "--VT0", "11", "--V", "9:9.5:0.5", "--format", "json"}).out,
            "[\n  {\"P\": null, \"T\": null, \"V\": 9, \"V/V00\": 0.9, \"VT0\": null, \"V/VT0\": "
            "null, \"converged\": false},\n  {\"P\": null, \"T\": null, \"V\": 9.5, \"V/V00\": "
            "0.95, \"VT0\": null, \"V/VT0\": null, \"converged\": false}\n]\n");
  const Outcome murnaghan = RunEos({"--eos", "murnaghan", "--P", "-26:-25:1", "--solver", "form"});
  EXPECT_EQ(murnaghan.out,
            "P,T,V,V/V00,VT0,V/VT0,converged\n-26,298,nan,nan,10,nan,false\n"
            "-25,298,inf,inf,10,inf,false\n");
  EXPECT_EQ(murnaghan.err,
            "quorvane-eos: warning: 2 rows are not a state point (converged false): a value is "
            "infinite or not a number\n");
  // Without V(T,0) (hot gold, thermal pressure beyond the tensile limit) its
  // columns are empty, or null, and the row stands.
  const std::vector<std::string> hotGold = {
      "--eos",    "vinet", "--thermal", "mgd", "--volume-unit", "A3", "--Z",      "4",
      "--V0",     "67.85", "--K0",      "167", "--Kp0",         "6",  "--theta0", "170",
      "--gamma0", "2.97",  "--q",       "1.6", "--V",           "50", "--T",      "3000"};
  // The pressure's last digits follow the C library's exp and pow.
  const std::string hot = RunEos(hotGold).out;
  EXPECT_EQ(hot.rfind("P,T,V,V/V00,VT0,V/VT0,converged\n138.959559532652", 0), 0u) << hot;
  EXPECT_NE(hot.find(",3000,50,0.7369196757553428,,,true\n"), std::string::npos) << hot;
  std::vector<std::string> json = hotGold;
  json.insert(json.end(), {"--format", "json"});
  EXPECT_NE(RunEos(json).out.find("\"VT0\": null, \"V/VT0\": null, \"converged\": true"),
            std::string::npos);
  // The exact inversion gives V(T,0) for every target it cannot reach.
  EXPECT_EQ(RunEos({"--eos", "murnaghan", "--P", "-26"}).out,
            "P,T,V,V/V00,VT0,V/VT0,converged\n-26,298,10,1,10,1,false\n");
}

TEST(EosCommand, LargeTablesMatchTheRowByRowComputation) {
  const engine::EosParameters p = StartUp();
  const Outcome outcome =
      RunEos({"--P", "0:9.999:0.001", "--T", "300:1800:500", "--solver", "form"});
  ASSERT_EQ(outcome.code, 0);
  const auto rows = Numbers(outcome.out);
  ASSERT_EQ(rows.size(), 40000u);
  for (std::size_t i = 0; i < rows.size(); i += 997) {
    // The pressures are the decimals 0, 0.001, ..., 9.999 as written.
    const double P = static_cast<double>(i % 10000) / 1000.0;
    const double T = 300.0 + static_cast<double>(i / 10000) * 500.0;
    SCOPED_TRACE(i);
    ExpectRow(rows[i], engine::StateFromPressure(p, P, T));
  }
}

TEST(EosCommand, ReadsStatePointsFromStandardInputAndFiles) {
  const std::string csv = "T,P\n300,10\n900,-30\n";
  const Outcome fromStdin = RunEos({"--input", "-", "--solver", "form"}, csv);
  EXPECT_EQ(fromStdin.code, 0);
  EXPECT_EQ(fromStdin.err,
            "quorvane-eos: warning: 1 row is not a state point (converged false): the pressure is "
            "not reached; V is V(T,0)\n");
  const engine::EosParameters p = StartUp();
  const auto rows = Numbers(fromStdin.out);
  ASSERT_EQ(rows.size(), 2u);
  ExpectRow(rows[0], engine::StateFromPressure(p, 10.0, 300.0));
  EXPECT_NE(fromStdin.out.find(",false\n"), std::string::npos);

  const std::string path = testing::TempDir() + "quorvane_eos_points.csv";
  std::ofstream(path) << csv;
  EXPECT_EQ(RunEos({"--input", path, "--solver", "form"}).out, fromStdin.out);
  std::remove(path.c_str());
}

TEST(EosCommand, VolumesPrintedReadBackToTheSameState) {
  const Outcome first = RunEos({"--P", "0:100:12.5", "--T", "300:1500:600"});
  std::string csv = "V,T\n";
  for (const auto& row : Numbers(first.out)) {
    std::string line;
    app::AppendShortest(line, row[2]);
    line += ',';
    app::AppendShortest(line, row[1]);
    csv += line + '\n';
  }
  const Outcome second = RunEos({"--input", "-"}, csv);
  ASSERT_EQ(second.code, 0) << second.err;
  const auto before = Numbers(first.out);
  const auto after = Numbers(second.out);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    for (int column = 1; column < 6; ++column) {
      EXPECT_PRED2(SameBits, after[i][column], before[i][column]) << i << ' ' << column;
    }
    // The pressure of the volume found meets the search's tolerance.
    EXPECT_LE(std::fabs(after[i][0] - before[i][0]), 9.999999747378752e-06 * before[i][0]);
  }
}

struct ModelCase {
  const char* name;
  std::vector<std::string> model;
};

const ModelCase kModelCases[] = {
    {"TaitLinear", {"--eos", "tait", "--V0", "11.2", "--K0", "160", "--Kp0", "4.5"}},
    {"VinetDebyePerCell",
     {"--eos",    "vinet", "--thermal", "mgd", "--volume-unit", "A3",  "--Z",      "4",
      "--V0",     "74.7",  "--K0",      "160", "--Kp0",         "4.5", "--theta0", "760",
      "--gamma0", "1.45",  "--q",       "0.8", "--natoms",      "2"}},
    {"BirchMurnaghanEinstein",
     {"--eos", "bm", "--thermal", "einstein", "--V0", "11.25", "--K0", "160", "--theta0", "500",
      "--alpha0", "3"}},
    {"NaturalStrain4Fei",
     {"--eos", "ns", "--order", "4", "--thermal", "fei", "--Kpp0", "-0.03", "--alpha1", "1",
      "--alpha2", "-0.5"}},
};

class ModelRoundTrips : public testing::TestWithParam<ModelCase> {};

// A pressure gives a volume, and that volume gives the pressure back; at Tref
// and no pressure the volume is V0.
TEST_P(ModelRoundTrips, PressureToVolumeAndBack) {
  std::vector<std::string> arguments = GetParam().model;
  arguments.insert(arguments.end(), {"--Tref", "300"});
  std::vector<std::string> forward = arguments;
  forward.insert(forward.end(), {"--P", "0:60:20", "--T", "300:2100:900"});
  const Outcome first = RunEos(forward);
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.err, "");
  const auto before = Numbers(first.out);
  ASSERT_EQ(before.size(), 12u);
  EXPECT_EQ(before[0][3], 1.0);
  std::string csv = "V,T\n";
  for (const auto& row : before) {
    app::AppendShortest(csv, row[2]);
    csv += ',';
    app::AppendShortest(csv, row[1]);
    csv += '\n';
  }
  std::vector<std::string> backward = arguments;
  backward.insert(backward.end(), {"--input", "-"});
  const Outcome second = RunEos(backward, csv);
  ASSERT_EQ(second.code, 0) << second.err;
  const auto after = Numbers(second.out);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_LT(after[i][2], i % 4 == 0 ? after[i][2] * 2 : after[i - 1][2]) << i;
    // The volume whose pressure is nearest: off by the pressure of a rounding of V.
    EXPECT_NEAR(after[i][0], before[i][0], 1e-12 * 200.0) << i;
    for (int column = 1; column < 6; ++column) {
      EXPECT_PRED2(SameBits, after[i][column], before[i][column]) << i << ' ' << column;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Models, ModelRoundTrips, testing::ValuesIn(kModelCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The same crystal in cubic angstroms per cell of four formula units and in
// cm3/mol: the thermal pressure scales with the unit, the compression not.
TEST(EosCommand, ThermalPressureIsTheSameInEitherVolumeUnit) {
  const std::vector<std::string> material = {
      "--eos", "vinet",    "--thermal", "mgd",      "--K0", "160", "--Kp0",   "4.5", "--theta0",
      "760",   "--gamma0", "1.45",      "--natoms", "2",    "--P", "0:60:30", "--T", "2000"};
  std::vector<std::string> perCell = material;
  perCell.insert(perCell.end(), {"--volume-unit", "A3", "--Z", "4", "--V0", "74.7"});
  std::vector<std::string> molar = material;
  std::string V0;
  app::AppendShortest(V0, 74.7 * 0.602214076 / 4.0);
  molar.insert(molar.end(), {"--V0", V0});
  const auto cell = Numbers(RunEos(perCell).out);
  const auto mole = Numbers(RunEos(molar).out);
  ASSERT_EQ(cell.size(), 3u);
  ASSERT_EQ(mole.size(), cell.size());
  for (std::size_t i = 0; i < cell.size(); ++i) {
    EXPECT_NEAR(cell[i][3], mole[i][3], 1e-13) << i;
    EXPECT_GT(cell[i][3], i == 0 ? 1.0 : 0.0) << i;
  }
}

struct ErrorCase {
  const char* name;
  std::vector<std::string> arguments;
  std::string input;
  const char* message;
};

const ErrorCase kErrorCases[] = {
    {"NothingKnown",
     {},
     "",
     "give one of --P, --V, --V-over-V00, --VT0 (with --V), --V-over-VT0 or --input"},
    {"TwoKnown",
     {"--P", "1", "--V", "9"},
     "",
     "give only one of --P, --V, --V-over-V00, --VT0, --V-over-VT0"},
    {"UnknownOption",
     {"--pressure", "1"},
     "",
     "The following arguments were not expected: 1 --pressure"},
    {"StrayArgument", {"--P", "1", "2"}, "", "The following argument was not expected: 2"},
    {"MissingValue", {"--P"}, "", "--P: 1 required TEXT missing"},
    {"RepeatedOption", {"--P", "1", "--P", "2"}, "", "--P: At Most 1 required but received 2"},
    {"DecimalCommaInARange",
     {"--P", "0,5:10:1"},
     "",
     "--P: \"0,5:10:1\" mixes a list and a range; give one or the other"},
    {"EmptyRange",
     {"--T", "900:300:100", "--P", "1"},
     "",
     "--T: the range \"900:300:100\" is empty: its step leads away from the stop"},
    {"NonPositiveVolume", {"--V", "0"}, "", "--V: every value must be greater than zero"},
    {"RangeReachingZero",
     {"--V-over-VT0", "1:0:-0.5"},
     "",
     "--V-over-VT0: every value must be greater than zero"},
    {"TemperatureWithZeroPressureVolume",
     {"--VT0", "10", "--V", "9", "--T", "300"},
     "",
     "--T: the temperature follows from --VT0"},
    {"ZeroPressureVolumeWithoutVolume", {"--VT0", "10"}, "", "--VT0 needs --V, the volume held"},
    {"InputWithKnownQuantity",
     {"--input", "-", "--P", "1"},
     "P\n1\n",
     "--P: the known quantity comes from --input"},
    {"InputWithTemperatureRange",
     {"--input", "-", "--T", "1:2:1"},
     "P\n1\n",
     "--T: with --input give one temperature, or a T column in the file"},
    {"MissingFile",
     {"--input", "/nonexistent/points.csv"},
     "",
     "--input: cannot open \"/nonexistent/points.csv\""},
    {"DirectoryAsInput", {"--input", "/"}, "", "/: cannot be read"},
    {"BadCsvCell",
     {"--input", "-"},
     "P,T\n1,300\n2,3OO\n",
     "<stdin> line 3, column 2 (T): \"3OO\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"GridTooLarge",
     {"--P", "0:99999:1", "--T", "0:1000:1"},
     "",
     "the grid would have more than 100000000 rows"},
    {"UnknownFormat",
     {"--P", "1", "--format", "xml"},
     "",
     "--format: \"xml\" is not one of csv, tsv, json"},
    {"UnknownSolver",
     {"--P", "1", "--solver", "newton"},
     "",
     "--solver: \"newton\" is not one of exact, form"},
    {"WidthZero",
     {"--P", "1", "--width", "0"},
     "",
     "--width: \"0\" is not a whole number from 1 to 32"},
    {"WidthFraction",
     {"--P", "1", "--width", "7.5"},
     "",
     "--width: \"7.5\" is not a whole number from 1 to 32"},
    {"VinetOrder4",
     {"--eos", "vinet", "--order", "4", "--P", "1"},
     "",
     "--order 4: vinet is 2nd or 3rd order only"},
    {"TerminalControlsInAValue",
     {"--P", "\x1b]0;owned\x07\x1b[2J"},
     "",
     "--P: \"\\x1b]0;owned\\x07\\x1b[2J\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"NulInACsvField",
     {"--input", "-"},
     std::string("P,T\n1,3\0\n", 9),
     "<stdin> line 2, column 2 (T): \"3\\x00\" is not a decimal number (digits, one point, an "
     "optional exponent)"},
    {"HugeValueIsCut",
     {"--V0", std::string(100000, '9') + "x"},
     "",
     "--V0: \"999999999999999999999999999999999999999999999999999999999999...\" is not a "
     "decimal number (digits, one point, an optional exponent)"},
    {"UnknownThermalModel",
     {"--thermal", "debye", "--P", "1"},
     "",
     "--thermal: \"debye\" is not one of linear, berman, fei, einstein, mgd, holland-powell"},
    {"ParameterTheModelHasNot",
     {"--theta0", "500", "--P", "1"},
     "",
     "--theta0: the linear thermal model has no theta0"},
    {"ExpansionOfAThermalPressure",
     {"--thermal", "mgd", "--alpha1", "1", "--P", "1"},
     "",
     "--alpha1: the mgd thermal model has no alpha1"},
    {"ImpliedByTait",
     {"--eos", "t", "--Kpp0", "0.1", "--P", "1"},
     "",
     "--Kpp0: K''0 is implied by tait at order 3 and cannot be given"},
    {"CalculatorArithmeticOfTait",
     {"--eos", "tait", "--arithmetic", "calculator", "--P", "1"},
     "",
     "the calculator's arithmetic computes only the four classic equations with the linear "
     "thermal expansion"},
    {"UnknownArithmetic",
     {"--arithmetic", "single", "--P", "1"},
     "",
     "--arithmetic: \"single\" is not one of calculator, textbook"},
    {"UnknownVolumeUnit",
     {"--volume-unit", "nm3", "--P", "1"},
     "",
     "--volume-unit: \"nm3\" is not one of cm3/mol, A3"},
    {"FormulaUnitsOfMolarVolumes",
     {"--Z", "4", "--P", "1"},
     "",
     "--Z: give it with --volume-unit A3"},
    {"NoFormulaUnits",
     {"--thermal", "mgd", "--volume-unit", "A3", "--Z", "0", "--P", "1"},
     "",
     "Z must be a finite number above zero"},
    {"DebyeTemperatureZero",
     {"--thermal", "mgd", "--theta0", "0", "--P", "1"},
     "",
     "theta0 must be above zero"},
    {"ThermalPressureAtAbsoluteZero",
     {"--thermal", "einstein", "--P", "1", "--T", "0:300:100"},
     "",
     "--T: T = 0 must be above zero for the einstein thermal model"},
    {"ThermalPressureAtAbsoluteZeroInAList",
     {"--thermal", "mgd", "--V", "9", "--T", "300,0,2000"},
     "",
     "--T: T = 0 must be above zero for the mgd thermal model"},
    {"FeiExpansionAcrossAbsoluteZero",
     {"--thermal", "fei", "--alpha2", "1", "--V", "9", "--T", "100:-100:-100"},
     "",
     "--T: T = -100 must be above zero for the fei thermal model"},
    {"ThermalPressureAtAbsoluteZeroInAFile",
     {"--thermal", "mgd", "--input", "-"},
     "P,T\n1,300\n1,-5\n",
     "<stdin> line 3, column 2 (T): T = -5 must be above zero for the mgd thermal model"},
    {"FeiExpansionAtAbsoluteZeroInAFile",
     {"--thermal", "fei", "--input", "-"},
     "V,T\n9,300\n9,0\n",
     "<stdin> line 3, column 2 (T): T = 0 must be above zero for the fei thermal model"},
    {"FormsSearchOfATextbookModel",
     {"--arithmetic", "textbook", "--solver", "form", "--P", "1"},
     "",
     "--solver form: the form's search computes only the calculator's equations with the linear "
     "thermal model, in the calculator's arithmetic"},
    {"TemperatureFromVT0OfAnotherModel",
     {"--thermal", "berman", "--VT0", "10", "--V", "9"},
     "",
     "--VT0: V(T,0) gives a temperature only for the calculator's linear thermal model"},
    {"TemperatureFromAVT0ColumnOfAnotherModel",
     {"--eos", "tait", "--input", "-"},
     "VT0,V\n10,9\n",
     "<stdin> line 1 (VT0): V(T,0) gives a temperature only for the calculator's linear thermal "
     "model"},
    {"BandLevelOfOne",
     {"--P", "1", "--band", "1"},
     "",
     "--band: \"1\" is not a level between 0 and 1"},
    {"BandAsAPercentage",
     {"--P", "1", "--band", "68.3%"},
     "",
     "--band: \"68.3%\" is not a level between 0 and 1"},
    {"BandWithoutCovariance",
     {"--P", "1", "--band", "0.683"},
     "",
     "--band: needs a covariance, from a --params file that holds one"},
    {"IsentropeOfAnExpansionModel",
     {"--P", "0:10:5", "--isentrope"},
     "",
     "--isentrope: the linear thermal model has no entropy of its own; the isentrope is that of "
     "mgd"},
    {"IsentropeOverATemperatureRange",
     {"--thermal", "mgd", "--Tref", "300", "--P", "0:10:5", "--T", "300:600:300", "--isentrope"},
     "",
     "--isentrope: give one temperature, that of the first pressure, with --T"},
    {"MolarMassWithoutProperties",
     {"--P", "1", "--molar-mass", "40"},
     "",
     "--molar-mass: goes with --properties"},
    {"EinsteinAtomCountWithoutProperties",
     {"--thermal", "einstein", "--P", "1", "--natoms", "2"},
     "",
     "--natoms: goes with --properties"},
    {"NegativeMolarMass",
     {"--P", "1", "--properties", "--molar-mass", "-40"},
     "",
     "--molar-mass: \"-40\" is not a number above zero"},
    {"IsobarAndPressure",
     {"--isobar", "1", "--P", "2"},
     "",
     "--isobar: give either --isobar or --P"},
    {"TerminalControlsInAStrayArgument",
     {"--P", "1", "\x1b[2J"},
     "",
     "The following argument was not expected: \\x1b[2J"},
    {"TaitWithoutPressure",
     {"--eos", "tait", "--Kp0", "-1", "--V", "9"},
     "",
     "the Tait equation needs K'0 above -1"},
    {"TerminalControlsInAFileName",
     {"--input", "/nonexistent/\x1b[2J.csv"},
     "",
     "--input: cannot open \"/nonexistent/\\x1b[2J.csv\""},
};

class EosCommandErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(EosCommandErrors, ExitWithTwoAndOneLineAndNoOutput) {
  const ErrorCase& c = GetParam();
  const Outcome outcome = RunEos(c.arguments, c.input);
  EXPECT_EQ(outcome.code, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, std::string("quorvane-eos: ") + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(BadInput, EosCommandErrors, testing::ValuesIn(kErrorCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EosCommand, NegativeNumbersAreValuesNotOptions) {
  const Outcome outcome = RunEos({"--P", "-5", "--T", "-30:-10:20"});
  EXPECT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(Numbers(outcome.out).size(), 2u);
}

TEST(EosCommand, HelpListsTheOptionsUnitsExitCodesAndExamples) {
  const Outcome outcome = RunEos({"--help"});
  EXPECT_EQ(outcome.code, 0);
  for (const char* part : {"--V-over-VT0", "--version",
                           "Units:", "Exit codes:", "Examples:", "exact | form (default exact)",
                           "quorvane-eos fit DATA", "quorvane-eos scales", "quorvane-eos pressure",
                           "quorvane-eos rescale DATA",
                           "(default -0.02 as a single-precision number, -0.019999999552965164)"}) {
    EXPECT_NE(outcome.out.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(outcome.err, "");
  // Every example runs as printed (the input file aside).
  const std::string example = "  quorvane-eos ";
  const auto start = outcome.out.find(example) + example.size();
  const std::string line = outcome.out.substr(start, outcome.out.find('\n', start) - start);
  EXPECT_EQ(RunEos(Split(line, ' ')).code, 0) << line;
}

TEST(EosCommand, VersionIsTheProjects) {
  const Outcome outcome = RunEos({"--version"});
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.out, "quorvane-eos " QUORVANE_VERSION "\n");
  EXPECT_EQ(outcome.err, "");
}

}  // namespace
}  // namespace quorvane::cli
