#include "ui/framework/list.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QPalette>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <algorithm>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/control_widget.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"

namespace DuiLib {
namespace {

constexpr int kDefaultRowHeight = 24;
constexpr int kDefaultHeaderHeight = 24;
// The combo box's look, in layout units and ARGB.
constexpr DWORD kComboBorder = 0xFFC5CCD6;
constexpr DWORD kComboFill = 0xFFFFFFFF;
constexpr DWORD kComboDisabledFill = 0xFFF3F5F8;
constexpr DWORD kComboDisabledText = 0xFFA0A0A0;
constexpr int kComboRound = 3;
constexpr int kComboTextInset = 6;
constexpr int kComboMarkWidth = 22;

// A drop-down that reports the user's choice, keys and focus changes to its combo control, and
// follows language switches at its next repaint.
class ComboWidget : public QComboBox {
 public:
  explicit ComboWidget(CComboUI* control) : mControl(control) {
    connect(this, &QComboBox::activated, this,
            [this](int index) { mControl->SelectItem(index, false, true); });
  }

 protected:
  // The whole box is drawn here, at the window's scale: frame, current text and drop-down mark
  // (no style sheet: they cost more than the rest of a combo).
  void paintEvent(QPaintEvent*) override {
    const int generation = CResourceManager::GetInstance()->GetLanguageGeneration();
    if (generation != mLanguageGeneration) {
      mLanguageGeneration = generation;
      mControl->SyncItems();
    }
    const qreal scale =
        (mControl->GetManager() != nullptr ? mControl->GetManager()->GetLayoutScale() : 100) /
        100.0;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal line = std::max<qreal>(1.0, scale);
    // The layout's colours where it gives them, else the light look.
    const DWORD border = mControl->GetBorderColor();
    QPen frame(ToQColor(border != 0 ? border : kComboBorder));
    frame.setWidthF(line);
    painter.setPen(frame);
    const DWORD fill = mControl->GetBkColor();
    painter.setBrush(ToQColor(fill != 0 ? fill : isEnabled() ? kComboFill : kComboDisabledFill));
    const QRectF box = QRectF(rect()).adjusted(line / 2, line / 2, -line / 2, -line / 2);
    painter.drawRoundedRect(box, kComboRound * scale, kComboRound * scale);

    const QRect textArea = rect().adjusted(static_cast<int>(kComboTextInset * scale), 0,
                                           -static_cast<int>(kComboMarkWidth * scale), 0);
    const DWORD disabledText = mControl->GetDisabledTextColor();
    painter.setFont(font());
    painter.setPen(ToQColor(isEnabled()         ? mControl->GetTextColor()
                            : disabledText != 0 ? disabledText
                                                : kComboDisabledText));
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(currentText(), Qt::ElideRight, textArea.width()));

    if (mControl->PaintArrowImage(painter)) {
      return;
    }
    const qreal half = 4.0 * scale;
    const QPointF centre(width() - 11.0 * scale, height() / 2.0);
    QPen mark(ToQColor(isEnabled() ? 0xFF5B6573 : 0xFFB8C0CA));
    mark.setWidthF(1.5 * scale);
    painter.setPen(mark);
    painter.drawPolyline(QList<QPointF>{centre + QPointF(-half, -half / 2),
                                        centre + QPointF(0, half / 2),
                                        centre + QPointF(half, -half / 2)});
  }

  void keyPressEvent(QKeyEvent* event) override {
    event->accept();
    if (!FilterKeyPress(this, *event)) {
      QComboBox::keyPressEvent(event);
      event->accept();
    }
  }

  void focusInEvent(QFocusEvent* event) override {
    QComboBox::focusInEvent(event);
    if (IsUserFocusChange(*event) && mControl->GetManager() != nullptr) {
      mControl->GetManager()->SendNotify(mControl, DUI_MSGTYPE_SETFOCUS);
    }
  }

  void focusOutEvent(QFocusEvent* event) override {
    QComboBox::focusOutEvent(event);
    if (IsUserFocusChange(*event) && mControl->GetManager() != nullptr) {
      mControl->GetManager()->SendNotify(mControl, DUI_MSGTYPE_KILLFOCUS);
    }
  }

 private:
  CComboUI* mControl;
  int mLanguageGeneration = -1;
};

QComboBox* Box(const CComboUI& combo) {
  return static_cast<QComboBox*>(combo.GetWidget());
}

}  // namespace

void CListLabelElementUI::SetText(std::wstring_view text) {
  CLabelUI::SetText(text);
  if (auto* combo = dynamic_cast<CComboUI*>(GetParent())) {
    combo->SyncItems();
  }
}

void CListLabelElementUI::SetVisible(bool visible) {
  if (visible == IsVisible()) {
    return;
  }
  CLabelUI::SetVisible(visible);
  if (auto* combo = dynamic_cast<CComboUI*>(GetParent())) {
    combo->SyncItems();
  }
}

void CListLabelElementUI::ApplyVisibility() {
  if (!GetWidget()->isHidden()) {
    GetWidget()->hide();
  }
}

CComboUI::CComboUI() : CContainerUI(std::make_unique<ComboWidget>(this)) {
  GetWidget()->setFocusPolicy(Qt::ClickFocus);
}

bool CComboUI::SelectItem(int index, bool bTakeFocus, bool bTriggerEvent) {
  if (index < 0 || index >= GetCount()) {
    return false;
  }
  if (bTakeFocus) {
    SetFocus();
  }
  if (index == mCurSel) {
    return true;
  }
  const int old = mCurSel;
  mCurSel = index;
  {
    const QSignalBlocker blocker(GetWidget());
    Box(*this)->setCurrentIndex(index);
  }
  if (bTriggerEvent && GetManager() != nullptr) {
    GetManager()->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index), old);
  }
  return true;
}

CListLabelElementUI* CComboUI::AddItem(std::wstring_view text, std::wstring_view userData) {
  auto item = std::make_unique<CListLabelElementUI>();
  item->SetText(text);
  item->SetUserData(userData);
  auto* added = static_cast<CListLabelElementUI*>(Add(std::move(item)));
  SyncItems();
  return added;
}

std::wstring CComboUI::GetText() const {
  const CControlUI* item = GetItemAt(mCurSel);
  return item != nullptr ? item->GetText() : std::wstring();
}

void CComboUI::SetEnabled(bool enabled) {
  CContainerUI::SetEnabled(enabled);
  UpdateWidgetState();
}

void CComboUI::SetPos(RECT rc) {
  CContainerUI::SetPos(rc);
  ApplyStyle();
}

void CComboUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"selectedid") {
    mCurSel = ParseInt(value);
  } else if (name == L"font") {
    mFont = ParseInt(value);
    mStyleDirty = true;
  } else if (name == L"textcolor") {
    mTextColor = ParseColor(value);
    mStyleDirty = true;
    Invalidate();
  } else if (name == L"disabledtextcolor") {
    mDisabledTextColor = ParseColor(value);
    Invalidate();
  } else if (name == L"itemselectedbkcolor") {
    mItemSelectedBkColor = ParseColor(value);
    mStyleDirty = true;
  } else if (name == L"arrowimage") {
    mArrowImage = value;
    Invalidate();
  } else {
    CContainerUI::SetAttribute(name, value);
    // The box's colours are those of its open list too.
    mStyleDirty = true;
  }
}

bool CComboUI::PaintArrowImage(QPainter& painter) {
  if (mArrowImage.empty()) {
    return false;
  }
  // The mark's box, in layout units from the right edge, vertically centred.
  constexpr int kArrowWidth = 10;
  constexpr int kArrowHeight = 7;
  constexpr int kArrowRight = 7;
  const int scale = GetManager() != nullptr ? GetManager()->GetLayoutScale() : 100;
  const SIZE size = GetClientSize();
  const int right = size.cx * 100 / scale - kArrowRight;
  const int top = (size.cy * 100 / scale - kArrowHeight) / 2;
  const std::wstring placed = L"file='" + mArrowImage + L"' dest='" +
                              std::to_wstring(right - kArrowWidth) + L"," + std::to_wstring(top) +
                              L"," + std::to_wstring(right) + L"," +
                              std::to_wstring(top + kArrowHeight) + L"'";
  painter.save();
  if (!IsEnabled()) {
    painter.setOpacity(0.4);
  }
  const bool drawn = DrawImage(painter, placed);
  painter.restore();
  return drawn;
}

void CComboUI::RefreshText() {
  CContainerUI::RefreshText();
  SyncItems();
}

void CComboUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  CContainerUI::SetManager(manager, parent);
  SyncItems();
}

void CComboUI::SyncItems() {
  QComboBox* box = Box(*this);
  const QSignalBlocker blocker(box);
  const int count = GetCount();
  while (box->count() > count) {
    box->removeItem(box->count() - 1);
  }
  // The drop-down's view is made on first use: it is asked for only once some row is hidden.
  bool anyHidden = mRowsHidden;
  for (int i = 0; i < count && !anyHidden; ++i) {
    anyHidden = !GetItemAt(i)->IsVisible();
  }
  mRowsHidden = anyHidden;
  auto* model = anyHidden ? qobject_cast<QStandardItemModel*>(box->model()) : nullptr;
  auto* view = anyHidden ? qobject_cast<QListView*>(box->view()) : nullptr;
  for (int i = 0; i < count; ++i) {
    const CControlUI* item = GetItemAt(i);
    const QString text = ToQString(item->GetText());
    if (i < box->count()) {
      if (box->itemText(i) != text) {
        box->setItemText(i, text);
      }
    } else {
      box->addItem(text);
    }
    // A hidden item keeps its row (and index) but shows none, and the keys and the wheel skip it
    // as a disabled one.
    if (view != nullptr && view->isRowHidden(i) == item->IsVisible()) {
      view->setRowHidden(i, !item->IsVisible());
    }
    if (QStandardItem* row = model != nullptr ? model->item(i) : nullptr;
        row != nullptr && row->isEnabled() != item->IsVisible()) {
      row->setEnabled(item->IsVisible());
    }
  }
  if (mCurSel >= count) {
    mCurSel = -1;
  }
  if (box->currentIndex() != mCurSel) {
    box->setCurrentIndex(mCurSel);
  }
}

void CComboUI::UpdateWidgetState() {
  CContainerUI::UpdateWidgetState();
  ApplyStyle();
}

void CComboUI::ApplyStyle() {
  if (GetManager() == nullptr || (!mStyleDirty && mStyledScale == GetManager()->GetLayoutScale())) {
    return;
  }
  mStyleDirty = false;
  mStyledScale = GetManager()->GetLayoutScale();
  ApplyListColors();
  const QFont font = GetManager()->GetFont(mFont);
  if (GetWidget()->font() != font) {
    GetWidget()->setFont(font);
  }
}

void CComboUI::ApplyListColors() {
  if (GetBkColor() == 0) {
    return;
  }
  QAbstractItemView* view = Box(*this)->view();
  QPalette palette = view->palette();
  for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window}) {
    palette.setColor(role, ToQColor(GetBkColor()));
  }
  for (const QPalette::ColorRole role :
       {QPalette::Text, QPalette::WindowText, QPalette::HighlightedText}) {
    palette.setColor(role, ToQColor(mTextColor));
  }
  if (mItemSelectedBkColor != 0) {
    palette.setColor(QPalette::Highlight, ToQColor(mItemSelectedBkColor));
  }
  view->setPalette(palette);
  // The frame the list pops up in.
  if (QWidget* popup = view->parentWidget()) {
    popup->setPalette(palette);
  }
}

CListHeaderItemUI::CListHeaderItemUI() {
  SetTextAlign(TextAlign::Center);
  SetBkColor(0xFFEEF1F5);
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
  auto* list = dynamic_cast<CListUI*>(GetParent());
  if (list != nullptr && IsEnabled() && GetManager() != nullptr) {
    if (event.Type == UIEVENT_BUTTONDOWN) {
      list->SelectItem(mIndex);
      GetManager()->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
      return;
    }
    if (event.Type == UIEVENT_DBLCLICK) {
      list->SelectItem(mIndex);
      GetManager()->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
      return;
    }
  }
  CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::PaintBkColor(QPainter& painter) {
  CHorizontalLayoutUI::PaintBkColor(painter);
  const auto* list = dynamic_cast<const CListUI*>(GetParent());
  if (list == nullptr) {
    return;
  }
  const DWORD color = mSelected ? list->GetItemSelectedBkColor()
                      : IsHot() ? list->GetItemHotBkColor()
                                : 0;
  if (color != 0) {
    const SIZE size = GetClientSize();
    painter.fillRect(QRect(0, 0, size.cx, size.cy), ToQColor(color));
  }
}

CListUI::CListUI() {
  EnableScrollBar(true);
  GetWidget()->setFocusPolicy(Qt::ClickFocus);
}

int CListUI::GetRowCount() const {
  int rows = 0;
  for (const auto& item : mItems) {
    rows += dynamic_cast<const CListContainerElementUI*>(item.get()) != nullptr ? 1 : 0;
  }
  return rows;
}

CListContainerElementUI* CListUI::GetRowAt(int index) const {
  int row = 0;
  for (const auto& item : mItems) {
    if (auto* element = dynamic_cast<CListContainerElementUI*>(item.get())) {
      if (row++ == index) {
        return element;
      }
    }
  }
  return nullptr;
}

bool CListUI::SelectItem(int index) {
  CListContainerElementUI* chosen = GetRowAt(index);
  if (chosen == nullptr) {
    return false;
  }
  for (int i = 0; CListContainerElementUI* row = GetRowAt(i); ++i) {
    if (row->mSelected != (row == chosen)) {
      row->mSelected = row == chosen;
      row->Invalidate();
    }
  }
  mCurSel = index;
  return true;
}

void CListUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"itemheight") {
    mItemHeight = ParseInt(value);
  } else if (name == L"itemselectedbkcolor") {
    mSelectedBkColor = ParseColor(value);
  } else if (name == L"itemhotbkcolor") {
    mHotBkColor = ParseColor(value);
  } else {
    CVerticalLayoutUI::SetAttribute(name, value);
  }
}

void CListUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  CVerticalLayoutUI::SetManager(manager, parent);
  mHeader = nullptr;
  for (const auto& item : mItems) {
    if (auto* header = dynamic_cast<CListHeaderUI*>(item.get())) {
      mHeader = header;
      break;
    }
  }
}

void CListUI::LayoutChildren(const RECT& inner) {
  int row = 0;
  for (const auto& item : mItems) {
    if (auto* element = dynamic_cast<CListContainerElementUI*>(item.get())) {
      element->mIndex = row++;
      if (element->GetFixedHeight() == 0) {
        element->SetFixedHeight(mItemHeight > 0 ? mItemHeight : kDefaultRowHeight);
      }
    } else if (auto* header = dynamic_cast<CListHeaderUI*>(item.get())) {
      mHeader = header;
      if (header->GetFixedHeight() == 0) {
        header->SetFixedHeight(kDefaultHeaderHeight);
      }
    }
  }
  CVerticalLayoutUI::LayoutChildren(inner);
}

}  // namespace DuiLib
