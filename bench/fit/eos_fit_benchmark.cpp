// A 3rd-order Birch-Murnaghan fit of V0, K0 and K'0 to n measured points
// with sigmas in P and V, from the starting values the data give: the
// everyday fit, and one of a very large data set.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "engine/isothermal_eos.h"
#include "fit/eos_fit.h"

namespace {

using quorvane::engine::EosParameters;
using quorvane::fit::FitData;
using quorvane::fit::Observation;

// Fixed pseudo-random scatter (splitmix64), so every run fits the same data.
double Scatter(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53 - 0.5;
}

FitData Measured(int n) {
  EosParameters truth;
  truth.V0 = 163.7;
  truth.K0 = 87.5;
  truth.Kp0 = 4.9;
  quorvane::engine::UpdateImpliedCoefficients(truth);
  FitData data;
  std::uint64_t state = 7;
  for (int i = 0; i < n; ++i) {
    Observation point;
    point.T = truth.Tref;
    point.V = truth.V0 * (1.0 - 0.25 * i / (n - 1));
    point.P = quorvane::engine::PressureFromVolume(truth, point.V, point.T) + 0.02 * Scatter(state);
    point.sigP = 0.02;
    point.sigV = 0.01;
    data.points.push_back(point);
  }
  return data;
}

void BM_FitBirchMurnaghan3(benchmark::State& state) {
  const FitData data = Measured(static_cast<int>(state.range(0)));
  quorvane::fit::FitRequest request;
  for (auto _ : state) {
    const quorvane::fit::FitResult result = quorvane::fit::FitEos(data, request);
    if (!result.converged) state.SkipWithError("the fit did not converge");
    benchmark::DoNotOptimize(result.parameters.K0);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FitBirchMurnaghan3)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
