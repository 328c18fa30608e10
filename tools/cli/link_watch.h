// Disconnects the unit when its link drops by itself (a unit on the network whose server went
// away) and says so, as the program does on an unplug: a command waiting for a reply ends at
// once instead of waiting out its time-out.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <thread>

#include "device/dsp_device.h"

namespace cli {

class LinkWatch {
 public:
  LinkWatch(device::DspDevice& unit, std::ostream& err);
  // Stops watching. Close the unit first, so that the handler is no longer called.
  ~LinkWatch();
  LinkWatch(const LinkWatch&) = delete;
  LinkWatch& operator=(const LinkWatch&) = delete;

  // For HidTransport::SetLostHandler: wakes the watch and returns at once.
  std::function<void()> Handler();

 private:
  void Run();

  device::DspDevice& mUnit;
  std::ostream& mErr;
  // Guards mLost and mDone.
  std::mutex mMutex;
  std::condition_variable mWake;
  bool mLost = false;
  bool mDone = false;
  std::thread mThread;
};

}  // namespace cli
