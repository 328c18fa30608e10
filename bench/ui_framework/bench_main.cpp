// The framework benchmarks run offscreen on one 1366 x 768 screen, where the window scale rule
// keeps 100 %, the scale their goals are stated at.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/framework/ui_framework.h"

int main(int argc, char** argv) {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + VEXARO_BENCH_SCREEN);
  }
  QApplication app(argc, argv);
  DuiLib::InitUIFramework();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  DuiLib::ShutdownUIFramework();
  return 0;
}
