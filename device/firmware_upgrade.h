// The firmware upgrade of one DspDevice: checks an image file, brings the unit into upgrade mode
// across its re-enumeration, sends the image in acknowledged chunks and finishes.
//
// DspDevice owns one FirmwareUpgrade and forwards UpgradeStart, UpgradeStep, UpgradeAbort and the
// upgrade acknowledgements its decoders find to it. Start, Step and Abort run on one worker thread
// at a time (they take a lock); acknowledgements are decoded on whichever thread read the report,
// normally the same worker, and change only the state. The state may be read from any thread.
//
// Images go to the unit exactly as stored in the file. A real unit never receives a demo image
// (made by this project for the virtual unit), nor an image for another model than the one it
// reported in its handshake.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "device/firmware_image.h"
#include "device/upgrade_protocol.h"

namespace device {

class DspDevice;

class FirmwareUpgrade {
 public:
  explicit FirmwareUpgrade(DspDevice& device);

  // Checks `file`, enters upgrade mode and sends the start command: kUpgradeStarted (0) or
  // kUpgradeCannotOpen, kUpgradeFileRefused, kUpgradeNoUnit, kUpgradeUnitRefused (1 to 4).
  // Blocks for the acknowledgements and the unit's re-enumeration (up to about 33 s with the
  // unit's timing). With any result but 0 the state is UPG_IDLE and no image stays loaded;
  // LastError() then says why a file was refused. Nothing is sent before the file passed.
  int UpgradeStart(const std::filesystem::path& file);
  // Advances the transfer by at most one command or one reply: the progress 0 to 100,
  // kUpgradeFinished (101) once, or kUpgradeFailed (255) once the unit refused or was lost. A
  // step without an upgrade running returns 255 and sends nothing.
  int UpgradeStep();
  // Forgets an upgrade the caller stops driving: images released, state UPG_IDLE. The unit is
  // left as it is, in upgrade mode; it plays again only after a complete upgrade.
  void UpgradeAbort();

  UpgradeStatus State() const { return mState; }
  UpgradeTarget Target() const { return mTarget; }
  // Why the last UpgradeStart refused its file (kUpgradeCannotOpen, kUpgradeFileRefused).
  ImageError LastError() const { return mLastError; }
  void SetTiming(const UpgradeTiming& timing);

  // An upgrade acknowledgement (op 0xEE) of group 2 or 3 with its status byte.
  void OnAcknowledgement(std::uint8_t group, std::uint8_t code, std::uint8_t status);
  // Whether (group, code) is one of the upgrade acknowledgements.
  static bool IsUpgradeCode(std::uint8_t group, std::uint8_t code);

 private:
  enum class ReadOutcome { Report, TimedOut, Lost };

  // Forgets the upgrade (images, target, state UPG_IDLE), keeps `error`, returns `result`.
  int EndWith(int result, ImageError error);
  bool LoadImages(FirmwareKind kind, FirmwareCheck&& check);
  bool Reenumerate();
  // Reads reports until an acknowledgement for the upgrade has been decoded or the time is up.
  void AwaitAcknowledgement();
  // Reads one report in slices until `deadline`; a slice that ends in transport errors means the
  // unit vanished.
  ReadOutcome ReadOneReport(std::chrono::steady_clock::time_point deadline);
  void LoseUnit();
  int ReadStep();
  void SendNextChunk();
  int FinishStep();
  void Release();
  std::size_t SentBytes() const;
  int Progress() const;
  void SetState(UpgradeStatus state);
  bool ChangeState(UpgradeStatus from, UpgradeStatus to);
  bool Send(std::uint8_t group, std::uint8_t command, const std::vector<std::uint8_t>& payload);

  DspDevice& mDevice;
  // Held by UpgradeStart, UpgradeStep and UpgradeAbort: one caller drives the upgrade.
  std::mutex mMutex;
  UpgradeTiming mTiming;

  // Read and written by the decoders too.
  std::atomic<UpgradeStatus> mState{UPG_IDLE};
  std::atomic<UpgradeTarget> mTarget{UpgradeTarget::None};
  // Counts the upgrade acknowledgements decoded, so a wait can tell that one arrived.
  std::atomic<unsigned> mAcknowledgements{0};
  std::atomic<ImageError> mLastError{ImageError::None};

  UpgradePhase mPhase = UpgradePhase::NoMoreReads;
  FirmwareImage mMcuImage;
  FirmwareImage mDspImage;
  std::size_t mMcuRemaining = 0;
  std::size_t mDspPosition = 0;
};

}  // namespace device
