#include "device/dsp_device.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "device/firmware_upgrade.h"
#include "device/mcu_commands.h"
#include "device/mcu_decoder.h"
#include "device/pending_commands.h"
#include "device/reply_decoders.h"
#include "platform/debug_log.h"

namespace device {
namespace {

// Fewer failed string reads than this and the device counts as open.
constexpr int kMaxStringFailures = 3;
constexpr int kIndexedStringNumber = 1;
// A read on a vanished handle fails at once; repeating it without a pause would spin a core for
// the whole time-out.
constexpr auto kReadRetryPause = std::chrono::milliseconds(1);

long SteadyMs() {
  using namespace std::chrono;
  return static_cast<long>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The handle as the log has always shown it: an integer.
int HandleValue(const HidTransport* handle) {
  return static_cast<int>(reinterpret_cast<std::uintptr_t>(handle));
}

// Formatting is skipped while logging is off: the log lines of every frame are on the hot path.
void LogTimeStamp() {
  if (platform::IsDebugLogActive()) {
    DebugLogA("%s\n", platform::LogTimeStamp().c_str());
  }
}

void LogBytes(std::span<const std::uint8_t> bytes) {
  if (!platform::IsDebugLogActive()) {
    return;
  }
  std::string line;
  char hex[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(hex, sizeof hex, "%02x ", byte);
    line += hex;
  }
  DebugLogA("%s\n", line.c_str());
}

// The line of a long payload outgrows one log call, which would cut it and drop its line break;
// it is written in pieces that each fit, the last one ending the line.
// `lead` is "get" for a record taken to be sent or discarded, "superseded" for one skipped because
// a newer value of its parameter waits behind it.
void LogRecord(const CommandRecord& record, const char* lead = "get") {
  if (!platform::IsDebugLogActive()) {
    return;
  }
  constexpr std::size_t kPieceRoom = platform::kLogLineCapacity - 2;  // line break, terminator
  char text[96];
  std::snprintf(text, sizeof text, "%s mcmd 0x%02x subcmd 0x%02x optype 0x%02x len 0x%02x ", lead,
                record.group, record.command, record.op,
                static_cast<unsigned>(record.payload.size() & 0xFF));
  std::string piece = text;
  for (std::size_t i = 0; i < record.payload.size(); ++i) {
    const int length =
        std::snprintf(text, sizeof text, "cmd_data[%zu](0x%02x) ", i, record.payload[i]);
    if (piece.size() + static_cast<std::size_t>(length) > kPieceRoom) {
      DebugLogA("%s", piece.c_str());
      piece.clear();
    }
    piece += text;
  }
  DebugLogA("%s\n", piece.c_str());
}

}  // namespace

DspDevice::DspDevice(std::unique_ptr<HidTransport> transport, std::uint8_t expectedModel,
                     int outputCount, int inputCount)
    : mTransport(std::move(transport)),
      mExpectedModel(expectedModel),
      mOutputCount(outputCount),
      mInputCount(inputCount),
      mUpgrade(std::make_unique<FirmwareUpgrade>(*this)),
      mWorker([this] { McuCmdThread(); }) {}

DspDevice::~DspDevice() {
  mWorkerRunning = false;
  { std::lock_guard lock(mWorkerMutex); }
  mWorkerWake.notify_all();
  // A worker waiting for a reply would hold up destruction for the whole time-out; closing the
  // transport ends that read at once.
  CloseHIDDevice(false);
  mWorker.join();
}

void DspDevice::OpenHIDDevice() {
  std::lock_guard lock(mConnectionMutex);
  if (IsDeviceOpen()) {
    return;
  }
  if (mTransport->Init() != 0) {
    return;
  }
  if (!mTransport->Open(kUnitVendorId, kUnitProductId)) {
    DebugLogA("unable to open device\n");
    return;
  }

  std::array<wchar_t, kDeviceStringCapacity> text{};
  int failures = 0;
  // Reads one string into the emptied buffer, counting and logging a failure. A string the
  // transport cannot read at all (hidraw has no indexed strings) says nothing about the device.
  auto read = [&](const char* failure, auto get) {
    text.fill(L'\0');
    const int result = get();
    text.back() = L'\0';  // whatever the transport left, the logged text ends in the buffer
    if (result == kStringNotSupported) {
      DebugLogA("%s: not supported by the transport, not counted\n", failure);
    } else if (result < 0) {
      DebugLogA("%s\n", failure);
      ++failures;
    }
  };
  read("Unable to read manufacturer string",
       [&] { return mTransport->GetManufacturerString(text.data(), text.size()); });
  DebugLog(L"Manufacturer String: %ls\n", text.data());
  read("Unable to read product string",
       [&] { return mTransport->GetProductString(text.data(), text.size()); });
  DebugLog(L"Product String: %ls\n", text.data());
  read("Unable to read serial number string",
       [&] { return mTransport->GetSerialNumberString(text.data(), text.size()); });
  DebugLog(L"Serial Number String: (%d) %ls\n", static_cast<int>(text[0]), text.data());
  read("Unable to read indexed string 1", [&] {
    return mTransport->GetIndexedString(kIndexedStringNumber, text.data(), text.size());
  });
  DebugLog(L"Indexed String 1: %ls\n", text.data());

  if (failures >= kMaxStringFailures) {
    DebugLogA("read HID info error, unable open device correctly\n");
    mTransport->Close();
    return;
  }
  mTransport->SetNonBlocking(true);
  // A new handle starts empty: bytes of a frame the last connection left half read must not
  // swallow the first reply of this one.
  EmptyReceiveRing();
  mHidHandle = mTransport.get();
}

void DspDevice::CloseHIDDevice(bool tellUnit) {
  std::lock_guard lock(mConnectionMutex);
  if (!IsDeviceOpen()) {
    return;
  }
  if (tellUnit) {
    PC_Connect(*this, kPcLeaving);
  }
  // Cleared first, so that a read waiting on another thread stops instead of repeating.
  mHidHandle = nullptr;
  mTransport->Close();
  DebugLogA("CloseHIDDevice!\n");
}

bool DspDevice::IsDeviceOpen() const {
  return mHidHandle.load() != nullptr;
}

bool DspDevice::SendCtrlCommand(std::uint8_t group, std::uint8_t command, std::uint8_t op,
                                const std::uint8_t* payload, std::uint8_t length) {
  if (!IsDeviceOpen()) {
    return false;
  }
  std::lock_guard write(mWriteMutex);
  LogTimeStamp();
  DebugLogA("SendCtrlCommand\n");
  std::optional<CommandFrame> frame;
  if (payload != nullptr || length == 0) {
    frame = BuildCommandFrame(group, command, op, std::span(payload, payload ? length : 0));
  }
  if (!frame) {
    DebugLogA("command payload of %d bytes does not fit one report\n", length);
    return false;
  }
  DebugLogA("begain to write data to devices:\n");
  LogBytes(*frame);
  DebugLogA("set WRITE_ROPRT = TRUE\n");
  HidTransport* handle = mHidHandle.load();
  if (handle == nullptr) {
    DebugLogA("mHidHandle is NULL, can't send cmd\n");
    return false;
  }
  if (handle->Write(frame->data(), frame->size()) < 0) {
    DebugLogA("Write HidDeviceObject = %d errot = %s\n", HandleValue(handle),
              handle->Error().c_str());
    return false;
  }
  DebugLogA("write data ok! HidDeviceObject = %d\n", HandleValue(handle));
  LogTimeStamp();
  return true;
}

bool DspDevice::ReadHIDData(std::uint8_t* buffer, int timeoutMs) {
  std::lock_guard read(mReadMutex);
  const long start = SteadyMs();
  DebugLogA("ReadHIDData timestart = %ld\n", start);
  auto noDevice = [this] {
    mLastReadFailed = false;
    DebugLogA("mHidHandle is NULL\n");
    return false;
  };

  int result = 0;
  for (;;) {
    HidTransport* handle = mHidHandle.load();
    if (handle == nullptr) {
      return noDevice();
    }
    result = handle->ReadTimeout(buffer, kInputReportSize, timeoutMs);
    // An error is retried with the full time-out while time is left; a time-out is final.
    if (result >= 0 || SteadyMs() - start > timeoutMs) {
      break;
    }
    std::this_thread::sleep_for(kReadRetryPause);
  }
  DebugLogA("ReadHIDData done timeend-timestart = %ld\n", SteadyMs() - start);
  DebugLogA("ReadHIDData NumberOfBytesRead = %d\n", result);
  mLastReadFailed = result < 0 && IsDeviceOpen();
  if (result <= 0) {
    return false;
  }
  const int bytesRead = std::min(result, static_cast<int>(kInputReportSize));

  DebugLogA("read data: \n");
  for (int i = 0; i < bytesRead; ++i) {
    if (!IsDeviceOpen()) {
      return noDevice();
    }
    mRing.Push(buffer[i]);
  }
  LogBytes(std::span(buffer, static_cast<std::size_t>(bytesRead)));

  while (!mRing.Empty() && IsDeviceOpen()) {
    if (mParser.Feed(mRing.Pop())) {
      DispatchReply(mParser.Group(), mParser.Body());
    }
  }
  return true;
}

bool DspDevice::ReadReply(int timeoutMs) {
  return ReadHIDData(mReceiveBuffer.data(), timeoutMs);
}

bool DspDevice::ReadReplyUntil(const std::function<bool()>& done, int timeoutMs) {
  const long deadline = SteadyMs() + timeoutMs;
  while (!done()) {
    const long left = deadline - SteadyMs();
    if (left <= 0 || !IsDeviceOpen()) {
      return false;
    }
    ReadReply(static_cast<int>(left));
  }
  return true;
}

bool DspDevice::LastReadFailed() const {
  return mLastReadFailed;
}

void DspDevice::EmptyReceiveRing() {
  std::lock_guard read(mReadMutex);
  mRing = {};
  mParser = {};
}

bool DspDevice::Send(const CommandRecord& record) {
  // A payload too long for a report is refused by the frame builder; never cut it silently.
  const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(record.payload.size(), 0xFF));
  return SendCtrlCommand(record.group, record.command, record.op, record.payload.data(), length);
}

bool DspDevice::Submit(CommandRecord record, bool syncMode, int timeoutMs) {
  if (syncMode) {
    Send(record);
    return ReadReply(timeoutMs);
  }
  if (!mQueueEnabled) {
    return false;  // dropped: edits made while the page is refreshed from the unit
  }
  std::lock_guard producer(mProducerMutex);
  return mQueue.enqueue(std::move(record));
}

void DspDevice::EnableQueue() {
  mQueueEnabled = true;
}
void DspDevice::DisableQueue() {
  mQueueEnabled = false;
}
bool DspDevice::IsQueueEnabled() const {
  return mQueueEnabled;
}

void DspDevice::SetWindow(WindowRole role, platform::WindowHandle window) {
  mWindows[static_cast<std::size_t>(role)] = window;
}

platform::WindowHandle DspDevice::Window(WindowRole role) const {
  return mWindows[static_cast<std::size_t>(role)];
}

int DspDevice::UnitModel() const {
  return mUnitModel;
}
void DspDevice::SetUnitModel(int model) {
  mUnitModel = model;
}
bool DspDevice::HandshakeOk() const {
  return mHandshakeOk;
}
void DspDevice::SetHandshakeOk(bool ok) {
  mHandshakeOk = ok;
}
std::uint8_t DspDevice::BootloaderVersion() const {
  return mBootloaderVersion;
}
void DspDevice::SetBootloaderVersion(std::uint8_t version) {
  mBootloaderVersion = version;
}
std::uint32_t DspDevice::HandshakeReplies() const {
  return mHandshakeReplies;
}
void DspDevice::NoteHandshakeReply() {
  ++mHandshakeReplies;
}

int DspDevice::UpgradeStart(const std::filesystem::path& file) {
  return mUpgrade->UpgradeStart(file);
}
int DspDevice::UpgradeStep() {
  return mUpgrade->UpgradeStep();
}
void DspDevice::UpgradeAbort() {
  mUpgrade->UpgradeAbort();
}
UpgradeStatus DspDevice::UpgradeState() const {
  return mUpgrade->State();
}
UpgradeTarget DspDevice::UpgradeTargetKind() const {
  return mUpgrade->Target();
}
ImageError DspDevice::LastUpgradeError() const {
  return mUpgrade->LastError();
}
void DspDevice::SetUpgradeTiming(const UpgradeTiming& timing) {
  mUpgrade->SetTiming(timing);
}
void DspDevice::OnUpgradeAcknowledgement(std::uint8_t group, std::uint8_t code,
                                         std::uint8_t status) {
  mUpgrade->OnAcknowledgement(group, code, status);
}

bool DspDevice::IsVirtualUnit() const {
  return mTransport->IsVirtualUnit();
}
std::vector<std::string> DspDevice::OtherHolders() const {
  return IsDeviceOpen() ? mTransport->OtherHolders() : std::vector<std::string>{};
}

void DspDevice::DispatchReply(std::uint8_t group, std::span<const std::uint8_t> body) {
  switch (group) {
    case kGroupDsp:
      DecodeDspReply(*this, body);
      break;
    case kGroupScene:
      DecodeSceneReply(*this, body);
      break;
    case kGroupMcu:
      DecodeMcuReply(*this, body);
      break;
    case kGroupKtv:
      DecodeKtvReply(*this, body);
      break;
    default:
      break;  // groups the PC does not know are ignored
  }
}

void DspDevice::WaitForWork() {
  std::unique_lock lock(mWorkerMutex);
  mWorkerWake.wait_for(lock, std::chrono::milliseconds(kQueuePollMs),
                       [this] { return !mWorkerRunning; });
}

void DspDevice::McuCmdThread() {
  DebugLogA("McuCmdThread start\n");
  // Owned by this thread alone; see PendingCommands for why a waiting value may be skipped.
  PendingCommands pending;
  // Takes what is queued now, no more: a producer faster than this loop must not keep the worker
  // from sending.
  auto takeQueued = [&] {
    CommandRecord record;
    for (std::size_t count = mQueue.size_approx(); count > 0 && mQueue.try_dequeue(record);
         --count) {
      pending.Add(std::move(record));
    }
  };
  while (mWorkerRunning) {
    // Everything issued up to now, so that the value sent next is the newest one.
    takeQueued();
    std::optional<PendingCommands::Taken> next = pending.Take();
    if (!next) {
      WaitForWork();
      continue;
    }
    if (next->superseded) {
      LogRecord(next->record, "superseded");
      continue;
    }
    LogRecord(next->record);
    Send(next->record);
    next.reset();
    // Not examined: a command without a reply costs the time-out and is not repeated.
    ReadReply(kReplyTimeoutMs);
  }
  takeQueued();
  while (std::optional<PendingCommands::Taken> left = pending.Take()) {
    LogRecord(left->record);
  }
  DebugLogA("McuCmdThread end\n");
}

}  // namespace device
