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

  WindowImplBase* Window() const { return mWindow; }

  // Offers a key press to the window's message filter; true when consumed.
  bool FilterKey(WPARAM virtualKey);
  // Queues the close request; it is handled from the event loop, never inside the caller.
  void PostClose(UINT code);
  // Queues a relayout for the next turn of the event loop.
  void PostRelayout();

  bool StartTimer(UINT id, UINT elapseMs);
  void StopTimer(UINT id);
  void StopAllTimers();

  // Runs a nested event loop until EndModal; returns its code.
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
  WindowImplBase* mWindow;
  std::map<int, UINT> mTimers;  // Qt timer id -> window timer id
  QEventLoop* mModalLoop = nullptr;
  bool mRelayoutPosted = false;
};

}  // namespace DuiLib
