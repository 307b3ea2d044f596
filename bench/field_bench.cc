// Writing one E10.3 or F9.1 field, and reading one free-form real.
#include <benchmark/benchmark.h>

#include <string>

#include "common/free_form.h"
#include "common/number_format.h"

namespace {

const float kValues[] = {1.0e-5f, 2.5e-6f, 0.0252f, 1234.5f, 7.3e-06f, 160.0f, 0.001f, 3.0e7f};

void BM_ExponentE10_3(benchmark::State& state) {
  std::string out;
  std::size_t i = 0;
  for (auto _ : state) {
    out.clear();
    tevol::AppendExponent(kValues[i++ % 8], 10, 3, &out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ExponentE10_3);

void BM_FixedF9_1(benchmark::State& state) {
  std::string out;
  std::size_t i = 0;
  for (auto _ : state) {
    out.clear();
    tevol::AppendFixed(kValues[i++ % 8], 9, 1, &out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_FixedF9_1);

void BM_ReadRealToken(benchmark::State& state) {
  const std::string lines[] = {"1.0e-5", "  2.5D-6  ", "160", "1.5-3", "0.0252,7"};
  std::size_t i = 0;
  for (auto _ : state) {
    std::optional<tevol::IoCondition> error;
    tevol::FreeFormField f = tevol::FirstField(lines[i++ % 5], &error);
    float v = 0;
    benchmark::DoNotOptimize(tevol::ParseReal(f.token, &v));
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_ReadRealToken);

}  // namespace
