#include "ui/controls/custom_controls.h"

#include "ui/controls/circle_progress.h"
#include "ui/controls/curve_scale.h"
#include "ui/controls/sbutton.h"
#include "ui/controls/ui_equalizer.h"
#include "ui/controls/ui_equalizer_ac.h"
#include "ui/framework/ui_utils.h"

namespace ui {

std::unique_ptr<DuiLib::CControlUI> CreateCustomControl(std::wstring_view tag) {
  using DuiLib::EqualsNoCase;
  if (EqualsNoCase(tag, L"Curve")) {
    return std::make_unique<UIEqualizer>();
  }
  if (EqualsNoCase(tag, L"CurveAc")) {
    return std::make_unique<UIEqualizerAc>();
  }
  if (EqualsNoCase(tag, L"SButton")) {
    return std::make_unique<CSButtonUI>();
  }
  if (EqualsNoCase(tag, L"CircleProgress")) {
    return std::make_unique<CCircleProgressUI>();
  }
  if (tag == L"CurveScale") {
    return std::make_unique<UICurveScale>();
  }
  return nullptr;
}

}  // namespace ui
