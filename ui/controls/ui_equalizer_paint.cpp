// Painting of the curve editor and the pixel paths of its curves.
#include <QPainter>
#include <array>
#include <cmath>
#include <string>

#include "ui/controls/curve_paths.h"
#include "ui/controls/plot_grid.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"

namespace ui {
namespace {

using DuiLib::RECT;

constexpr std::array<int, 5> kGainGridLines = {-15, -10, -5, 5, 10};
// Curve points are drawn only within this window; the flat ends beyond it mean nothing.
constexpr double kLowestCurveHz = 10.0;
constexpr double kHighestCurveHz = 20100.0;
constexpr DuiLib::DWORD kBypassTextColor = 0x77777777;
constexpr DuiLib::DWORD kSelectedColor = 0xFFFF0000;
constexpr DuiLib::DWORD kUnselectedColor = 0xFFFFFFFF;
// Distance of the all-bypass text from the top of the plot, in pixels.
constexpr int kBypassTextTop = 40;

QPen CurvePen(DuiLib::DWORD color, int width) {
  QPen pen(DuiLib::ToQColor(color));
  pen.setWidth(width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

}  // namespace

void UIEqualizer::BuildCurvePaths() {
  std::vector<QPointF> points;
  points.reserve(kCurvePoints);
  for (int i = 0; i < kMaxCurveChannels; ++i) {
    ChannelCurve& curve = mCurves[i];
    curve.path = QPainterPath();
    if (i >= mChannelCount || curve.frequencies.empty()) {
      continue;
    }
    // From the highest frequency down, as the curve is traced from the right.
    points.clear();
    for (std::size_t j = curve.frequencies.size(); j-- > 0;) {
      const double frequency = curve.frequencies[j];
      if (frequency < kLowestCurveHz || frequency > kHighestCurveHz) {
        continue;
      }
      points.emplace_back(mGeometry.FrequencyToX(frequency), mGeometry.GainToY(curve.levels[j]));
    }
    // The selected channel is drawn exactly; the others are smoothed to stay in the background.
    const std::vector<QPoint> pixels =
        i == mCurrChannel ? RoundedPixels(points) : SmoothedPixels(points, mGeometry.plot.left);
    if (pixels.size() > 1) {
      curve.path = BezierChainPath(std::span(pixels).first(pixels.size() - 1));
    }
  }
}

void UIEqualizer::DoPaint(QPainter& painter) {
  if (!mLaidOut) {
    FullLayout();
  } else {
    LayoutSelectedBand();
  }
  std::array<int, kGainGridLines.size()> levelYs{};
  for (std::size_t i = 0; i < kGainGridLines.size(); ++i) {
    levelYs[i] = static_cast<int>(std::lround(mGeometry.GainToY(kGainGridLines[i])));
  }
  std::array<int, kFrequencyGridLines.size() - 1> frequencyXs{};
  for (std::size_t i = 0; i < frequencyXs.size(); ++i) {
    frequencyXs[i] = mGeometry.FrequencyToX(kFrequencyGridLines[i]);
  }
  PaintPlotGrid(painter,
                PlotGrid{mGeometry.plot, static_cast<int>(std::lround(mGeometry.y0)), levelYs,
                         frequencyXs, mGeometry.Px(1)},
                GetBkColor());

  if (!mCurveLogo.empty()) {
    DrawImage(painter, mCurveLogo);
  } else if (mAllBypass) {
    const RECT& plot = mGeometry.plot;
    mStyle.Draw(
        painter, mBypassQFont, RECT{plot.left, plot.top + kBypassTextTop, plot.right, plot.bottom},
        RECT{Scale(mStyle.textPadding.left), Scale(mStyle.textPadding.top),
             Scale(mStyle.textPadding.right), Scale(mStyle.textPadding.bottom)},
        DuiLib::CResourceManager::GetInstance()->GetText(L"${all_bypass}"), kBypassTextColor);
  }
  PaintCurves(painter);
  PaintLabels(painter);
}

void UIEqualizer::PaintCurves(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  const bool selectedHasColor =
      mCurrChannel >= 0 && static_cast<std::size_t>(mCurrChannel) < mCurveColors.size();
  const int otherWidth = selectedHasColor ? mGeometry.Px(2) : mGeometry.Px(3);
  for (int i = 0; i < mChannelCount; ++i) {
    if (i == mCurrChannel || !mCurves[i].shown || mCurves[i].path.isEmpty()) {
      continue;
    }
    const DuiLib::DWORD color =
        static_cast<std::size_t>(i) < mCurveColors.size() ? mCurveColors[i] : kDefaultCurveColor;
    painter.setPen(CurvePen(color, otherWidth));
    painter.drawPath(mCurves[i].path);
  }
  if (mCurrChannel >= 0 && mCurrChannel < mChannelCount) {
    painter.setPen(CurvePen(kSelectedCurveColor, mGeometry.Px(2)));
    painter.drawPath(mCurves[mCurrChannel].path);
  }
  painter.restore();
}

void UIEqualizer::PaintLabels(QPainter& painter) const {
  const RECT padding{Scale(mStyle.textPadding.left), Scale(mStyle.textPadding.top),
                     Scale(mStyle.textPadding.right), Scale(mStyle.textPadding.bottom)};
  for (int i = 0; i < mBandCount; ++i) {
    mStyle.Draw(painter, mLabelFont, mHitRects[i], padding, std::to_wstring(i + 1),
                i == mCurrentControlIndex ? kSelectedColor : kUnselectedColor);
  }
  if (mCurrentControlIndex >= 0 && mCurrentControlIndex < mBandCount) {
    mStyle.Draw(painter, mLabelFont, mSelectedLabelRect, padding, mSelectedLabel, kSelectedColor);
    if (mDragAllDirection == 1) {
      painter.save();
      painter.setRenderHint(QPainter::Antialiasing, false);
      QPen pen(DuiLib::ToQColor(kSelectedColor));
      pen.setWidth(mGeometry.Px(1));
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      for (const RECT& handle : {mQLeft, mQRight}) {
        painter.drawRect(QRect(handle.left, handle.top, handle.Width() - 1, handle.Height() - 1));
      }
      painter.restore();
    }
  }
  if (mHpFreq != -1) {
    mStyle.Draw(painter, mLabelFont, mHpRect, padding, L"H",
                mCapture == HP_CAPTURED ? kSelectedColor : kUnselectedColor);
  }
  if (mLpFreq != -1) {
    mStyle.Draw(painter, mLabelFont, mLpRect, padding, L"L",
                mCapture == LP_CAPTURED ? kSelectedColor : kUnselectedColor);
  }
}

}  // namespace ui
