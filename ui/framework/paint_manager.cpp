#include "ui/framework/paint_manager.h"

#include <QApplication>
#include <QFont>
#include <QObject>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/debug_log.h"
#include "ui/framework/button.h"
#include "ui/framework/container.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_thread.h"
#include "ui/framework/window_host.h"
#include "ui/framework/window_impl_base.h"

namespace DuiLib {
namespace {

constexpr int kFallbackFontSize = 12;
// Containers laid out again in one go; a layout that keeps asking for more is cut off there.
constexpr int kMaxLayoutRounds = 8;

int Depth(const CControlUI* control) {
  int depth = 0;
  for (; control->GetParent() != nullptr; control = control->GetParent()) {
    ++depth;
  }
  return depth;
}

// The outermost hidden control around `control` (itself included), for the focus log line.
const CControlUI* HiddenAncestor(const CControlUI* control) {
  const CControlUI* hidden = nullptr;
  for (; control != nullptr; control = control->GetParent()) {
    if (!control->IsVisible()) {
      hidden = control;
    }
  }
  return hidden;
}

CControlUI* FindByWidget(CControlUI* control, const QWidget* widget) {
  if (control == nullptr || widget == nullptr) {
    return nullptr;
  }
  if (control->GetWidget() == widget) {
    return control;
  }
  if (auto* container = dynamic_cast<CContainerUI*>(control)) {
    for (int i = 0; i < container->GetCount(); ++i) {
      if (CControlUI* found = FindByWidget(container->GetItemAt(i), widget)) {
        return found;
      }
    }
  }
  return nullptr;
}

}  // namespace

// Control timers: each one a Qt timer on this object.
struct CPaintManagerUI::Timers : QObject {
  std::map<int, TimerKey> byQtId;

  void timerEvent(QTimerEvent* event) override {
    const auto found = byQtId.find(event->timerId());
    if (found == byQtId.end()) {
      return;
    }
    TEventUI timer;
    timer.Type = UIEVENT_TIMER;
    timer.wParam = found->second.id;
    found->second.control->DoEvent(timer);
  }

  void Kill(const std::function<bool(const TimerKey&)>& match) {
    for (auto it = byQtId.begin(); it != byQtId.end();) {
      if (match(it->second)) {
        killTimer(it->first);
        it = byQtId.erase(it);
      } else {
        ++it;
      }
    }
  }
};

CPaintManagerUI::CPaintManagerUI() : mTimers(std::make_unique<Timers>()) {}

CPaintManagerUI::~CPaintManagerUI() {
  // Controls report their end to this manager: let them go while it is still whole.
  mRoot.reset();
  mReleased.clear();
}

int CPaintManagerUI::MessageLoop() {
  return QApplication::exec();
}

void CPaintManagerUI::PostQuitMessage(int code) {
  QCoreApplication::exit(code);
}

CControlUI* CPaintManagerUI::FindControl(std::wstring_view name) const {
  if (!CheckUiThread("CPaintManagerUI::FindControl")) {
    return nullptr;
  }
  const auto found = mNames.find(name);
  if (found == mNames.end() || found->second.empty()) {
    return nullptr;
  }
  if (found->second.size() == 1) {
    return found->second.front();
  }
  // Several controls share the name (rows of a list): the first in the tree wins.
  if (auto* container = dynamic_cast<CContainerUI*>(mRoot.get())) {
    return container->FindSubControl(name);
  }
  return found->second.front();
}

void CPaintManagerUI::IndexControl(CControlUI* control) {
  if (!control->GetName().empty()) {
    mNames[control->GetName()].push_back(control);
  }
}

void CPaintManagerUI::UnindexControl(CControlUI* control) {
  const auto found = mNames.find(control->GetName());
  if (found == mNames.end()) {
    return;
  }
  std::erase(found->second, control);
  if (found->second.empty()) {
    mNames.erase(found);
  }
}

void CPaintManagerUI::SetDPI(int dpi) {
  if (dpi <= 0 || dpi == mDpi) {
    return;
  }
  mDpi = dpi;
  NeedUpdate();
}

void CPaintManagerUI::SetDevicePixelRatio(double ratio) {
  if (!(ratio > 0.0)) {
    ratio = 1.0;
  }
  if (ratio == mDevicePixelRatio) {
    return;
  }
  mDevicePixelRatio = ratio;
  NeedUpdate();
}

int CPaintManagerUI::GetLayoutScale() const {
  return Scale(100);
}

int CPaintManagerUI::Scale(int value) const {
  if (mDevicePixelRatio == 1.0) {
    return MulDiv(value, GetScale(), 100);
  }
  return static_cast<int>(std::lround(value * GetScale() / (100.0 * mDevicePixelRatio)));
}

void CPaintManagerUI::NeedUpdate() {
  if (!CheckUiThread("CPaintManagerUI::NeedUpdate")) {
    return;
  }
  mUpdateNeeded = true;
  if (mHost != nullptr) {
    mHost->PostRelayout();
    mHost->update();
  }
}

void CPaintManagerUI::NeedLayout(CContainerUI* container) {
  if (!CheckUiThread("CPaintManagerUI::NeedLayout")) {
    return;
  }
  if (std::find(mDirty.begin(), mDirty.end(), container) == mDirty.end()) {
    mDirty.push_back(container);
  }
  if (mHost != nullptr) {
    mHost->PostRelayout();
  }
}

void CPaintManagerUI::UpdateLayout() {
  if (mUpdateNeeded) {
    Relayout();
    return;
  }
  if (!mRoot || mHost == nullptr) {
    mDirty.clear();
    return;
  }
  RefreshTextsIfLanguageChanged();
  for (int round = 0; round < kMaxLayoutRounds && !mDirty.empty(); ++round) {
    std::vector<CContainerUI*> dirty;
    dirty.swap(mDirty);
    // Outer containers first: placing them may place the inner ones already.
    std::stable_sort(dirty.begin(), dirty.end(), [](const CContainerUI* a, const CContainerUI* b) {
      return Depth(a) < Depth(b);
    });
    for (CContainerUI* container : dirty) {
      if (container->IsLayoutNeeded()) {
        container->Relayout();
      }
    }
  }
  mDirty.clear();
}

void CPaintManagerUI::RefreshTextsIfLanguageChanged() {
  const int generation = CResourceManager::GetInstance()->GetLanguageGeneration();
  if (generation == mLanguageGeneration || !mRoot) {
    return;
  }
  mLanguageGeneration = generation;
  mRoot->RefreshText();
}

void CPaintManagerUI::Invalidate() {
  if (mHost == nullptr || !CheckUiThread("CPaintManagerUI::Invalidate")) {
    return;
  }
  // Controls are drawn over their window, so repainting the window repaints every one of them.
  mHost->update();
}

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (std::find(mNotifiers.begin(), mNotifiers.end(), notifier) == mNotifiers.end()) {
    mNotifiers.push_back(notifier);
  }
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  std::erase(mNotifiers, notifier);
}

void CPaintManagerUI::SendNotify(CControlUI* sender, std::wstring_view type, WPARAM wParam,
                                 LPARAM lParam) {
  if (!CheckUiThread("CPaintManagerUI::SendNotify")) {
    return;
  }
  TNotifyUI msg{std::wstring(type), sender, wParam, lParam};
  // A receiver may add or remove receivers while handling this one.
  const std::vector<INotifyUI*> receivers = mNotifiers;
  for (INotifyUI* receiver : receivers) {
    receiver->Notify(msg);
  }
}

void CPaintManagerUI::AddFont(int id, TFontInfo font, bool isDefault) {
  mFonts[id] = std::move(font);
  if (isDefault || mDefaultFont < 0) {
    mDefaultFont = id;
  }
}

QFont CPaintManagerUI::GetFont(int id) const {
  auto found = mFonts.find(id);
  if (found == mFonts.end()) {
    found = mFonts.find(mDefaultFont);
  }
  QFont font;
  if (found == mFonts.end()) {
    font.setPixelSize(Scale(kFallbackFontSize));
    return font;
  }
  const TFontInfo& info = found->second;
  if (!info.family.empty()) {
    font.setFamily(ToQString(info.family));
  }
  font.setPixelSize(std::max(1, Scale(info.size)));
  font.setBold(info.bold);
  font.setItalic(info.italic);
  return font;
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT id, UINT elapseMs) {
  KillTimer(control, id);
  const int qtId = mTimers->startTimer(static_cast<int>(elapseMs));
  if (qtId == 0) {
    return false;
  }
  mTimers->byQtId[qtId] = TimerKey{control, id};
  return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control, UINT id) {
  mTimers->Kill([&](const TimerKey& key) { return key.control == control && key.id == id; });
}

void CPaintManagerUI::KillTimers(CControlUI* control) {
  mTimers->Kill([&](const TimerKey& key) { return key.control == control; });
}

HWND CPaintManagerUI::GetPaintWindow() const {
  return mHost != nullptr ? mHost->Window()->GetHWND() : 0;
}

void CPaintManagerUI::Init(WindowHost* host) {
  mHost = host;
}

void CPaintManagerUI::AttachRoot(std::unique_ptr<CControlUI> root) {
  mRoot = std::move(root);
  mDirty.clear();
  if (!mRoot) {
    mNames.clear();
    return;
  }
  mRoot->GetWidget()->setParent(mHost);
  // Texts were read in the current language as the controls were built.
  mLanguageGeneration = CResourceManager::GetInstance()->GetLanguageGeneration();
  mRoot->SetManager(this, nullptr);
  Relayout();
}

void CPaintManagerUI::Relayout() {
  mUpdateNeeded = false;
  mDirty.clear();
  if (!mRoot || mHost == nullptr || !CheckUiThread("CPaintManagerUI::Relayout")) {
    return;
  }
  RefreshTextsIfLanguageChanged();
  mFullLayoutRunning = true;
  mRoot->SetPos(RECT{0, 0, mHost->width(), mHost->height()});
  mRoot->ApplyVisibility();
  mFullLayoutRunning = false;
  // Containers that asked again while being placed were placed by this pass.
  mDirty.clear();
}

bool CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == nullptr || !CheckUiThread("CPaintManagerUI::SetFocus")) {
    return false;
  }
  // A control shown by the same handler gets its widget back first.
  UpdateLayout();
  if (const CControlUI* hidden = HiddenAncestor(control)) {
    DebugLog(L"SetFocus %ls: not shown (\"%ls\" is hidden)\n", control->GetName().c_str(),
             hidden->GetName().c_str());
    return false;
  }
  if (!control->IsEnabled()) {
    DebugLog(L"SetFocus %ls: disabled\n", control->GetName().c_str());
    return false;
  }
  control->GetWidget()->setFocus(Qt::OtherFocusReason);
  return true;
}

CControlUI* CPaintManagerUI::GetFocus() const {
  return FindByWidget(mRoot.get(), QApplication::focusWidget());
}

void CPaintManagerUI::RegisterOption(COptionUI* option) {
  if (std::find(mOptions.begin(), mOptions.end(), option) == mOptions.end()) {
    mOptions.push_back(option);
  }
}

void CPaintManagerUI::UnregisterOption(COptionUI* option) {
  std::erase(mOptions, option);
}

void CPaintManagerUI::SelectInGroup(COptionUI* option) {
  for (COptionUI* other : mOptions) {
    if (other != option && other->GetGroup() == option->GetGroup() && other->IsSelected()) {
      other->Selected(false, false);
    }
  }
}

void CPaintManagerUI::ReleaseLater(std::unique_ptr<CControlUI> control) {
  if (!control) {
    return;
  }
  ForgetSubtree(control.get());
  control->SetManager(nullptr, nullptr);
  // Out of its old parent widget, which may go before the control does.
  control->GetWidget()->hide();
  control->GetWidget()->setParent(nullptr);
  if (mReleased.empty()) {
    // Queued on the timer object, which dies with this manager: no call after the manager.
    QMetaObject::invokeMethod(
        mTimers.get(), [this] { mReleased.clear(); }, Qt::QueuedConnection);
  }
  mReleased.push_back(std::move(control));
}

void CPaintManagerUI::ForgetSubtree(CControlUI* control) {
  ForgetControl(control);
  if (auto* container = dynamic_cast<CContainerUI*>(control)) {
    for (int i = 0; i < container->GetCount(); ++i) {
      ForgetSubtree(container->GetItemAt(i));
    }
  }
}

void CPaintManagerUI::ForgetControl(CControlUI* control) {
  std::erase_if(mOptions, [control](COptionUI* option) {
    return static_cast<CControlUI*>(option) == control;
  });
  std::erase_if(mDirty, [control](CContainerUI* container) {
    return static_cast<CControlUI*>(container) == control;
  });
  UnindexControl(control);
  KillTimers(control);
}

}  // namespace DuiLib
