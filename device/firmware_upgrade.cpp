#include "device/firmware_upgrade.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "device/command_record.h"
#include "device/demo_firmware.h"
#include "device/dsp_device.h"
#include "device/firmware_file.h"
#include "device/mcu_action_commands.h"
#include "device/value_encoding.h"
#include "platform/debug_log.h"

namespace device {
namespace {

using Clock = std::chrono::steady_clock;

void LogTimeStamp() {
  if (platform::IsDebugLogActive()) {
    DebugLogA("%s\n", platform::LogTimeStamp().c_str());
  }
}

bool IsMcuTarget(UpgradeTarget target) {
  return target == UpgradeTarget::McuProgram || target == UpgradeTarget::Bootloader;
}

UpgradeTarget TargetOf(FirmwareKind kind) {
  switch (kind) {
    case FirmwareKind::Bootloader:
      return UpgradeTarget::Bootloader;
    case FirmwareKind::Mcu:
      return UpgradeTarget::McuProgram;
    case FirmwareKind::Flash:
    case FirmwareKind::Merged:
      return UpgradeTarget::DspFlash;
  }
  return UpgradeTarget::None;
}

}  // namespace

FirmwareUpgrade::FirmwareUpgrade(DspDevice& device) : mDevice(device) {}

void FirmwareUpgrade::SetTiming(const UpgradeTiming& timing) {
  std::lock_guard lock(mMutex);
  mTiming = timing;
}

void FirmwareUpgrade::SetState(UpgradeStatus state) {
  mState = state;
}

bool FirmwareUpgrade::ChangeState(UpgradeStatus from, UpgradeStatus to) {
  return mState.compare_exchange_strong(from, to);
}

bool FirmwareUpgrade::Send(std::uint8_t group, std::uint8_t command,
                           const std::vector<std::uint8_t>& payload) {
  return mDevice.SendCtrlCommand(group, command, kOpSet, payload.data(),
                                 static_cast<std::uint8_t>(payload.size()));
}

void FirmwareUpgrade::Release() {
  mMcuImage = {};
  mDspImage = {};
  mMcuRemaining = 0;
  mDspPosition = 0;
}

int FirmwareUpgrade::EndWith(int result, ImageError error) {
  if (error != ImageError::None) {
    DebugLogA("upgrade refused: %s\n", ImageErrorText(error));
  }
  Release();
  mTarget = UpgradeTarget::None;
  mPhase = UpgradePhase::NoMoreReads;
  SetState(UPG_IDLE);
  mLastError = error;
  return result;
}

bool FirmwareUpgrade::LoadImages(FirmwareKind kind, FirmwareCheck&& check) {
  const UpgradeTarget target = TargetOf(kind);
  const FirmwareImage& sent = IsMcuTarget(target) ? check.mcu : check.dsp;
  // The handshake told which model the unit is; an image for another one is never sent.
  if (mDevice.HandshakeOk() && mDevice.UnitModel() != sent.model) {
    DebugLogA("the unit is model %d, the image is for model %d\n", mDevice.UnitModel(), sent.model);
    mLastError = ImageError::NotForThisUnit;
    return false;
  }
  // Demo images are this project's own and mean nothing to a real unit's loader.
  const bool demo = IsDemoImage(check.mcu) || IsDemoImage(check.dsp);
  if (demo && !mDevice.IsVirtualUnit()) {
    DebugLogA("%s\n", kDemoImageRefusal);
    mLastError = ImageError::DemoImage;
    return false;
  }
  mMcuImage = std::move(check.mcu);
  mDspImage = std::move(check.dsp);
  mMcuRemaining = IsMcuTarget(target) ? mMcuImage.bytes.size() : 0;
  mDspPosition = 0;
  mTarget = target;
  return true;
}

int FirmwareUpgrade::UpgradeStart(const std::filesystem::path& file) {
  std::lock_guard lock(mMutex);
  // Whatever an earlier caller left behind is forgotten.
  EndWith(kUpgradeStarted, ImageError::None);
  DebugLogA("UpgradeStart %s\n", file.c_str());

  const auto kind = FirmwareKindOfName(file.string());
  if (!kind) {
    return EndWith(kUpgradeFileRefused, ImageError::NameNotRecognised);
  }
  if (!mDevice.IsDeviceOpen()) {
    DebugLogA("USB disconnected!\n");
    return EndWith(kUpgradeNoUnit, ImageError::None);
  }
  FirmwareFile read;
  if (const int result = ReadFirmwareFile(file, mDevice.ExpectedModel(), read);
      result != kUpgradeStarted) {
    return EndWith(result, read.check.error);
  }
  if (!LoadImages(*kind, std::move(read.check))) {
    return EndWith(kUpgradeFileRefused, mLastError);
  }

  // An MCU image waits for the unit to confirm upgrade mode; a DSP flash file counts as started
  // without that confirmation. A combined file needs it.
  if (*kind == FirmwareKind::Flash) {
    SetState(UPG_START);
    mDevice.EmptyReceiveRing();
  } else {
    SetState(UPG_ENTER);
  }
  const std::uint8_t enter =
      mTarget == UpgradeTarget::Bootloader ? upg::kBootloaderEnter : upg::kMcuEnter;
  DebugLogA("MCU_Enter_Upg_Mode\n");
  Send(kGroupMcu, enter, {});
  AwaitAcknowledgement();
  if (mState != UPG_START) {
    DebugLogA("the unit did not enter upgrade mode\n");
    return EndWith(kUpgradeUnitRefused, ImageError::None);
  }

  // The unit restarts into its loader and comes back as a new device; the bootloader's own
  // upgrade runs without that.
  if (mDevice.HandshakeOk() && mTarget != UpgradeTarget::Bootloader && !Reenumerate()) {
    return EndWith(kUpgradeNoUnit, ImageError::None);
  }
  mDevice.SetBootloaderVersion(0);
  if (!mDevice.IsDeviceOpen()) {
    return EndWith(kUpgradeNoUnit, ImageError::None);
  }

  mDevice.EmptyReceiveRing();
  const UpgradeCommands commands = CommandsOf(mTarget);
  const FirmwareImage& image = IsMcuTarget(mTarget) ? mMcuImage : mDspImage;
  Send(commands.group, commands.start, {image.header.begin(), image.header.end()});
  AwaitAcknowledgement();
  // A refused bootloader start is reported by the first step.
  if (mTarget != UpgradeTarget::Bootloader && mState == UPG_FAIL) {
    return EndWith(kUpgradeUnitRefused, ImageError::None);
  }
  mPhase = UpgradePhase::Send;
  return kUpgradeStarted;
}

bool FirmwareUpgrade::Reenumerate() {
  mDevice.CloseHIDDevice(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(mTiming.reenumerationWaitMs));
  for (int attempt = 0; attempt < mTiming.reopenTries; ++attempt) {
    mDevice.OpenHIDDevice();
    if (mDevice.IsDeviceOpen()) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(mTiming.reopenIntervalMs));
  }
  DebugLogA("the unit did not come back after entering upgrade mode\n");
  return false;
}

void FirmwareUpgrade::AwaitAcknowledgement() {
  const unsigned before = mAcknowledgements;
  const auto deadline = Clock::now() + std::chrono::milliseconds(mTiming.replyTimeoutMs);
  while (mAcknowledgements == before) {
    if (ReadOneReport(deadline) != ReadOutcome::Report) {
      return;
    }
  }
}

FirmwareUpgrade::ReadOutcome FirmwareUpgrade::ReadOneReport(Clock::time_point deadline) {
  for (;;) {
    if (!mDevice.IsDeviceOpen()) {
      return ReadOutcome::Lost;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      return ReadOutcome::TimedOut;
    }
    if (mDevice.ReadReply(static_cast<int>(std::min<long>(left, mTiming.readSliceMs)))) {
      return ReadOutcome::Report;
    }
    // The read repeats failures for its whole slice: a transport that failed throughout has
    // lost the unit (hidraw fails every read once the unit is unplugged).
    if (mDevice.LastReadFailed()) {
      LoseUnit();
      return ReadOutcome::Lost;
    }
  }
}

void FirmwareUpgrade::LoseUnit() {
  DebugLogA("the unit was lost during the upgrade\n");
  mDevice.CloseHIDDevice(false);
}

int FirmwareUpgrade::UpgradeStep() {
  std::lock_guard lock(mMutex);
  if (mState == UPG_IDLE) {
    DebugLogA("UpgradeStep: no upgrade running\n");
    return kUpgradeFailed;
  }
  if (mPhase == UpgradePhase::JustSent) {
    mPhase = UpgradePhase::ReadReply;
    return Progress();
  }
  if (mPhase == UpgradePhase::ReadReply) {
    return ReadStep();
  }
  switch (mState) {
    case UPG_DATA_READY:
      SendNextChunk();
      break;
    case UPG_FINISH:
    case UPG_FAIL:
      return FinishStep();
    case UPG_START:
      // The start acknowledgement has not come yet: wait for it again rather than spin.
      return ReadStep();
    default:
      break;
  }
  return Progress();
}

int FirmwareUpgrade::ReadStep() {
  if (!mDevice.IsDeviceOpen()) {
    mPhase = UpgradePhase::NoMoreReads;
    SetState(UPG_FAIL);
    return Progress();
  }
  const UpgradeStatus awaited = mState;
  if (awaited != UPG_WAITING_BIN_DATA_ACK && awaited != UPG_START) {
    // Another reader decoded the acknowledgement already.
    mPhase = UpgradePhase::Send;
    return Progress();
  }
  DebugLogA("begain to read data...\n");
  switch (ReadOneReport(Clock::now() + std::chrono::milliseconds(mTiming.replyTimeoutMs))) {
    case ReadOutcome::Lost:
      mPhase = UpgradePhase::NoMoreReads;
      SetState(UPG_FAIL);
      return Progress();
    case ReadOutcome::TimedOut:
      DebugLogA("read data error! %d\n", errno);
      return Progress();
    case ReadOutcome::Report:
      break;
  }
  DebugLogA("has send out %ld dtata... \n", static_cast<long>(SentBytes()));
  // After a not-ready acknowledgement, or a report without the one awaited, the next step reads
  // again; the chunk is never sent twice.
  mPhase = mState == awaited ? UpgradePhase::JustSent : UpgradePhase::Send;
  return Progress();
}

void FirmwareUpgrade::SendNextChunk() {
  const UpgradeCommands commands = CommandsOf(mTarget);
  const bool mcu = IsMcuTarget(mTarget);
  const bool done = mcu ? mMcuRemaining == 0 : mDspPosition == mDspImage.bytes.size();
  if (!done && !mDevice.IsDeviceOpen()) {
    mPhase = UpgradePhase::NoMoreReads;
    SetState(UPG_FAIL);
    return;
  }
  std::vector<std::uint8_t> payload;
  if (mcu) {
    if (mMcuRemaining == 0) {
      Send(commands.group, commands.finish, {});
      mPhase = UpgradePhase::NoMoreReads;
      SetState(UPG_FINISH);
      DebugLogA(mTarget == UpgradeTarget::Bootloader ? "upgrade mcu bootloader finished!\n"
                                                     : "upgrade mcu finished!\n");
      return;
    }
    // Sent from the end toward offset 0; the first chunk takes the bytes past the last whole
    // 32-byte block.
    const std::size_t length = mMcuImage.bytes.size();
    const std::size_t tail = length % upg::kMcuChunkBytes;
    const std::size_t size = (mMcuRemaining == length && tail != 0) ? tail : upg::kMcuChunkBytes;
    mMcuRemaining -= size;
    PutU32(payload, static_cast<std::uint32_t>(mMcuRemaining));
    const auto from = mMcuImage.bytes.begin() + static_cast<long>(mMcuRemaining);
    payload.insert(payload.end(), from, from + static_cast<long>(size));
    payload.resize(upg::kOffsetBytes + upg::kMcuChunkBytes, 0);
  } else {
    const std::size_t length = mDspImage.bytes.size();
    if (mDspPosition == length) {
      Send(commands.group, commands.finish, {});
      mPhase = UpgradePhase::NoMoreReads;
      SetState(UPG_FINISH);
      DebugLogA("upgrade dsp finished!\n");
      return;
    }
    const std::size_t start = mDspPosition;
    const std::size_t size = std::min(upg::kFlashChunkBytes, length - start);
    mDspPosition += size;
    DebugLogA("Total file len %ld; current read pos: %ld;  has read len %ld.\n",
              static_cast<long>(length), static_cast<long>(size), static_cast<long>(mDspPosition));
    PutU32(payload, static_cast<std::uint32_t>(start));
    payload.push_back(static_cast<std::uint8_t>(size));
    const auto from = mDspImage.bytes.begin() + static_cast<long>(start);
    payload.insert(payload.end(), from, from + static_cast<long>(size));
  }
  // Set before sending, so an acknowledgement decoded on another thread finds it.
  SetState(UPG_WAITING_BIN_DATA_ACK);
  Send(commands.group, commands.data, payload);
  mPhase = UpgradePhase::JustSent;
}

int FirmwareUpgrade::FinishStep() {
  const bool finished = mState == UPG_FINISH;
  if (mTarget == UpgradeTarget::DspFlash && mDevice.IsDeviceOpen()) {
    // The unit runs its new DSP image only after a restart.
    MCU_Reboot_Ctrl(mDevice);
  }
  Release();
  mPhase = UpgradePhase::NoMoreReads;
  SetState(UPG_IDLE);
  return finished ? kUpgradeFinished : kUpgradeFailed;
}

void FirmwareUpgrade::UpgradeAbort() {
  std::lock_guard lock(mMutex);
  if (mState != UPG_IDLE) {
    DebugLogA("upgrade abandoned at %d%%: the unit stays in upgrade mode\n", Progress());
  }
  EndWith(kUpgradeStarted, ImageError::None);
}

std::size_t FirmwareUpgrade::SentBytes() const {
  return IsMcuTarget(mTarget) ? mMcuImage.bytes.size() - mMcuRemaining : mDspPosition;
}

int FirmwareUpgrade::Progress() const {
  const std::size_t length = (IsMcuTarget(mTarget) ? mMcuImage : mDspImage).bytes.size();
  // Released images (after the end) report 0 rather than divide by nothing.
  return length == 0 ? 0 : static_cast<int>(SentBytes() * kUpgradeProgressMax / length);
}

bool FirmwareUpgrade::IsUpgradeCode(std::uint8_t group, std::uint8_t code) {
  if (group == kGroupScene) {
    return code == upg::kFlashStart || code == upg::kFlashData || code == upg::kFlashFinish;
  }
  return group == kGroupMcu && ((code >= upg::kMcuEnter && code <= upg::kMcuFinish) ||
                                (code >= upg::kBootloaderEnter && code <= upg::kBootloaderFinish));
}

void FirmwareUpgrade::OnAcknowledgement(std::uint8_t group, std::uint8_t code,
                                        std::uint8_t status) {
  const UpgradeTarget target = mTarget;
  if (target == UpgradeTarget::None) {
    return;  // no upgrade waits for anything
  }
  const bool ready = status == kAckReady;
  const bool notReady = status == kAckNotReady;
  const bool mcu = IsMcuTarget(target);
  const UpgradeCommands commands = CommandsOf(target);
  const bool ours = group == commands.group;

  if (group == kGroupMcu && (code == upg::kMcuEnter || code == upg::kBootloaderEnter)) {
    // A DSP flash upgrade enters upgrade mode with the MCU program's command.
    const std::uint8_t enter =
        target == UpgradeTarget::Bootloader ? upg::kBootloaderEnter : upg::kMcuEnter;
    if (code == enter) {
      if (ready) {
        LogTimeStamp();
        ChangeState(UPG_ENTER, UPG_START);
      }
      ++mAcknowledgements;
    }
    return;
  }
  if (!ours) {
    return;
  }
  if (code == commands.start) {
    if (mState != UPG_START || (!mcu && !ready && !notReady)) {
      return;
    }
    LogTimeStamp();
    if (ready) {
      SetState(UPG_DATA_READY);
      DebugLogA(mcu ? "MCU_UPG_START: ACK_READY\n" : "FLASH UPG_START: ACK_READY\n");
    } else {
      SetState(UPG_FAIL);
      DebugLogA(mcu ? "MCU_UPG_START: ACK_NOT_READY\n" : "FLASH UPG_START: ACK_NOT_READY\n");
    }
    ++mAcknowledgements;
  } else if (code == commands.data) {
    if (ready && ChangeState(UPG_WAITING_BIN_DATA_ACK, UPG_DATA_READY)) {
      LogTimeStamp();
      DebugLogA(mcu ? "MCU UPG_WAITING_BIN_DATA_ACK: ACK_READY\n"
                    : "UPG_WAITING_BIN_DATA_ACK: ACK_READY\n");
      ++mAcknowledgements;
    } else if (notReady && mState == UPG_WAITING_BIN_DATA_ACK) {
      DebugLogA(mcu ? "MCU !!!!! NOT_READY !!!!!!\n" : "!!!!! NOT_READY !!!!!!\n");
      ++mAcknowledgements;
    }
  } else if (code == commands.finish && ready && mState == UPG_FINISH) {
    DebugLogA(mcu ? "MCU UPG_FINISH: ACK_READY\n" : "UPG_FINISH: ACK_READY\n");
  }
}

}  // namespace device
