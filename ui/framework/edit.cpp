#include "ui/framework/edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QWheelEvent>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/control_widget.h"
#include "ui/framework/paint_manager.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"

namespace DuiLib {
namespace {

// A line edit that reports the navigation keys, the wheel and focus changes to its control, and
// draws its control's background and border under the text (no style sheet: a window holds
// hundreds of edits, and a style sheet each would cost more than the rest of the window).
class EditWidget : public QLineEdit {
 public:
  explicit EditWidget(CEditUI* control) : mControl(control) { setFrame(false); }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    event->accept();
    if (FilterKeyPress(this, *event)) {
      return;
    }
    switch (VirtualKeyOf(*event)) {
      case VK_UP:
        Notify(DUI_MSGTYPE_VALUECHANGED_UP);
        return;
      case VK_DOWN:
        Notify(DUI_MSGTYPE_VALUECHANGED_DOWN);
        return;
      case VK_RETURN:
        Notify(DUI_MSGTYPE_RETURN);
        return;
      case VK_LEFT:
        QLineEdit::keyPressEvent(event);
        Notify(DUI_MSGTYPE_VALUECHANGED_LEFT);
        return;
      case VK_RIGHT:
        QLineEdit::keyPressEvent(event);
        Notify(DUI_MSGTYPE_VALUECHANGED_RIGHT);
        return;
      default:
        QLineEdit::keyPressEvent(event);
        event->accept();
        return;
    }
  }

  void paintEvent(QPaintEvent* event) override {
    {
      QPainter painter(this);
      painter.setRenderHint(QPainter::Antialiasing);
      mControl->PaintFrame(painter);
    }
    QLineEdit::paintEvent(event);
  }

  void wheelEvent(QWheelEvent* event) override {
    const int delta = event->angleDelta().y();
    if (delta == 0 || !isEnabled()) {
      event->ignore();
      return;
    }
    event->accept();
    Notify(delta > 0 ? DUI_MSGTYPE_VALUECHANGED_UP : DUI_MSGTYPE_VALUECHANGED_DOWN);
  }

  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    if (IsUserFocusChange(*event)) {
      Notify(DUI_MSGTYPE_SETFOCUS);
    }
  }

  void focusOutEvent(QFocusEvent* event) override {
    QLineEdit::focusOutEvent(event);
    if (IsUserFocusChange(*event)) {
      Notify(DUI_MSGTYPE_KILLFOCUS);
    }
  }

 private:
  void Notify(std::wstring_view type) {
    if (mControl->GetManager() != nullptr) {
      mControl->GetManager()->SendNotify(mControl, type);
    }
  }

  CEditUI* mControl;
};

QLineEdit* LineEdit(const CEditUI& edit) {
  return static_cast<QLineEdit*>(edit.GetWidget());
}

}  // namespace

CEditUI::CEditUI() : CLabelUI(std::make_unique<EditWidget>(this)) {
  GetWidget()->setFocusPolicy(Qt::StrongFocus);
  LineEdit(*this)->setMaxLength(mMaxChar);
  SetBkColor(0xFFFFFFFF);
  SetBorderColor(0xFFC5CCD6);
  SetBorderSize(1);
  SetTextPadding(RECT{4, 0, 4, 0});
}

std::wstring CEditUI::GetText() const {
  return ToWString(LineEdit(*this)->text());
}

void CEditUI::SetText(std::wstring_view text) {
  CLabelUI::SetText(text);
  LineEdit(*this)->setText(ToQString(CResourceManager::GetInstance()->GetText(text)));
}

void CEditUI::SetMaxChar(int maxChar) {
  mMaxChar = maxChar;
  LineEdit(*this)->setMaxLength(maxChar);
}

void CEditUI::SetReadOnly(bool readOnly) {
  mReadOnly = readOnly;
  LineEdit(*this)->setReadOnly(readOnly);
}

void CEditUI::SetNumberOnly(bool numberOnly) {
  if (numberOnly) {
    LineEdit(*this)->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), GetWidget()));
  } else {
    LineEdit(*this)->setValidator(nullptr);
  }
}

void CEditUI::SetSel(int start, int end) {
  QLineEdit* edit = LineEdit(*this);
  const int length = static_cast<int>(edit->text().size());
  if (end < 0 || end > length) {
    end = length;
  }
  start = std::clamp(start, 0, end);
  if (start == end) {
    edit->setCursorPosition(start);
  } else {
    edit->setSelection(start, end - start);
  }
}

void CEditUI::SetSelAtEnd() {
  SetSel(-1, -1);
}

void CEditUI::SetEnabled(bool enabled) {
  if (enabled != IsEnabled()) {
    mStyleDirty = true;  // the text colour follows the state
  }
  CLabelUI::SetEnabled(enabled);
}

void CEditUI::SetPos(RECT rc) {
  CLabelUI::SetPos(rc);
  ApplyStyle();
}

void CEditUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  CLabelUI::SetManager(manager, parent);
  ApplyStyle();
}

void CEditUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
  if (name == L"maxchar") {
    SetMaxChar(ParseInt(value));
  } else if (name == L"readonly") {
    SetReadOnly(ParseBool(value));
  } else if (name == L"numberonly") {
    SetNumberOnly(ParseBool(value));
  } else if (name == L"password") {
    LineEdit(*this)->setEchoMode(ParseBool(value) ? QLineEdit::Password : QLineEdit::Normal);
  } else {
    CLabelUI::SetAttribute(name, value);
    if (name == L"textcolor" || name == L"bkcolor" || name == L"bordercolor" ||
        name == L"bordersize" || name == L"font" || name == L"align" || name == L"textpadding" ||
        name == L"disabledtextcolor") {
      mStyleDirty = true;
      ApplyStyle();
    }
  }
}

void CEditUI::RefreshText() {
  CLabelUI::RefreshText();
  // A language key set from code follows the language unless the user has typed over it.
  const std::wstring& raw = GetRawText();
  if (raw.starts_with(L"${")) {
    const QString shown = ToQString(CResourceManager::GetInstance()->GetText(raw));
    if (LineEdit(*this)->text() != shown && !LineEdit(*this)->isModified()) {
      LineEdit(*this)->setText(shown);
    }
  }
}

void CEditUI::UpdateWidgetState() {
  CLabelUI::UpdateWidgetState();
  ApplyStyle();
}

void CEditUI::PaintFrame(QPainter& painter) {
  PaintBkColor(painter);
  PaintBorder(painter);
}

void CEditUI::ApplyStyle() {
  // Only in a window: the scale and fonts are known there, and attributes set while the layout
  // is built are applied together.
  if (GetManager() == nullptr || (!mStyleDirty && mStyledScale == GetManager()->GetLayoutScale())) {
    return;
  }
  mStyleDirty = false;
  mStyledScale = GetManager()->GetLayoutScale();
  QLineEdit* edit = LineEdit(*this);
  // The background and border come from PaintFrame; the line edit draws only the text.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, Qt::transparent);
  palette.setColor(QPalette::Active, QPalette::Text, ToQColor(GetTextColor()));
  palette.setColor(QPalette::Inactive, QPalette::Text, ToQColor(GetTextColor()));
  palette.setColor(QPalette::Disabled, QPalette::Text, ToQColor(GetDisabledTextColor()));
  if (palette != edit->palette()) {
    edit->setPalette(palette);
  }
  const RECT& padding = GetTextPadding();
  const int border = (GetBorderColor() & 0xFF000000u) != 0 ? Scale(GetBorderSize()) : 0;
  const QMargins margins(Scale(padding.left) + border, Scale(padding.top) + border,
                         Scale(padding.right) + border, Scale(padding.bottom) + border);
  if (edit->textMargins() != margins) {
    edit->setTextMargins(margins);
  }
  edit->setAlignment((GetTextAlign() == TextAlign::Center  ? Qt::AlignHCenter
                      : GetTextAlign() == TextAlign::Right ? Qt::AlignRight
                                                           : Qt::AlignLeft) |
                     Qt::AlignVCenter);
  const QFont font = GetManager()->GetFont(GetFont());
  if (edit->font() != font) {
    edit->setFont(font);
  }
}

}  // namespace DuiLib
