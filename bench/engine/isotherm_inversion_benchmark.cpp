#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "engine/exact_volume_solver.h"
#include "engine/isothermal_curve.h"
#include "engine/volume_solver.h"

namespace quorvane::engine {
namespace {

constexpr std::int64_t kPoints = 1000000;
constexpr double kTopPressure = 100.0;

// A stiff oxide in GPa and cm^3/mol: 0-100 GPa compresses it to about 0.75 V0.
EosParameters Oxide(EosType type) {
  EosParameters p;
  p.type = type;
  p.V0 = 11.24;
  p.K0 = 160.0;
  p.Kp0 = 4.0;
  UpdateImpliedCoefficients(p);
  return p;
}

// Inverts a 10^6-point isotherm from 0 to 100 GPa at 1000 K for each type
// (range 1) with (range 0) the form's search, which builds its isotherm for
// every point; the exact inversion called the same way; the exact inversion on
// one isotherm built once, as the command line's tables call it; and the
// exact inversion of all the pressures as one batch, as the Python module
// calls it.
void IsothermInversion(benchmark::State& state) {
  const std::int64_t solver = state.range(0);
  const EosParameters p = Oxide(static_cast<EosType>(state.range(1)));
  const IsothermalCurve isotherm(p, 1000.0);
  std::int64_t evaluations = 0;
  std::int64_t unreached = 0;
  std::vector<double> pressures(kPoints);
  for (std::int64_t i = 0; i < kPoints; ++i) {
    pressures[i] = kTopPressure * static_cast<double>(i) / static_cast<double>(kPoints - 1);
  }
  std::vector<VolumeSolution> solutions(kPoints);
  for (auto _ : state) {
    if (solver == 3) {
      SolveVolumesExactly(isotherm, pressures.data(), pressures.size(), solutions.data());
    } else {
      for (std::int64_t i = 0; i < kPoints; ++i) {
        const double P = pressures[i];
        solutions[i] = solver == 0   ? SolveVolumeFromPressure(p, P, 1000.0)
                       : solver == 1 ? SolveVolumeExactly(p, P, 1000.0)
                                     : SolveVolumeExactly(isotherm, P);
      }
    }
    benchmark::DoNotOptimize(solutions.data());
  }
  for (const VolumeSolution& s : solutions) {
    evaluations += s.evaluations;
    unreached += s.converged ? 0 : 1;
  }
  state.counters["evaluations/point"] = static_cast<double>(evaluations) / kPoints;
  state.counters["unreached"] = static_cast<double>(unreached);
  state.counters["points"] = benchmark::Counter(static_cast<double>(kPoints),
                                                benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(IsothermInversion)
    ->ArgsProduct({{0, 1, 2, 3}, {1, 2, 3, 4}})
    ->ArgNames({"solver", "type"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane::engine
