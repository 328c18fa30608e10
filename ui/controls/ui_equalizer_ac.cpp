#include "ui/controls/ui_equalizer_ac.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/controls/curve_paths.h"
#include "ui/controls/plot_grid.h"
#include "ui/framework/qt_convert.h"

namespace ui {
namespace {

constexpr double kTopLevelDb = 20.0;
constexpr std::array<int, 6> kLevelGridLines = {-15, -10, -5, 5, 10, 15};
constexpr int kCurvePenWidth = 2;
// Levels beyond this are drawn at it: far outside the plot, and still whole pixel numbers.
constexpr double kLevelLimitDb = 1000.0;

// Pixel conversions of this display: no rounding inside, the level scale symmetric around 0.
struct AcGeometry {
  DuiLib::RECT plot;
  int y0 = 0;

  explicit AcGeometry(DuiLib::SIZE size)
      : plot{0, 0, size.cx, size.cy}, y0(plot.top + 20 * plot.Height() / 40) {}

  double X(double frequency) const {
    const double logLow = std::log10(static_cast<double>(kLowestFrequencyHz));
    const double logSpan = std::log10(static_cast<double>(kHighestFrequencyHz)) - logLow;
    return plot.left + (std::log10(frequency) - logLow) * plot.Width() / logSpan;
  }
  double Y(double level) const {
    if (level > 0) {
      return y0 - (y0 - plot.top) * level / kTopLevelDb;
    }
    if (level < 0) {
      return y0 + (plot.bottom - y0) * level / -kTopLevelDb;
    }
    return y0;
  }
};

bool InPlotRange(double frequency) {
  return frequency >= kLowestFrequencyHz && frequency <= kHighestFrequencyHz;
}

}  // namespace

DuiLib::CControlUI* UIEqualizerAc::GetInterface(std::wstring_view name) {
  return name == L"Curve" ? this : CControlUI::GetInterface(name);
}

int UIEqualizerAc::Store(Curves& curves, std::span<const CurveInput> channels, int points) {
  const int count = static_cast<int>(std::min<std::size_t>(channels.size(), kMaxCurveChannels));
  for (int i = 0; i < kMaxCurveChannels; ++i) {
    curves[i] = Curve{};
    if (i >= count) {
      continue;
    }
    const std::size_t n = std::min({channels[i].frequencies.size(), channels[i].levels.size(),
                                    static_cast<std::size_t>(points)});
    curves[i].frequencies.assign(channels[i].frequencies.begin(),
                                 channels[i].frequencies.begin() + n);
    curves[i].levels.assign(channels[i].levels.begin(), channels[i].levels.begin() + n);
    curves[i].shown = channels[i].shown;
  }
  return count;
}

void UIEqualizerAc::SetEqCurves(std::span<const CurveInput> channels) {
  mEqCount = Store(mEqCurves, channels, kCurvePoints);
  BuildPaths();
  Invalidate();
}

void UIEqualizerAc::SetResponseCurves(std::span<const CurveInput> channels) {
  mResponseCount = Store(mResponses, channels, kResponsePoints);
  BuildPaths();
  Invalidate();
}

void UIEqualizerAc::SetText(std::wstring_view text) {
  CControlUI::SetText(text);
  if (mStyle.autoCalcWidth) {
    NeedParentUpdate();
  }
}

void UIEqualizerAc::SetPos(DuiLib::RECT rc) {
  CControlUI::SetPos(rc);
  BuildPaths();
}

void UIEqualizerAc::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (mStyle.SetAttribute(name, value)) {
    Invalidate();
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void UIEqualizerAc::BuildPaths() {
  mPathSize = GetClientSize();
  const AcGeometry geometry(mPathSize);
  std::vector<QPointF> points;
  points.reserve(kCurvePoints);
  // Both kinds are traced from the highest frequency down, keeping only the plot's range.
  const auto convert = [&](const Curve& curve) {
    points.clear();
    for (std::size_t j = curve.frequencies.size(); j-- > 0;) {
      if (InPlotRange(curve.frequencies[j]) && std::isfinite(curve.levels[j])) {
        const double level = std::clamp(curve.levels[j], -kLevelLimitDb, kLevelLimitDb);
        points.emplace_back(geometry.X(curve.frequencies[j]), geometry.Y(level));
      }
    }
  };
  for (int i = 0; i < kMaxCurveChannels; ++i) {
    mResponses[i].path = QPainterPath();
    if (i < mResponseCount) {
      convert(mResponses[i]);
      mResponses[i].path = CardinalSplinePath(RoundedPixels(points));
    }
    mEqCurves[i].path = QPainterPath();
    if (i < mEqCount) {
      convert(mEqCurves[i]);
      const std::vector<QPoint> pixels = SmoothedPixels(points, geometry.plot.left);
      if (pixels.size() > 1) {
        mEqCurves[i].path = BezierChainPath(std::span(pixels).first(pixels.size() - 1));
      }
    }
  }
}

void UIEqualizerAc::DoPaint(QPainter& painter) {
  const DuiLib::SIZE size = GetClientSize();
  if (size.cx != mPathSize.cx || size.cy != mPathSize.cy) {
    BuildPaths();
  }
  const AcGeometry geometry(size);
  std::array<int, kLevelGridLines.size()> levelYs{};
  for (std::size_t i = 0; i < kLevelGridLines.size(); ++i) {
    levelYs[i] = static_cast<int>(std::lround(geometry.Y(kLevelGridLines[i])));
  }
  std::array<int, kFrequencyGridLines.size() - 1> frequencyXs{};
  for (std::size_t i = 0; i < frequencyXs.size(); ++i) {
    frequencyXs[i] = static_cast<int>(geometry.X(kFrequencyGridLines[i]));
  }
  PaintPlotGrid(painter, PlotGrid{geometry.plot, geometry.y0, levelYs, frequencyXs, 1},
                GetBkColor());

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  const auto stroke = [&](const Curve& curve, DuiLib::DWORD color) {
    if (!curve.shown || curve.path.isEmpty()) {
      return;
    }
    QPen pen(DuiLib::ToQColor(color));
    pen.setWidth(kCurvePenWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawPath(curve.path);
  };
  for (int i = 0; i < mResponseCount; ++i) {
    stroke(mResponses[i], kAcResponseColors[i]);
  }
  for (int i = 0; i < mEqCount; ++i) {
    stroke(mEqCurves[i], kAcEqualizerColors[i]);
  }
  painter.restore();
}

void UIEqualizerAc::DoEvent(DuiLib::TEventUI& event) {
  if (event.Type == DuiLib::UIEVENT_SETFOCUS) {
    mFocused = true;
  } else if (event.Type == DuiLib::UIEVENT_KILLFOCUS) {
    mFocused = false;
  } else {
    CControlUI::DoEvent(event);
  }
}

}  // namespace ui
