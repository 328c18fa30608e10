// The upgrade worker: what an update window (or the command line) runs to upgrade the unit from
// one image file, and the messages it posts.
//
// A window drives an upgrade like this:
//   1. On its update button: DspDevice::DisableQueue(), then mWorker.Start(device, path, window,
//      stage). Start returns at once; the worker runs on its own thread.
//   2. It handles the posted messages (all to `window`, values from platform/window_messages.h):
//        1259 kUpgradeMcuStarted    (stage ForcedMcu only) the unit accepted the MCU image
//        1260 kUpgradeFlashStarted  (stage ForcedFlash only) the unit accepted the flash image
//        1255 kUpgradeProgress      wParam = percent 0..100, posted each time it changes
//        1256 kUpgradeDone          the transfer finished; the unit restarts with the new image
//        1257 kUpgradeFailed        lParam = kUpgradeFailed (255): the unit refused a chunk or was
//                                   lost; or kUpgradeCancelled: stopped by Cancel()
//        1258 kUpgradeLoadFailed    lParam = UpgradeStart's result 1..4 (file unreadable, file
//                                   refused, no unit, unit refused); DspDevice::LastUpgradeError()
//                                   says why a file was refused. Nothing was sent to the unit for
//                                   results 1 to 3.
//      Exactly one of 1256, 1257, 1258 ends every run.
//   3. Cancel() (or destroying the worker) stops it after the step in progress (at most one
//      acknowledgement wait, 10 s) or, while UpgradeStart still runs (the unit re-enumerating, up
//      to about 33 s), right after it. The unit then stays in upgrade mode and does not play
//      until it is upgraded again, which the window should say.
// RunUpgrade is the same body on the calling thread, reporting through a callback instead.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "device/dsp_device.h"
#include "platform/post_message.h"

namespace device {

enum class UpgradeEvent {
  Refused,    // value: UpgradeStart's result 1..4
  Started,    // the unit accepted the image; the transfer begins
  Progress,   // value: percent 0..100
  Finished,   // value: kUpgradeFinished
  Failed,     // value: kUpgradeFailed
  Cancelled,  // value: the last progress
};

// Which update a run belongs to; the forced update announces the start of each of its stages.
enum class UpgradeStage { File, ForcedMcu, ForcedFlash };

// RunUpgrade's result when the caller cancelled.
inline constexpr int kUpgradeCancelled = -1;

using UpgradeReport = std::function<void(UpgradeEvent event, int value)>;

// Upgrades the unit from `file` on the calling thread: UpgradeStart, then UpgradeStep until the
// transfer ends or `cancel` becomes true. Disables the command queue first and leaves it so: the
// caller enables it again once it has read the restarted unit. Returns
// kUpgradeFinished, kUpgradeFailed, kUpgradeCancelled or UpgradeStart's refusal (1..4).
int RunUpgrade(DspDevice& device, const std::filesystem::path& file,
               const std::atomic<bool>& cancel, const UpgradeReport& report);

// The report that posts each event to `window` as listed above.
UpgradeReport PostingReport(platform::WindowHandle window, UpgradeStage stage);

class UpgradeWorker {
 public:
  UpgradeWorker() = default;
  // Cancels a running upgrade and waits for the worker to end.
  ~UpgradeWorker();
  UpgradeWorker(const UpgradeWorker&) = delete;
  UpgradeWorker& operator=(const UpgradeWorker&) = delete;

  // Starts one upgrade on a new thread; false (nothing started) while another still runs.
  // `device` must outlive the worker.
  bool Start(DspDevice& device, std::filesystem::path file, platform::WindowHandle window,
             UpgradeStage stage);
  void Cancel();
  bool Running() const;
  // Waits for the worker to end.
  void Join();

 private:
  std::atomic<bool> mCancel{false};
  std::atomic<bool> mRunning{false};
  std::thread mThread;
};

}  // namespace device
