#include "ui/framework/container.h"

#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/paint_manager.h"

namespace DuiLib {
namespace {

// The share of leftover room a control without a fixed size gets, within its limits.
int Clamp(int size, int minimum, int maximum) {
  if (maximum > 0 && size > maximum) {
    size = maximum;
  }
  return std::max(size, minimum);
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::CContainerUI(std::unique_ptr<QWidget> widget) : CControlUI(std::move(widget)) {}

CContainerUI::~CContainerUI() {
  // Children's widgets go before this container's widget (which is their Qt parent).
  mItems.clear();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) {
    return nullptr;
  }
  return mItems[static_cast<std::size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
  for (std::size_t i = 0; i < mItems.size(); ++i) {
    if (mItems[i].get() == control) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

CControlUI* CContainerUI::Add(std::unique_ptr<CControlUI> control) {
  return AddAt(std::move(control), GetCount());
}

CControlUI* CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index) {
  if (!control) {
    return nullptr;
  }
  index = std::clamp(index, 0, GetCount());
  CControlUI* added = control.get();
  added->GetWidget()->setParent(ChildHost());
  mItems.insert(mItems.begin() + index, std::move(control));
  added->SetManager(GetManager(), this);
  NeedLayout();
  return added;
}

bool CContainerUI::Remove(CControlUI* control) {
  std::unique_ptr<CControlUI> removed = TakeItem(control);
  if (!removed) {
    return false;
  }
  if (GetManager() != nullptr) {
    GetManager()->ReleaseLater(std::move(removed));
  }
  NeedLayout();
  return true;
}

std::unique_ptr<CControlUI> CContainerUI::TakeItem(CControlUI* control) {
  const int index = GetItemIndex(control);
  if (index < 0) {
    return nullptr;
  }
  std::unique_ptr<CControlUI> taken = std::move(mItems[static_cast<std::size_t>(index)]);
  mItems.erase(mItems.begin() + index);
  return taken;
}

std::unique_ptr<CControlUI> CContainerUI::Detach(CControlUI* control) {
  std::unique_ptr<CControlUI> detached = TakeItem(control);
  if (!detached) {
    return nullptr;
  }
  if (GetManager() != nullptr) {
    GetManager()->ForgetSubtree(detached.get());
  }
  detached->GetWidget()->hide();
  detached->GetWidget()->setParent(nullptr);
  detached->SetManager(nullptr, nullptr);
  NeedLayout();
  return detached;
}

void CContainerUI::RemoveAll() {
  while (!mItems.empty()) {
    Remove(mItems.back().get());
  }
  NeedLayout();
}

CControlUI* CContainerUI::FindSubControl(std::wstring_view name) {
  if (GetName() == name) {
    return this;
  }
  for (const auto& item : mItems) {
    if (auto* container = dynamic_cast<CContainerUI*>(item.get())) {
      if (CControlUI* found = container->FindSubControl(name)) {
        return found;
      }
    } else if (item->GetName() == name) {
      return item.get();
    }
  }
  return nullptr;
}

void CContainerUI::SetInset(RECT inset) {
  mInset = inset;
  NeedLayout();
}

void CContainerUI::SetChildPadding(int padding) {
  mChildPadding = padding;
  NeedLayout();
}

void CContainerUI::EnableScrollBar(bool vertical) {
  if (!vertical || mScrollArea) {
    return;
  }
  auto area = std::make_unique<QScrollArea>(GetWidget());
  area->setFrameShape(QFrame::NoFrame);
  area->setFocusPolicy(Qt::NoFocus);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area->setWidgetResizable(false);
  area->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
  auto* content = new QWidget;  // owned by the scroll area
  area->setWidget(content);
  // setWidget turns background filling on; the container paints its own background.
  content->setAutoFillBackground(false);
  area->viewport()->setAutoFillBackground(false);
  for (const auto& item : mItems) {
    item->GetWidget()->setParent(content);
  }
  area->show();
  mScrollArea = std::move(area);
  NeedLayout();
}

QWidget* CContainerUI::ChildHost() const {
  if (mScrollArea) {
    return static_cast<QScrollArea*>(mScrollArea.get())->widget();
  }
  return GetWidget();
}

void CContainerUI::SetPos(RECT rc) {
  const QRect before = GetWidget()->geometry();
  CControlUI::SetPos(rc);
  // A container that keeps its place and has no change inside keeps its children where they are.
  const bool full = GetManager() != nullptr && GetManager()->IsFullLayoutRunning();
  if (full || mNeedLayout || GetWidget()->geometry() != before) {
    Relayout();
  }
}

void CContainerUI::NeedLayout() {
  mNeedLayout = true;
  if (GetManager() != nullptr) {
    GetManager()->NeedLayout(this);
  }
}

void CContainerUI::Relayout() {
  const int width = GetWidget()->width();
  const int height = GetWidget()->height();
  RECT inner{Scale(mInset.left), Scale(mInset.top), width - Scale(mInset.right),
             height - Scale(mInset.bottom)};
  if (mScrollArea) {
    auto* area = static_cast<QScrollArea*>(mScrollArea.get());
    area->setGeometry(0, 0, width, height);
    const int barWidth = area->verticalScrollBar()->sizeHint().width();
    RECT content{inner.left, inner.top, inner.right, inner.bottom};
    const int needed = ContentHeight(content) + Scale(mInset.top) + Scale(mInset.bottom);
    if (needed > height) {
      content.right -= barWidth;
    }
    area->widget()->resize(std::max(0, width - (needed > height ? barWidth : 0)),
                           std::max(height, needed));
    content.bottom = std::max(height, needed) - Scale(mInset.bottom);
    inner = content;
  }
  LayoutChildren(inner);
  for (const auto& item : mItems) {
    if (item->IsFloat() && item->IsVisible()) {
      PlaceFloat(item.get(), RECT{0, 0, width, height});
    }
  }
  // Placed first, shown after: a control shown again appears at its new place.
  for (const auto& item : mItems) {
    item->ApplyVisibility();
    // A hidden container was not placed: it lays its children out again once it is shown.
    if (auto* hidden = dynamic_cast<CContainerUI*>(item.get()); hidden && !item->IsVisible()) {
      hidden->mNeedLayout = true;
    }
  }
  mNeedLayout = false;
}

void CContainerUI::LayoutChildren(const RECT& inner) {
  for (const auto& item : mItems) {
    if (item->IsFloat() || !item->IsVisible()) {
      continue;
    }
    const RECT& pad = item->GetPadding();
    item->SetPos(RECT{inner.left + Scale(pad.left), inner.top + Scale(pad.top),
                      inner.right - Scale(pad.right), inner.bottom - Scale(pad.bottom)});
  }
}

int CContainerUI::ContentHeight(const RECT& inner) const {
  return inner.Height();
}

void CContainerUI::PlaceFloat(CControlUI* child, const RECT& outer) {
  const RECT& pos = child->GetFloatPos();
  RECT rc{outer.left + Scale(pos.left), outer.top + Scale(pos.top), outer.left + Scale(pos.right),
          outer.top + Scale(pos.bottom)};
  if (child->GetFixedWidth() > 0) {
    rc.right = rc.left + Scale(child->GetFixedWidth());
  }
  if (child->GetFixedHeight() > 0) {
    rc.bottom = rc.top + Scale(child->GetFixedHeight());
  }
  child->SetPos(rc);
}

void CContainerUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"inset") {
    SetInset(ParseRect(value));
  } else if (name == L"childpadding") {
    SetChildPadding(ParseInt(value));
  } else if (name == L"vscroll" || name == L"vscrollbar") {
    if (ParseBool(value)) {
      EnableScrollBar(true);
    }
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  CControlUI::SetManager(manager, parent);
  for (const auto& item : mItems) {
    item->SetManager(manager, this);
  }
}

void CContainerUI::RefreshText() {
  CControlUI::RefreshText();
  for (const auto& item : mItems) {
    item->RefreshText();
  }
}

std::vector<CControlUI*> CContainerUI::FlowItems() const {
  std::vector<CControlUI*> flow;
  for (const auto& item : mItems) {
    if (!item->IsFloat() && item->IsVisible()) {
      flow.push_back(item.get());
    }
  }
  return flow;
}

// Vertical: fixed heights first, the rest shared by the controls without one.
void CVerticalLayoutUI::LayoutChildren(const RECT& inner) {
  const std::vector<CControlUI*> flow = FlowItems();
  if (flow.empty()) {
    return;
  }
  int used = Scale(GetChildPadding()) * static_cast<int>(flow.size() - 1);
  int autoCount = 0;
  for (CControlUI* child : flow) {
    used += Scale(child->GetPadding().top) + Scale(child->GetPadding().bottom);
    if (child->GetFixedHeight() > 0) {
      used += Scale(child->GetFixedHeight());
    } else {
      ++autoCount;
    }
  }
  const int share = autoCount > 0 ? std::max(0, inner.Height() - used) / autoCount : 0;
  int y = inner.top;
  for (CControlUI* child : flow) {
    const RECT& pad = child->GetPadding();
    y += Scale(pad.top);
    const int height = child->GetFixedHeight() > 0 ? Scale(child->GetFixedHeight())
                                                   : Clamp(share, Scale(child->GetMinHeight()),
                                                           Scale(child->GetMaxHeight()));
    const int left = inner.left + Scale(pad.left);
    const int width = child->GetFixedWidth() > 0
                          ? Scale(child->GetFixedWidth())
                          : std::max(0, inner.right - Scale(pad.right) - left);
    child->SetPos(RECT{left, y, left + width, y + height});
    y += height + Scale(pad.bottom) + Scale(GetChildPadding());
  }
}

int CVerticalLayoutUI::ContentHeight(const RECT&) const {
  int height = 0;
  int count = 0;
  for (const auto& item : mItems) {
    if (item->IsFloat() || !item->IsVisible()) {
      continue;
    }
    height += Scale(item->GetPadding().top) + Scale(item->GetPadding().bottom) +
              Scale(std::max(item->GetFixedHeight(), item->GetMinHeight()));
    ++count;
  }
  return height + (count > 1 ? Scale(GetChildPadding()) * (count - 1) : 0);
}

// Horizontal: fixed widths first, the rest shared by the controls without one.
void CHorizontalLayoutUI::LayoutChildren(const RECT& inner) {
  const std::vector<CControlUI*> flow = FlowItems();
  if (flow.empty()) {
    return;
  }
  int used = Scale(GetChildPadding()) * static_cast<int>(flow.size() - 1);
  int autoCount = 0;
  for (CControlUI* child : flow) {
    used += Scale(child->GetPadding().left) + Scale(child->GetPadding().right);
    if (child->GetFixedWidth() > 0) {
      used += Scale(child->GetFixedWidth());
    } else {
      ++autoCount;
    }
  }
  const int share = autoCount > 0 ? std::max(0, inner.Width() - used) / autoCount : 0;
  int x = inner.left;
  for (CControlUI* child : flow) {
    const RECT& pad = child->GetPadding();
    x += Scale(pad.left);
    const int width = child->GetFixedWidth() > 0
                          ? Scale(child->GetFixedWidth())
                          : Clamp(share, Scale(child->GetMinWidth()), Scale(child->GetMaxWidth()));
    const int top = inner.top + Scale(pad.top);
    const int height = child->GetFixedHeight() > 0
                           ? Scale(child->GetFixedHeight())
                           : std::max(0, inner.bottom - Scale(pad.bottom) - top);
    child->SetPos(RECT{x, top, x + width, top + height});
    x += width + Scale(pad.right) + Scale(GetChildPadding());
  }
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) {
    return false;
  }
  mCurSel = index;
  for (int i = 0; i < GetCount(); ++i) {
    GetItemAt(i)->SetVisible(i == index);
  }
  return true;
}

void CTabLayoutUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"selectedid") {
    mCurSel = ParseInt(value);
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CTabLayoutUI::LayoutChildren(const RECT& inner) {
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (child->IsVisible() != (i == mCurSel)) {
      child->SetVisible(i == mCurSel);
    }
  }
  CContainerUI::LayoutChildren(inner);
}

}  // namespace DuiLib
