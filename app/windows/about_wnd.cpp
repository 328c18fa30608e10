#include "app/windows/about_wnd.h"

#include "app/windows/about_texts.h"
#include "app/windows/dialog_rules.h"
#include "app/windows/msg_wnd.h"
#include "ui/framework/resource_manager.h"

namespace ui {

using namespace DuiLib;

int CAboutWnd::Show(HWND owner, const model::SceneRecord& unit) {
  CAboutWnd wnd(unit);
  if (!CreateDialogWindow(wnd, owner, L"msgwnd")) {
    return kCloseCancel;
  }
  return static_cast<int>(wnd.ShowModal());
}

CAboutWnd::CAboutWnd(const model::SceneRecord& unit)
    : mModelNumber(unit.modelNumber),
      mMasterVersion(unit.masterVersion),
      mSlaveVersion(unit.slaveVersion) {}

void CAboutWnd::InitWindow() {
  const CResourceManager& resources = *CResourceManager::GetInstance();
  if (auto* label = mPaintManager.FindControl(L"fw_version")) {
    label->SetText(FirmwareVersionText(mModelNumber, resources.GetText(L"${version}"),
                                       mMasterVersion, mSlaveVersion));
  }
  if (auto* label = mPaintManager.FindControl(L"soft_version")) {
    label->SetText(SoftwareVersionText(resources.GetText(L"${soft_version}")));
  }
  if (auto* label = mPaintManager.FindControl(L"inner_fw_version")) {
    label->SetText(InnerFirmwareVersionText(resources.GetText(L"${inner_fw_version}")));
    label->SetVisible(true);
  }
  if (auto* label = mPaintManager.FindControl(L"company_title")) {
    label->SetText(kCompanyTitle);
  }
}

void CAboutWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
    if (const int code = DialogButtonCode(msg.pSender->GetName()); code >= 0) {
      Close(static_cast<UINT>(code));
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

}  // namespace ui
