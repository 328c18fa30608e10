// The text attributes the curve controls share with the framework's label: alignment, style flags,
// font, colours, padding, and the drawing of a text with them into a rectangle.
#pragma once

#include <string_view>

#include "ui/controls/curve_constants.h"
#include "ui/framework/ui_types.h"

class QFont;
class QPainter;

namespace ui {

// "AARRGGBB" or "#AARRGGBB"; 0 when the text is not hexadecimal.
DuiLib::DWORD ParseArgb(std::wstring_view text);

class LabelStyle {
 public:
  enum class HAlign { Left, Center, Right };
  enum class VAlign { Top, Center, Bottom };

  // Takes "align", "valign", "endellipsis", "wordbreak", "noprefix", "font", "textcolor",
  // "disabledtextcolor", "textpadding" and "autocalcwidth" (names in any case); false for any
  // other attribute.
  bool SetAttribute(std::wstring_view name, std::wstring_view value);

  // Draws `text` in `rc` less the padding (already in pixels: `padding` scaled by the caller).
  void Draw(QPainter& painter, const QFont& font, const DuiLib::RECT& rc,
            const DuiLib::RECT& padding, std::wstring_view text, DuiLib::DWORD color) const;

  DuiLib::DWORD textColor = kDefaultLabelColor;
  DuiLib::DWORD disabledTextColor = 0;
  int font = -1;
  DuiLib::RECT textPadding;
  bool autoCalcWidth = false;
  HAlign hAlign = HAlign::Center;
  VAlign vAlign = VAlign::Center;
  bool endEllipsis = false;
  bool wordBreak = false;  // off: a single line
  bool noPrefix = false;   // off: "&" marks a mnemonic
};

}  // namespace ui
