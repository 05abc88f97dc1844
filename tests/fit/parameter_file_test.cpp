#include "fit/parameter_file.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>

namespace quorvane::fit {
namespace {

ParameterFile FittedFile() {
  ParameterFile file;
  engine::EosParameters& p = file.parameters;
  p.type = engine::EosType::NaturalStrain;
  p.order = 4;
  // Values whose shortest text has 17 digits, a subnormal and a negative zero.
  p.V0 = std::nextafter(163.7, 200.0);
  p.K0 = 0.1 + 0.2;
  p.Kp0 = 4.000000000000001;
  p.Kpp0 = -0.071;
  p.alpha0 = 4.9406564584124654e-324;
  p.alpha1 = -0.0;
  p.dKdT = -0.019999999552965164;
  p.Tref = 298.15;
  file.refined = {models::Parameter::V0, models::Parameter::K0};
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
  const engine::EosParameters& a = written.parameters;
  const engine::EosParameters& b = read.parameters;
  EXPECT_EQ(b.type, a.type);
  EXPECT_EQ(b.order, a.order);
  for (auto field : {&engine::EosParameters::V0, &engine::EosParameters::K0,
                     &engine::EosParameters::Kp0, &engine::EosParameters::Kpp0,
                     &engine::EosParameters::alpha0, &engine::EosParameters::alpha1,
                     &engine::EosParameters::dKdT, &engine::EosParameters::Tref}) {
    EXPECT_EQ(Bits(b.*field), Bits(a.*field));
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
      {Replaced("\"refined\": [\"V0\", \"K0\", \"Kp0\"]", "\"refined\": \"V0\""),
       "\"refined\" is not a list"},
      {Replaced("\"chi2\"", "\"scaled\""), "\"covariance_scaling\" is not"},
      {Replaced("\"covariance_scaling\": \"chi2\", ", ""), "has no \"covariance_scaling\""},
      {Replaced("\"note\"", "\"provenance\": \"fit\", \"note\""),
       "\"provenance\" is not an object"},
      {Replaced("[1, 2]}}", "[1, 2]}"), "not valid JSON: line 6"},
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
  EXPECT_EQ(read.parameters.K0, 160.0);
  // 3rd order implies K''0, whatever the file says.
  EXPECT_EQ(read.parameters.Kpp0, -3.8888888359069824 / 160.0);
  const std::string accepted[] = {
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
}  // namespace quorvane::fit
