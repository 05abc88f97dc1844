#include <benchmark/benchmark.h>

#include "engine/isothermal_eos.h"
#include "engine/thermal_model.h"
#include "engine/volume_solver.h"

namespace quorvane::engine {
namespace {

EosParameters StartUpWith(EosType type) {
  EosParameters p;
  p.type = type;
  UpdateImpliedCoefficients(p);
  return p;
}

void PressureFromVolumeOfType(benchmark::State& state) {
  const EosParameters p = StartUpWith(static_cast<EosType>(state.range(0)));
  double V = 9.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(V);
    benchmark::DoNotOptimize(PressureFromVolume(p, V, 900.0));
  }
}
BENCHMARK(PressureFromVolumeOfType)->DenseRange(1, 4)->ArgName("type");

void VolumeFromPressureAt(benchmark::State& state) {
  const EosParameters p = StartUpWith(EosType::BirchMurnaghan);
  double P = static_cast<double>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(P);
    benchmark::DoNotOptimize(VolumeFromPressure(p, P, 298.0));
  }
}
// -30 never converges: the full 10002 evaluations.
BENCHMARK(VolumeFromPressureAt)->Arg(10)->Arg(1000)->Arg(-30)->ArgName("P");

// K'0 = 4.5 at 4th order: every term of the Birch-Murnaghan bracket is live.
EosParameters FullBirchMurnaghan() {
  EosParameters p = StartUpWith(EosType::BirchMurnaghan);
  p.Kp0 = 4.5;
  p.order = 4;
  return p;
}

void FullBirchMurnaghanPressure(benchmark::State& state) {
  const EosParameters p = FullBirchMurnaghan();
  double V = 9.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(V);
    benchmark::DoNotOptimize(PressureFromVolume(p, V, 900.0));
  }
}
BENCHMARK(FullBirchMurnaghanPressure);

void FullBirchMurnaghanVolume(benchmark::State& state) {
  const EosParameters p = FullBirchMurnaghan();
  double P = 10.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(P);
    benchmark::DoNotOptimize(VolumeFromPressure(p, P, 298.0));
  }
}
BENCHMARK(FullBirchMurnaghanVolume);

void TemperatureFromZeroPressureVolumeBranch(benchmark::State& state) {
  EosParameters p;
  p.alpha1 = static_cast<double>(state.range(0));
  double VT0 = 10.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(VT0);
    benchmark::DoNotOptimize(TemperatureFromZeroPressureVolume(p, VT0));
  }
}
BENCHMARK(TemperatureFromZeroPressureVolumeBranch)->Arg(0)->Arg(3)->ArgName("alpha1");

}  // namespace
}  // namespace quorvane::engine
