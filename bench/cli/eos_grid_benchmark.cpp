#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/eos_command.h"

namespace quorvane::cli {
namespace {

// A 1000 x 1000 P-T grid written to /dev/null, start-up parameters; the
// benchmark's items are state points (rows).
void Grid(benchmark::State& state, std::vector<std::string> arguments) {
  std::ofstream out("/dev/null");
  std::istringstream in;
  std::ostringstream err;
  for (auto _ : state) {
    if (RunEosCommand(arguments, in, out, err) != 0) state.SkipWithError("quorvane-eos failed");
  }
  state.SetItemsProcessed(state.iterations() * 1'000'000);
}

const std::vector<std::string> kGrid = {"--P", "0:9.99:0.01", "--T", "300:1299:1"};

void BirchMurnaghanGrid(benchmark::State& state) {
  Grid(state, kGrid);
}
BENCHMARK(BirchMurnaghanGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void BirchMurnaghanGridToHundred(benchmark::State& state) {
  Grid(state, {"--P", "0:99.9:0.1", "--T", "300:1299:1"});
}
BENCHMARK(BirchMurnaghanGridToHundred)->Unit(benchmark::kMillisecond)->UseRealTime();

void BirchMurnaghanGridAsTheFormShowsIt(benchmark::State& state) {
  std::vector<std::string> arguments = kGrid;
  arguments.insert(arguments.end(), {"--width", "7"});
  Grid(state, arguments);
}
BENCHMARK(BirchMurnaghanGridAsTheFormShowsIt)->Unit(benchmark::kMillisecond)->UseRealTime();

void VinetGrid(benchmark::State& state) {
  std::vector<std::string> arguments = kGrid;
  arguments.insert(arguments.end(), {"--eos", "vinet"});
  Grid(state, arguments);
}
BENCHMARK(VinetGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void VolumeGrid(benchmark::State& state) {
  Grid(state, {"--V", "5:14.99:0.01", "--T", "300:1299:1"});
}
BENCHMARK(VolumeGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quorvane::cli
