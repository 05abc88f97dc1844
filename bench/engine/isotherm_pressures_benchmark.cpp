#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/isothermal_curve.h"

namespace quorvane::engine {
namespace {

constexpr std::int64_t kPoints = 1000000;

// 10^6 pressures of a 3rd-order Birch-Murnaghan isotherm (V0 = 11.24, K0 =
// 160, K'0 = 4.5, so three powers a point) from 0.75 V0 to V0, one volume at a
// time (range 0 = 0) or as one batch (1).
void IsothermPressures(benchmark::State& state) {
  const bool batch = state.range(0) == 1;
  EosParameters p;
  p.type = EosType::BirchMurnaghan;
  p.V0 = 11.24;
  p.K0 = 160.0;
  p.Kp0 = 4.5;
  UpdateImpliedCoefficients(p);
  const IsothermalCurve curve(p, p.Tref);
  std::vector<double> V(kPoints);
  std::vector<double> P(kPoints);
  for (std::int64_t i = 0; i < kPoints; ++i) {
    V[i] = p.V0 * (0.75 + 0.25 * static_cast<double>(i) / static_cast<double>(kPoints - 1));
  }
  for (auto _ : state) {
    if (batch) {
      curve.Pressures(V.data(), V.size(), P.data());
    } else {
      for (std::int64_t i = 0; i < kPoints; ++i) P[i] = curve.Pressure(V[i]);
    }
    benchmark::DoNotOptimize(P.data());
    benchmark::ClobberMemory();
  }
  state.counters["points"] = benchmark::Counter(static_cast<double>(kPoints),
                                                benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(IsothermPressures)->Arg(0)->Arg(1)->ArgName("batch")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane::engine
