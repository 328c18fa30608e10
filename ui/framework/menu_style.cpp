#include "ui/framework/menu_style.h"

#include "ui/framework/attribute_parse.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/ui_types.h"

namespace DuiLib {
namespace {

// Sizes in layout units: the frame's and the items' padding, the icon's place, the separator's
// margin and the sub-menu arrow.
constexpr int kFramePadding = 4;
constexpr int kItemPaddingV = 5;
constexpr int kItemPaddingLeft = 22;
constexpr int kItemPaddingRight = 28;
constexpr int kIconLeft = 9;
constexpr int kSeparatorMargin = 8;
constexpr int kArrowSize = 8;

QString Color(const XmlNode& menu, std::wstring_view name, const QString& fallback) {
  const std::wstring_view value = menu.Attribute(name);
  return value.empty() ? fallback : ToCssColor(ParseColor(value));
}

}  // namespace

QString MenuStyleSheet(const XmlNode& menu, int scale) {
  if (menu.Attribute(L"bkcolor").empty()) {
    return {};
  }
  const auto px = [scale](int units) { return QString::number(MulDiv(units, scale, 100)); };
  const QString background = Color(menu, L"bkcolor", {});
  const QString text = Color(menu, L"textcolor", ToCssColor(0xFF222222));
  const QString line = px(1);
  QString css =
      QStringLiteral(
          "QMenu { background: %1; color: %2; border: %3px solid %4; "
          "padding: %5px 0; }")
          .arg(background, text, line, Color(menu, L"bordercolor", text), px(kFramePadding));
  css += QStringLiteral("QMenu::item { background: transparent; padding: %1px %2px %1px %3px; }")
             .arg(px(kItemPaddingV), px(kItemPaddingRight), px(kItemPaddingLeft));
  css +=
      QStringLiteral("QMenu::item:selected { background: %1; color: %2; }")
          .arg(Color(menu, L"itemhotbkcolor", background), Color(menu, L"itemhottextcolor", text));
  css += QStringLiteral("QMenu::item:disabled { color: %1; }")
             .arg(Color(menu, L"disabledtextcolor", text));
  css += QStringLiteral("QMenu::icon { padding-left: %1px; }").arg(px(kIconLeft));
  css +=
      QStringLiteral("QMenu::separator { height: %1px; background: %2; margin: %3px %4px; }")
          .arg(line, Color(menu, L"separatorcolor", text), px(kFramePadding), px(kSeparatorMargin));
  css += QStringLiteral("QMenu::right-arrow { width: %1px; height: %1px; }").arg(px(kArrowSize));
  return css;
}

}  // namespace DuiLib
