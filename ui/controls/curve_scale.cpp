#include "ui/controls/curve_scale.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/controls/equalizer_geometry.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/ui_utils.h"

namespace ui {
namespace {

using DuiLib::RECT;

// The frequencies that get a number: the decades and their 2 and 5 steps, from edge to edge.
constexpr std::array<int, 10> kLabelledFrequencies = {20,   50,   100,  200,   500,
                                                      1000, 2000, 5000, 10000, 20000};
// The solid 0 dB line and the dotted level lines, top to bottom.
constexpr std::array<int, 6> kLabelledLevels = {10, 5, 0, -5, -10, -15};
// Room left around a label's text, in layout units.
constexpr int kLabelMargin = 2;

std::wstring FrequencyText(int hz) {
  return hz >= 1000 ? std::to_wstring(hz / 1000) + L"k" : std::to_wstring(hz);
}

std::wstring LevelText(int db) {
  return db > 0 ? L"+" + std::to_wstring(db) : std::to_wstring(db);
}

}  // namespace

UICurveScale::UICurveScale() {
  mStyle.textColor = 0xFF8C95A3;
}

const DuiLib::CControlUI* UICurveScale::Curve() const {
  if (GetManager() == nullptr || mCurveName.empty()) {
    return nullptr;
  }
  return GetManager()->FindControl(mCurveName);
}

std::vector<UICurveScale::Mark> UICurveScale::Marks() const {
  std::vector<Mark> marks;
  const DuiLib::CControlUI* curve = Curve();
  if (curve == nullptr || GetManager() == nullptr) {
    return marks;
  }
  const RECT curvePos = curve->GetPos();
  const RECT ownPos = GetPos();
  const DuiLib::SIZE own = GetClientSize();
  if (curvePos.Width() <= 0 || curvePos.Height() <= 0 || own.cx <= 0 || own.cy <= 0) {
    return marks;
  }
  // The editor lays itself out in its own pixels with its origin at its corner.
  const EqualizerGeometry geometry = EqualizerGeometry::For(
      RECT{0, 0, curvePos.Width(), curvePos.Height()}, GetManager()->GetLayoutScale());
  const QFontMetrics metrics(GetManager()->GetFont(mStyle.font));
  const int margin = Scale(kLabelMargin);
  const RECT padding{Scale(mStyle.textPadding.left), Scale(mStyle.textPadding.top),
                     Scale(mStyle.textPadding.right), Scale(mStyle.textPadding.bottom)};

  if (mAxis == Axis::Frequency) {
    for (const int hz : kLabelledFrequencies) {
      Mark mark{hz, FrequencyText(hz), {}, 0};
      mark.anchor = curvePos.left + geometry.FrequencyToX(hz) - ownPos.left;
      const int width = metrics.horizontalAdvance(QString::fromStdWString(mark.text)) + 2 * margin;
      const int left = std::clamp(mark.anchor - width / 2, 0, std::max(0, own.cx - width));
      mark.rect = RECT{left, padding.top, left + width, own.cy - padding.bottom};
      // Where the plot is too narrow for every number, the later ones give way.
      if (!marks.empty() && mark.rect.left < marks.back().rect.right) {
        continue;
      }
      marks.push_back(std::move(mark));
    }
    return marks;
  }
  const int height = metrics.height();
  for (const int db : kLabelledLevels) {
    Mark mark{db, LevelText(db), {}, 0};
    // The editor rounds its level lines to whole pixels.
    mark.anchor = curvePos.top + static_cast<int>(std::lround(geometry.GainToY(db))) - ownPos.top;
    const int top = std::clamp(mark.anchor - height / 2, 0, std::max(0, own.cy - height));
    mark.rect = RECT{padding.left, top, own.cx - padding.right, top + height};
    marks.push_back(std::move(mark));
  }
  return marks;
}

void UICurveScale::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (DuiLib::EqualsNoCase(name, L"axis")) {
    mAxis = DuiLib::EqualsNoCase(value, L"level") ? Axis::Level : Axis::Frequency;
    Invalidate();
  } else if (DuiLib::EqualsNoCase(name, L"curve")) {
    mCurveName = value;
    Invalidate();
  } else if (mStyle.SetAttribute(name, value)) {
    Invalidate();
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void UICurveScale::PaintText(QPainter& painter) {
  if (GetManager() == nullptr) {
    return;
  }
  LabelStyle style = mStyle;
  style.hAlign = mAxis == Axis::Level ? LabelStyle::HAlign::Right : LabelStyle::HAlign::Center;
  style.vAlign = LabelStyle::VAlign::Center;
  style.wordBreak = false;
  const QFont font = GetManager()->GetFont(mStyle.font);
  for (const Mark& mark : Marks()) {
    style.Draw(painter, font, mark.rect, RECT{}, mark.text, mStyle.textColor);
  }
}

}  // namespace ui
