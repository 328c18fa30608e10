// A control on its own, as a window would hold it: a paint manager at a chosen scale that records
// the notifications, offscreen rendering into an image, and mouse input through the control's
// widget.
#pragma once

#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

#include "ui/framework/control.h"
#include "ui/framework/paint_manager.h"

namespace ui_test {

// Scale in percent to the DPI value that gives it.
int DpiForScale(int scale);

class Harness : public DuiLib::INotifyUI {
 public:
  explicit Harness(int scale = 100);
  ~Harness() override;

  // Wires `control` to the manager and places it at `width` x `height` pixels.
  void Attach(DuiLib::CControlUI& control, int width, int height);
  void Notify(DuiLib::TNotifyUI& msg) override { notes.push_back(msg.sType); }
  int Count(std::wstring_view type) const;

  DuiLib::CPaintManagerUI manager;
  std::vector<std::wstring> notes;
};

// Paints `control` into an image `margin` pixels wider on each side than the control, filled with
// `backdrop` first; nothing clips the painting to the control.
QImage Render(DuiLib::CControlUI& control, int margin = 0, QRgb backdrop = 0xFF000000);

// Mouse input as the user gives it (press, drag with the button held, release, hover).
void Press(DuiLib::CControlUI& control, QPoint point);
void DragTo(DuiLib::CControlUI& control, QPoint point);
void Release(DuiLib::CControlUI& control, QPoint point);
void Hover(DuiLib::CControlUI& control, QPoint point);

}  // namespace ui_test
