// DspDevice: the one object that talks to the unit.
//
// It owns the HID transport, the receive ring and frame parser, the command queue with its worker
// thread (McuCmdThread), the four window handles that decoded replies are posted to, and what the
// unit told about itself in the handshake.
//
// Two ways to send, chosen per command through Submit's syncMode: immediately on the calling
// thread, waiting for the reply; or queued for the worker, which sends one record at a time and
// reads its reply, and skips a queued value of a parameter when a newer value of it waits behind
// (PendingCommands). Writes are serialised, reads are serialised, a write and a read may overlap.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/command_queue.h"
#include "device/command_record.h"
#include "device/firmware_image.h"
#include "device/frame.h"
#include "device/hid_transport.h"
#include "device/mcu_protocol.h"
#include "device/receive_ring.h"
#include "device/upgrade_protocol.h"
#include "platform/post_message.h"

namespace device {

class FirmwareUpgrade;

// How long a command waits for its reply unless the command says otherwise.
inline constexpr int kReplyTimeoutMs = 10000;
// The worker wakes this often to look at an empty queue.
inline constexpr int kQueuePollMs = 5;
// Records the queue holds before it links in a further block.
inline constexpr std::size_t kQueueCapacity = 256;

class DspDevice {
 public:
  enum class WindowRole { Main, Scene, AutoCal, Tool };

  explicit DspDevice(std::unique_ptr<HidTransport> transport,
                     std::uint8_t expectedModel = kUnitModel, int outputCount = 8,
                     int inputCount = 4);
  // Stops the worker; records still queued are logged and discarded, never sent.
  ~DspDevice();
  DspDevice(const DspDevice&) = delete;
  DspDevice& operator=(const DspDevice&) = delete;

  // Connection. Success of OpenHIDDevice is seen through IsDeviceOpen.
  void OpenHIDDevice();
  // With `tellUnit`, first announces that the PC leaves (PC_Connect 0) without waiting.
  void CloseHIDDevice(bool tellUnit);
  bool IsDeviceOpen() const;

  // Writes one command frame; true when the report was written. Never waits for a reply.
  bool SendCtrlCommand(std::uint8_t group, std::uint8_t command, std::uint8_t op,
                       const std::uint8_t* payload, std::uint8_t length);
  // Reads one input report into `buffer` (64 bytes), feeds it to the ring and dispatches every
  // complete reply. True when at least one byte was read.
  bool ReadHIDData(std::uint8_t* buffer, int timeoutMs);
  // ReadHIDData into the device's own receive buffer.
  bool ReadReply(int timeoutMs);
  // Reads reports, dispatching every reply they carry, until `done` holds or `timeoutMs` has
  // passed; whether `done` held. For a command whose own reply may come after replies to
  // earlier ones (or reports the unit sends on its own).
  bool ReadReplyUntil(const std::function<bool()>& done, int timeoutMs);
  // Whether the last read ended on transport errors (repeated for its whole time-out) rather
  // than on a report, a time-out or a closed handle.
  bool LastReadFailed() const;
  // Drops received bytes not yet parsed, and any frame half assembled.
  void EmptyReceiveRing();

  // The one place of the syncMode rule. syncMode false: queue the record, or drop it while the
  // queue is disabled; returns whether it was queued. syncMode true: send it now, wait for the
  // reply and return ReadReply's result, whatever the queue's state.
  bool Submit(CommandRecord record, bool syncMode, int timeoutMs = kReplyTimeoutMs);
  void EnableQueue();
  void DisableQueue();
  bool IsQueueEnabled() const;

  // Where decoded replies are posted. Replaceable at any time from any thread; 0 = no window.
  void SetWindow(WindowRole role, platform::WindowHandle window);
  platform::WindowHandle Window(WindowRole role) const;

  int OutputCount() const { return mOutputCount; }
  int InputCount() const { return mInputCount; }

  // What the handshake told about the unit. The decoders set these; they keep their last value
  // after disconnection.
  std::uint8_t ExpectedModel() const { return mExpectedModel; }
  int UnitModel() const;  // -1 until a handshake was accepted
  void SetUnitModel(int model);
  bool HandshakeOk() const;
  void SetHandshakeOk(bool ok);
  std::uint8_t BootloaderVersion() const;
  void SetBootloaderVersion(std::uint8_t version);
  // How many handshake replies (accepted or refused) have been decoded, so that the handshake
  // can tell its own reply from whatever else arrives first.
  std::uint32_t HandshakeReplies() const;
  void NoteHandshakeReply();

  // Firmware upgrade; device/firmware_upgrade.h describes the protocol and its results, and
  // device/upgrade_worker.h the worker that drives it for a window.
  int UpgradeStart(const std::filesystem::path& file);
  int UpgradeStep();
  void UpgradeAbort();
  // Read by the main window to ignore the unit's plug events while it re-enumerates.
  UpgradeStatus UpgradeState() const;
  UpgradeTarget UpgradeTargetKind() const;
  ImageError LastUpgradeError() const;
  void SetUpgradeTiming(const UpgradeTiming& timing);
  // Called by the decoders for an upgrade acknowledgement (op 0xEE) with its status byte.
  void OnUpgradeAcknowledgement(std::uint8_t group, std::uint8_t code, std::uint8_t status);

  // What the transport knows about the unit behind it (see HidTransport).
  bool IsVirtualUnit() const;
  std::vector<std::string> OtherHolders() const;

  // Routes one reply body (reply code, op, payload) to the decoder of its group.
  void DispatchReply(std::uint8_t group, std::span<const std::uint8_t> body);

 private:
  bool Send(const CommandRecord& record);
  void McuCmdThread();
  void WaitForWork();

  const std::unique_ptr<HidTransport> mTransport;
  // The open transport, null while disconnected: what every operation checks first.
  std::atomic<HidTransport*> mHidHandle{nullptr};
  // Serialises OpenHIDDevice and CloseHIDDevice.
  std::mutex mConnectionMutex;

  const std::uint8_t mExpectedModel;
  const int mOutputCount;
  const int mInputCount;
  std::atomic<int> mUnitModel{-1};
  std::atomic<bool> mHandshakeOk{false};
  std::atomic<std::uint8_t> mBootloaderVersion{0};
  std::atomic<std::uint32_t> mHandshakeReplies{0};

  std::array<std::atomic<platform::WindowHandle>, 4> mWindows{};

  // Held for the whole of one write: writes go out strictly one at a time.
  std::mutex mWriteMutex;

  // Held for the whole of one ReadHIDData; guards every member down to mParser.
  std::mutex mReadMutex;
  std::array<std::uint8_t, kOutputReportSize> mReceiveBuffer{};
  ReceiveRing mRing;
  FrameParser mParser;
  std::atomic<bool> mLastReadFailed{false};

  const std::unique_ptr<FirmwareUpgrade> mUpgrade;

  // Single-consumer queue drained by McuCmdThread. Producers serialise on mProducerMutex, so
  // queued commands may come from any thread.
  CommandQueue mQueue{kQueueCapacity};
  std::mutex mProducerMutex;
  std::atomic<bool> mQueueEnabled{false};
  std::atomic<bool> mWorkerRunning{true};
  // Lets destruction wake the worker out of its idle wait at once.
  std::mutex mWorkerMutex;
  std::condition_variable mWorkerWake;
  std::thread mWorker;
};

}  // namespace device
