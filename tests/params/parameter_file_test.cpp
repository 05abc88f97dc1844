#include "params/parameter_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

#include "models/model_catalogue.h"

namespace quorvane::params {
namespace {

using models::Parameter;

ParameterFile FittedFile() {
  ParameterFile file;
  models::Model& m = file.model = models::DefaultModel(
      models::Equation::NaturalStrain, 4, models::Thermal::Linear, models::Arithmetic::Calculator);
  // Values whose shortest text has 17 digits, a subnormal and a negative zero.
  m[Parameter::V0] = std::nextafter(163.7, 200.0);
  m[Parameter::K0] = 0.1 + 0.2;
  m[Parameter::Kp0] = 4.000000000000001;
  m[Parameter::Kpp0] = -0.071;
  m[Parameter::alpha0] = 4.9406564584124654e-324;
  m[Parameter::alpha1] = -0.0;
  m[Parameter::dKdT] = -0.019999999552965164;
  m[Parameter::Tref] = 298.15;
  file.refined = {Parameter::V0, Parameter::K0};
  file.covariance = {{1e-300, -2.5e-303}, {-2.5e-303, 1.0 / 3.0}};
  file.provenance = ProvenanceJson({"quorvane-eos 6.0.0", "run \"7\"\\\n.csv", 12.25, 17, true});
  return file;
}

std::uint64_t Bits(double x) {
  return std::bit_cast<std::uint64_t>(x);
}

// What the fit writes is what the table reads: every number bit for bit, so
// the tables reproduce the fitted pressures exactly.
TEST(ParameterFile, ReadsBackWhatItWroteBitForBit) {
  const ParameterFile written = FittedFile();
  const ParameterFile read = ReadParameterFile(WriteParameterFile(written), "fitted.json");
  const models::Model& a = written.model;
  const models::Model& b = read.model;
  EXPECT_EQ(b.equation, a.equation);
  EXPECT_EQ(b.order, a.order);
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    EXPECT_EQ(Bits(b.values[i]), Bits(a.values[i])) << models::Info(static_cast<Parameter>(i)).name;
  }
  EXPECT_EQ(read.refined, written.refined);
  for (std::size_t i = 0; i < 2; ++i) {
    for (std::size_t j = 0; j < 2; ++j) {
      EXPECT_EQ(Bits(read.covariance[i][j]), Bits(written.covariance[i][j]));
    }
  }
  EXPECT_TRUE(read.covarianceScaled);
  EXPECT_EQ(read.provenance, written.provenance);
}

// The fit's file as it has always been written, then one file for each other
// thermal model and for the Tait equation, each in the writer's own layout.
const char* const kWrittenFiles[] = {
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "birch-murnaghan",
  "order": 3,
  "parameters": {"V0": 163.69102222793828, "K0": 84.38900630294415, "Kp0": 4.890881128647494, "Kpp0": -0.06604461166335908, "alpha0": 2, "alpha1": 0, "dKdT": -0.019999999552965164, "Tref": 298},
  "refined": ["V0", "K0", "Kp0"],
  "covariance": [
    [3.431450815073683e-05, -0.0009209459400476712, 0.00020102806411239184],
    [-0.0009209459400476712, 0.09994140036683145, -0.03022963244489657],
    [0.00020102806411239184, -0.03022963244489657, 0.010181267380375008]
  ],
  "covariance_scaling": "chi2",
  "provenance": {"program": "quorvane-eos 6.0.0", "data": "docs/examples/isothermal.csv", "chi2w": 5.938629724258532, "dof": 10, "converged": true}
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "birch-murnaghan",
  "order": 4,
  "thermal": "berman",
  "parameters": {"V0": 74.68, "K0": 160.2, "Kp0": 4.1, "Kpp0": -0.025, "alpha0": 2.5, "alpha1": 1.2, "dKdT": -0.021, "Tref": 300},
  "refined": ["V0", "K0", "alpha1"]
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "natural-strain",
  "order": 4,
  "thermal": "fei",
  "parameters": {"V0": 11.25, "K0": 127, "Kp0": 4.6, "Kpp0": -0.04, "alpha0": 3.1, "alpha1": 0.9, "alpha2": -0.35, "dKdT": -0.018, "Tref": 298.15},
  "refined": ["alpha2"]
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "murnaghan",
  "order": 3,
  "thermal": "einstein",
  "parameters": {"V0": 22.4, "K0": 90, "Kp0": 5.2, "alpha0": 3.5, "Tref": 298, "theta0": 410},
  "refined": ["K0", "theta0"]
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "tait",
  "order": 4,
  "thermal": "mgd",
  "volume_unit": "A3",
  "Z": 4,
  "parameters": {"V0": 67.85, "K0": 167, "Kp0": 5.9, "Kpp0": -0.035, "Tref": 300, "theta0": 170, "gamma0": 2.89, "q": 1.54, "natoms": 1},
  "refined": ["gamma0", "q"],
  "provenance": {"data": "gold.csv"}
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "birch-murnaghan",
  "order": 4,
  "arithmetic": "textbook",
  "parameters": {"V0": 10, "K0": 100, "Kp0": 4, "Kpp0": -0.04, "alpha0": 2, "alpha1": 0, "dKdT": -0.02, "Tref": 298},
  "refined": []
}
)",
    R"({
  "format": "quorvane-eos-parameters",
  "version": 1,
  "eos": "tait",
  "order": 4,
  "parameters": {"V0": 40, "K0": 250, "Kp0": 4.3, "Kpp0": -0.02, "alpha0": 2.2, "alpha1": 0.4, "dKdT": -0.03, "Tref": 298},
  "refined": ["Kpp0"]
}
)",
};

// A file of the calculator's models keeps its bytes; every other model keeps
// its keys and exactly the values it uses.
TEST(ParameterFile, WritesBackEveryModelsFileByteForByte) {
  for (const char* text : kWrittenFiles) {
    EXPECT_EQ(WriteParameterFile(ReadParameterFile(text, "model.json")), text);
  }
}

const char* kValid = R"({"format": "quorvane-eos-parameters", "version": 1,
  "eos": "birch-murnaghan", "order": 3,
  "parameters": {"V0": 10, "K0": 160, "Kp0": 4, "Kpp0": 0, "alpha0": 2, "alpha1": 0,
                 "dKdT": 0, "Tref": 298},
  "refined": ["V0", "K0", "Kp0"], "covariance": [[1, 0, 0], [0, 1, 0], [0, 0, 1]],
  "covariance_scaling": "chi2", "note": {"ignored": [1, 2]}})";

std::string Replaced(const std::string& from, const std::string& to, std::string text = kValid) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "not in the file: " << from;
    return text;
  }
  return text.replace(at, from.size(), to);
}

// Hand edits that must be refused with the file named and the fault said on
// one line, and the edits a reader takes in its stride.
TEST(ParameterFile, RefusesBrokenFilesAndNamesTheFault) {
  struct Case {
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {Replaced("quorvane-eos-parameters", "other"), "\"format\" is not"},
      {Replaced("\"version\": 1", "\"version\": 2"), "version 2 is not supported"},
      {Replaced("\"version\": 1", "\"version\": 1.5"), "version 1.5 is not supported"},
      {Replaced("birch-murnaghan", "birch"), "\"eos\" is not one of"},
      {Replaced("\"order\": 3", "\"order\": 5"), "\"order\" is not 2, 3 or 4"},
      {Replaced("\"eos\": \"birch-murnaghan\", \"order\": 3", "\"eos\": \"vinet\", \"order\": 4"),
       "vinet is not offered at order 4"},
      {Replaced("\"V0\": 10", "\"V0\": 1e999"), "number out of the range"},
      {Replaced("\"V0\": 10", "\"V0\": -1e-400"), "number out of the range"},
      {Replaced("\"V0\": 10", "\"V0\": NaN"), "not valid JSON"},
      {Replaced("\"V0\": 10", "\"V0\": \"10\""), "\"V0\" is not a number"},
      {Replaced("\"V0\": 10, ", ""), "\"parameters\" has no \"V0\""},
      {Replaced("\"K0\": 160", "\"K0\": 0"), "\"K0\" is below the calculator's floor"},
      {Replaced("\"V0\": 10", "\"V0\": -163.69"), "\"V0\" is below the calculator's floor"},
      {Replaced("\"K0\": 160", "\"K0\": -160"), "\"K0\" is below the calculator's floor"},
      {Replaced("\"Kp0\": 4", "\"Kp0\": -0.0001"), "\"Kp0\" is below the calculator's floor"},
      {Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]", "[[1, 0], [0, 1]]"), "3 x 3 matrix"},
      {Replaced("\"refined\": [\"V0\", \"K0\", \"Kp0\"], ", ""), "not a 0 x 0 matrix"},
      {Replaced("[0, 0, 1]]", "[0, 0, -1]]"), "negative variance of Kp0"},
      {Replaced("[[1, 0, 0], [0, 1, 0]", "[[1, 0.5, 0], [0, 1, 0]"),
       "not symmetric: the entries of V0 and K0 differ"},
      // A variance four orders too small for its covariances: sigV came out nan.
      {Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]", "[[1e-4, -1, 0], [-1, 0.1, 0], [0, 0, 0.01]]"),
       "the covariance of V0 and K0 exceeds what their variances allow"},
      {Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]", "[[0, 1e-300, 0], [1e-300, 1, 0], [0, 0, 1]]"),
       "the covariance of V0 and K0 exceeds"},
      // Every correlation within -1..1, yet V0 - K0 - K'0 would have a negative variance.
      {Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]",
                "[[1, 0.9, 0.9], [0.9, 1, -0.9], [0.9, -0.9, 1]]"),
       "a combination of the parameters has a negative variance"},
      {Replaced("\"Kp0\"]", "\"K0\"]"), "names K0 twice"},
      {Replaced("\"Kp0\"]", "\"Kp\"]"), "unknown parameter"},
      // 3rd order implies K''0: refined, it gave sigV three times too large.
      {Replaced("\"Kp0\"]", "\"Kpp0\"]"), "names Kpp0, which birch-murnaghan implies at order 3"},
      {Replaced("\"refined\": [", "\"order\": 2, \"refined\": ["),
       "names Kp0, which birch-murnaghan implies at order 2"},
      {Replaced("\"Kp0\"]", "\"theta0\"]"),
       "names theta0, which birch-murnaghan with the linear thermal model does not use"},
      {Replaced("\"refined\": [\"V0\", \"K0\", \"Kp0\"]", "\"refined\": \"V0\""),
       "\"refined\" is not a list"},
      {Replaced("\"chi2\"", "\"scaled\""), "\"covariance_scaling\" is not"},
      {Replaced("\"covariance_scaling\": \"chi2\", ", ""), "has no \"covariance_scaling\""},
      {Replaced("\"note\"", "\"provenance\": \"fit\", \"note\""),
       "\"provenance\" is not an object"},
      {Replaced("[1, 2]}}", "[1, 2]}"), "not valid JSON: line 6"},
      {Replaced("\"order\": 3,", "\"order\": 3, \"thermal\": \"debye\","),
       "\"thermal\" is not one of linear, berman, fei, einstein, mgd, holland-powell"},
      // A thermal model's values with the wrong "thermal", or with none.
      {Replaced("\"order\": 3,", "\"order\": 3, \"thermal\": \"mgd\","),
       "has \"alpha0\", which birch-murnaghan with the mgd thermal model does not use"},
      {Replaced("298}", "298, \"theta0\": 700}"), "has \"theta0\", which birch-murnaghan with"},
      {Replaced("\"order\": 3,", "\"order\": 3, \"arithmetic\": \"float\","),
       "\"arithmetic\" is not"},
      {Replaced("\"birch-murnaghan\"", "\"tait\", \"arithmetic\": \"calculator\""),
       "\"arithmetic\": the calculator's arithmetic computes only"},
      {Replaced("\"order\": 3,", "\"order\": 3, \"volume_unit\": \"nm3\","),
       "\"volume_unit\" is not"},
      {Replaced("\"order\": 3,", "\"order\": 3, \"volume_unit\": \"A3\","), "\"A3\" has no \"Z\""},
      {Replaced("\"order\": 3,", "\"order\": 3, \"Z\": 4,"),
       "\"Z\" is given without \"volume_unit\": \"A3\""},
      {Replaced("\"Z\": 4", "\"Z\": 0", kWrittenFiles[4]), "Z must be a finite number above zero"},
      {Replaced("410", "-410", kWrittenFiles[3]), "theta0 must be above zero"},
      {Replaced("\"Tref\": 300", "\"Tref\": 0", kWrittenFiles[4]), "Tref must be above zero"},
      {Replaced("[1, 2]", std::string(100000, '[')), "nested too deeply"},
      {kValid + std::string(kMaxParameterFileBytes, ' '), "too large for a parameter file"},
  };
  for (const Case& c : cases) {
    try {
      ReadParameterFile(c.text, "edited.json");
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const ParameterFileError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.rfind("edited.json: ", 0), 0u) << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
      EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
  }
  const ParameterFile read = ReadParameterFile(kValid, "edited.json");
  EXPECT_EQ(read.model[Parameter::K0], 160.0);
  // 3rd order implies K''0, whatever the file says.
  EXPECT_EQ(read.model[Parameter::Kpp0], -3.8888888359069824 / 160.0);
  // A key given twice counts once, with its last value.
  EXPECT_EQ(ReadParameterFile(Replaced("\"K0\": 160", "\"K0\": 1, \"K0\": 160"), "edited.json")
                .model[Parameter::K0],
            160.0);
  const std::string accepted[] = {
      // The calculator's floor binds only its own arithmetic.
      Replaced("\"order\": 3,", "\"order\": 3, \"arithmetic\": \"textbook\",",
               Replaced("\"V0\": 10", "\"V0\": 0.0001")),
      // JSON has one kind of number: 1.0 is version 1.
      Replaced("\"version\": 1", "\"version\": 1.0"),
      // null is as if absent.
      Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]", "null"),
      Replaced("\"note\"", "\"provenance\": null, \"note\""),
      // The K'0 that 2nd order implies replaces the file's, whatever it is.
      Replaced("\"order\": 3", "\"order\": 2",
               Replaced("\"Kp0\": 4", "\"Kp0\": 0",
                        Replaced(", \"Kp0\"], \"covariance\"", "], \"covariance\": null, \"x\""))),
      // Asymmetry and indefiniteness within rounding.
      Replaced("[[1, 0, 0], [0, 1, 0]", "[[1, 1e-12, 0], [0, 1, 0]"),
      Replaced("[[1, 0, 0], [0, 1, 0], [0, 0, 1]]",
               "[[1, 0.99999999999, 0], [0.99999999999, 1, 0], [0, 0, 1]]"),
  };
  for (const std::string& text : accepted) {
    EXPECT_NO_THROW(ReadParameterFile(text, "edited.json")) << text;
  }
}

}  // namespace
}  // namespace quorvane::params
