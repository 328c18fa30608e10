// One paint of the curve editor as the main page shows it: 1230 x 420 layout units, eight shown
// channel curves computed by the response code, 31 bands with one selected and its Q handles,
// both crossover markers; painted into an offscreen raster image at 100 % and 200 %.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <cmath>
#include <vector>

#include "dsp_math/channel_curve.h"
#include "dsp_math/crossover_design.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/paint_manager.h"

namespace {

constexpr int kWidth = 1230;
constexpr int kHeight = 420;
constexpr int kChannels = 8;
constexpr int kBands = 31;

QApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  static int argc = 1;
  static char name[] = "bench_ui_controls";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

struct Curves {
  std::array<dsp_math::CurveArray, kChannels> frequencies{};
  std::array<dsp_math::CurveArray, kChannels> levels{};
  std::array<ui::EqualizerBand, kBands> bands{};
};

// Eight different channels: alternating band gains, each channel shifted and with its own
// crossover; channel 0's bands are the ones edited.
Curves MakeCurves() {
  Curves curves;
  for (int channel = 0; channel < kChannels; ++channel) {
    std::array<dsp_math::CurveBand, kBands> bands{};
    for (int i = 0; i < kBands; ++i) {
      bands[i].freq = static_cast<int>(20.0 * std::pow(1000.0, i / 30.0));
      bands[i].eqGain = static_cast<float>(((i + channel) % 2 == 0 ? 1 : -1) * (2 + (i % 7)));
      bands[i].eqFactor = 0.7f + static_cast<float>((i + channel) % 5);
      bands[i].enable = 1;
      if (channel == 0) {
        curves.bands[i] = {bands[i].eqGain, bands[i].eqFactor, bands[i].freq, 1};
      }
    }
    const dsp_math::CurveFilter highPass{40 + 20 * channel, dsp_math::kCrossoverButterworth, 4, 0};
    const dsp_math::CurveFilter lowPass{20000 - 1500 * channel, dsp_math::kCrossoverLinkwitzRiley,
                                        4, 0};
    dsp_math::ComputeChannelCurve(bands, highPass, lowPass, false, curves.frequencies[channel],
                                  curves.levels[channel]);
  }
  return curves;
}

// The editor as the main page shows it, with curves, bands and markers handed in.
struct Editor {
  explicit Editor(int scale) {
    manager.SetDPI(scale * DuiLib::kDefaultDpi / 100);
    editor.SetManager(&manager, nullptr);
    width = kWidth * scale / 100;
    height = kHeight * scale / 100;
    editor.SetPos(DuiLib::RECT{0, 0, width, height});
    editor.SetAttribute(L"bkcolor", L"#FF1E2228");
    editor.SetAttribute(L"curvecolor",
                        L"#FFE05050 #FFE0A050 #FFE0E050 #FF50E050 #FF50E0E0 #FF5050E0 "
                        L"#FFA050E0 #FFE050A0");
    for (int channel = 0; channel < kChannels; ++channel) {
      inputs.push_back({curves.frequencies[channel], curves.levels[channel], true});
    }
    editor.SetDragAllDirection(1);
    editor.SetCurves(inputs, 0);
    editor.SetBands(curves.bands, 12);
    editor.setCurEqHpLp(40, 20000);
  }

  void Paint(QImage& image) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    editor.DoPaint(painter);
  }

  DuiLib::CPaintManagerUI manager;
  ui::UIEqualizer editor;
  Curves curves = MakeCurves();
  std::vector<ui::CurveInput> inputs;
  int width = 0;
  int height = 0;
};

// A repaint with nothing changed (hover, focus, a marker drag before the owner answers).
void BM_CurveEditorPaint(benchmark::State& state) {
  Application();
  Editor editor(static_cast<int>(state.range(0)));
  QImage image(editor.width, editor.height, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    editor.Paint(image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(std::to_string(editor.width) + "x" + std::to_string(editor.height) + " px");
}
BENCHMARK(BM_CurveEditorPaint)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// An edit: the owner hands in the selected channel's new curve (the other channels unchanged)
// and the bands, then the editor paints.
void BM_CurveEditorEditAndPaint(benchmark::State& state) {
  Application();
  Editor editor(static_cast<int>(state.range(0)));
  QImage image(editor.width, editor.height, QImage::Format_ARGB32_Premultiplied);
  dsp_math::CurveArray& selected = editor.curves.levels[0];
  double step = 0.5;
  for (auto _ : state) {
    for (double& level : selected) {
      level += step;
    }
    step = -step;
    editor.editor.SetCurves(editor.inputs, 0);
    editor.editor.SetBands(editor.curves.bands, 12);
    editor.Paint(image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(std::to_string(editor.width) + "x" + std::to_string(editor.height) + " px");
}
BENCHMARK(BM_CurveEditorEditAndPaint)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// Another channel selected: every curve is drawn again (the cost of any change to the other
// channels, a resize or a new scale as well).
void BM_CurveEditorChannelSwitchAndPaint(benchmark::State& state) {
  Application();
  Editor editor(static_cast<int>(state.range(0)));
  QImage image(editor.width, editor.height, QImage::Format_ARGB32_Premultiplied);
  int channel = 0;
  for (auto _ : state) {
    channel = 1 - channel;
    editor.editor.SetCurves(editor.inputs, channel);
    editor.Paint(image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.SetLabel(std::to_string(editor.width) + "x" + std::to_string(editor.height) + " px");
}
BENCHMARK(BM_CurveEditorChannelSwitchAndPaint)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
