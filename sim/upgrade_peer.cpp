// The unit's loader: upgrade mode, the image chunks and the restarts around them.
#include <algorithm>

#include "device/byte_reader.h"
#include "device/demo_firmware.h"
#include "device/parameter_codes.h"
#include "device/value_encoding.h"
#include "sim/peer_support.h"
#include "sim/virtual_unit.h"

namespace sim {
namespace {

namespace upg = device::upg;
using device::UpgradeTarget;

// The target a start, data or finish command is about; None for other commands.
UpgradeTarget TargetOf(const device::CommandRecord& command) {
  if (command.group == device::kGroupScene) {
    const bool flash = command.command >= upg::kFlashStart && command.command <= upg::kFlashFinish;
    return flash ? UpgradeTarget::DspFlash : UpgradeTarget::None;
  }
  if (command.group != device::kGroupMcu) {
    return UpgradeTarget::None;
  }
  if (command.command >= upg::kMcuStart && command.command <= upg::kMcuFinish) {
    return UpgradeTarget::McuProgram;
  }
  if (command.command >= upg::kBootloaderStart && command.command <= upg::kBootloaderFinish) {
    return UpgradeTarget::Bootloader;
  }
  return UpgradeTarget::None;
}

}  // namespace

bool VirtualUnit::HandleUpgrade(const device::CommandRecord& command) {
  const bool mcuEnter =
      command.group == device::kGroupMcu &&
      (command.command == upg::kMcuEnter || command.command == upg::kBootloaderEnter);
  const UpgradeTarget target = TargetOf(command);
  if (command.op != device::kOpSet || (!mcuEnter && target == UpgradeTarget::None)) {
    return false;
  }
  auto ack = [&](bool ready) {
    Reply(command.group,
          AckBody(command.command, ready ? device::kAckReady : device::kAckNotReady));
  };

  if (mcuEnter) {
    if (mRefuseEnter) {
      ack(false);
      return true;
    }
    mUpgradeMode = UpgradeMode::Entered;
    mBootloaderLoader = command.command == upg::kBootloaderEnter;
    ack(true);
    // The MCU program's loader is a device of its own: the unit restarts into it. The
    // bootloader is replaced from the running program.
    if (!mBootloaderLoader) {
      ScheduleRestart(Restart::IntoLoader);
    }
    return true;
  }
  const device::UpgradeCommands codes = device::CommandsOf(target);
  if (command.command == codes.start) {
    const bool loaderFits = mBootloaderLoader == (target == UpgradeTarget::Bootloader);
    const bool ok = mUpgradeMode == UpgradeMode::Entered && loaderFits && !mRefuseStart &&
                    command.payload.size() == device::kImageHeaderBytes;
    if (ok) {
      mUpgradeMode = UpgradeMode::Receiving;
      mUpgrade = UpgradeRecord{};
      mUpgrade->target = target;
      std::copy_n(command.payload.begin(), device::kImageHeaderBytes, mUpgrade->header.begin());
      mMcuBlocksTaken.clear();
    }
    ack(ok);
    return true;
  }
  if (mUpgradeMode != UpgradeMode::Receiving || !mUpgrade || mUpgrade->target != target) {
    ack(false);
    return true;
  }
  if (command.command == codes.data) {
    HandleUpgradeData(command);
  } else {
    HandleUpgradeFinish(command);
  }
  return true;
}

void VirtualUnit::HandleUpgradeData(const device::CommandRecord& command) {
  const int chunk = mUpgrade->chunks++;
  if (chunk == mUnplugAtChunk) {
    mUnplugAtChunk = -1;
    mVanishing = true;
    return;
  }
  const device::ByteReader in(command.payload);
  const std::uint32_t offset =
      in.Has(0, upg::kOffsetBytes) ? device::BigEndian32(command.payload) : 0;
  std::vector<std::uint8_t>& image = mUpgrade->image;
  bool ok = false;
  if (mUpgrade->target == UpgradeTarget::DspFlash) {
    // Offset, k, k bytes, appended in order.
    const std::size_t count = in.At(upg::kOffsetBytes);
    const std::size_t dataAt = upg::kOffsetBytes + 1;
    ok = in.Has(dataAt, count) && command.payload.size() == dataAt + count &&
         count <= upg::kFlashChunkBytes && count > 0 && offset == image.size();
    if (ok) {
      image.insert(image.end(), command.payload.begin() + dataAt, command.payload.end());
    }
  } else {
    // Offset and one 32-byte block; the blocks come from the end of the image toward 0.
    ok = command.payload.size() == upg::kOffsetBytes + upg::kMcuChunkBytes &&
         offset % upg::kMcuChunkBytes == 0 && offset <= device::kMaxImageFileBytes;
    if (ok) {
      const std::size_t block = offset / upg::kMcuChunkBytes;
      image.resize(std::max<std::size_t>(image.size(), offset + upg::kMcuChunkBytes));
      mMcuBlocksTaken.resize(std::max(mMcuBlocksTaken.size(), block + 1));
      std::copy(command.payload.begin() + upg::kOffsetBytes, command.payload.end(),
                image.begin() + offset);
      mMcuBlocksTaken[block] = true;
    }
  }
  const auto ack = [&](std::uint8_t status) {
    Reply(command.group, AckBody(command.command, status));
  };
  if (ok && mNotReadyChunks > 0) {
    --mNotReadyChunks;
    ack(device::kAckNotReady);
  }
  ack(ok ? device::kAckReady : device::kAckNotReady);
}

void VirtualUnit::HandleUpgradeFinish(const device::CommandRecord& command) {
  const bool complete =
      !mUpgrade->image.empty() &&
      std::all_of(mMcuBlocksTaken.begin(), mMcuBlocksTaken.end(), [](bool taken) { return taken; });
  Reply(command.group,
        AckBody(command.command, complete ? device::kAckReady : device::kAckNotReady));
  if (!complete) {
    return;
  }
  mUpgradeMode = UpgradeMode::Finished;
  mUpgrade->finished = true;
  // The MCU restarts by itself; the DSP image waits for the reboot command.
  if (mUpgrade->target != UpgradeTarget::DspFlash) {
    ScheduleRestart(Restart::Normal);
  }
}

void VirtualUnit::Install() {
  if (mUpgradeMode == UpgradeMode::Finished && mUpgrade && !mUpgrade->installed) {
    mUpgrade->installed = true;
    if (const auto version = device::DemoHeaderVersion(mUpgrade->header)) {
      if (mUpgrade->target == UpgradeTarget::McuProgram) {
        mIdentity.masterVersion = version->master;
      } else if (mUpgrade->target == UpgradeTarget::DspFlash) {
        mIdentity.slaveVersion = version->slave;
      }
    }
  }
  mUpgradeMode = UpgradeMode::Off;
}

}  // namespace sim
