// Painting of the curve editor and the pixel paths of its curves.
#include <QPainter>
#include <algorithm>
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
// Levels beyond this are drawn at it: far outside any plot, and still whole pixel numbers.
constexpr double kLevelLimitDb = 1000.0;
constexpr DuiLib::DWORD kBypassTextColor = 0x77777777;
constexpr DuiLib::DWORD kSelectedColor = 0xFFFF0000;
constexpr DuiLib::DWORD kUnselectedColor = 0xFFFFFFFF;
// Distance of the all-bypass text from the top of the plot, in pixels.
constexpr int kBypassTextTop = 40;

QPen CurvePen(DuiLib::DWORD color, int width) {
  QPen pen(DuiLib::ToQColor(color));
  pen.setWidth(width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

}  // namespace

void UIEqualizer::BuildCurvePath(int channel) {
  ChannelCurve& curve = mCurves[channel];
  curve.path = QPainterPath();
  if (channel >= mChannelCount || curve.frequencies.empty()) {
    return;
  }
  // From the highest frequency down, as the curve is traced from the right.
  std::vector<QPointF> points;
  points.reserve(curve.frequencies.size());
  for (std::size_t j = curve.frequencies.size(); j-- > 0;) {
    const double frequency = curve.frequencies[j];
    // Written so that values that are not numbers fall out as well.
    if (!(frequency >= kLowestCurveHz && frequency <= kHighestCurveHz) ||
        !std::isfinite(curve.levels[j])) {
      continue;
    }
    points.emplace_back(
        mGeometry.FrequencyToX(frequency),
        mGeometry.GainToY(std::clamp(curve.levels[j], -kLevelLimitDb, kLevelLimitDb)));
  }
  // The selected channel is drawn exactly; the others are smoothed to stay in the background.
  const std::vector<QPoint> pixels =
      channel == mCurrChannel ? RoundedPixels(points) : SmoothedPixels(points, mGeometry.plot.left);
  // Segments far above or below the plot are left out: nothing of them could be seen.
  const RECT& plot = mGeometry.plot;
  const int margin = 4 * mGeometry.Px(3) + 4;
  const int left = std::min(mGeometry.FrequencyToX(kLowestCurveHz), plot.left) - margin;
  const QRectF visible(left, plot.top - margin, plot.right + margin - left,
                       plot.Height() + 2 * margin);
  if (pixels.size() > 1) {
    curve.path = BezierChainPath(std::span(pixels).first(pixels.size() - 1), visible);
  }
}

void UIEqualizer::BuildCurvePaths() {
  mPathGeometry = mGeometry;
  for (int i = 0; i < kMaxCurveChannels; ++i) {
    BuildCurvePath(i);
  }
  mOtherLayer = CurveLayer{};
  mSelectedLayer = CurveLayer{};
}

void UIEqualizer::DoPaint(QPainter& painter) {
  if (!mLaidOut) {
    FullLayout();
  } else {
    LayoutSelectedBand();
  }
  const qreal ratio = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  // Without a logo or the all-bypass text nothing lies between the grid and the curves, so the
  // other channels' curves join the grid's layer and a paint copies one opaque image.
  const bool othersInBase = mCurveLogo.empty() && !mAllBypass;
  PaintBase(painter, ratio, othersInBase);
  if (!othersInBase) {
    if (!mCurveLogo.empty()) {
      DrawImage(painter, mCurveLogo);
    } else {
      const RECT& plot = mGeometry.plot;
      mStyle.Draw(painter, mBypassQFont,
                  RECT{plot.left, plot.top + kBypassTextTop, plot.right, plot.bottom},
                  RECT{Scale(mStyle.textPadding.left), Scale(mStyle.textPadding.top),
                       Scale(mStyle.textPadding.right), Scale(mStyle.textPadding.bottom)},
                  DuiLib::CResourceManager::GetInstance()->GetText(L"${all_bypass}"),
                  kBypassTextColor);
    }
    PaintLayer(painter, mOtherLayer, ratio, false);
  }
  PaintLayer(painter, mSelectedLayer, ratio, true);
  PaintLabels(painter);
}

void UIEqualizer::PaintBase(QPainter& painter, qreal ratio, bool withOthers) {
  if (withOthers && (!mOtherLayer.valid || mOtherLayer.image.devicePixelRatioF() != ratio)) {
    RenderLayer(mOtherLayer, ratio, false);
  }
  // The layer of the other curves is rendered anew on every change, so its image identifies it.
  const qint64 othersKey = withOthers ? mOtherLayer.image.cacheKey() : -1;
  const DuiLib::DWORD background = GetBkColor();
  const RECT& plot = mGeometry.plot;
  const bool current = !mBaseLayer.isNull() && mBaseLayer.devicePixelRatioF() == ratio &&
                       mBaseColor == background && mBaseGeometry.plot == plot &&
                       mBaseGeometry.scale == mGeometry.scale && mBaseOthersKey == othersKey;
  if (!current && plot.Width() > 0 && plot.Height() > 0) {
    mBaseGeometry = mGeometry;
    mBaseColor = background;
    mBaseOthersKey = othersKey;
    const bool opaque = (background >> 24) == 0xFF;
    mBaseLayer = QImage(QSize(plot.Width(), plot.Height()) * ratio,
                        opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    mBaseLayer.setDevicePixelRatio(ratio);
    mBaseLayer.fill(Qt::transparent);
    std::array<int, kGainGridLines.size()> levelYs{};
    for (std::size_t i = 0; i < kGainGridLines.size(); ++i) {
      levelYs[i] = static_cast<int>(std::lround(mGeometry.GainToY(kGainGridLines[i])));
    }
    std::array<int, kFrequencyGridLines.size() - 1> frequencyXs{};
    for (std::size_t i = 0; i < frequencyXs.size(); ++i) {
      frequencyXs[i] = mGeometry.FrequencyToX(kFrequencyGridLines[i]);
    }
    QPainter layer(&mBaseLayer);
    layer.translate(-plot.left, -plot.top);
    PaintPlotGrid(layer,
                  PlotGrid{plot, static_cast<int>(std::lround(mGeometry.y0)), levelYs, frequencyXs,
                           mGeometry.Px(1)},
                  background);
    if (withOthers && !mOtherLayer.image.isNull()) {
      layer.drawImage(mOtherLayer.origin, mOtherLayer.image);
    }
  }
  if (!mBaseLayer.isNull()) {
    painter.drawImage(QPoint(plot.left, plot.top), mBaseLayer);
  }
}

void UIEqualizer::PaintLayer(QPainter& painter, CurveLayer& layer, qreal ratio, bool selected) {
  if (!layer.valid || layer.image.devicePixelRatioF() != ratio) {
    RenderLayer(layer, ratio, selected);
  }
  if (!layer.image.isNull()) {
    painter.drawImage(layer.origin, layer.image);
  }
}

void UIEqualizer::RenderLayer(CurveLayer& layer, qreal pixelRatio, bool selected) const {
  // A layer covers its curves where they can be seen: from the 10 Hz position (left of the plot)
  // to the plot's right edge, and a pen width beyond the plot at every side.
  const RECT& plot = mGeometry.plot;
  const int pad = mGeometry.Px(3) + 2;
  const int left = std::min(mGeometry.FrequencyToX(kLowestCurveHz), plot.left) - pad;
  QRect content;
  for (int i = 0; i < mChannelCount; ++i) {
    const bool drawn = selected ? i == mCurrChannel : i != mCurrChannel && mCurves[i].shown;
    if (drawn) {
      content |= mCurves[i].path.controlPointRect().toAlignedRect();
    }
  }
  const QRect bounds =
      content.adjusted(-pad, -pad, pad, pad) &
      QRect(left, plot.top - pad, plot.right + pad - left, plot.Height() + 2 * pad);
  layer.valid = true;
  layer.origin = bounds.topLeft();
  if (bounds.isEmpty()) {
    layer.image = QImage();
    return;
  }
  layer.image = QImage(bounds.size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  layer.image.setDevicePixelRatio(pixelRatio);
  layer.image.fill(Qt::transparent);
  QPainter painter(&layer.image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  painter.translate(-bounds.topLeft());
  if (selected) {
    StrokeSelectedCurve(painter);
  } else {
    StrokeOtherCurves(painter);
  }
}

void UIEqualizer::StrokeOtherCurves(QPainter& painter) const {
  const bool selectedHasColor =
      mCurrChannel >= 0 && static_cast<std::size_t>(mCurrChannel) < mCurveColors.size();
  const int width = selectedHasColor ? mGeometry.Px(2) : mGeometry.Px(3);
  for (int i = 0; i < mChannelCount; ++i) {
    if (i == mCurrChannel || !mCurves[i].shown || mCurves[i].path.isEmpty()) {
      continue;
    }
    const DuiLib::DWORD color =
        static_cast<std::size_t>(i) < mCurveColors.size() ? mCurveColors[i] : kDefaultCurveColor;
    painter.setPen(CurvePen(color, width));
    painter.drawPath(mCurves[i].path);
  }
}

void UIEqualizer::StrokeSelectedCurve(QPainter& painter) const {
  if (mCurrChannel >= 0 && mCurrChannel < mChannelCount) {
    painter.setPen(CurvePen(kSelectedCurveColor, mGeometry.Px(2)));
    painter.drawPath(mCurves[mCurrChannel].path);
  }
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
