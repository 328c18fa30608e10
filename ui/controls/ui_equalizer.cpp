#include "ui/controls/ui_equalizer.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "ui/framework/notify.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/ui_utils.h"

namespace ui {
namespace {

using DuiLib::POINT;
using DuiLib::RECT;

bool IsShownFrequency(int frequency) {
  return frequency >= kLowestFrequencyHz && frequency <= kHighestFrequencyHz;
}

}  // namespace

UIEqualizer::UIEqualizer() {
  // Hovering a band selects it, so moves matter without a pressed button too.
  GetWidget()->setMouseTracking(true);
  // A press takes the focus: an edit left for a drag on the curve commits its value first.
  GetWidget()->setFocusPolicy(Qt::ClickFocus);
}

DuiLib::CControlUI* UIEqualizer::GetInterface(std::wstring_view name) {
  return name == L"Curve" ? this : CControlUI::GetInterface(name);
}

int UIEqualizer::DisplayScale() const {
  return GetManager() != nullptr ? GetManager()->GetLayoutScale() : 100;
}

void UIEqualizer::SetBands(std::span<const EqualizerBand> bands, int selectedIndex) {
  mBandCount = static_cast<int>(std::min<std::size_t>(bands.size(), kMaxEqualizerBands));
  mAllBypass = true;
  for (int i = 0; i < mBandCount; ++i) {
    mBands[i] = bands[i];
    if (bands[i].gain != 0.0f) {
      mAllBypass = false;
    }
  }
  mCurrentControlIndex = selectedIndex >= 0 && selectedIndex < mBandCount ? selectedIndex : -1;
  FullLayout();
  Invalidate();
}

void UIEqualizer::setCurEqHpLp(int highPassHz, int lowPassHz) {
  mHpFreq = IsShownFrequency(highPassHz) ? highPassHz : -1;
  mLpFreq = IsShownFrequency(lowPassHz) ? lowPassHz : -1;
  LayoutMarkers();
  Invalidate();
}

void UIEqualizer::SetCurves(std::span<const CurveInput> channels, int currChannel) {
  const int count = static_cast<int>(std::min<std::size_t>(channels.size(), kMaxCurveChannels));
  const bool selectionChanged = count != mChannelCount || currChannel != mCurrChannel;
  mChannelCount = count;
  mCurrChannel = currChannel;
  bool othersChanged = selectionChanged;
  bool selectedChanged = selectionChanged;
  for (int i = 0; i < kMaxCurveChannels; ++i) {
    ChannelCurve incoming;
    if (i < count) {
      const std::size_t n = std::min({channels[i].frequencies.size(), channels[i].levels.size(),
                                      static_cast<std::size_t>(kCurvePoints)});
      incoming.frequencies.assign(channels[i].frequencies.begin(),
                                  channels[i].frequencies.begin() + n);
      incoming.levels.assign(channels[i].levels.begin(), channels[i].levels.begin() + n);
      incoming.shown = channels[i].shown;
    }
    ChannelCurve& curve = mCurves[i];
    const bool same = incoming.frequencies == curve.frequencies &&
                      incoming.levels == curve.levels && incoming.shown == curve.shown;
    if (same && !selectionChanged) {
      continue;
    }
    curve.frequencies = std::move(incoming.frequencies);
    curve.levels = std::move(incoming.levels);
    curve.shown = incoming.shown;
    BuildCurvePath(i);
    if (!same) {
      mOtherLayers[i] = CurveLayer{};
      (i == currChannel ? selectedChanged : othersChanged) = true;
    }
  }
  if (othersChanged) {
    ++mOthersVersion;
  }
  if (selectedChanged) {
    mSelectedLayer = CurveLayer{};
  }
  Invalidate();
}

void UIEqualizer::SetDragAllDirection(std::uint8_t value) {
  mDragAllDirection = value;
  LayoutSelectedBand();
  Invalidate();
}

void UIEqualizer::SetText(std::wstring_view text) {
  CControlUI::SetText(text);
  if (mStyle.autoCalcWidth) {
    NeedParentUpdate();
  }
}

void UIEqualizer::SetPos(RECT rc) {
  CControlUI::SetPos(rc);
  // The pixel layout and curves follow the new size at once rather than at the next edit.
  if (mLaidOut) {
    FullLayout();
  }
}

void UIEqualizer::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (mStyle.SetAttribute(name, value)) {
    Invalidate();
  } else if (DuiLib::EqualsNoCase(name, L"bypassfont")) {
    mBypassFont = DuiLib::StrToInt(value);
  } else if (DuiLib::EqualsNoCase(name, L"curvecolor")) {
    mCurveColors.clear();
    std::wstring_view rest = value;
    while (!rest.empty()) {
      const std::size_t next = rest.find(L" #");
      mCurveColors.push_back(ParseArgb(rest.substr(0, next)));
      rest = next == std::wstring_view::npos ? std::wstring_view() : rest.substr(next + 1);
    }
    DropOtherLayers();
    Invalidate();
  } else if (DuiLib::EqualsNoCase(name, L"curvelogo")) {
    mCurveLogo = value;
    Invalidate();
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void UIEqualizer::FullLayout() {
  const DuiLib::SIZE size = GetClientSize();
  mGeometry = EqualizerGeometry::For(RECT{0, 0, size.cx, size.cy}, DisplayScale());
  mLaidOut = size.cx != 0 && size.cy != 0 && mGeometry.y0 != 0.0f;
  for (int i = 0; i < mBandCount; ++i) {
    mPoints[i] = POINT{mGeometry.FrequencyToX(mBands[i].frequency),
                       static_cast<int>(std::lround(mGeometry.GainToY(mBands[i].gain)))};
    mHitRects[i] = mGeometry.BandHitRect(mPoints[i]);
  }
  LayoutSelectedBand();
  LayoutMarkers();
  if (GetManager() != nullptr) {
    mLabelFont = GetManager()->GetFont(mStyle.font);
    mBypassQFont = GetManager()->GetFont(mBypassFont);
  }
  if (!(mGeometry.plot == mPathGeometry.plot) || mGeometry.scale != mPathGeometry.scale) {
    BuildCurvePaths();
  }
}

void UIEqualizer::LayoutSelectedBand() {
  mSelectedLabel.clear();
  mSelectedLabelRect = RECT{};
  mQLeft = RECT{};
  mQRight = RECT{};
  const int index = mCurrentControlIndex;
  if (index < 0 || index >= mBandCount) {
    return;
  }
  const EqualizerBand& band = mBands[index];
  const POINT point = mPoints[index];
  mHitRects[index] = mGeometry.BandHitRect(point);
  const bool freeDragging = mDragAllDirection == 1;
  if (freeDragging) {
    const std::wstring q = DuiLib::Format(L"%0.2f", static_cast<double>(band.q));
    mSelectedLabel = DuiLib::Format(L"%d Hz %ls Q %.1f dB", band.frequency, q.c_str(),
                                    static_cast<double>(band.gain));
    std::tie(mQLeft, mQRight) = mGeometry.QHandleRects(point, band.q);
  } else {
    mSelectedLabel = DuiLib::Format(L"%.1f dB", static_cast<double>(band.gain));
  }
  mSelectedLabelRect = mGeometry.SelectedLabelRect(point, freeDragging);
}

void UIEqualizer::LayoutMarkers() {
  mHpRect = mHpFreq != -1 ? mGeometry.MarkerRect(mHpFreq, kHighPassMarkerGainDb) : RECT{};
  mLpRect = mLpFreq != -1 ? mGeometry.MarkerRect(mLpFreq, kLowPassMarkerGainDb) : RECT{};
}

void UIEqualizer::Select(int index) {
  mCurrentControlIndex = index;
  SetText(DuiLib::Format(L"%d", index));
}

void UIEqualizer::Notify(std::wstring_view type) {
  if (GetManager() != nullptr) {
    GetManager()->SendNotify(this, type);
  }
}

void UIEqualizer::DoEvent(DuiLib::TEventUI& event) {
  switch (event.Type) {
    case DuiLib::UIEVENT_SETFOCUS:
      mFocused = true;
      return;
    case DuiLib::UIEVENT_KILLFOCUS:
      mFocused = false;
      return;
    case DuiLib::UIEVENT_BUTTONDOWN:
      OnButtonDown(event.ptMouse);
      break;
    case DuiLib::UIEVENT_BUTTONUP:
      OnButtonUp(event.ptMouse);
      break;
    case DuiLib::UIEVENT_MOUSEMOVE:
      OnMouseMove(event.ptMouse);
      break;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

void UIEqualizer::OnButtonDown(POINT point) {
  if (!IsEnabled()) {
    return;
  }
  QWidget* widget = GetWidget();
  if (mDragAllDirection == 1 && mCurrentControlIndex >= 0 &&
      (PtInRect(mQLeft, point) || PtInRect(mQRight, point))) {
    widget->setCursor(Qt::SizeHorCursor);
    mCapture = FACTOR_CAPTURED;
    return;
  }
  for (int i = 0; i < mBandCount; ++i) {
    if (PtInRect(mHitRects[i], point)) {
      widget->setCursor(mDragAllDirection == 1 ? Qt::SizeAllCursor : Qt::SizeVerCursor);
      Select(i);
      LayoutSelectedBand();
      mCapture = INDEX_CAPTURED;
      Invalidate();
      return;
    }
  }
  if (PtInRect(mHpRect, point) || PtInRect(mLpRect, point)) {
    widget->setCursor(Qt::SizeHorCursor);
    mCurrentControlIndex = -1;
    LayoutSelectedBand();
    mCapture = PtInRect(mHpRect, point) ? HP_CAPTURED : LP_CAPTURED;
    Invalidate();
  }
}

bool UIEqualizer::HoldsValidBand() {
  const bool bandCapture = mCapture == INDEX_CAPTURED || mCapture == FACTOR_CAPTURED;
  if (bandCapture && (mCurrentControlIndex < 0 || mCurrentControlIndex >= mBandCount)) {
    // The owner replaced the bands while the band was held: let it go.
    mCapture = NOT_CAPTURED;
  }
  return mCapture != NOT_CAPTURED;
}

void UIEqualizer::OnMouseMove(POINT point) {
  HoldsValidBand();
  const POINT clamped = mGeometry.Clamp(point);
  const int index = mCurrentControlIndex;
  switch (mCapture) {
    case INDEX_CAPTURED: {
      EqualizerBand& band = mBands[index];
      bool changed = false;
      mPoints[index].y = clamped.y;
      const double gain = mGeometry.YToGain(clamped.y);
      if (std::abs(gain - band.gain) > 0.001) {
        band.gain = static_cast<float>(gain);
        changed = true;
      }
      if (mDragAllDirection == 1) {
        mPoints[index].x = clamped.x;
        const int frequency = mGeometry.XToFrequency(clamped.x);
        if (frequency != band.frequency) {
          band.frequency = frequency;
          changed = true;
        }
      }
      LayoutSelectedBand();
      Invalidate();
      if (changed) {
        Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_EQ);
      }
      return;
    }
    case FACTOR_CAPTURED: {
      EqualizerBand& band = mBands[index];
      const double q = mGeometry.QFromDistance(clamped.x - mPoints[index].x);
      if (std::abs(q - band.q) >= 0.01) {
        band.q = static_cast<float>(q);
        LayoutSelectedBand();
        Invalidate();
        Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_EQ);
      }
      return;
    }
    case HP_CAPTURED: {
      const int frequency = mGeometry.XToFrequency(clamped.x);
      // A hidden low-pass marker sets no upper limit.
      if ((mLpFreq == -1 || frequency < mLpFreq) && frequency != mHpFreq) {
        mHpFreq = frequency;
        Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_HP);
      }
      return;
    }
    case LP_CAPTURED: {
      const int frequency = mGeometry.XToFrequency(clamped.x);
      if (frequency > mHpFreq && frequency != mLpFreq) {
        mLpFreq = frequency;
        Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_LP);
      }
      return;
    }
    default:
      break;
  }
  QWidget* widget = GetWidget();
  for (int i = 0; i < mBandCount; ++i) {
    if (PtInRect(mHitRects[i], point)) {
      widget->setCursor(Qt::PointingHandCursor);
      if (i != mCurrentControlIndex) {
        Select(i);
        LayoutSelectedBand();
        Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_EQ);
        Invalidate();
      }
      return;
    }
  }
  const bool overHandle = mDragAllDirection == 1 && mCurrentControlIndex >= 0 &&
                          (PtInRect(mQLeft, point) || PtInRect(mQRight, point));
  if (overHandle || PtInRect(mHpRect, point) || PtInRect(mLpRect, point)) {
    widget->setCursor(Qt::SizeHorCursor);
  } else {
    widget->setCursor(Qt::ArrowCursor);
  }
}

void UIEqualizer::OnButtonUp(POINT point) {
  if (!HoldsValidBand()) {
    return;
  }
  const POINT clamped = mGeometry.Clamp(point);
  const int index = mCurrentControlIndex;
  QWidget* widget = GetWidget();
  switch (mCapture) {
    case INDEX_CAPTURED: {
      EqualizerBand& band = mBands[index];
      mPoints[index].y = clamped.y;
      if (mDragAllDirection == 1) {
        mPoints[index].x = clamped.x;
        band.frequency = mGeometry.XToFrequency(clamped.x);
      }
      band.gain = static_cast<float>(mGeometry.YToGain(clamped.y));
      LayoutSelectedBand();
      Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_EQ);
      widget->setCursor(Qt::PointingHandCursor);
      break;
    }
    case FACTOR_CAPTURED:
      mBands[index].q = static_cast<float>(mGeometry.QFromDistance(clamped.x - mPoints[index].x));
      LayoutSelectedBand();
      Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_EQ);
      widget->setCursor(Qt::ArrowCursor);
      break;
    case HP_CAPTURED: {
      const int frequency = mGeometry.XToFrequency(clamped.x);
      if (mLpFreq == -1 || frequency < mLpFreq) {
        mHpFreq = frequency;
      }
      Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_HP);
      widget->setCursor(Qt::ArrowCursor);
      break;
    }
    case LP_CAPTURED: {
      const int frequency = mGeometry.XToFrequency(clamped.x);
      if (frequency > mHpFreq) {
        mLpFreq = frequency;
      }
      Notify(DuiLib::DUI_MSGTYPE_EQUALIZER_LP);
      widget->setCursor(Qt::ArrowCursor);
      break;
    }
    default:
      return;
  }
  mCapture = NOT_CAPTURED;
  Invalidate();
}

}  // namespace ui
