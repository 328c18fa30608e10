#include "ui/framework/menu_wnd.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <cmath>
#include <vector>

#include "platform/debug_log.h"
#include "platform/window_messages.h"
#include "ui/framework/attribute_parse.h"
#include "ui/framework/image_draw.h"
#include "ui/framework/menu_style.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/screen_point.h"
#include "ui/framework/ui_thread.h"
#include "ui/framework/window_impl_base.h"
#include "ui/framework/window_registry.h"
#include "ui/framework/xml_node.h"

namespace DuiLib {
namespace {

constexpr int kMenuFontSize = 13;
constexpr int kMenuIconSize = 16;  // layout units, as the skin's icons are drawn at 100 %

// The one menu open in the program; opening another closes it.
CMenuWnd* gOpenMenu = nullptr;

std::wstring Cut(std::wstring_view text, std::size_t capacity) {
  // Capacities count the terminating zero of the record's character arrays.
  return std::wstring(text.substr(0, capacity - 1));
}

std::wstring ResolveText(std::wstring_view text) {
  return CResourceManager::GetInstance()->GetText(text);
}

// A length in layout units at `scale` %, in logical pixels of a screen with `pixelRatio`.
int ScaledLength(int units, int scale, double pixelRatio) {
  return std::max(1, static_cast<int>(std::lround(units * scale / (100.0 * pixelRatio))));
}

// Menu icons at the window's scale rather than the style's fixed size.
class MenuStyle : public QProxyStyle {
 public:
  explicit MenuStyle(int iconSize) : mIconSize(iconSize) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_SmallIconSize) {
      return mIconSize;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

 private:
  int mIconSize;
};

}  // namespace

CMenuElementUI::CMenuElementUI(QAction* action, std::wstring name, std::wstring userData,
                               std::wstring text, int scale, double pixelRatio)
    : mAction(action),
      mName(std::move(name)),
      mUserData(std::move(userData)),
      mText(std::move(text)),
      mScale(scale),
      mPixelRatio(pixelRatio) {}

std::wstring CMenuElementUI::GetText() const {
  return ResolveText(mText);
}

void CMenuElementUI::SetText(std::wstring_view text) {
  mText = text;
  mAction->setText(ToQString(ResolveText(text)));
}

void CMenuElementUI::SetIcon(std::wstring_view image) {
  if (image.empty()) {
    mAction->setIcon(QIcon());
    return;
  }
  // Drawn in device pixels for the menu's scale, then handed to Qt at the logical icon size.
  const int device = MulDiv(kMenuIconSize, mScale, 100);
  QPixmap pixmap(device, device);
  pixmap.fill(Qt::transparent);
  bool drawn = false;
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawn = DrawSkinImage(painter, ParseImageDescription(image), pixmap.rect(), mScale, 1.0);
  }
  pixmap.setDevicePixelRatio(mPixelRatio);
  mAction->setIcon(drawn ? QIcon(pixmap) : QIcon());
}

void CMenuElementUI::SetEnabled(bool enabled) {
  mAction->setEnabled(enabled);
}
bool CMenuElementUI::IsEnabled() const {
  return mAction->isEnabled();
}
void CMenuElementUI::SetVisible(bool visible) {
  mAction->setVisible(visible);
}
bool CMenuElementUI::IsVisible() const {
  return mAction->isVisible();
}

void CMenuElementUI::SetChecked(bool checked) {
  mAction->setCheckable(true);
  mAction->setChecked(checked);
}

bool CMenuElementUI::GetChecked() const {
  return mAction->isChecked();
}

void CMenuElementUI::Activate() {
  mAction->trigger();
}

struct CMenuWnd::Impl {
  HWND owner = 0;
  int scale = 100;
  double pixelRatio = 1.0;
  std::unique_ptr<MenuStyle> style;
  std::unique_ptr<QMenu> menu;
  std::vector<std::unique_ptr<CMenuElementUI>> items;

  void Build(QMenu& into, const std::vector<XmlNode>& nodes) {
    into.setStyle(style.get());
    for (const XmlNode& node : nodes) {
      if (node.tag == L"MenuSeparator") {
        into.addSeparator();
        continue;
      }
      if (node.tag != L"MenuElement") {
        continue;
      }
      QAction* action = nullptr;
      if (!node.children.empty()) {
        QMenu* sub = into.addMenu(ToQString(ResolveText(node.Attribute(L"text"))));
        Build(*sub, node.children);
        action = sub->menuAction();
      } else {
        action = into.addAction(ToQString(ResolveText(node.Attribute(L"text"))));
      }
      auto item = std::make_unique<CMenuElementUI>(
          action, std::wstring(node.Attribute(L"name")), std::wstring(node.Attribute(L"userdata")),
          std::wstring(node.Attribute(L"text")), scale, pixelRatio);
      if (!node.Attribute(L"icon").empty()) {
        item->SetIcon(node.Attribute(L"icon"));
      }
      if (ParseBool(node.Attribute(L"checkable")) || !node.Attribute(L"checked").empty()) {
        item->SetChecked(ParseBool(node.Attribute(L"checked")));
      }
      if (!node.Attribute(L"enabled").empty()) {
        item->SetEnabled(ParseBool(node.Attribute(L"enabled")));
      }
      if (!node.Attribute(L"visible").empty()) {
        item->SetVisible(ParseBool(node.Attribute(L"visible")));
      }
      if (node.children.empty()) {
        CMenuElementUI* element = item.get();
        const HWND target = owner;
        QObject::connect(action, &QAction::triggered, action, [element, target] {
          auto record = std::make_unique<MenuCmd>();
          record->szName = Cut(element->GetName(), MenuCmd::kNameCapacity);
          record->szUserData = Cut(element->GetUserData(), MenuCmd::kUserDataCapacity);
          record->szText = Cut(element->GetText(), MenuCmd::kTextCapacity);
          record->bChecked = element->GetChecked();
          platform::PostMessage(target, platform::msg::kMenuClick, 0, std::move(record));
        });
      }
      items.push_back(std::move(item));
    }
  }
};

CMenuWnd::CMenuWnd() : mImpl(std::make_unique<Impl>()) {}

CMenuWnd::~CMenuWnd() {
  if (gOpenMenu == this) {
    gOpenMenu = nullptr;
  }
}

bool CMenuWnd::Load(HWND owner, std::wstring_view xml, int scale) {
  if (!CheckUiThread("CMenuWnd::Load")) {
    return false;
  }
  auto* resources = CResourceManager::GetInstance();
  const std::wstring path = resources->GetXmlPath(xml);
  const auto content = resources->ReadFile(path);
  std::wstring error;
  const auto root = content ? ParseXml(*content, path, error) : std::nullopt;
  if (!root) {
    DebugLog(L"menu %ls cannot be read %ls\n", path.c_str(), error.c_str());
    return false;
  }
  Close();
  mImpl->items.clear();
  mImpl->menu.reset();
  mImpl->owner = owner;
  mImpl->scale = scale;
  WindowImplBase* window = FindWindow(owner);
  mImpl->pixelRatio = window != nullptr ? window->GetPaintManager().GetDevicePixelRatio() : 1.0;
  mImpl->style = std::make_unique<MenuStyle>(ScaledLength(kMenuIconSize, scale, mImpl->pixelRatio));
  mImpl->menu = std::make_unique<QMenu>();
  QFont font = mImpl->menu->font();
  font.setPixelSize(ScaledLength(kMenuFontSize, scale, mImpl->pixelRatio));
  mImpl->menu->setFont(font);
  mImpl->menu->setStyleSheet(
      MenuStyleSheet(*root, static_cast<int>(std::lround(scale / mImpl->pixelRatio))));
  mImpl->Build(*mImpl->menu, root->children);
  return true;
}

bool CMenuWnd::Show(POINT point) {
  if (!mImpl->menu || !CheckUiThread("CMenuWnd::Show")) {
    return false;
  }
  if (gOpenMenu != nullptr && gOpenMenu != this) {
    gOpenMenu->Close();
  }
  gOpenMenu = this;
  mImpl->menu->popup(ToGlobal(point));
  return true;
}

bool CMenuWnd::Init(HWND owner, std::wstring_view xml, POINT point, int scale) {
  return Load(owner, xml, scale) && Show(point);
}

CMenuElementUI* CMenuWnd::FindMenuItem(std::wstring_view name) {
  for (const auto& item : mImpl->items) {
    if (item->GetName() == name) {
      return item.get();
    }
  }
  return nullptr;
}

bool CMenuWnd::IsOpen() const {
  return mImpl->menu && mImpl->menu->isVisible();
}

void CMenuWnd::Close() {
  if (mImpl->menu) {
    mImpl->menu->close();
  }
  if (gOpenMenu == this) {
    gOpenMenu = nullptr;
  }
}

}  // namespace DuiLib
