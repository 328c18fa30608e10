// CAboutWnd: the program's version, the firmware built into it, and the connected unit's model and
// firmware.
#pragma once

#include <string>

#include "model/scene_record.h"
#include "ui/framework/window_impl_base.h"

namespace ui {

class CAboutWnd : public DuiLib::WindowImplBase {
 public:
  // `unit` is the working record, whose leading fields identify the unit (model number -1: none).
  static int Show(DuiLib::HWND owner, const model::SceneRecord& unit);

  explicit CAboutWnd(const model::SceneRecord& unit);

 protected:
  std::wstring GetWindowClassName() const override { return L"AboutWnd"; }
  std::wstring GetSkinFile() override { return L"XML_ABOUT"; }
  void InitWindow() override;
  void Notify(DuiLib::TNotifyUI& msg) override;

 private:
  const int mModelNumber;
  const int mMasterVersion;
  const int mSlaveVersion;
};

}  // namespace ui
