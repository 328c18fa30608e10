// The virtual TRZ62C: an in-process peer of the unit's protocol.
//
// It takes the output reports the PC writes, answers each command frame through the handler of
// its group, and queues the answers as 64-byte input reports for the PC to read. Knobs change
// its timing and inject the faults a real cable and unit show. Thread-safe: the PC may write and
// read on different threads while a test turns the knobs.
//
// The PC reaches it through handles, as it reaches a real unit through hidraw: a new handle starts
// with nothing pending, and an unplug ends every handle opened before it for good, so after a
// replug the PC must open the unit again. Plug listeners learn of unplugs and replugs the way a
// hot-plug monitor learns of a real unit's removal and arrival.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device/command_record.h"
#include "device/firmware_image.h"
#include "device/hid_transport.h"
#include "device/mcu_protocol.h"
#include "device/upgrade_protocol.h"
#include "sim/calibration_run.h"
#include "sim/unit_state.h"

namespace sim {

// What the unit says about itself.
struct UnitIdentity {
  std::uint8_t model = 23;
  std::uint8_t masterVersion = 16;
  std::uint8_t slaveVersion = 2;
  std::array<std::uint8_t, device::kFlashVersionBytes> flashVersion{1, 0, 2, 5};
  std::uint8_t bootloaderVersion = 3;
  std::string mcuText = "TRZ62C MCU";
  // USB strings; an empty one is a string the unit does not have, and reading it fails.
  std::wstring manufacturer = L"Tessamark";
  std::wstring product = L"TRZ62C";
  std::wstring serialNumber = L"0001";
};

// What the unit received in one upgrade, from its start command on.
struct UpgradeRecord {
  device::UpgradeTarget target = device::UpgradeTarget::None;
  std::array<std::uint8_t, device::kImageHeaderBytes> header{};
  // The image as assembled from the chunks; an MCU image keeps the zero fill of its last block.
  std::vector<std::uint8_t> image;
  int chunks = 0;          // data chunks taken
  bool finished = false;   // the finish command came with every chunk there
  bool installed = false;  // the unit restarted with the new image
};

class VirtualUnit {
 public:
  using Clock = std::chrono::steady_clock;
  using Report = std::array<std::uint8_t, device::kInputReportSize>;

  // A handle the PC opened on the unit; kNoHandle is none.
  using HandleId = std::uint64_t;
  static constexpr HandleId kNoHandle = 0;
  // Told true after the unit was plugged in again, false after it was unplugged.
  using PlugListener = std::function<void(bool pluggedIn)>;

  // A unit holding `state` (a fresh unit by default; see DemoUnitState for a tuned car).
  explicit VirtualUnit(UnitIdentity identity = {}, UnitState state = FactoryUnitState());

  // Opens the unit: a new handle, with nothing pending (answers still on their way to an earlier
  // handle are gone). kNoHandle while the unit is unplugged or about to restart.
  HandleId OpenHandle();
  // The PC let go of `handle`.
  void CloseHandle(HandleId handle);
  // How many live handles besides `handle` are open: other programs talking to the unit.
  int OtherOpenHandles(HandleId handle) const;
  // Whether `handle` still reaches the unit: false once the unit was unplugged after it was
  // opened, even when it has been plugged in again since.
  bool IsHandleAlive(HandleId handle) const;

  // The PC's side: one output report in, one input report out, through an open handle; -1 on a
  // handle that no longer reaches the unit. ReadReport waits at most `timeoutMs` (negative: no
  // limit) and returns early with -1 when `stop` is requested or the handle dies; 0 means the
  // time-out passed.
  int WriteReport(HandleId handle, std::span<const std::uint8_t> report);
  int ReadReport(HandleId handle, std::span<std::uint8_t> buffer, int timeoutMs,
                 std::stop_token stop);
  bool IsPluggedIn() const;
  UnitIdentity Identity() const;

  // Knobs.
  void SetReplyLatency(std::chrono::milliseconds latency);
  void SetRefuseHandshake(bool refuse);   // answer the handshake with status 0xF0
  void SetSplitReplies(bool split);       // every reply frame is cut over two reports
  void SetTwoFramesPerReport(bool pack);  // pending frames go out two to a report
  void CorruptNextChecksums(int count);   // the next `count` reply frames carry a wrong checksum
  void DropNextReplies(int count);        // the next `count` commands get no answer
  void SetAnswerPcConnect(bool answer);   // answer PC_Connect (reply code 31)
  // Auto calibration: the least time each step of a run takes (0: one step per status poll), and
  // a failure code every run ends with (none: runs succeed unless an output has no speaker).
  void SetCalibrationPace(std::chrono::milliseconds pace);
  void SetCalibrationFailure(std::optional<int> failure);
  void Unplug();  // pending and later reads and writes fail; every open handle dies
  void PlugIn();  // the unit can be opened again

  // Upgrade mode. The unit enters it on the enter command and restarts into its loader (a
  // re-enumeration: an unplug and a replug, told to the plug listeners); it restarts again after
  // an MCU image is finished, and on the reboot command that follows a DSP flash image. A
  // restarting unit cannot be opened; it leaves once the PC has read its last answers (or after
  // a short grace) and comes back after the re-enumeration time. A finished demo image brings its
  // version: the MCU image the master version, the DSP flash image the slave version.
  void SetReenumerationTime(std::chrono::milliseconds away);  // negative: never comes back
  void SetUpgradeNotReady(int count);  // the next `count` chunks: not ready first, then ready
  // The unit vanishes while data chunk `chunk` (0 = the first of an upgrade) is written: the
  // write fails and every handle dies. -1: never.
  void UnplugAtChunk(int chunk);
  void SetRefuseUpgradeEnter(bool refuse);  // the enter command is answered not ready
  void SetRefuseUpgradeStart(bool refuse);  // the start command is answered not ready
  // The upgrade in progress or the last one; nullopt before the first start command.
  std::optional<UpgradeRecord> LastUpgrade() const;
  // Waits until the unit has come back from `count` restarts in all, at most `timeout`; true
  // when it has.
  bool WaitForRestarts(int count, std::chrono::milliseconds timeout) const;

  // A frame the unit sends on its own; it goes out together with the next answer.
  void Announce(std::uint8_t group, std::span<const std::uint8_t> body);
  // The noise an input channel measures (dB), as reported to Get_Input_Noise.
  void SetInputNoise(int channel, float levelDb);

  // Plug listeners: the virtual unit's hot-plug events, its removal (false) and arrival (true).
  // Each is called after every unplug and replug that changes the state, on the thread that
  // caused it, outside the unit's own lock (it may call into the unit), one event at a time in the
  // order the events happened. It should return promptly: post the news on, wait for nothing.
  // AddPlugListener returns an id for RemovePlugListener; once that returns, the listener is not
  // running (unless it is the caller) and is never called again.
  int AddPlugListener(PlugListener listener);
  void RemovePlugListener(int id);

  // What the unit saw.
  std::vector<device::CommandRecord> ReceivedCommands() const;
  bool PcConnected() const;
  std::string Password() const;
  std::string Remark() const;
  // The parameter settings: working scene, stored scenes, names and unit-wide values.
  UnitState State() const;
  // Waits until `holds` is true of the settings, or `timeout` has passed; whether it became true.
  // For whoever waits for queued commands to arrive. `holds` runs under the unit's lock and is
  // asked again after every command the unit takes.
  bool WaitForState(const std::function<bool(const UnitState&)>& holds,
                    std::chrono::milliseconds timeout);

 private:
  // Per-group handlers; each answers through Reply. Called with mMutex held.
  void HandleMcu(const device::CommandRecord& command);
  // Power-off delay, factory default and reboot; false for other MCU commands.
  bool HandleMcuAction(const device::CommandRecord& command);
  void HandleDsp(const device::CommandRecord& command);
  void HandleScene(const device::CommandRecord& command);
  void HandleKtv(const device::CommandRecord& command);
  // Upgrade commands of groups 2 and 3; false for other commands.
  bool HandleUpgrade(const device::CommandRecord& command);
  void HandleUpgradeData(const device::CommandRecord& command);
  void HandleUpgradeFinish(const device::CommandRecord& command);

  // Restarts. ScheduleRestart is called with mMutex held; into the loader the unit stays in
  // upgrade mode, a normal restart puts a finished image in place and leaves upgrade mode.
  enum class Restart { IntoLoader, Normal };
  void ScheduleRestart(Restart restart);
  void Install();
  void RestartLoop(std::stop_token stop);
  // The unplug itself, with mMutex held: every handle dies, nothing stays pending.
  void GoneLocked();

  void Reply(std::uint8_t group, std::span<const std::uint8_t> body);
  // Turns the pending frames into reports that become readable after the reply latency.
  void FlushReplies();
  // IsHandleAlive with mMutex held.
  bool HandleAlive(HandleId handle) const;
  // Tells every plug listener; called with mListenerMutex held.
  void NotifyPlugListeners(bool pluggedIn);

  // Held around every plug change and its notification, so listeners hear of changes one at a
  // time and in order; taken before mMutex, never while holding it. Recursive, so that a listener
  // may add or remove listeners. Guards mListeners and mNextListener.
  std::recursive_mutex mListenerMutex;
  std::vector<std::pair<int, PlugListener>> mListeners;
  int mNextListener = 1;

  // Guards every member below.
  mutable std::mutex mMutex;
  // Signalled when a command is taken, a report is queued or taken, and when the unit is
  // unplugged, replugged or about to restart.
  mutable std::condition_variable_any mChanged;

  UnitIdentity mIdentity;
  UnitState mState;
  bool mPluggedIn = true;
  // Handles are numbered from 1 on; those below mFirstLiveHandle were ended by an unplug.
  HandleId mLastHandle = kNoHandle;
  HandleId mFirstLiveHandle = 1;
  std::set<HandleId> mOpenHandles;
  bool mAnswerPcConnect = false;
  bool mRefuseHandshake = false;
  bool mSplitReplies = false;
  bool mTwoFramesPerReport = false;
  int mCorruptChecksums = 0;
  int mDropReplies = 0;
  std::chrono::milliseconds mLatency{0};
  CalibrationKnobs mCalibrationKnobs;
  CalibrationRun mCalibration;

  bool mPcConnected = false;
  std::string mPassword;
  std::string mRemark;
  std::vector<device::CommandRecord> mReceived;

  std::deque<std::vector<std::uint8_t>> mPendingFrames;
  struct QueuedReport {
    Report bytes{};
    Clock::time_point readyAt;
  };
  std::deque<QueuedReport> mReports;

  // Upgrade mode.
  enum class UpgradeMode { Off, Entered, Receiving, Finished };
  UpgradeMode mUpgradeMode = UpgradeMode::Off;
  // The loader entered: the MCU program's (MCU program and DSP flash) or the bootloader's.
  bool mBootloaderLoader = false;
  std::optional<UpgradeRecord> mUpgrade;
  std::vector<bool> mMcuBlocksTaken;
  int mNotReadyChunks = 0;
  int mUnplugAtChunk = -1;
  bool mRefuseEnter = false;
  bool mRefuseStart = false;
  // Set by a handler when the unit vanishes while taking the command.
  bool mVanishing = false;

  // Restarts.
  std::chrono::milliseconds mReenumerationTime{1500};
  bool mRestartPending = false;
  Restart mRestart = Restart::Normal;
  Clock::time_point mLeaveBy;
  std::optional<Clock::time_point> mBackAt;
  int mRestartsDone = 0;
  // Runs the restarts; started by the first one. Declared last: it is stopped and joined before
  // anything it touches is destroyed.
  std::jthread mRestarts;
};

}  // namespace sim
