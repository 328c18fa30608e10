// Containers: controls that hold and place other controls.
#pragma once

#include <memory>
#include <vector>

#include "ui/framework/control.h"

namespace DuiLib {

class CContainerUI : public CControlUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  std::wstring_view GetClass() const override { return L"Container"; }

  int GetCount() const { return static_cast<int>(mItems.size()); }
  CControlUI* GetItemAt(int index) const;
  int GetItemIndex(const CControlUI* control) const;
  // Takes the control; returns it for convenience (null when `control` was null).
  CControlUI* Add(std::unique_ptr<CControlUI> control);
  CControlUI* AddAt(std::unique_ptr<CControlUI> control, int index);
  // Removes and destroys `control` (in a window: on the next turn of the event loop, so a
  // control may be removed from inside its own notification).
  bool Remove(CControlUI* control);
  // Takes `control` out of this container and hands it over (null when it is not a child).
  std::unique_ptr<CControlUI> Detach(CControlUI* control);
  void RemoveAll();

  // The first control of this subtree (this container included) with that name, or null.
  CControlUI* FindSubControl(std::wstring_view name);

  const RECT& GetInset() const { return mInset; }
  void SetInset(RECT inset);
  int GetChildPadding() const { return mChildPadding; }
  void SetChildPadding(int padding);
  void EnableScrollBar(bool vertical = true);

  void SetPos(RECT rc) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;
  void RefreshText() override;

  // Lays the children out again inside the current position, now.
  void Relayout();
  // Asks for this container's children to be placed again at the window's next layout; the rest
  // of the window is left as it is.
  void NeedLayout();
  bool IsLayoutNeeded() const { return mNeedLayout; }

 protected:
  // Containers drawn by a native widget of their own pass it here.
  explicit CContainerUI(std::unique_ptr<QWidget> widget);
  bool IsMouseTarget() const override { return false; }
  // Places the children inside `inner` (window pixels, inset already removed). The default lets
  // each child fill the room; floating children are placed by SetFloatPos in every container.
  virtual void LayoutChildren(const RECT& inner);
  // The visible children that take part in the flow (floating ones are placed on their own).
  std::vector<CControlUI*> FlowItems() const;
  // The height the children need (for scrolling), in pixels.
  virtual int ContentHeight(const RECT& inner) const;
  void PlaceFloat(CControlUI* child, const RECT& inner);
  // The widget children are placed on (the scroll area's inside when scrolling).
  QWidget* ChildHost() const;

  std::vector<std::unique_ptr<CControlUI>> mItems;

 private:
  std::unique_ptr<CControlUI> TakeItem(CControlUI* control);

  std::unique_ptr<QWidget> mScrollArea;
  RECT mInset;
  int mChildPadding = 0;
  bool mNeedLayout = false;
};

class CVerticalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"VerticalLayout"; }

 protected:
  void LayoutChildren(const RECT& inner) override;
  int ContentHeight(const RECT& inner) const override;
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"HorizontalLayout"; }

 protected:
  void LayoutChildren(const RECT& inner) override;
};

// Children on top of each other; only the selected one is shown.
class CTabLayoutUI : public CContainerUI {
 public:
  std::wstring_view GetClass() const override { return L"TabLayout"; }
  int GetCurSel() const { return mCurSel; }
  bool SelectItem(int index);
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;

 protected:
  void LayoutChildren(const RECT& inner) override;

 private:
  int mCurSel = 0;
};

}  // namespace DuiLib
