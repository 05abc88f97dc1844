#include <benchmark/benchmark.h>

#include "models/model_catalogue.h"
#include "models/thermodynamic_properties.h"

namespace quorvane::models {
namespace {

// Every property at one state point of the MgO-like Vinet + Mie-Grueneisen-
// Debye model, volumes from V/V0 = 0.6 to 1 at 2000 K.
void PropertiesOfVinetMgd(benchmark::State& state) {
  Model model = DefaultModel(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  model[Parameter::V0] = 11.248;
  model[Parameter::K0] = 160.2;
  model[Parameter::Kp0] = 3.99;
  model[Parameter::theta0] = 773.0;
  model[Parameter::gamma0] = 1.524;
  model[Parameter::q] = 1.65;
  model[Parameter::natoms] = 2.0;
  model[Parameter::Tref] = 300.0;
  ApplyImpliedCoefficients(model);
  double V = 0.6 * model[Parameter::V0];
  const double step = 0.4 * model[Parameter::V0] / 1024.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PropertiesAt(model, V, 2000.0));
    V += step;
    if (V > model[Parameter::V0]) V = 0.6 * model[Parameter::V0];
  }
}
BENCHMARK(PropertiesOfVinetMgd);

}  // namespace
}  // namespace quorvane::models
