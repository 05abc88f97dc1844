#include "app/property_columns.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "cli/request_options.h"
#include "models/isentrope.h"
#include "models/model_pressure.h"
#include "models/thermodynamic_properties.h"
#include "params/property_uncertainty.h"
#include "program_run.h"

namespace quorvane::cli {
namespace {

const std::vector<std::string> kMgO = {
    "--eos",  "bm",  "--thermal", "mgd", "--V0",     "11.248", "--K0", "160.2", "--Kp0",    "3.99",
    "--Tref", "300", "--theta0",  "773", "--gamma0", "1.524",  "--q",  "1.65",  "--natoms", "2"};

std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more) {
  base.insert(base.end(), more.begin(), more.end());
  return base;
}

// A CSV table as its header and its rows of fields.
struct Table {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;

  double Number(std::size_t row, const std::string& column) const {
    for (std::size_t c = 0; c < header.size(); ++c) {
      if (header[c] == column) return std::strtod(rows[row][c].c_str(), nullptr);
    }
    ADD_FAILURE() << "no column " << column;
    return 0.0;
  }
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  return fields;
}

Table ReadTable(const std::string& csv) {
  std::stringstream lines(csv);
  std::string line;
  Table table;
  std::getline(lines, line);
  table.header = Fields(line);
  while (std::getline(lines, line)) table.rows.push_back(Fields(line));
  return table;
}

models::Model ModelOf(const std::vector<std::string>& arguments) {
  return RequestFromOptions(app::ReadCommandLine(arguments)).model;
}

constexpr double kMolarMass = 40.3;

struct ColumnCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* columns;
  std::optional<double> einsteinAtoms;
};

const ColumnCase kColumnCases[] = {
    {"Linear",
     {"--eos", "bm", "--V0", "11", "--P", "0:20:10", "--T", "300:900:600"},
     "KT,Kp,alpha,dKdT",
     std::nullopt},
    {"FeiWithMolarMass",
     {"--eos", "v", "--thermal", "fei", "--alpha2", "-0.3", "--V", "10:11:0.5", "--T", "700",
      "--molar-mass", "40.3"},
     "KT,Kp,alpha,dKdT,rho",
     std::nullopt},
    {"Einstein",
     {"--eos", "bm", "--thermal", "einstein", "--theta0", "400", "--Tref", "300", "--P", "0:30:30",
      "--T", "1500"},
     "KT,Kp,alpha,Pth",
     std::nullopt},
    {"EinsteinWithAtoms",
     {"--eos", "v", "--thermal", "einstein", "--theta0", "400", "--Tref", "300", "--alpha0", "3",
      "--P", "0:30:30", "--T", "150:1500:1350", "--natoms", "5", "--molar-mass", "40.3"},
     "KT,Kp,alpha,Pth,CV,gamma,CP,KS,rho,Vphi",
     5.0},
    {"MgdWithMolarMass",
     With(kMgO, {"--V", "11:8:-1", "--T", "300:3500:1600", "--molar-mass", "40.3"}),
     "KT,Kp,alpha,Pth,CV,gamma,CP,KS,rho,Vphi", std::nullopt},
};

class PropertyColumns : public testing::TestWithParam<ColumnCase> {};

// The columns a model defines and no other, each value the model's own
// property at the row's V and T to the last bit, the same in JSON.
TEST_P(PropertyColumns, HoldTheModelsPropertiesAtEachRow) {
  const ColumnCase& c = GetParam();
  const std::vector<std::string> arguments = With(c.arguments, {"--properties"});
  const Outcome csv = RunProgram(arguments);
  ASSERT_EQ(csv.code, 0) << csv.err;
  const Table table = ReadTable(csv.out);
  std::string header;
  for (std::size_t i = 6; i + 1 < table.header.size(); ++i) {
    header += (header.empty() ? "" : ",") + table.header[i];
  }
  EXPECT_EQ(header, c.columns);
  const models::Model model = ModelOf(arguments);
  const app::PropertySet set =
      app::PropertiesOf(RequestFromOptions(app::ReadCommandLine(arguments)));
  ASSERT_GT(table.rows.size(), 1u);
  for (std::size_t row = 0; row < table.rows.size(); ++row) {
    const double V = table.Number(row, "V");
    const double T = table.Number(row, "T");
    const models::ThermodynamicProperties p = models::PropertiesAt(model, V, T, c.einsteinAtoms);
    const std::map<std::string, double> expected = {
        {"KT", p.KT}, {"Kp", p.Kp},       {"alpha", p.alpha}, {"dKdT", p.dKdT}, {"Pth", p.Pth},
        {"CV", p.CV}, {"gamma", p.gamma}, {"CP", p.CP},       {"KS", p.KS}};
    for (const app::Property property : set.Columns()) {
      const std::string name = app::kPropertyNames[static_cast<int>(property)];
      if (property == app::Property::rho) {
        EXPECT_EQ(table.Number(row, name), kMolarMass / V) << row;
        continue;
      }
      if (property == app::Property::Vphi) {
        EXPECT_EQ(table.Number(row, name), std::sqrt(p.KS / (kMolarMass / V))) << row;
        continue;
      }
      EXPECT_EQ(table.Number(row, name), expected.at(name)) << name << " row " << row;
    }
  }
  const Outcome json = RunProgram(With(arguments, {"--format", "json"}));
  ASSERT_EQ(json.code, 0);
  std::string first = table.rows[0][6];
  EXPECT_NE(json.out.find("\"" + table.header[6] + "\": " + first), std::string::npos);
  EXPECT_NE(json.out.find("\"" + table.header[table.header.size() - 2] + "\": "),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Models, PropertyColumns, testing::ValuesIn(kColumnCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The temperatures of the isentrope through the first pressure, and the
// volumes the search finds at them.
TEST(Isentrope, ListsTheTemperaturesThroughTheFirstPressure) {
  const std::vector<std::string> arguments =
      With(kMgO, {"--isentrope", "--P", "0:100:25", "--T", "1600", "--properties"});
  const Outcome outcome = RunProgram(arguments);
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const Table table = ReadTable(outcome.out);
  ASSERT_EQ(table.rows.size(), 5u);
  const models::Model model = ModelOf(arguments);
  EXPECT_EQ(table.Number(0, "T"), 1600.0);
  const double V0 = table.Number(0, "V");
  const double entropy = models::Entropy(model, V0, 1600.0);
  for (std::size_t row = 1; row < table.rows.size(); ++row) {
    const double P = 25.0 * static_cast<double>(row);
    EXPECT_EQ(table.Number(row, "P"), P);
    // From V0 rather than the neighbour's volume Newton's method may stop an ulp away.
    const double T = models::IsentropeAt(model, V0, 1600.0, P, V0).T;
    EXPECT_NEAR(table.Number(row, "T"), T, 1e-13 * T) << row;
    EXPECT_NEAR(models::Entropy(model, table.Number(row, "V"), table.Number(row, "T")), entropy,
                1e-10 * entropy);
    // Along the isentrope theta/T, and so C_V, stays as it was.
    EXPECT_NEAR(table.Number(row, "CV"), table.Number(0, "CV"), 1e-12 * table.Number(0, "CV"));
  }
}

// --isobar and --isochore are the grid held at one P or V, to the character.
TEST(Paths, IsobarAndIsochoreAreTheGridWithOneValueHeld) {
  const std::vector<std::string> temperatures = {"--T", "300:3300:500", "--properties"};
  EXPECT_EQ(RunProgram(With(kMgO, With({"--isobar", "50"}, temperatures))).out,
            RunProgram(With(kMgO, With({"--P", "50"}, temperatures))).out);
  const Outcome isochore = RunProgram(With(kMgO, With({"--isochore", "9.5"}, temperatures)));
  EXPECT_EQ(isochore.out, RunProgram(With(kMgO, With({"--V", "9.5"}, temperatures))).out);
  const Table table = ReadTable(isochore.out);
  EXPECT_EQ(table.Number(0, "Pth"), 0.0);
  for (std::size_t row = 1; row < table.rows.size(); ++row) {
    EXPECT_GT(table.Number(row, "Pth"), table.Number(row - 1, "Pth")) << row;
    EXPECT_EQ(table.Number(row, "P") - table.Number(0, "P"), table.Number(row, "Pth")) << row;
  }
}

class PropertySigmas : public ScratchFolderTest {};

// With a covariance each property has its sigma, at a known P the volume
// moving with the parameters.
TEST_F(PropertySigmas, FollowEachPropertyFromTheCovariance) {
  const std::string file = Write("mgo.json", R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "birch-murnaghan",
  "order": 3,
  "thermal": "mgd",
  "parameters": {"V0": 11.248, "K0": 160.2, "Kp0": 3.99, "Kpp0": -0.0250, "Tref": 300, "theta0": 773, "gamma0": 1.524, "q": 1.65, "natoms": 2},
  "refined": ["K0", "Kp0", "gamma0"],
  "covariance": [[9, -0.25, 0], [-0.25, 0.01, 0], [0, 0, 0.0025]],
  "covariance_scaling": "none"
})");
  for (const char* known : {"--P", "--V"}) {
    const std::vector<std::string> arguments = {"--params", file,   known,         "9.5",
                                                "--T",      "2000", "--properties"};
    const Outcome outcome = RunProgram(arguments);
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    const Table table = ReadTable(outcome.out);
    const app::EosRequest request = RequestFromOptions(app::ReadCommandLine(arguments));
    const params::PropertyUncertainties s = params::PropertyUncertaintiesAt(
        request.model, *request.covariance, table.Number(0, "V"), 2000.0,
        std::string(known) == "--P", std::nullopt, std::nullopt);
    const std::map<std::string, double> expected = {
        {"sig_KT", s.KT}, {"sig_Kp", s.Kp},       {"sig_alpha", s.alpha}, {"sig_Pth", s.Pth},
        {"sig_CV", s.CV}, {"sig_gamma", s.gamma}, {"sig_CP", s.CP},       {"sig_KS", s.KS}};
    for (const auto& [name, sigma] : expected) {
      EXPECT_EQ(table.Number(0, name), sigma) << name << " " << known;
      EXPECT_GT(sigma, 0.0) << name << " " << known;
    }
  }
}

}  // namespace
}  // namespace quorvane::cli
