// Combo box and list, with their items.
#pragma once

#include "ui/framework/container.h"
#include "ui/framework/label.h"

namespace DuiLib {

// One item of a combo box (text and user data). A hidden item keeps its index but has no row in
// the drop-down, so the user cannot choose it (code still can, with SelectItem).
class CListLabelElementUI : public CLabelUI {
 public:
  std::wstring_view GetClass() const override { return L"ListLabelElement"; }
  void SetText(std::wstring_view text) override;
  void SetVisible(bool visible = true) override;
  // Items are shown by the combo's drop-down, never as widgets of their own.
  void ApplyVisibility() override;
};

// Drop-down list of CListLabelElementUI items. Choosing an item (by the user, or SelectItem with
// bTriggerEvent) sends "itemselect" with wParam = new index, lParam = old index. Item indexes
// count every item, hidden ones included.
class CComboUI : public CContainerUI {
 public:
  CComboUI();
  std::wstring_view GetClass() const override { return L"Combo"; }

  int GetCurSel() const { return mCurSel; }
  bool SelectItem(int index, bool bTakeFocus = false, bool bTriggerEvent = true);
  DWORD GetTextColor() const { return mTextColor; }
  DWORD GetDisabledTextColor() const { return mDisabledTextColor; }
  // Adds an item at the end; returns it.
  CListLabelElementUI* AddItem(std::wstring_view text, std::wstring_view userData = {});
  // The text of the selected item (empty when none).
  std::wstring GetText() const override;

  void SetEnabled(bool enabled = true) override;
  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void RefreshText() override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;
  bool IsMouseTarget() const override { return true; }
  // Brings the drop-down in line with the items (texts in the current language, hidden rows).
  void SyncItems();
  // Draws the "arrowimage" as the drop-down mark; false when there is none (the combo then draws
  // a plain chevron).
  bool PaintArrowImage(QPainter& painter);
  void SetPos(RECT rc) override;

 protected:
  void LayoutChildren(const RECT&) override {}
  void UpdateWidgetState() override;

 private:
  // Applies the font when it or the scale changed (once when the combo joins its window).
  void ApplyStyle();
  // Gives the open list the box's colours, when the layout colours the box.
  void ApplyListColors();

  int mCurSel = -1;
  int mFont = -1;
  DWORD mTextColor = 0xFF333333;
  DWORD mDisabledTextColor = 0;
  DWORD mItemSelectedBkColor = 0;
  std::wstring mArrowImage;
  int mStyledScale = 0;  // the layout scale the font was applied for; 0: not yet
  bool mStyleDirty = true;
  bool mRowsHidden = false;  // some row of the drop-down is, or was, hidden
};

class CListHeaderItemUI : public CLabelUI {
 public:
  CListHeaderItemUI();
  std::wstring_view GetClass() const override { return L"ListHeaderItem"; }
};

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  std::wstring_view GetClass() const override { return L"ListHeader"; }
};

// One row of a list; holds any controls. A click selects it ("itemclick"), a double click sends
// "itemactivate"; both are sent by the row itself.
class CListContainerElementUI : public CHorizontalLayoutUI {
 public:
  std::wstring_view GetClass() const override { return L"ListContainerElement"; }
  int GetIndex() const { return mIndex; }
  bool IsSelected() const { return mSelected; }

  void DoEvent(TEventUI& event) override;
  bool IsMouseTarget() const override { return true; }

 protected:
  void PaintBkColor(QPainter& painter) override;

 private:
  friend class CListUI;
  int mIndex = -1;
  bool mSelected = false;
};

// A list: an optional header and rows, scrolling vertically.
class CListUI : public CVerticalLayoutUI {
 public:
  CListUI();
  std::wstring_view GetClass() const override { return L"List"; }

  CListHeaderUI* GetHeader() const { return mHeader; }
  // Rows (the header is not counted).
  int GetRowCount() const;
  CListContainerElementUI* GetRowAt(int index) const;
  int GetCurSel() const { return mCurSel; }
  bool SelectItem(int index);
  DWORD GetItemSelectedBkColor() const { return mSelectedBkColor; }
  DWORD GetItemHotBkColor() const { return mHotBkColor; }

  void SetAttribute(std::wstring_view name, std::wstring_view value) override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;

 protected:
  void LayoutChildren(const RECT& inner) override;

 private:
  CListHeaderUI* mHeader = nullptr;
  int mCurSel = -1;
  int mItemHeight = 0;
  DWORD mSelectedBkColor = 0xFFD6E6F8;
  DWORD mHotBkColor = 0xFFEEF4FB;
};

}  // namespace DuiLib
