#include "ui/framework/window_host.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTimerEvent>
#include <QWindow>

#include "ui/framework/control_widget.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/window_impl_base.h"

namespace DuiLib {
namespace {

const QEvent::Type kCloseRequest = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kRelayoutRequest = static_cast<QEvent::Type>(QEvent::registerEventType());

class CloseRequestEvent : public QEvent {
 public:
  explicit CloseRequestEvent(UINT code) : QEvent(kCloseRequest), mCode(code) {}
  UINT Code() const { return mCode; }

 private:
  UINT mCode;
};

}  // namespace

WindowHost::WindowHost(WindowImplBase* window) : mWindow(window) {
  // Key presses reach the window when no control has the focus; Tab never stops here.
  setFocusPolicy(Qt::ClickFocus);
}

WindowHost::~WindowHost() {
  StopAllTimers();
  if (mModalLoop != nullptr && !mModalEnded) {
    mModalLoop->exit(0);
  }
}

void WindowHost::Detach() {
  StopAllTimers();
  mWindow = nullptr;
}

bool WindowHost::FilterKey(WPARAM virtualKey) {
  if (mWindow == nullptr) {
    return false;
  }
  TMessageUI message{mWindow->GetHWND(), WM_KEYDOWN, virtualKey, 0, nullptr};
  bool handled = false;
  static_cast<IMessageFilterUI*>(mWindow)->MessageHandler(message, handled);
  return handled;
}

void WindowHost::PostClose(UINT code) {
  QCoreApplication::postEvent(this, new CloseRequestEvent(code));
}

void WindowHost::PostRelayout() {
  if (!mRelayoutPosted) {
    mRelayoutPosted = true;
    QCoreApplication::postEvent(this, new QEvent(kRelayoutRequest));
  }
}

bool WindowHost::StartTimer(UINT id, UINT elapseMs) {
  StopTimer(id);
  const int qtId = startTimer(static_cast<int>(elapseMs));
  if (qtId == 0) {
    return false;
  }
  mTimers[qtId] = id;
  return true;
}

void WindowHost::StopTimer(UINT id) {
  for (auto it = mTimers.begin(); it != mTimers.end(); ++it) {
    if (it->second == id) {
      killTimer(it->first);
      mTimers.erase(it);
      return;
    }
  }
}

void WindowHost::StopAllTimers() {
  for (const auto& [qtId, id] : mTimers) {
    killTimer(qtId);
  }
  mTimers.clear();
}

UINT WindowHost::RunModal() {
  QEventLoop loop;
  QEventLoop* const outer = mModalLoop;
  const bool outerEnded = mModalEnded;
  mModalLoop = &loop;
  mModalEnded = false;
  const QPointer<WindowHost> self(this);
  const int code = loop.exec();
  // A handler inside the loop may have deleted this host: nothing of it is touched then.
  if (self) {
    mModalLoop = outer;
    mModalEnded = outerEnded;
  }
  return static_cast<UINT>(code);
}

void WindowHost::EndModal(UINT code) {
  if (mModalLoop != nullptr) {
    mModalEnded = true;
    mModalLoop->exit(static_cast<int>(code));
  }
}

bool WindowHost::event(QEvent* event) {
  if (event->type() == QEvent::DeferredDelete) {
    return QWidget::event(event);  // deletes this host
  }
  // Deletion waits while a handler of this host runs (see WindowImplBase's destructor).
  ++mDispatchDepth;
  const bool handled = Dispatch(event);
  --mDispatchDepth;
  return handled;
}

bool WindowHost::Dispatch(QEvent* event) {
  if (mWindow == nullptr) {
    // A host whose window is gone only waits for its deletion.
    return event->type() == kCloseRequest || event->type() == kRelayoutRequest ||
           QWidget::event(event);
  }
  if (event->type() == kCloseRequest) {
    TMessageUI message{mWindow->GetHWND(), WM_CLOSE, static_cast<CloseRequestEvent*>(event)->Code(),
                       0, nullptr};
    mWindow->DispatchMessage(message);
    return true;
  }
  if (event->type() == kRelayoutRequest) {
    mRelayoutPosted = false;
    mWindow->GetPaintManager().UpdateLayout();
    return true;
  }
  return QWidget::event(event);
}

void WindowHost::paintEvent(QPaintEvent*) {
  if (mWindow == nullptr) {
    return;
  }
  CPaintManagerUI& manager = mWindow->GetPaintManager();
  manager.UpdateLayout();
  manager.RefreshTextsIfLanguageChanged();
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(manager.GetWindowBkColor()));
}

void WindowHost::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (mWindow != nullptr) {
    mWindow->GetPaintManager().Relayout();
  }
}

void WindowHost::mousePressEvent(QMouseEvent* event) {
  if (mWindow == nullptr) {
    return;
  }
  // Presses that no control took land here: inside the caption band they move the window.
  const CPaintManagerUI& manager = mWindow->GetPaintManager();
  const RECT& caption = manager.GetCaptionRect();
  const QPoint point = event->position().toPoint();
  const bool inCaption = point.x() >= manager.Scale(caption.left) &&
                         point.x() < width() - manager.Scale(caption.right) &&
                         point.y() >= manager.Scale(caption.top) &&
                         point.y() < manager.Scale(caption.bottom);
  if (inCaption && event->button() == Qt::LeftButton && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
  }
}

void WindowHost::keyPressEvent(QKeyEvent* event) {
  event->accept();
  FilterKeyPress(this, *event);
}

void WindowHost::closeEvent(QCloseEvent* event) {
  // A close from the system (window manager) goes the same way as Close(0).
  event->ignore();
  PostClose(0);
}

void WindowHost::timerEvent(QTimerEvent* event) {
  if (mWindow == nullptr) {
    return;
  }
  const auto found = mTimers.find(event->timerId());
  if (found == mTimers.end()) {
    QWidget::timerEvent(event);
    return;
  }
  TMessageUI message{mWindow->GetHWND(), WM_TIMER, found->second, 0, nullptr};
  mWindow->DispatchMessage(message);
}

void WindowHost::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (mWindow != nullptr && event->type() == QEvent::ActivationChange && !isActiveWindow() &&
      isVisible() && mWindow->GetHWND() != 0) {
    TMessageUI message{mWindow->GetHWND(), WM_KILLFOCUS, 0, 0, nullptr};
    mWindow->DispatchMessage(message);
  }
}

}  // namespace DuiLib
