#include "shell/floating_point_environment.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace quorvane::shell {
namespace {

// Keeps the test thread's own environment whatever a test does to it.
class FloatingPointEnvironment : public ::testing::Test {
 protected:
  void SetUp() override { std::fegetenv(&saved_); }
  void TearDown() override { std::fesetenv(&saved_); }

 private:
  std::fenv_t saved_;
};

TEST_F(FloatingPointEnvironment, MasksEveryExceptionThatWasTrapping) {
  feenableexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
  EnterProgramFloatingPointEnvironment();
  EXPECT_EQ(fegetexcept(), 0);
  volatile double zero = 0.0;
  volatile double huge = std::numeric_limits<double>::max();
  EXPECT_TRUE(std::isinf(1.0 / zero));
  EXPECT_TRUE(std::isnan(zero / zero));
  EXPECT_TRUE(std::isinf(huge * 2.0));
}

TEST_F(FloatingPointEnvironment, RoundsToNearest) {
  std::fesetround(FE_UPWARD);
  EnterProgramFloatingPointEnvironment();
  EXPECT_EQ(std::fegetround(), FE_TONEAREST);
  volatile double one = 1.0;
  volatile double three = 3.0;
  // 1/3 rounded to nearest ends in ...555, rounded up it would end in ...556.
  EXPECT_EQ(one / three, 0.333333333333333314829616256247390992939472198486328125);
}

TEST_F(FloatingPointEnvironment, StartsWithNoExceptionRaised) {
  std::feraiseexcept(FE_INEXACT | FE_UNDERFLOW);
  EnterProgramFloatingPointEnvironment();
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

}  // namespace
}  // namespace quorvane::shell
