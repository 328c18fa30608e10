// Opening the skin archive and building a 500-control window from it, at 100 % scale.
// Goal: under 150 ms per window.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/ui_framework/bench_skin.h"
#include "ui/framework/ui_framework.h"

namespace {

using namespace DuiLib;

class BenchWindow : public WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"BenchWnd"; }
  std::wstring GetSkinFile() override { return L"XML_BENCH"; }
};

void BM_OpenArchiveAndBuildWindow(benchmark::State& state) {
  int controls = 0;
  for (auto _ : state) {
    uibench::LoadBenchSkin();
    auto window = std::make_unique<BenchWindow>();
    if (window->Create(0, L"bench", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW) == 0) {
      state.SkipWithError("the bench layout did not build");
      break;
    }
    state.PauseTiming();
    controls = uibench::CountControls(window->GetPaintManager().GetRoot()) - 1;  // the root itself
    window.reset();
    state.ResumeTiming();
  }
  state.counters["controls"] = controls;
}
BENCHMARK(BM_OpenArchiveAndBuildWindow)->Unit(benchmark::kMillisecond);

}  // namespace
