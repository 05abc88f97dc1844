#include "app/parameter_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/input_error.h"

namespace quorvane::app {
namespace {

using engine::EosParameters;
using engine::EosType;

EosParameters ParametersOf(const std::vector<std::string>& arguments) {
  return ParametersFromOptions(ReadCommandLine(arguments));
}

std::string RefusalOf(const std::vector<std::string>& arguments) {
  try {
    ParametersOf(arguments);
  } catch (const InputError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(ParameterOptions, DefaultToTheCalculatorsStartUpSet) {
  const EosParameters p = ParametersOf({});
  EXPECT_EQ(p.type, EosType::BirchMurnaghan);
  EXPECT_EQ(p.order, 3);
  EXPECT_EQ(p.V0, 10.0);
  EXPECT_EQ(p.K0, 100.0);
  EXPECT_EQ(p.Kp0, 4.0);
  EXPECT_EQ(p.Kpp0, -0.038888888359069826);
  EXPECT_EQ(p.alpha0, 2.0);
  EXPECT_EQ(p.alpha1, 0.0);
  EXPECT_EQ(p.dKdT, -0.019999999552965164);
  EXPECT_EQ(p.Tref, 298.0);
}

TEST(ParameterOptions, ReadEveryParameter) {
  const EosParameters p =
      ParametersOf({"--eos",  "natural-strain", "--order",  "4",      "--V0",
                    "11.5",   "--K0",           "160",      "--Kp0",  "5.2",
                    "--Kpp0", "-0.04",          "--alpha0", "3",      "--alpha1",
                    "1.5",    "--dKdT",         "-0.03",    "--Tref", "300"});
  EXPECT_EQ(p.type, EosType::NaturalStrain);
  EXPECT_EQ(p.order, 4);
  EXPECT_EQ(p.V0, 11.5);
  EXPECT_EQ(p.K0, 160.0);
  EXPECT_EQ(p.Kp0, 5.2);
  EXPECT_EQ(p.Kpp0, -0.04);
  EXPECT_EQ(p.alpha0, 3.0);
  EXPECT_EQ(p.alpha1, 1.5);
  EXPECT_EQ(p.dKdT, -0.03);
  EXPECT_EQ(p.Tref, 300.0);
}

struct ImpliedCase {
  const char* name;
  std::vector<std::string> arguments;
  double Kp0;
  double Kpp0;
};

// The values the form shows greyed for the same entries.
const ImpliedCase kImpliedCases[] = {
    {"BirchMurnaghanOrder2", {"--order", "2", "--K0", "80"}, 4.0, -0.04861111044883728},
    {"BirchMurnaghanOrder3", {"--K0", "80", "--Kp0", "5.5"}, 5.5, -0.09548611044883729},
    {"Order4StartsFromTheOrder3Value",
     {"--order", "4", "--K0", "80", "--Kp0", "5.5"},
     5.5,
     -0.09548611044883729},
    {"Order4TakesTheUsersKpp0", {"--order", "4", "--Kpp0", "0.25"}, 4.0, 0.25},
    {"VinetOrder2", {"--eos", "vinet", "--order", "2", "--K0", "80"}, 1.0, -0.00277777761220932},
    {"VinetOrder3", {"--eos", "vinet", "--K0", "80", "--Kp0", "5.5"}, 5.5, -0.12230902761220933},
    {"NaturalStrainOrder2",
     {"--eos", "natural-strain", "--order", "2", "--K0", "80"},
     2.0,
     -0.0125},
    {"Murnaghan", {"--eos", "murnaghan", "--Kp0", "5.5"}, 5.5, 0.0},
};

class ImpliedCoefficientOptions : public testing::TestWithParam<ImpliedCase> {};

TEST_P(ImpliedCoefficientOptions, AreAppliedAsOnTheForm) {
  const ImpliedCase& c = GetParam();
  const EosParameters p = ParametersOf(c.arguments);
  EXPECT_EQ(p.Kp0, c.Kp0);
  EXPECT_EQ(p.Kpp0, c.Kpp0);
}

INSTANTIATE_TEST_SUITE_P(TypesAndOrders, ImpliedCoefficientOptions,
                         testing::ValuesIn(kImpliedCases),
                         [](const auto& row) { return std::string(row.param.name); });

struct RefusedCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

const RefusedCase kRefusedCases[] = {
    {"UnknownType",
     {"--eos", "birch"},
     "--eos: \"birch\" is not one of murnaghan (m), birch-murnaghan (bm), vinet (v), "
     "natural-strain (ns) or tait (t)"},
    {"TypeNameWithAnEscape",
     {"--eos", "\x1b[2Jvinet"},
     "--eos: \"\\x1b[2Jvinet\" is not one of murnaghan (m), birch-murnaghan (bm), vinet (v), "
     "natural-strain (ns) or tait (t)"},
    {"UnknownOrder", {"--order", "5"}, "--order: \"5\" is not 2, 3 or 4"},
    {"OrderWithDecimals", {"--order", "3.0"}, "--order: \"3.0\" is not 2, 3 or 4"},
    {"MurnaghanOrder2",
     {"--eos", "murnaghan", "--order", "2"},
     "--order 2: murnaghan is 3rd order only"},
    {"MurnaghanOrder4",
     {"--eos", "murnaghan", "--order", "4"},
     "--order 4: murnaghan is 3rd order only"},
    {"VinetOrder4",
     {"--eos", "vinet", "--order", "4"},
     "--order 4: vinet is 2nd or 3rd order only"},
    {"Kp0ImpliedAtOrder2",
     {"--order", "2", "--Kp0", "5"},
     "--Kp0: K'0 is implied by birch-murnaghan at order 2 and cannot be given"},
    {"Kpp0ImpliedAtOrder3",
     {"--Kpp0", "0.1"},
     "--Kpp0: K''0 is implied by birch-murnaghan at order 3 and cannot be given"},
    {"Kpp0ImpliedForVinet",
     {"--eos", "vinet", "--Kpp0", "0.1"},
     "--Kpp0: K''0 is implied by vinet at order 3 and cannot be given"},
    {"Kpp0ImpliedForMurnaghan",
     {"--eos", "murnaghan", "--Kpp0", "0"},
     "--Kpp0: K''0 is implied by murnaghan at order 3 and cannot be given"},
    {"EosOfAnotherModel",
     {"--eos", "tait"},
     "quorvane.Eos computes only the calculator's equations with the linear thermal expansion, in "
     "the "
     "calculator's arithmetic"},
    {"EosInTextbookArithmetic",
     {"--arithmetic", "textbook"},
     "quorvane.Eos computes only the calculator's equations with the linear thermal expansion, in "
     "the "
     "calculator's arithmetic"},
    {"V0BelowTheFloor", {"--V0", "0.001"}, "--V0 must be at least 0.0010000000474974513"},
    {"K0Negative", {"--K0", "-100"}, "--K0 must be at least 0.0010000000474974513"},
    {"Kp0Zero", {"--Kp0", "0"}, "--Kp0 must be at least 0.0010000000474974513 in magnitude"},
    {"Kp0TinyNegative",
     {"--Kp0", "-0.0005"},
     "--Kp0 must be at least 0.0010000000474974513 in magnitude"},
    {"CommaDecimal",
     {"--K0", "1,5"},
     "--K0: \"1,5\" is not a decimal number (digits, one point, an optional exponent)"},
    {"InfiniteTref",
     {"--Tref", "inf"},
     "--Tref: \"inf\" is not a decimal number (digits, one point, an optional exponent)"},
};

class RefusedParameters : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedParameters, NameTheArgument) {
  const RefusedCase& c = GetParam();
  EXPECT_EQ(RefusalOf(c.arguments), c.message);
}

INSTANTIATE_TEST_SUITE_P(Options, RefusedParameters, testing::ValuesIn(kRefusedCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ParameterOptions, TypeNamesInAnyCaseAndShort) {
  struct Name {
    const char* text;
    EosType type;
  };
  const Name names[] = {
      {"Murnaghan", EosType::Murnaghan},
      {"m", EosType::Murnaghan},
      {"BIRCH-MURNAGHAN", EosType::BirchMurnaghan},
      {"BM", EosType::BirchMurnaghan},
      {"Vinet", EosType::Vinet},
      {"V", EosType::Vinet},
      {"Natural-Strain", EosType::NaturalStrain},
      {"ns", EosType::NaturalStrain},
  };
  for (const Name& name : names) {
    EXPECT_EQ(ParametersOf({"--eos", name.text}).type, name.type) << name.text;
  }
}

TEST(ParameterOptions, NegativeKp0AboveTheFloorIsKept) {
  EXPECT_EQ(ParametersOf({"--eos", "murnaghan", "--Kp0", "-2"}).Kp0, -2.0);
}

}  // namespace
}  // namespace quorvane::app
