// UIEqualizer: the curve editor (layout tag "Curve"). It draws the response curves of the output
// channels on a logarithmic frequency axis and lets the user edit the selected channel's equaliser
// with the mouse: a band's point sets its gain (and, with free dragging on, its frequency), the two
// Q handles set its Q, and the "H" and "L" markers move the high-pass and low-pass frequencies.
// Every edit is reported with "equalizer_eq", "equalizer_hp" or "equalizer_lp"; the listener reads
// the values back and pushes the accepted ones in again with SetBands / setCurEqHpLp.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ui/controls/curve_constants.h"
#include "ui/controls/equalizer_geometry.h"
#include "ui/controls/label_style.h"
#include "ui/framework/control.h"

namespace ui {

// One band as the editor keeps it.
struct EqualizerBand {
  float gain = 0.0f;  // dB
  float q = 0.0f;
  std::int32_t frequency = 0;  // Hz
  std::uint8_t enabled = 0;
};

// One channel's curve as handed in: matching frequency (Hz) and level (dB) arrays.
struct CurveInput {
  std::span<const double> frequencies;
  std::span<const double> levels;
  bool shown = false;
};

enum EqualizerCapture : int {
  NOT_CAPTURED = 0,
  INDEX_CAPTURED = 1,   // dragging a band point
  FACTOR_CAPTURED = 2,  // dragging a Q handle
  HP_CAPTURED = 3,
  LP_CAPTURED = 4,
};

inline constexpr DuiLib::DWORD kSelectedCurveColor = 0xFF2BBBFF;
inline constexpr DuiLib::DWORD kDefaultCurveColor = 0xFF646464;

class UIEqualizer : public DuiLib::CControlUI {
 public:
  UIEqualizer();

  std::wstring_view GetClass() const override { return L"UIEqualizer"; }
  DuiLib::CControlUI* GetInterface(std::wstring_view name) override;

  // Takes the bands (at most 31) and the selected band (-1 for none), sets the all-bypass flag
  // when every gain is exactly 0, and lays everything out again.
  void SetBands(std::span<const EqualizerBand> bands, int selectedIndex);
  // The crossover frequencies; a value outside 20..20000 hides its marker (-1).
  void setCurEqHpLp(int highPassHz, int lowPassHz);
  // The curves of up to 8 channels and the selected one, drawn highlighted.
  void SetCurves(std::span<const CurveInput> channels, int currChannel);
  // 1: bands move freely and have Q handles; 0: bands move vertically only.
  void SetDragAllDirection(std::uint8_t value);

  int GetBandCount() const { return mBandCount; }
  // Band `index` as last edited or handed in; an empty band for an index outside 0..30.
  EqualizerBand GetBand(int index) const {
    return IsBandSlot(index) ? mBands[index] : EqualizerBand{};
  }
  int GetHpFreq() const { return mHpFreq; }
  int GetLpFreq() const { return mLpFreq; }
  int GetCurrentControlIndex() const { return mCurrentControlIndex; }
  std::uint8_t GetDragAllDirection() const { return mDragAllDirection; }
  int GetCaptureState() const { return mCapture; }
  bool IsAllBypass() const { return mAllBypass; }
  bool HasFocusFlag() const { return mFocused; }
  const EqualizerGeometry& GetGeometry() const { return mGeometry; }
  // Points and rectangles as last laid out, in control pixels (empty outside 0..30).
  DuiLib::RECT GetBandHitRect(int index) const {
    return IsBandSlot(index) ? mHitRects[index] : DuiLib::RECT{};
  }
  DuiLib::POINT GetBandPoint(int index) const {
    return IsBandSlot(index) ? mPoints[index] : DuiLib::POINT{};
  }
  const DuiLib::RECT& GetHpRect() const { return mHpRect; }
  const DuiLib::RECT& GetLpRect() const { return mLpRect; }
  const DuiLib::RECT& GetQHandleRect(int side) const { return side == 0 ? mQLeft : mQRight; }
  const std::wstring& GetSelectedLabel() const { return mSelectedLabel; }
  const DuiLib::RECT& GetSelectedLabelRect() const { return mSelectedLabelRect; }
  DuiLib::DWORD GetTextColor() const { return mStyle.textColor; }
  DuiLib::DWORD GetDisabledTextColor() const { return mStyle.disabledTextColor; }

  void SetText(std::wstring_view text) override;
  void SetPos(DuiLib::RECT rc) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void DoPaint(QPainter& painter) override;
  void DoEvent(DuiLib::TEventUI& event) override;

 private:
  static bool IsBandSlot(int index) { return index >= 0 && index < kMaxEqualizerBands; }
  int DisplayScale() const;
  void FullLayout();
  void LayoutSelectedBand();
  void LayoutMarkers();
  // Pixel paths of the curves, rebuilt when a channel's data, the selected channel or the layout
  // changes.
  void BuildCurvePath(int channel);
  void BuildCurvePaths();
  void Select(int index);
  void Notify(std::wstring_view type);
  // Whether a capture is on; ends a band capture whose band no longer exists.
  bool HoldsValidBand();
  void OnButtonDown(DuiLib::POINT point);
  void OnButtonUp(DuiLib::POINT point);
  void OnMouseMove(DuiLib::POINT point);
  // Every curve is drawn from a layer of its own, rendered again only when what it shows changes:
  // an edit redraws the selected curve alone, and a channel switch only composes the cached
  // strokes of the other channels anew (rasterising a curve costs far more than copying it).
  struct CurveLayer {
    // The stroke cut into narrow columns, each cropped to the rows it covers: a curve inks only a
    // thin band of its bounding box, and composing or keeping empty pixels costs as much as inked
    // ones.
    struct Strip {
      QImage image;
      QPointF offset;  // from the layer's origin, in control pixels
    };
    std::vector<Strip> strips;
    QPoint origin;
    qreal ratio = 0.0;  // the device pixel ratio it was rendered for
    bool valid = false;
  };
  // The background, frame and grid (with the other channels' curves when `withOthers`), from a
  // layer kept while the layout, the colour and those curves stay.
  void PaintBase(QPainter& painter, qreal ratio, bool withOthers);
  // The channels other than the selected one, each in its colour at the unselected width.
  void PaintOtherCurves(QPainter& painter, qreal ratio);
  void PaintLayer(QPainter& painter, CurveLayer& layer, qreal ratio, int channel,
                  DuiLib::DWORD color, int width);
  void RenderLayer(CurveLayer& layer, qreal pixelRatio, int channel, DuiLib::DWORD color,
                   int width);
  // Forgets every channel's unselected stroke and the base holding them.
  void DropOtherLayers();
  void PaintLabels(QPainter& painter) const;

  std::array<EqualizerBand, kMaxEqualizerBands> mBands{};
  int mBandCount = 0;
  int mHpFreq = -1;
  int mLpFreq = -1;
  int mCurrentControlIndex = -1;
  std::uint8_t mDragAllDirection = 0;
  int mCapture = NOT_CAPTURED;
  bool mAllBypass = false;
  bool mFocused = false;
  bool mLaidOut = false;

  EqualizerGeometry mGeometry;
  std::array<DuiLib::POINT, kMaxEqualizerBands> mPoints{};
  std::array<DuiLib::RECT, kMaxEqualizerBands> mHitRects{};
  std::wstring mSelectedLabel;
  DuiLib::RECT mSelectedLabelRect;
  DuiLib::RECT mQLeft;
  DuiLib::RECT mQRight;
  DuiLib::RECT mHpRect;
  DuiLib::RECT mLpRect;

  struct ChannelCurve {
    std::vector<double> frequencies;
    std::vector<double> levels;
    bool shown = false;
    QPainterPath path;  // in control pixels, for the current geometry
  };
  std::array<ChannelCurve, kMaxCurveChannels> mCurves;
  int mChannelCount = 0;
  int mCurrChannel = -1;
  EqualizerGeometry mPathGeometry;  // the layout the paths were built for
  QImage mBaseLayer;
  EqualizerGeometry mBaseGeometry;
  DuiLib::DWORD mBaseColor = 0;
  qint64 mBaseOthersKey = -1;  // the `mOthersVersion` it holds, -1 for none
  // Raised whenever the set of other curves or one of their strokes changes.
  qint64 mOthersVersion = 0;
  // Each channel in the unselected style (its path smoothed); kept while it is selected, as its
  // data has not changed when it is unselected again.
  std::array<CurveLayer, kMaxCurveChannels> mOtherLayers;
  int mOtherWidth = 0;  // the pen width of `mOtherLayers`
  CurveLayer mSelectedLayer;
  QImage mStrokeCanvas;  // a layer's whole stroke before it is cut; kept to spare reallocation

  LabelStyle mStyle;
  int mBypassFont = -1;
  std::vector<DuiLib::DWORD> mCurveColors;
  std::wstring mCurveLogo;
  QFont mLabelFont;
  QFont mBypassQFont;
};

}  // namespace ui
