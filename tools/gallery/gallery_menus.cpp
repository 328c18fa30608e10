#include "tools/gallery/gallery_menus.h"

#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <cstdio>

#include "ui/framework/menu_wnd.h"

namespace gallery {
namespace {

struct MenuFile {
  const char* name;
  const wchar_t* layout;
};
constexpr MenuFile kMenus[] = {{"option", L"xml/option_menu.xml"},
                               {"scene", L"xml/scene_menu.xml"},
                               {"advance", L"xml/advance_menu.xml"},
                               {"output", L"xml/output_menu.xml"}};

QMenu* ShownMenu() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible()) {
      return menu;
    }
  }
  return nullptr;
}

}  // namespace

int MenuScreenshots(const QString& dir, const char* language, int scale) {
  int failures = 0;
  for (const MenuFile& file : kMenus) {
    DuiLib::CMenuWnd menu;
    const QString path = QStringLiteral("%1/menu_%2_%3_%4.png")
                             .arg(dir, QString::fromLatin1(file.name),
                                  QString::fromLatin1(language), QString::number(scale));
    QMenu* shown = nullptr;
    if (menu.Init(0, file.layout, DuiLib::POINT{0, 0}, scale)) {
      QApplication::processEvents();
      shown = ShownMenu();
    }
    if (shown == nullptr || !shown->grab().save(path)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      ++failures;
    }
    menu.Close();
  }
  return failures;
}

}  // namespace gallery
