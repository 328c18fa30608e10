// The virtual TRZ62C: an in-process peer of the unit's protocol.
//
// It takes the output reports the PC writes, answers each command frame through the handler of
// its group, and queues the answers as 64-byte input reports for the PC to read. Knobs change
// its timing and inject the faults a real cable and unit show. Thread-safe: the PC may write and
// read on different threads while a test turns the knobs.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

#include "device/command_record.h"
#include "device/hid_transport.h"
#include "device/mcu_protocol.h"
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
  std::wstring manufacturer = L"Tessamark";
  std::wstring product = L"TRZ62C";
  std::wstring serialNumber = L"0001";
};

class VirtualUnit {
 public:
  using Clock = std::chrono::steady_clock;
  using Report = std::array<std::uint8_t, device::kInputReportSize>;

  explicit VirtualUnit(UnitIdentity identity = {});

  // The PC's side: one output report in, one input report out. ReadReport waits at most
  // `timeoutMs` (negative: no limit) and returns early with -1 when `stop` is requested or the
  // unit is unplugged; 0 means the time-out passed.
  int WriteReport(std::span<const std::uint8_t> report);
  int ReadReport(std::span<std::uint8_t> buffer, int timeoutMs, std::stop_token stop);
  bool IsPluggedIn() const;
  UnitIdentity Identity() const;

  // Knobs.
  void SetReplyLatency(std::chrono::milliseconds latency);
  void SetRefuseHandshake(bool refuse);   // answer the handshake with status 0xF0
  void SetSplitReplies(bool split);       // every reply frame is cut over two reports
  void SetTwoFramesPerReport(bool pack);  // pending frames go out two to a report
  void CorruptNextChecksums(int count);   // the next `count` reply frames carry a wrong checksum
  void DropNextReplies(int count);        // the next `count` commands get no answer
  void Unplug();                          // pending and later reads and writes fail
  void PlugIn();
  // A frame the unit sends on its own; it goes out together with the next answer.
  void Announce(std::uint8_t group, std::span<const std::uint8_t> body);
  // The noise an input channel measures (dB), as reported to Get_Input_Noise.
  void SetInputNoise(int channel, float levelDb);

  // What the unit saw.
  std::vector<device::CommandRecord> ReceivedCommands() const;
  bool PcConnected() const;
  std::string Password() const;
  std::string Remark() const;
  // The parameter settings: working scene, stored scenes, names and unit-wide values.
  UnitState State() const;

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

  // Guards every member below.
  mutable std::mutex mMutex;
  // Signalled when a report is queued or the unit is unplugged.
  std::condition_variable_any mChanged;

  UnitIdentity mIdentity;
  UnitState mState = FactoryUnitState();
  bool mPluggedIn = true;
  bool mRefuseHandshake = false;
  bool mSplitReplies = false;
  bool mTwoFramesPerReport = false;
  int mCorruptChecksums = 0;
  int mDropReplies = 0;
  std::chrono::milliseconds mLatency{0};

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
