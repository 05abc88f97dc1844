// The workbench page's fit of 100 points with the textbook 3rd-order
// Birch-Murnaghan equation, made natively: reading the data text, the fit,
// the JSON and text reports, the parameter file and the curves, as the
// page's core makes them in WebAssembly. The command line's own run does
// less (JSON only) and more (start-up), so this is the fair native time.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "web/page_fit.h"

namespace {

std::string DataText() {
  std::ifstream in(QUORVANE_PAGE_BENCH_DATA);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_PageFitBirchMurnaghan3Textbook(benchmark::State& state) {
  const std::string data = DataText();
  const std::vector<std::string> options{"--arithmetic=textbook"};
  for (auto _ : state) {
    const quorvane::web::PageFit fit = quorvane::web::FitDataText(data, "bm3-100.csv", options, {});
    if (!fit.ok) state.SkipWithError(fit.error.c_str());
    benchmark::DoNotOptimize(fit.json.data());
  }
}
BENCHMARK(BM_PageFitBirchMurnaghan3Textbook)->Unit(benchmark::kMillisecond);

}  // namespace
