#include <benchmark/benchmark.h>

#include "models/model_catalogue.h"
#include "models/model_pressure.h"

namespace quorvane::models {
namespace {

// An MgO-like Vinet + Mie-Grueneisen-Debye model at 2000 K, volumes from
// V/V0 = 0.6 to 1, so that the Debye integral runs through its series and its
// tail alike.
Model Periclase(Equation equation, Thermal thermal) {
  Model model = DefaultModel(equation, 3, thermal, Arithmetic::Textbook);
  model[Parameter::V0] = 11.248;
  model[Parameter::K0] = 160.2;
  model[Parameter::Kp0] = 3.99;
  model[Parameter::theta0] = 773.0;
  model[Parameter::gamma0] = 1.524;
  model[Parameter::q] = 1.65;
  model[Parameter::natoms] = 2.0;
  model[Parameter::alpha0] = 3.0;
  model[Parameter::Tref] = 300.0;
  ApplyImpliedCoefficients(model);
  return model;
}

void ModelPressureOver(benchmark::State& state, Equation equation, Thermal thermal) {
  const Model model = Periclase(equation, thermal);
  const double T = static_cast<double>(state.range(0));
  double V = 0.6 * model[Parameter::V0];
  const double step = 0.4 * model[Parameter::V0] / 1024.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Pressure(model, V, T));
    V += step;
    if (V > model[Parameter::V0]) V = 0.6 * model[Parameter::V0];
  }
}
BENCHMARK_CAPTURE(ModelPressureOver, VinetMgd, Equation::Vinet, Thermal::MieGruneisenDebye)
    ->Arg(300)
    ->Arg(2000)
    ->ArgName("T");
BENCHMARK_CAPTURE(ModelPressureOver, TaitEinstein, Equation::Tait, Thermal::Einstein)
    ->Arg(2000)
    ->ArgName("T");
BENCHMARK_CAPTURE(ModelPressureOver, BirchMurnaghanTextbook, Equation::BirchMurnaghan,
                  Thermal::Linear)
    ->Arg(2000)
    ->ArgName("T");

void GradientOfVinetMgd(benchmark::State& state) {
  const Model model = Periclase(Equation::Vinet, Thermal::MieGruneisenDebye);
  double V = 0.8 * model[Parameter::V0];
  for (auto _ : state) {
    benchmark::DoNotOptimize(V);
    benchmark::DoNotOptimize(PressureWithGradient(model, V, 2000.0));
  }
}
BENCHMARK(GradientOfVinetMgd);

}  // namespace
}  // namespace quorvane::models
