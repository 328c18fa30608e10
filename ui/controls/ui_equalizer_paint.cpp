// Painting of the curve editor and the pixel paths of its curves.
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "ui/controls/curve_paths.h"
#include "ui/controls/plot_grid.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"

namespace ui {
namespace {

using DuiLib::RECT;

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

// Column width of a cut layer, in device pixels: narrow enough that a sloping curve's column
// stays short, wide enough that the columns are few to draw.
constexpr int kStripWidth = 32;

// The rectangles of `area` in `image`, column by column, that hold every pixel not fully
// transparent; columns without any such pixel are left out. One pass over the rows, without
// early exits, so that the inner loop stays a plain reduction.
std::vector<QRect> InkedColumns(const QImage& image, const QRect& area) {
  const int count = (area.width() + kStripWidth - 1) / kStripWidth;
  std::vector<int> tops(count, -1);
  std::vector<int> bottoms(count, -1);
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + area.left();
    for (int c = 0; c < count; ++c) {
      const QRgb* column = line + c * kStripWidth;
      const int width = std::min(kStripWidth, area.width() - c * kStripWidth);
      QRgb ink = 0;
      // A fixed count for every whole column, which the compiler unrolls and vectorises.
      if (width == kStripWidth) {
        for (int x = 0; x < kStripWidth; ++x) {
          ink |= column[x];
        }
      } else {
        for (int x = 0; x < width; ++x) {
          ink |= column[x];
        }
      }
      // Premultiplied pixels are zero exactly where they are fully transparent.
      if (ink != 0) {
        tops[c] = tops[c] < 0 ? y : tops[c];
        bottoms[c] = y;
      }
    }
  }
  std::vector<QRect> columns;
  for (int c = 0; c < count; ++c) {
    if (tops[c] >= 0) {
      const int x0 = area.left() + c * kStripWidth;
      const int x1 = std::min(x0 + kStripWidth, area.right() + 1);
      columns.emplace_back(QPoint(x0, tops[c]), QPoint(x1 - 1, bottoms[c]));
    }
  }
  return columns;
}

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
  DropOtherLayers();
  mSelectedLayer = CurveLayer{};
}

void UIEqualizer::DropOtherLayers() {
  mOtherLayers = {};
  ++mOthersVersion;
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
    PaintOtherCurves(painter, ratio);
  }
  if (mCurrChannel >= 0 && mCurrChannel < mChannelCount) {
    PaintLayer(painter, mSelectedLayer, ratio, mCurrChannel, kSelectedCurveColor, mGeometry.Px(2));
  }
  PaintLabels(painter);
}

void UIEqualizer::PaintBase(QPainter& painter, qreal ratio, bool withOthers) {
  const qint64 othersKey = withOthers ? mOthersVersion : -1;
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
    const QSize size = QSize(plot.Width(), plot.Height()) * ratio;
    const QImage::Format format =
        opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    // Drawn over in place when the size stays: a fresh image of this size costs page faults
    // worth as much as the drawing.
    if (mBaseLayer.size() != size || mBaseLayer.format() != format) {
      mBaseLayer = QImage(size, format);
    }
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
    if (withOthers) {
      PaintOtherCurves(layer, ratio);
    }
  }
  if (!mBaseLayer.isNull()) {
    painter.drawImage(QPoint(plot.left, plot.top), mBaseLayer);
  }
}

void UIEqualizer::PaintOtherCurves(QPainter& painter, qreal ratio) {
  const bool selectedHasColor =
      mCurrChannel >= 0 && static_cast<std::size_t>(mCurrChannel) < mCurveColors.size();
  const int width = selectedHasColor ? mGeometry.Px(2) : mGeometry.Px(3);
  if (width != mOtherWidth) {
    mOtherLayers = {};
    mOtherWidth = width;
  }
  for (int i = 0; i < mChannelCount; ++i) {
    if (i == mCurrChannel || !mCurves[i].shown) {
      continue;
    }
    const DuiLib::DWORD color =
        static_cast<std::size_t>(i) < mCurveColors.size() ? mCurveColors[i] : kDefaultCurveColor;
    PaintLayer(painter, mOtherLayers[i], ratio, i, color, width);
  }
}

void UIEqualizer::PaintLayer(QPainter& painter, CurveLayer& layer, qreal ratio, int channel,
                             DuiLib::DWORD color, int width) {
  if (!layer.valid || layer.ratio != ratio) {
    RenderLayer(layer, ratio, channel, color, width);
  }
  for (const CurveLayer::Strip& strip : layer.strips) {
    painter.drawImage(QPointF(layer.origin) + strip.offset, strip.image);
  }
}

void UIEqualizer::RenderLayer(CurveLayer& layer, qreal pixelRatio, int channel, DuiLib::DWORD color,
                              int width) {
  // A layer covers its curve where it can be seen: from the 10 Hz position (left of the plot)
  // to the plot's right edge, and a pen width beyond the plot at every side.
  const RECT& plot = mGeometry.plot;
  const int pad = mGeometry.Px(3) + 2;
  const int left = std::min(mGeometry.FrequencyToX(kLowestCurveHz), plot.left) - pad;
  const QPainterPath& path = mCurves[channel].path;
  const QRect bounds =
      path.controlPointRect().toAlignedRect().adjusted(-pad, -pad, pad, pad) &
      QRect(left, plot.top - pad, plot.right + pad - left, plot.Height() + 2 * pad);
  layer.strips.clear();
  layer.origin = bounds.topLeft();
  layer.ratio = pixelRatio;
  layer.valid = true;
  if (path.isEmpty() || bounds.isEmpty()) {
    return;
  }
  const QSize size = bounds.size() * pixelRatio;
  if (mStrokeCanvas.width() < size.width() || mStrokeCanvas.height() < size.height()) {
    mStrokeCanvas =
        QImage(size.expandedTo(mStrokeCanvas.size()), QImage::Format_ARGB32_Premultiplied);
  }
  mStrokeCanvas.setDevicePixelRatio(pixelRatio);
  mStrokeCanvas.fill(Qt::transparent);
  {
    QPainter painter(&mStrokeCanvas);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.translate(-bounds.topLeft());
    painter.setPen(CurvePen(color, width));
    painter.drawPath(path);
  }
  for (const QRect& ink : InkedColumns(mStrokeCanvas, QRect(QPoint(0, 0), size))) {
    QImage image = mStrokeCanvas.copy(ink);
    image.setDevicePixelRatio(pixelRatio);
    layer.strips.push_back({std::move(image), QPointF(ink.topLeft()) / pixelRatio});
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
