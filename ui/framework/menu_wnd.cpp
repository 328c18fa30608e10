#include "ui/framework/menu_wnd.h"

#include <QAction>
#include <QMenu>
#include <vector>

#include "platform/debug_log.h"
#include "platform/window_messages.h"
#include "ui/framework/attribute_parse.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/menu_style.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/xml_node.h"

namespace DuiLib {
namespace {

constexpr int kMenuFontSize = 13;

// The one menu open in the program; opening another closes it.
CMenuWnd* gOpenMenu = nullptr;

std::wstring Cut(std::wstring_view text, std::size_t capacity) {
  // Capacities count the terminating zero of the record's character arrays.
  return std::wstring(text.substr(0, capacity - 1));
}

std::wstring ResolveText(std::wstring_view text) {
  return CResourceManager::GetInstance()->GetText(text);
}

}  // namespace

CMenuElementUI::CMenuElementUI(QAction* action, std::wstring name, std::wstring userData,
                               std::wstring text)
    : mAction(action),
      mName(std::move(name)),
      mUserData(std::move(userData)),
      mText(std::move(text)) {}

std::wstring CMenuElementUI::GetText() const {
  return ResolveText(mText);
}

void CMenuElementUI::SetText(std::wstring_view text) {
  mText = text;
  mAction->setText(ToQString(ResolveText(text)));
}

void CMenuElementUI::SetIcon(std::wstring_view image) {
  const SkinImage* loaded = image.empty() ? nullptr : LoadSkinImage(image, 100);
  mAction->setIcon(loaded != nullptr ? QIcon(loaded->pixmap) : QIcon());
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
  std::unique_ptr<QMenu> menu;
  std::vector<std::unique_ptr<CMenuElementUI>> items;

  void Build(QMenu& into, const std::vector<XmlNode>& nodes) {
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
      auto item = std::make_unique<CMenuElementUI>(action, std::wstring(node.Attribute(L"name")),
                                                   std::wstring(node.Attribute(L"userdata")),
                                                   std::wstring(node.Attribute(L"text")));
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

bool CMenuWnd::Init(HWND owner, std::wstring_view xml, POINT point, int scale) {
  if (gOpenMenu != nullptr && gOpenMenu != this) {
    gOpenMenu->Close();
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
  mImpl->items.clear();
  mImpl->owner = owner;
  mImpl->scale = scale;
  mImpl->menu = std::make_unique<QMenu>();
  QFont font = mImpl->menu->font();
  font.setPixelSize(MulDiv(kMenuFontSize, scale, 100));
  mImpl->menu->setFont(font);
  mImpl->menu->setStyleSheet(MenuStyleSheet(*root, scale));
  mImpl->Build(*mImpl->menu, root->children);
  gOpenMenu = this;
  mImpl->menu->popup(QPoint(point.x, point.y));
  return true;
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
