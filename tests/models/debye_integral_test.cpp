#include "models/debye_integral.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

namespace quorvane::models {
namespace {

double UlpsApart(double value, double reference) {
  if (value == reference) return 0.0;
  const double ulp = std::nextafter(std::fabs(reference), INFINITY) - std::fabs(reference);
  return std::fabs(value - reference) / ulp;
}

// Quadrature at 40 digits (reference/generate_cases.py) across the series,
// the switch to the tail at 3 and the plateau at pi^4/15.
TEST(DebyeIntegral, WithinThreeUlpOfHighPrecisionQuadrature) {
  std::ifstream cases(QUORVANE_MODELS_REFERENCE_DIR "/debye_cases.txt");
  ASSERT_TRUE(cases) << "reference cases missing";
  std::string line;
  int count = 0;
  while (std::getline(cases, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    const double x = std::stod(line.substr(0, space));
    const double expected = std::strtod(line.c_str() + space + 1, nullptr);
    EXPECT_LE(UlpsApart(DebyeIntegral(x), expected), 3.0) << "x = " << x;
    ++count;
  }
  EXPECT_GT(count, 10);
}

TEST(DebyeIntegral, OutsideItsDomainIsNotANumber) {
  EXPECT_TRUE(std::isnan(DebyeIntegral(-1.0)));
  EXPECT_TRUE(std::isnan(DebyeIntegral(NAN)));
  EXPECT_EQ(DebyeIntegral(INFINITY), DebyeIntegral(1000.0));
}

// The slope a fit differentiates through is the integrand, which a central
// difference of the integral itself must meet.
TEST(DebyeIntegral, SlopeIsTheIntegrand) {
  using Dual = Eigen::AutoDiffScalar<Eigen::Matrix<double, 1, 1>>;
  for (double x : {0.01, 0.7, 2.99, 3.01, 9.0, 30.0}) {
    const Dual at = DebyeIntegral(Dual(x, Eigen::Matrix<double, 1, 1>::Ones()));
    const double h = 1e-5 * x;
    const double central = (DebyeIntegral(x + h) - DebyeIntegral(x - h)) / (2.0 * h);
    EXPECT_NEAR(at.derivatives()[0], central, 1e-8 * std::fabs(central) + 1e-12) << "x = " << x;
    EXPECT_EQ(at.value(), DebyeIntegral(x));
  }
}

}  // namespace
}  // namespace quorvane::models
