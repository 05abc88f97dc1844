#include "app/fit_ellipses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/eos_command.h"
#include "cli/program_run.h"
#include "params/json_text.h"

namespace quorvane::cli {
namespace {

// Points of a 3rd-order Birch-Murnaghan isotherm with a little scatter.
const char* kMeasured =
    "P,V,sigP,sigV\n"
    "0.0001,163.702,0.0001,0.01\n"
    "1.12,161.61,0.02,0.01\n"
    "2.31,159.51,0.02,0.01\n"
    "3.48,157.63,0.02,0.01\n"
    "4.95,155.42,0.02,0.01\n"
    "6.17,153.74,0.02,0.01\n"
    "7.72,151.71,0.02,0.01\n"
    "9.05,150.08,0.02,0.01\n";

class FitEllipses : public ScratchFolderTest {
 protected:
  void SetUp() override {
    ScratchFolderTest::SetUp();
    data_ = Write("measured.csv", kMeasured);
  }

  std::string data_;
};

double At(const params::Json& array, std::size_t i) {
  return array.at(i).get<double>();
}

// The JSON report's ellipse against the reported covariance printed beside it,
// for a pair asked in the order opposite to the covariance rows: the block,
// its orientation and the centre must follow the order asked.
TEST_F(FitEllipses, ReportsTheEllipseOfThePairAskedFromTheReportedCovariance) {
  const Outcome outcome = RunProgram(
      {"fit", "--format", "json", "--ellipse", "Kp0,V0:0.95", "--ellipse", "V0,K0", data_});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  const params::Json report = params::ParseJson(outcome.out);
  const params::Json& c = report.at("covariance_reported");
  const params::Json& ellipses = report.at("ellipses");
  ASSERT_EQ(ellipses.size(), 2u);
  const struct {
    std::size_t row, column;
    const char* first;
    double level;
  } kExpected[] = {{2, 0, "Kp0", 0.95}, {0, 1, "V0", 0.683}};
  for (std::size_t k = 0; k < 2; ++k) {
    const params::Json& e = ellipses.at(k);
    const auto [i, j, first, level] = kExpected[k];
    SCOPED_TRACE(first);
    EXPECT_EQ(e.at("parameters").at(0).get<std::string>(), first);
    EXPECT_EQ(e.at("level").get<double>(), level);
    const double d = -2.0 * std::log(1.0 - level);
    const double cii = At(c.at(i), i), cjj = At(c.at(j), j), cij = At(c.at(i), j);
    EXPECT_EQ(At(e.at("centre"), 0), report.at("parameters").at(first).get<double>());
    EXPECT_NEAR(At(e.at("extent"), 0), std::sqrt(d * cii), 1e-12 * std::sqrt(d * cii));
    EXPECT_NEAR(At(e.at("extent"), 1), std::sqrt(d * cjj), 1e-12 * std::sqrt(d * cjj));
    // The axes' product is the determinant's root, their squares' sum the trace.
    const double major = At(e.at("semi_axes"), 0), minor = At(e.at("semi_axes"), 1);
    EXPECT_NEAR(major * minor, d * std::sqrt(cii * cjj - cij * cij), 1e-8 * major * minor);
    EXPECT_NEAR(major * major + minor * minor, d * (cii + cjj), 1e-10 * major * major);
    // The major axis leans the way the pair correlates.
    const double angle = e.at("orientation_degrees").get<double>();
    EXPECT_EQ(angle > 0.0, cij > 0.0) << angle;
  }
  // The text report shows the same ellipses.
  const Outcome text = RunProgram({"fit", "--ellipse", "Kp0,V0:0.95", data_});
  ASSERT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.out.find("Confidence ellipse of K'0 and V0: level 0.95, delta chi2 = 5.991, "
                          "from the unscaled covariance\n"),
            std::string::npos)
      << text.out;
}

// One figure per ellipse: a pair asked at several levels gets the level in
// its name, a pair asked once keeps the plain name.
TEST(EllipseFileTags, NoTwoFiguresShareAName) {
  const struct {
    std::vector<std::string> asks;
    std::vector<std::string> tags;
  } kCases[] = {
      {{"K0,Kp0"}, {"K0-Kp0"}},
      {{"K0,Kp0", "K0,Kp0:0.95", "V0,K0"}, {"K0-Kp0-0.683", "K0-Kp0-0.95", "V0-K0"}},
      {{"Kp0,K0:0.5", "K0,Kp0:0.9"}, {"Kp0-K0", "K0-Kp0"}},
  };
  for (const auto& c : kCases) {
    std::vector<app::EllipseReport> ellipses;
    for (const std::string& ask : c.asks) {
      app::EllipseReport report;
      report.ask = app::EllipseAskFromText(ask);
      ellipses.push_back(report);
    }
    EXPECT_EQ(app::EllipseFileTags(ellipses), c.tags) << c.asks.front();
  }
}

TEST_F(FitEllipses, RefusesPairsAndLevelsWithOneLine) {
  const struct {
    const char* value;
    const char* message;
  } kCases[] = {
      {"K0", "--ellipse: \"K0\" is not two parameters such as K0,Kp0"},
      {"V0,K0,Kp0", "is not two parameters"},
      {"K0,B0", "--ellipse: \"B0\" is not a parameter a fit refines"},
      {"K0,Tref", "\"Tref\" is not a parameter a fit refines"},
      {"K0,K0", "--ellipse: K0 is named twice"},
      {"K0,Kp0:0", "--ellipse: the level \"0\" is not a number between 0 and 1"},
      {"K0,Kp0:1", "the level \"1\" is not"},
      {"K0,Kp0:95%", "the level \"95%\" is not"},
      {"K0,Kp0:", "the level \"\" is not"},
      {"K0,Kp0:nan", "the level \"nan\" is not"},
      {"K0,Kpp0", "--ellipse: K''0 is not refined"},
      {"alpha0,V0", "--ellipse: alpha0 is not refined"},
  };
  for (const auto& c : kCases) {
    const Outcome outcome = RunProgram({"fit", "--ellipse", c.value, data_});
    EXPECT_EQ(outcome.code, kExitBadInput) << c.value;
    EXPECT_EQ(outcome.out, "") << c.value;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.value << ": " << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << c.value;
  }
}

}  // namespace
}  // namespace quorvane::cli
