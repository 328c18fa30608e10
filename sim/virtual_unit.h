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
#include <span>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "device/command_record.h"
#include "device/hid_transport.h"
#include "device/mcu_protocol.h"
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
  // handle are gone). kNoHandle while the unit is unplugged.
  HandleId OpenHandle();
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
  // Signalled when a command is taken, a report is queued or the unit is unplugged.
  std::condition_variable_any mChanged;

  UnitIdentity mIdentity;
  UnitState mState;
  bool mPluggedIn = true;
  // Handles are numbered from 1 on; those below mFirstLiveHandle were ended by an unplug.
  HandleId mLastHandle = kNoHandle;
  HandleId mFirstLiveHandle = 1;
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
};

}  // namespace sim
