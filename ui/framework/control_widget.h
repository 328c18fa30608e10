// The native widget behind a control (framework only): it paints through the control and turns
// Qt input into TEventUI.
#pragma once

#include <QWidget>

#include "ui/framework/control.h"

class QKeyEvent;

namespace DuiLib {

// The Windows key code for a Qt key (letters, digits and the keys the windows test for).
WPARAM VirtualKeyOf(const QKeyEvent& event);
// Offers a key press to the message filter of the window `widget` belongs to; true when consumed.
bool FilterKeyPress(QWidget* widget, const QKeyEvent& event);

class ControlWidget : public QWidget {
 public:
  explicit ControlWidget(CControlUI* control);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Send(UIEVENT_TYPE type, QPoint point, WPARAM wParam = 0, bool leftButton = false);

  CControlUI* mControl;
};

// Focus changes caused by window activation or pop-ups are not the user moving the focus.
bool IsUserFocusChange(const QFocusEvent& event);

}  // namespace DuiLib
