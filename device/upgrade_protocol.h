// The firmware upgrade on the wire: command codes, the upgrade states and phases of DspDevice,
// the results of UpgradeStart and UpgradeStep, and the waits. Shared by the device layer, the
// update windows' workers and the virtual unit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "device/command_record.h"

namespace device {

// Group 3 (MCU) upgrade commands: MCU program and bootloader. The enter command of the MCU
// program also starts a DSP flash upgrade.
namespace upg {
inline constexpr std::uint8_t kMcuEnter = 1;  // MCU_Enter_Upg_Mode
inline constexpr std::uint8_t kMcuStart = 2;
inline constexpr std::uint8_t kMcuData = 3;
inline constexpr std::uint8_t kMcuFinish = 4;
inline constexpr std::uint8_t kBootloaderEnter = 160;
inline constexpr std::uint8_t kBootloaderStart = 161;
inline constexpr std::uint8_t kBootloaderData = 162;
inline constexpr std::uint8_t kBootloaderFinish = 163;
// Group 2 (scenes and DSP flash) upgrade commands.
inline constexpr std::uint8_t kFlashStart = 3;
inline constexpr std::uint8_t kFlashData = 4;
inline constexpr std::uint8_t kFlashFinish = 5;

// Data chunks. MCU: offset (32-bit big-endian) and 32 bytes, a short chunk zero-filled.
// DSP flash: offset, k, and k bytes (k at most 50).
inline constexpr std::size_t kOffsetBytes = 4;
inline constexpr std::size_t kMcuChunkBytes = 32;
inline constexpr std::size_t kFlashChunkBytes = 50;
}  // namespace upg

// Upgrade state of DspDevice. The main window reads it to ignore the unit's re-enumeration.
enum UpgradeStatus : std::uint32_t {
  UPG_IDLE = 0,
  UPG_ENTER = 0x10,  // image accepted, the unit has not yet confirmed upgrade mode
  UPG_START = 0x20,  // in upgrade mode (or a DSP flash image accepted), start not yet acknowledged
  UPG_DATA_READY = 0x30,            // the next chunk may be sent
  UPG_WAITING_BIN_DATA_ACK = 0x31,  // a chunk was sent, its acknowledgement is awaited
  UPG_FINISH = 0x40,                // the finish command was sent
  UPG_FAIL = 0x50,                  // the unit refused, or the unit was lost
};

// What the next UpgradeStep does.
enum class UpgradePhase : std::uint16_t { Send = 0, JustSent = 1, ReadReply = 2, NoMoreReads = 3 };

enum class UpgradeTarget : std::uint8_t { None = 0, DspFlash = 1, McuProgram = 2, Bootloader = 3 };

// The group and the start, data and finish commands of an upgrade target.
struct UpgradeCommands {
  std::uint8_t group;
  std::uint8_t start;
  std::uint8_t data;
  std::uint8_t finish;
};
constexpr UpgradeCommands CommandsOf(UpgradeTarget target) {
  switch (target) {
    case UpgradeTarget::Bootloader:
      return {kGroupMcu, upg::kBootloaderStart, upg::kBootloaderData, upg::kBootloaderFinish};
    case UpgradeTarget::McuProgram:
      return {kGroupMcu, upg::kMcuStart, upg::kMcuData, upg::kMcuFinish};
    default:
      return {kGroupScene, upg::kFlashStart, upg::kFlashData, upg::kFlashFinish};
  }
}

// UpgradeStart results.
inline constexpr int kUpgradeStarted = 0;
inline constexpr int kUpgradeCannotOpen = 1;   // the file cannot be opened
inline constexpr int kUpgradeFileRefused = 2;  // name not recognised, too large, or check failed
inline constexpr int kUpgradeNoUnit = 3;       // not connected, or not back after re-enumeration
inline constexpr int kUpgradeUnitRefused = 4;  // no upgrade mode, or the start was refused
// UpgradeStep results; 0 to 100 are the progress in percent.
inline constexpr int kUpgradeProgressMax = 100;
inline constexpr int kUpgradeFinished = 101;
inline constexpr int kUpgradeFailed = 255;

// The waits of an upgrade. The defaults are the unit's; tests and the benchmark shorten the
// re-enumeration against the virtual unit.
struct UpgradeTiming {
  // Each acknowledgement is awaited this long.
  int replyTimeoutMs = 10000;
  // After the unit entered upgrade mode it re-enumerates: the PC closes its handle, waits this
  // long, then tries to open the unit `reopenTries` times, `reopenIntervalMs` apart.
  int reenumerationWaitMs = 8000;
  int reopenTries = 10;
  int reopenIntervalMs = 500;
  // Acknowledgements are read in slices this long, so that a unit that vanished (every read
  // fails) is noticed within one slice rather than after the whole time-out.
  int readSliceMs = 250;
};

}  // namespace device
