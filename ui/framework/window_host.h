// The native top-level window behind a WindowImplBase (framework only).
#pragma once

#include <QWidget>
#include <map>

#include "ui/framework/ui_types.h"

class QEventLoop;

namespace DuiLib {

class WindowImplBase;

class WindowHost : public QWidget {
 public:
  explicit WindowHost(WindowImplBase* window);
  ~WindowHost() override;

  // The window this host belongs to; null once the window has let it go (Detach).
  WindowImplBase* Window() const { return mWindow; }
  // The window object is going: from now on the host only waits to be deleted.
  void Detach();
  // Whether one of the host's own event handlers is running (it must not be deleted now).
  bool IsDispatching() const { return mDispatchDepth > 0; }

  // Offers a key press to the window's message filter; true when consumed.
  bool FilterKey(WPARAM virtualKey);
  // Queues the close request; it is handled from the event loop, never inside the caller.
  void PostClose(UINT code);
  // Queues the waiting layout for the next turn of the event loop (once, however often asked).
  void PostRelayout();

  bool StartTimer(UINT id, UINT elapseMs);
  void StopTimer(UINT id);
  void StopAllTimers();

  // Runs a nested event loop until EndModal; returns its code. The host may be deleted while the
  // loop runs (the loop then ends with the code given to EndModal, else 0).
  UINT RunModal();
  void EndModal(UINT code);
  bool IsModalRunning() const { return mModalLoop != nullptr; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool Dispatch(QEvent* event);

  WindowImplBase* mWindow;
  std::map<int, UINT> mTimers;  // Qt timer id -> window timer id
  QEventLoop* mModalLoop = nullptr;
  bool mModalEnded = false;  // EndModal was called for the running loop
  int mDispatchDepth = 0;
  bool mRelayoutPosted = false;
};

}  // namespace DuiLib
