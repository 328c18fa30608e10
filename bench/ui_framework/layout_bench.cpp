// Opening the skin archive and building a 500-control window from it, at 100 % scale.
// Goal: under 150 ms per window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdint>
#include <span>

#include "ui/framework/ui_framework.h"

namespace benchskin {
std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();
}  // namespace benchskin

namespace {

using namespace DuiLib;

class BenchWindow : public WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"BenchWnd"; }
  std::wstring GetSkinFile() override { return L"XML_BENCH"; }
  void InitWindow() override {
    // The scale rule picks a DPI from the monitor; the goal is stated at 100 %.
    mPaintManager.SetDPI(kDefaultDpi);
    mPaintManager.Relayout();
  }
};

int CountControls(CControlUI* control) {
  int count = 1;
  if (auto* container = dynamic_cast<CContainerUI*>(control)) {
    for (int i = 0; i < container->GetCount(); ++i) {
      count += CountControls(container->GetItemAt(i));
    }
  }
  return count;
}

void BM_OpenArchiveAndBuildWindow(benchmark::State& state) {
  auto* resources = CResourceManager::GetInstance();
  int controls = 0;
  for (auto _ : state) {
    resources->Reset();
    resources->SetResourceZip(benchskin::EmbeddedArchive(), benchskin::ArchivePassword());
    resources->LoadResource();
    auto window = std::make_unique<BenchWindow>();
    if (window->Create(0, L"bench", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW) == 0) {
      state.SkipWithError("the bench layout did not build");
      break;
    }
    state.PauseTiming();
    controls = CountControls(window->GetPaintManager().GetRoot()) - 1;  // the root itself
    window.reset();
    state.ResumeTiming();
  }
  state.counters["controls"] = controls;
}
BENCHMARK(BM_OpenArchiveAndBuildWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InitUIFramework();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ShutdownUIFramework();
  return 0;
}
