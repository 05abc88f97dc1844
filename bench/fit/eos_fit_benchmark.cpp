// A 3rd-order Birch-Murnaghan fit of V0, K0 and K'0 to n measured points
// with sigmas in P and V, from the starting values the data give: the
// everyday fit, and one of a very large data set. Beside it a Vinet +
// Mie-Grueneisen-Debye fit of V0, K0, K'0, theta0, gamma0 and q to P-V-T
// data from 300 to 2000 K.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "engine/isothermal_eos.h"
#include "fit/eos_fit.h"
#include "models/calculator_parameters.h"
#include "models/model_catalogue.h"
#include "models/model_pressure.h"
#include "models/model_volume.h"

namespace {

using quorvane::engine::EosParameters;
using quorvane::fit::FitData;
using quorvane::fit::Observation;
using quorvane::models::Parameter;

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
  request.start = quorvane::models::FromCalculatorParameters(EosParameters{});
  for (auto _ : state) {
    const quorvane::fit::FitResult result = quorvane::fit::FitEos(data, request);
    if (!result.converged) state.SkipWithError("the fit did not converge");
    benchmark::DoNotOptimize(result.model[Parameter::K0]);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FitBirchMurnaghan3)->Arg(100)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same fit in textbook arithmetic with sigmas in P alone, as
// bench/python/fit_bench.py makes it, so the two measure the same work.
void BM_FitBirchMurnaghan3Textbook(benchmark::State& state) {
  using namespace quorvane::models;
  Model truth = DefaultModel(Equation::BirchMurnaghan, 3, Thermal::Linear, Arithmetic::Textbook);
  truth[Parameter::V0] = 11.24;
  truth[Parameter::K0] = 160.0;
  truth[Parameter::Kp0] = 4.5;
  const int n = static_cast<int>(state.range(0));
  FitData data;
  std::uint64_t seed = 5;
  for (int i = 0; i < n; ++i) {
    Observation point;
    point.T = truth[Parameter::Tref];
    point.V = truth[Parameter::V0] * (0.8 + 0.2 * i / (n - 1));
    point.P = Pressure(truth, point.V, point.T) + 0.1 * Scatter(seed);
    point.sigP = 0.05;
    data.points.push_back(point);
  }
  quorvane::fit::FitRequest request;
  request.start = truth;
  request.start[Parameter::V0] = 11.0;
  request.start[Parameter::K0] = 120.0;
  request.start[Parameter::Kp0] = 4.0;
  request.refined = {Parameter::V0, Parameter::K0, Parameter::Kp0};
  request.givenStart = request.refined;
  for (auto _ : state) {
    const quorvane::fit::FitResult result = quorvane::fit::FitEos(data, request);
    if (!result.converged) state.SkipWithError("the fit did not converge");
    benchmark::DoNotOptimize(result.model[Parameter::K0]);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FitBirchMurnaghan3Textbook)->Arg(100)->Unit(benchmark::kMicrosecond);

// MgO-like values, in cm^3/mol.
quorvane::models::Model DebyeSolid() {
  using namespace quorvane::models;
  Model model = DefaultModel(Equation::Vinet, 3, Thermal::MieGruneisenDebye, Arithmetic::Textbook);
  model[Parameter::V0] = 11.248;
  model[Parameter::K0] = 160.3;
  model[Parameter::Kp0] = 4.18;
  model[Parameter::theta0] = 773.0;
  model[Parameter::gamma0] = 1.53;
  model[Parameter::q] = 1.7;
  model[Parameter::natoms] = 2.0;
  model[Parameter::Tref] = 300.0;
  return model;
}

// Five isotherms from 300 to 2000 K down to V/V(T,0) = 0.75.
FitData MeasuredPVT(const quorvane::models::Model& truth, int n) {
  constexpr int kIsotherms = 5;
  FitData data;
  std::uint64_t state = 11;
  for (int i = 0; i < n; ++i) {
    Observation point;
    const int perIsotherm = n / kIsotherms;
    point.T = 300.0 + 425.0 * (i / perIsotherm);
    const double VT0 = quorvane::models::ZeroPressureVolume(truth, point.T).V;
    point.V = VT0 * (1.0 - 0.25 * (i % perIsotherm) / (perIsotherm - 1));
    point.P = quorvane::models::Pressure(truth, point.V, point.T) + 0.05 * Scatter(state);
    point.sigP = 0.05;
    point.sigV = 0.002;
    point.sigT = 5.0;
    data.points.push_back(point);
  }
  return data;
}

void BM_FitMieGruneisenDebye6(benchmark::State& state) {
  const quorvane::models::Model truth = DebyeSolid();
  const FitData data = MeasuredPVT(truth, static_cast<int>(state.range(0)));
  quorvane::fit::FitRequest request;
  request.start = truth;
  request.refined = {Parameter::V0,     Parameter::K0,     Parameter::Kp0,
                     Parameter::theta0, Parameter::gamma0, Parameter::q};
  // The refined ones from the catalogue's defaults, V0 and K0 from the data.
  const quorvane::models::Model defaults =
      quorvane::models::DefaultModel(truth.equation, truth.order, truth.thermal, truth.arithmetic);
  for (Parameter parameter : request.refined) request.start[parameter] = defaults[parameter];
  for (auto _ : state) {
    const quorvane::fit::FitResult result = quorvane::fit::FitEos(data, request);
    if (!result.converged) state.SkipWithError("the fit did not converge");
    benchmark::DoNotOptimize(result.model[Parameter::K0]);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FitMieGruneisenDebye6)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
