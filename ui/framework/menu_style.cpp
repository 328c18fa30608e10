#include "ui/framework/menu_style.h"

#include "ui/framework/attribute_parse.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/ui_types.h"

namespace DuiLib {
namespace {

// Item padding and the icon's room, in layout units.
constexpr int kItemPaddingV = 5;
constexpr int kItemPaddingLeft = 30;
constexpr int kItemPaddingRight = 28;
constexpr int kIconLeft = 9;
constexpr int kFramePadding = 4;
constexpr int kSeparatorMargin = 8;

QString Color(const XmlNode& menu, std::wstring_view name, DWORD fallback) {
  const std::wstring_view value = menu.Attribute(name);
  const QColor color = ToQColor(value.empty() ? fallback : ParseColor(value));
  return QStringLiteral("rgba(%1,%2,%3,%4)")
      .arg(color.red())
      .arg(color.green())
      .arg(color.blue())
      .arg(color.alpha());
}

}  // namespace

QString MenuStyleSheet(const XmlNode& menu, int scale) {
  if (menu.Attribute(L"bkcolor").empty()) {
    return {};
  }
  const auto px = [scale](int units) { return QString::number(MulDiv(units, scale, 100)); };
  const QString text = Color(menu, L"textcolor", 0xFF222222);
  return QStringLiteral(
             "QMenu { background: %1; color: %2; border: %3px solid %4; padding: %5px 0; }"
             "QMenu::item { background: transparent; padding: %6px %7px %6px %8px; }"
             "QMenu::item:selected { background: %9; color: %10; }"
             "QMenu::item:disabled { color: %11; }"
             "QMenu::icon { padding-left: %12px; }"
             "QMenu::separator { height: %3px; background: %13; margin: %5px %14px; }"
             "QMenu::right-arrow { width: %15px; height: %15px; }")
      .arg(Color(menu, L"bkcolor", 0xFFFFFFFF), text, px(1),
           Color(menu, L"bordercolor", 0xFFC5CCD6), px(kFramePadding), px(kItemPaddingV),
           px(kItemPaddingRight), px(kItemPaddingLeft), Color(menu, L"itemhotbkcolor", 0xFFE6EBF1))
      .arg(Color(menu, L"itemhottextcolor",
                 menu.Attribute(L"textcolor").empty() ? 0xFF222222
                                                      : ParseColor(menu.Attribute(L"textcolor"))),
           Color(menu, L"disabledtextcolor", 0xFFA0A0A0), px(kIconLeft),
           Color(menu, L"separatorcolor", 0xFFE0E0E0), px(kSeparatorMargin), px(8));
}

}  // namespace DuiLib
