#include "device/upgrade_worker.h"

#include <utility>

#include "platform/debug_log.h"
#include "platform/window_messages.h"

namespace device {

int RunUpgrade(DspDevice& device, const std::filesystem::path& file,
               const std::atomic<bool>& cancel, const UpgradeReport& report) {
  // Nothing queued may reach the unit between the chunks.
  device.DisableQueue();
  const int started = device.UpgradeStart(file);
  if (started != kUpgradeStarted) {
    report(UpgradeEvent::Refused, started);
    return started;
  }
  report(UpgradeEvent::Started, 0);
  int reported = -1;
  for (;;) {
    if (cancel) {
      device.UpgradeAbort();
      report(UpgradeEvent::Cancelled, reported);
      return kUpgradeCancelled;
    }
    const int progress = device.UpgradeStep();
    if (progress > kUpgradeProgressMax) {
      report(progress == kUpgradeFinished ? UpgradeEvent::Finished : UpgradeEvent::Failed,
             progress);
      return progress;
    }
    if (progress != reported) {
      reported = progress;
      report(UpgradeEvent::Progress, progress);
    }
  }
}

UpgradeReport PostingReport(platform::WindowHandle window, UpgradeStage stage) {
  return [window, stage](UpgradeEvent event, int value) {
    namespace msg = platform::msg;
    switch (event) {
      case UpgradeEvent::Refused:
        platform::PostMessage(window, msg::kUpgradeLoadFailed, 0, value);
        break;
      case UpgradeEvent::Started:
        if (stage == UpgradeStage::ForcedMcu) {
          platform::PostMessage(window, msg::kUpgradeMcuStarted, 0);
        } else if (stage == UpgradeStage::ForcedFlash) {
          platform::PostMessage(window, msg::kUpgradeFlashStarted, 0);
        }
        break;
      case UpgradeEvent::Progress:
        platform::PostMessage(window, msg::kUpgradeProgress, static_cast<std::uintptr_t>(value));
        break;
      case UpgradeEvent::Finished:
        platform::PostMessage(window, msg::kUpgradeDone, 0);
        break;
      case UpgradeEvent::Failed:
        platform::PostMessage(window, msg::kUpgradeFailed, 0, kUpgradeFailed);
        break;
      case UpgradeEvent::Cancelled:
        platform::PostMessage(window, msg::kUpgradeFailed, 0, kUpgradeCancelled);
        break;
    }
  };
}

UpgradeWorker::~UpgradeWorker() {
  Cancel();
  Join();
}

bool UpgradeWorker::Start(DspDevice& device, std::filesystem::path file,
                          platform::WindowHandle window, UpgradeStage stage) {
  if (mRunning) {
    return false;
  }
  Join();
  mCancel = false;
  mRunning = true;
  mThread = std::thread([this, &device, file = std::move(file), window, stage] {
    DebugLogA("upgrade worker start\n");
    RunUpgrade(device, file, mCancel, PostingReport(window, stage));
    DebugLogA("upgrade worker end\n");
    mRunning = false;
  });
  return true;
}

void UpgradeWorker::Cancel() {
  mCancel = true;
}

bool UpgradeWorker::Running() const {
  return mRunning;
}

void UpgradeWorker::Join() {
  if (mThread.joinable()) {
    mThread.join();
  }
}

}  // namespace device
