#include "tools/cli/link_watch.h"

namespace cli {

LinkWatch::LinkWatch(device::DspDevice& unit, std::ostream& err)
    : mUnit(unit), mErr(err), mThread([this] { Run(); }) {}

LinkWatch::~LinkWatch() {
  {
    std::lock_guard lock(mMutex);
    mDone = true;
  }
  mWake.notify_all();
  mThread.join();
}

std::function<void()> LinkWatch::Handler() {
  return [this] {
    {
      std::lock_guard lock(mMutex);
      mLost = true;
    }
    mWake.notify_all();
  };
}

void LinkWatch::Run() {
  std::unique_lock lock(mMutex);
  mWake.wait(lock, [this] { return mLost || mDone; });
  if (!mLost) {
    return;
  }
  lock.unlock();
  // The link is gone: nothing can tell the unit that the PC leaves.
  mUnit.CloseHIDDevice(false);
  mErr << "vexaro-cli: the connection to the unit was lost\n" << std::flush;
}

}  // namespace cli
