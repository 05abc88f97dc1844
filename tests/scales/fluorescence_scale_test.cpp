#include "scales/fluorescence_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorvane::scales {
namespace {

const FluorescenceScale& Named(const char* name) {
  const FluorescenceScale* scale = FindFluorescenceScale(name);
  EXPECT_NE(scale, nullptr) << name;
  return *scale;
}

// Each source's own equation evaluated in exact rational arithmetic at
// lambda0 = 694.24 nm (ruby; 694.25 nm for ruby-shen2020, as its source
// gives it) and 685.41 nm (Sm:SrB4O7): ruby-mao1986 A = 1904 GPa,
// B = 7.665; ruby-dewaele2008 A = 1920 GPa, B = 9.61; ruby-shen2020 1870 x
// (1 + 5.63 x); smsbo-datchi1997 4.032 d (1 + 9.29e-3 d)/(1 + 2.32e-2 d); the
// 600 K row takes off the R1 shift of Datchi et al. (2007), Eq. 2. A wrong
// constant, form or reference wavelength moves these far beyond the tolerance.
TEST(FluorescenceScale, PressuresFromThePublishedEquations) {
  struct Case {
    const char* scale;
    double lambda;
    double T;
    double P;
  };
  const Case cases[] = {
      {"ruby-mao1986", 700, 296, 16.240878094059501},
      {"ruby-mao1986", 720, 296, 80.023798251808112},
      {"ruby-mao1986", 750, 296, 200.6826400782515},
      {"ruby-dewaele2008", 700, 296, 16.511062559829517},
      {"ruby-dewaele2008", 750, 296, 219.97581019406858},
      {"ruby-shen2020", 700, 296, 16.210130685349551},
      {"ruby-shen2020", 720, 296, 83.842492766537831},
      {"ruby-shen2020", 750, 296, 218.0559839304519},
      {"ruby-shen2020", 720, 600, 75.414408120298546},
      {"smsbo-datchi1997", 690, 296, 17.438990500365119},
      {"smsbo-datchi1997", 700, 296, 49.907313345183521},
      {"smsbo-datchi1997", 720, 600, 102.23830651453325},
  };
  for (const Case& c : cases) {
    const FluorescenceScale& scale = Named(c.scale);
    const double P = PressureFromWavelength(scale, c.lambda, *scale.lambda0, c.T).P;
    EXPECT_NEAR(P, c.P, 1e-12 * c.P) << c.scale << " at " << c.lambda << " nm, " << c.T << " K";
  }
}

// The closed-form inverse returns the wavelength to a few ulp, on either
// side of the reference temperature and below ambient pressure too.
TEST(FluorescenceScale, WavelengthAndPressureRoundTrip) {
  for (const FluorescenceScale& scale : FluorescenceScales()) {
    for (const double T : {296.0, 150.0, 800.0}) {
      for (const double P : {-1.0, 0.0, 0.5, 12.0, 75.0, 150.0}) {
        const double lambda0 = *scale.lambda0;
        const double lambda = WavelengthFromPressure(scale, P, lambda0, T);
        const double back = PressureFromWavelength(scale, lambda, lambda0, T).P;
        const double slope = PressureFromWavelength(scale, lambda, lambda0, T).dPdLambda;
        // A few ulp of lambda, seen through the slope.
        const double ulps = 4.0 * std::nextafter(lambda, 1e9) - 4.0 * lambda;
        EXPECT_NEAR(back, P, std::fabs(slope) * ulps + 1e-13)
            << scale.info.name << " P " << P << " T " << T;
      }
    }
  }
}

// The slopes sigP is built from agree with central differences.
TEST(FluorescenceScale, SlopesAgreeWithCentralDifferences) {
  for (const FluorescenceScale& scale : FluorescenceScales()) {
    const double lambda = 712.5, lambda0 = *scale.lambda0, T = 450.0;
    const FluorescencePressure p = PressureFromWavelength(scale, lambda, lambda0, T);
    auto P = [&](double l, double l0, double t) {
      return PressureFromWavelength(scale, l, l0, t).P;
    };
    const double h = 1e-4;
    EXPECT_NEAR(p.dPdLambda, (P(lambda + h, lambda0, T) - P(lambda - h, lambda0, T)) / (2 * h),
                1e-6 * std::fabs(p.dPdLambda));
    EXPECT_NEAR(p.dPdLambda0, (P(lambda, lambda0 + h, T) - P(lambda, lambda0 - h, T)) / (2 * h),
                1e-6 * std::fabs(p.dPdLambda0));
    const double hT = 1e-2;
    EXPECT_NEAR(p.dPdT, (P(lambda, lambda0, T + hT) - P(lambda, lambda0, T - hT)) / (2 * hT),
                1e-6 * std::fabs(p.dPdLambda) + 1e-12)
        << scale.info.name;
  }
}

// A gauge vouches only for lines shifted to the red of lambda0: below it the
// quadratic and rational forms turn back to large positive pressures.
TEST(FluorescenceScale, InRangeOnlyRedOfTheAmbientLine) {
  struct Case {
    const char* scale;
    double lambda;
    double T;
    bool inRange;
  };
  const Case cases[] = {
      {"ruby-shen2020", 550, 296, false},      {"ruby-shen2020", 694.0, 296, false},
      {"ruby-shen2020", 700, 296, true},       {"ruby-shen2020", 720, 600, true},
      {"ruby-mao1986", 690, 296, false},       {"ruby-mao1986", 716, 296, true},
      {"smsbo-datchi1997", 600, 296, false},   {"smsbo-datchi1997", 690, 296, true},
      {"ruby-dewaele2008", 694.5, 600, false},  // the shift with T alone, below ambient pressure
  };
  for (const Case& c : cases) {
    const FluorescenceScale& scale = Named(c.scale);
    const FluorescencePressure p = PressureFromWavelength(scale, c.lambda, *scale.lambda0, c.T);
    EXPECT_EQ(InCalibratedRange(scale, c.lambda, *scale.lambda0, c.T, p), c.inRange)
        << c.scale << " at " << c.lambda << " nm, " << c.T << " K: P = " << p.P;
  }
}

}  // namespace
}  // namespace quorvane::scales
