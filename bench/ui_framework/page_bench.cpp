// A main page of about 800 controls at 100 %: building it from the archive (goal: under 60 ms),
// refreshing 250 controls found by name and repainting once (under 5 ms), and one visibility
// change with its layout (under 1 ms).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>
#include <memory>

#include "bench/ui_framework/bench_skin.h"
#include "ui/framework/ui_framework.h"

namespace {

using namespace DuiLib;

class PageWindow : public WindowImplBase {
 protected:
  std::wstring GetWindowClassName() const override { return L"PageWnd"; }
  std::wstring GetSkinFile() override { return L"XML_PAGE"; }
};

std::unique_ptr<PageWindow> OpenPage(benchmark::State& state) {
  auto window = std::make_unique<PageWindow>();
  if (window->Create(0, L"page", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW) == 0) {
    state.SkipWithError("the page layout did not build");
    return nullptr;
  }
  return window;
}

void BM_BuildPageWindow(benchmark::State& state) {
  uibench::LoadBenchSkin();
  int controls = 0;
  int scale = 0;
  for (auto _ : state) {
    std::unique_ptr<PageWindow> window = OpenPage(state);
    if (!window) {
      break;
    }
    state.PauseTiming();
    controls = uibench::CountControls(window->GetPaintManager().GetRoot()) - 1;
    scale = window->GetPaintManager().GetScale();
    window.reset();
    state.ResumeTiming();
  }
  state.counters["controls"] = controls;
  state.counters["scale"] = scale;
}
BENCHMARK(BM_BuildPageWindow)->Unit(benchmark::kMillisecond);

// The names a page refresh sets: every band's five controls and twelve of each output strip.
std::vector<std::wstring> RefreshedNames() {
  std::vector<std::wstring> names;
  for (int i = 0; i < 31; ++i) {
    for (const wchar_t* format :
         {L"band_slider_%d", L"band_gain_%d", L"band_freq_%d", L"band_q_%d", L"band_enable_%d"}) {
      names.push_back(Format(format, i));
    }
  }
  for (int i = 0; i < 8; ++i) {
    for (const wchar_t* format :
         {L"out_name_%d", L"out_select_%d", L"out_mute_%d", L"out_phase_%d", L"out_trim_slider_%d",
          L"out_trim_%d", L"out_delay_slider_%d", L"out_delay_%d", L"out_hp_%d", L"out_lp_%d",
          L"out_role_%d", L"out_level_%d"}) {
      names.push_back(Format(format, i));
    }
  }
  return names;
}

// The page built from a freshly opened archive and shown; null (and the benchmark skipped) when it
// cannot be built.
std::unique_ptr<PageWindow> ShowPage(benchmark::State& state) {
  uibench::LoadBenchSkin();
  std::unique_ptr<PageWindow> window = OpenPage(state);
  if (window) {
    window->ShowWindow(true, false);
    // Painting waits for the window system to expose the window.
    QWindow* native = window->GetPaintManager().GetRoot()->GetWidget()->window()->windowHandle();
    QDeadlineTimer deadline(5000);
    while (native != nullptr && !native->isExposed() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (native == nullptr || !native->isExposed()) {
      state.SkipWithError("the page window was not exposed");
      return nullptr;
    }
  }
  return window;
}

void BM_RefreshPageByName(benchmark::State& state) {
  const std::unique_ptr<PageWindow> window = ShowPage(state);
  if (!window) {
    return;
  }
  CPaintManagerUI& pm = window->GetPaintManager();
  QWidget* host = pm.GetRoot()->GetWidget()->window();
  host->repaint();
  const std::vector<std::wstring> names = RefreshedNames();
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (const std::wstring& name : names) {
      CControlUI* control = pm.FindControl(name);
      if (auto* slider = dynamic_cast<CProgressUI*>(control)) {
        slider->SetValue(round % 100 - 50);
      } else if (auto* option = dynamic_cast<COptionUI*>(control)) {
        option->Selected(round % 2 == 0, false);
      } else if (control != nullptr) {
        control->SetText(Format(L"%d.%d", round % 20, round % 10));
      }
    }
    pm.UpdateLayout();
    host->repaint();
  }
  state.counters["lookups"] = static_cast<double>(names.size());
}
BENCHMARK(BM_RefreshPageByName)->Unit(benchmark::kMillisecond);

void BM_VisibilityChangeAndLayout(benchmark::State& state) {
  const std::unique_ptr<PageWindow> window = ShowPage(state);
  if (!window) {
    return;
  }
  CPaintManagerUI& pm = window->GetPaintManager();
  CControlUI* phase = pm.FindControl(L"out_phase_3");
  bool shown = true;
  for (auto _ : state) {
    shown = !shown;
    phase->SetVisible(shown);
    pm.UpdateLayout();
  }
}
BENCHMARK(BM_VisibilityChangeAndLayout)->Unit(benchmark::kMicrosecond);

}  // namespace
