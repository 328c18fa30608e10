#include "ui/framework/control_widget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/framework/window_host.h"

namespace DuiLib {

WPARAM VirtualKeyOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Tab:
      return VK_TAB;
    case Qt::Key_Backspace:
      return VK_BACK;
    default:
      break;
  }
  // Letters, digits and space have the same codes in both worlds.
  const int key = event.key();
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
      key == Qt::Key_Space) {
    return static_cast<WPARAM>(key);
  }
  return static_cast<WPARAM>(key & 0xFFFF);
}

bool FilterKeyPress(QWidget* widget, const QKeyEvent& event) {
  auto* host = dynamic_cast<WindowHost*>(widget->window());
  return host != nullptr && host->FilterKey(VirtualKeyOf(event));
}

bool IsUserFocusChange(const QFocusEvent& event) {
  return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

ControlWidget::ControlWidget(CControlUI* control) : mControl(control) {
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::NoFocus);
}

void ControlWidget::Send(UIEVENT_TYPE type, QPoint point, WPARAM wParam, bool leftButton) {
  TEventUI event;
  event.Type = type;
  event.ptMouse = POINT{point.x(), point.y()};
  event.wParam = wParam;
  event.bLeftButton = leftButton;
  mControl->DoEvent(event);
}

void ControlWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  mControl->DoPaint(painter);
}

void ControlWidget::mousePressEvent(QMouseEvent* event) {
  if (!mControl->IsMouseTarget()) {
    event->ignore();
    return;
  }
  if (focusPolicy() != Qt::NoFocus) {
    setFocus(Qt::MouseFocusReason);
  }
  const bool left = event->button() == Qt::LeftButton;
  Send(left ? UIEVENT_BUTTONDOWN : UIEVENT_RBUTTONDOWN, event->position().toPoint(), 0, left);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!mControl->IsMouseTarget()) {
    event->ignore();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    Send(UIEVENT_BUTTONUP, event->position().toPoint(), 0, true);
  }
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!mControl->IsMouseTarget()) {
    event->ignore();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    Send(UIEVENT_DBLCLICK, event->position().toPoint(), 0, true);
  }
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!mControl->IsMouseTarget()) {
    event->ignore();
    return;
  }
  Send(UIEVENT_MOUSEMOVE, event->position().toPoint(), 0, (event->buttons() & Qt::LeftButton) != 0);
}

void ControlWidget::enterEvent(QEnterEvent* event) {
  Send(UIEVENT_MOUSEENTER, event->position().toPoint());
}

void ControlWidget::leaveEvent(QEvent*) {
  Send(UIEVENT_MOUSELEAVE, QPoint());
}

void ControlWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0 || !mControl->IsMouseTarget()) {
    event->ignore();
    return;
  }
  Send(UIEVENT_SCROLLWHEEL, event->position().toPoint(), delta > 0 ? 1 : 0);
}

void ControlWidget::keyPressEvent(QKeyEvent* event) {
  // Keys are offered once, here, and never travel on to the parent widgets.
  event->accept();
  if (FilterKeyPress(this, *event)) {
    return;
  }
  Send(UIEVENT_KEYDOWN, QPoint(), VirtualKeyOf(*event));
}

void ControlWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  if (IsUserFocusChange(*event)) {
    Send(UIEVENT_SETFOCUS, QPoint());
  }
}

void ControlWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (IsUserFocusChange(*event)) {
    Send(UIEVENT_KILLFOCUS, QPoint());
  }
}

}  // namespace DuiLib
