// Writing and reading a whole-unit profile (goal: each under 5 ms), as text and as a file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "profiles/profile_files.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_writer.h"
#include "tests/profiles/tuning_model.h"

namespace {

namespace fs = std::filesystem;

fs::path BenchFile() {
  static const fs::path path = fs::temp_directory_path() /
                               ("vexaro_bench_" + std::to_string(std::random_device{}()) + ".wpf");
  return path;
}

void BM_WriteWholeProfileText(benchmark::State& state) {
  const auto tuning = profiles::testing::TuningModel();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto text = profiles::WholeProfileText(*tuning);
    bytes = text->size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteWholeProfileText)->Unit(benchmark::kMillisecond);

void BM_ReadWholeProfileText(benchmark::State& state) {
  const std::string text = profiles::WholeProfileText(*profiles::testing::TuningModel()).value();
  auto model = std::make_unique<model::ParameterModel>();
  for (auto _ : state) {
    const profiles::ReadResult result = profiles::ReadWholeProfile(text, *model);
    if (!result.ok()) {
      state.SkipWithError(result.Describe().c_str());
    }
  }
}
BENCHMARK(BM_ReadWholeProfileText)->Unit(benchmark::kMillisecond);

// The file forms add the disk: the write replaces the file through a flushed temporary file.
void BM_WriteWholeProfileFile(benchmark::State& state) {
  const auto tuning = profiles::testing::TuningModel();
  std::string error;
  for (auto _ : state) {
    if (!profiles::WriteWholeProfileFile(BenchFile(), *tuning, error)) {
      state.SkipWithError(error.c_str());
    }
  }
}
BENCHMARK(BM_WriteWholeProfileFile)->Unit(benchmark::kMillisecond);

void BM_ReadWholeProfileFile(benchmark::State& state) {
  std::string error;
  profiles::WriteWholeProfileFile(BenchFile(), *profiles::testing::TuningModel(), error);
  auto model = std::make_unique<model::ParameterModel>();
  for (auto _ : state) {
    const profiles::ReadResult result = profiles::ReadWholeProfileFile(BenchFile(), *model);
    if (!result.ok()) {
      state.SkipWithError(result.Describe().c_str());
    }
  }
  fs::remove(BenchFile());
}
BENCHMARK(BM_ReadWholeProfileFile)->Unit(benchmark::kMillisecond);

}  // namespace
