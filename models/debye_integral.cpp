#include "models/debye_integral.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

namespace quorvane::models {
namespace {

// B(2k) / ((2k + 3) (2k)!) for k = 1, 2, ...: the series
// D(x) = x^3 (1/3 - x/8 + sum c(k) x^(2k)), which converges for x < 2 pi.
constexpr std::array<double, 24> kSeries{
    0.016666666666666666,   -0.0001984126984126984, 3.6743092298647855e-06, -7.515632515632516e-08,
    1.6059043836821615e-09, -3.522793425791662e-11, 7.872080312167458e-13,  -1.784042261222412e-14,
    4.088600979179926e-16,  -9.455950863295921e-18, 2.203601131344092e-19,  -5.1683202540046385e-21,
    1.2188644964239542e-22, -2.888231428076628e-24, 6.87258318890207e-26,   -1.641368762534915e-27,
    3.9328985827428784e-29, -9.451269078629001e-31, 2.2772522578280597e-32, -5.500052129536348e-34,
    1.3312603916626966e-35, -3.22862741376232e-37,  7.844404337661609e-39,  -1.909088837773861e-40};

// pi^4 / 15, the whole integral, as a sum of two doubles.
constexpr double kWholeHigh = 6.493939402266829;
constexpr double kWholeLow = 2.849107225713219e-16;

// Below it the series, above it the whole less the tail.
constexpr double kSeriesLimit = 3.0;
// Terms of the tail until e^(-kx) falls below 2^-60.
constexpr double kTailTermsExponent = 41.6;
constexpr int kMostTailTerms = 16;
// Beyond it the tail is below half an ulp of the whole.
constexpr double kWholeFrom = 50.0;

constexpr std::array<double, kMostTailTerms + 1> kReciprocals = [] {
  std::array<double, kMostTailTerms + 1> r{};
  for (int k = 1; k <= kMostTailTerms; ++k) r[k] = 1.0 / k;
  return r;
}();

// Four interleaved Horner chains in u^4 instead of one in u: the same terms,
// a quarter of the chain of dependent multiplications, and so about a
// quarter of the latency of the pressure's costliest step.
constexpr std::size_t kChains = 4;
static_assert(kSeries.size() % kChains == 0);

double Series(double x) {
  const double u = x * x;
  const double u2 = u * u;
  const double u4 = u2 * u2;
  std::array<double, kChains> chain{};
  for (std::size_t k = kSeries.size(); k >= kChains; k -= kChains) {
    for (std::size_t j = 0; j < kChains; ++j) chain[j] = chain[j] * u4 + kSeries[k - kChains + j];
  }
  const double sum = (chain[0] + u * chain[1]) + u2 * (chain[2] + u * chain[3]);
  return x * x * x * (1.0 / 3.0 - x / 8.0 + u * sum);
}

// The integral from x to infinity: the sum over k of
// e^(-kx) (x^3/k + 3x^2/k^2 + 6x/k^3 + 6/k^4), smallest terms first, with
// e^(-kx) as powers of e^(-x).
double Tail(double x) {
  const int terms = std::min(kMostTailTerms, static_cast<int>(std::ceil(kTailTermsExponent / x)));
  std::array<double, kMostTailTerms + 1> decay{};
  const double step = std::exp(-x);
  decay[1] = step;
  for (int k = 2; k <= terms; ++k) decay[k] = decay[k - 1] * step;
  double sum = 0.0;
  for (int k = terms; k >= 1; --k) {
    const double r = kReciprocals[k];
    sum += decay[k] * r * (x * x * x + r * (3.0 * x * x + r * (6.0 * x + r * 6.0)));
  }
  return sum;
}

}  // namespace

double DebyeIntegral(double x) {
  if (!(x >= 0.0)) return std::numeric_limits<double>::quiet_NaN();
  if (x < kSeriesLimit) return Series(x);
  if (x > kWholeFrom) return kWholeHigh;
  return (kWholeHigh - Tail(x)) + kWholeLow;
}

}  // namespace quorvane::models
