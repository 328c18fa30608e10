#include "ui/framework/paint_manager.h"

#include <QApplication>
#include <QFont>
#include <QObject>
#include <QTimerEvent>
#include <algorithm>
#include <functional>

#include "ui/framework/button.h"
#include "ui/framework/container.h"
#include "ui/framework/qt_convert.h"
#include "ui/framework/window_host.h"
#include "ui/framework/window_impl_base.h"

namespace DuiLib {
namespace {

constexpr int kFallbackFontSize = 12;

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
  if (!mRoot) {
    return nullptr;
  }
  if (auto* container = dynamic_cast<CContainerUI*>(mRoot.get())) {
    return container->FindSubControl(name);
  }
  return mRoot->GetName() == name ? mRoot.get() : nullptr;
}

void CPaintManagerUI::SetDPI(int dpi) {
  if (dpi <= 0 || dpi == mDpi) {
    return;
  }
  mDpi = dpi;
  NeedUpdate();
}

void CPaintManagerUI::NeedUpdate() {
  mUpdateNeeded = true;
  if (mHost != nullptr) {
    mHost->PostRelayout();
  }
}

void CPaintManagerUI::Invalidate() {
  if (mHost == nullptr) {
    return;
  }
  mHost->update();
  for (QWidget* child : mHost->findChildren<QWidget*>()) {
    child->update();
  }
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
  if (!mRoot) {
    return;
  }
  mRoot->GetWidget()->setParent(mHost);
  mRoot->SetManager(this, nullptr);
  Relayout();
}

void CPaintManagerUI::Relayout() {
  mUpdateNeeded = false;
  if (!mRoot || mHost == nullptr) {
    return;
  }
  mRoot->RefreshText();
  mRoot->SetPos(RECT{0, 0, mHost->width(), mHost->height()});
}

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control != nullptr && control->IsVisible() && control->IsEnabled()) {
    control->GetWidget()->setFocus(Qt::OtherFocusReason);
  }
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
  KillTimers(control);
}

}  // namespace DuiLib
