#include <benchmark/benchmark.h>

#include <array>
#include <string_view>

#include "numtext/field_format.h"
#include "numtext/field_read.h"

namespace {

// Values as the form shows them: temperatures, volumes, ratios, pressures.
constexpr std::array<double, 8> kValues = {298.0,     11.2470001, 0.987654321, -0.02,
                                           1234.5678, 160.0,      4.0,         1.0 / 3.0};

// Texts as the user types them into the fields.
constexpr std::array<std::string_view, 8> kTexts = {"298",   "11.247", "0.98765",   "  -0.02",
                                                    "1.6E2", "4.0",    "0.3333333", "12"};

void BM_FormatFieldNumber(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::numtext::FormatFieldNumber(kValues[i], width));
    i = (i + 1) % kValues.size();
  }
}
BENCHMARK(BM_FormatFieldNumber)->Arg(6)->Arg(7)->Arg(8);

void BM_ParseFieldNumberDouble(benchmark::State& state) {
  std::size_t i = 0;
  double value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::numtext::ParseFieldNumber(kTexts[i], value));
    benchmark::DoNotOptimize(value);
    i = (i + 1) % kTexts.size();
  }
}
BENCHMARK(BM_ParseFieldNumberDouble);

void BM_ParseFieldNumberFloat(benchmark::State& state) {
  std::size_t i = 0;
  float value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quorvane::numtext::ParseFieldNumber(kTexts[i], value));
    benchmark::DoNotOptimize(value);
    i = (i + 1) % kTexts.size();
  }
}
BENCHMARK(BM_ParseFieldNumberFloat);

// A field as the dialog runtime hands it over: the text padded to 256 characters.
void BM_ParseFieldNumberPaddedRecord(benchmark::State& state) {
  std::array<char, quorvane::numtext::kFieldRecordLength> record;
  record.fill(' ');
  const std::string_view text = "11.247";
  std::copy(text.begin(), text.end(), record.begin());
  double value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        quorvane::numtext::ParseFieldNumber(std::string_view(record.data(), record.size()), value));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ParseFieldNumberPaddedRecord);

}  // namespace
