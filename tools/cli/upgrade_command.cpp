#include "tools/cli/upgrade_command.h"

#include <csignal>
#include <filesystem>
#include <string>

#include "device/firmware_file.h"
#include "device/mcu_commands.h"
#include "device/upgrade_worker.h"

namespace cli {
namespace {

constexpr int kBarWidth = 40;

// Set by Ctrl-C: the upgrade stops after the step in progress instead of the process dying in
// the middle of a chunk.
std::atomic<bool> gInterrupted{false};

extern "C" void OnInterrupt(int) {
  gInterrupted = true;
}

// Ctrl-C asks the upgrade to stop while this object lives.
class InterruptGuard {
 public:
  InterruptGuard() {
    gInterrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &mPrevious);
  }
  ~InterruptGuard() { sigaction(SIGINT, &mPrevious, nullptr); }
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

 private:
  struct sigaction mPrevious {};
};

std::string Bar(int percent) {
  const int filled = percent * kBarWidth / device::kUpgradeProgressMax;
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "]";
}

// Whether the unit may be upgraded: alone on its connection, answering, the right model.
bool UnitReady(CliContext& context) {
  device::DspDevice& unit = *context.device;
  const auto holders = unit.OtherHolders();
  if (!holders.empty()) {
    context.err << "vexaro-cli: another program holds the unit (";
    for (std::size_t i = 0; i < holders.size(); ++i) {
      context.err << (i == 0 ? "" : ", ") << holders[i];
    }
    context.err << "); close it before upgrading\n";
    return false;
  }
  device::PC_Connect(unit, device::kPcConnected);
  const bool answered = device::Hand_Connect(unit);
  context.poster->TakeAll();
  if (!answered) {
    context.err << "vexaro-cli: the unit did not answer the handshake; not upgrading\n";
    return false;
  }
  if (!unit.HandshakeOk()) {
    context.err << "vexaro-cli: the unit reports an abnormal state; not upgrading\n";
    return false;
  }
  if (unit.UnitModel() != unit.ExpectedModel()) {
    context.err << "vexaro-cli: the unit is model " << unit.UnitModel() << ", not "
                << static_cast<int>(unit.ExpectedModel()) << "; not upgrading\n";
    return false;
  }
  return true;
}

const char* KindName(device::FirmwareKind kind) {
  switch (kind) {
    case device::FirmwareKind::Bootloader:
      return "MCU bootloader";
    case device::FirmwareKind::Flash:
      return "DSP flash";
    case device::FirmwareKind::Mcu:
      return "MCU program";
    case device::FirmwareKind::Merged:
      return "combined MCU and DSP";
  }
  return "";
}

void PrintRefusal(CliContext& context, const std::string& file, int result,
                  device::ImageError error) {
  switch (result) {
    case device::kUpgradeCannotOpen:
      context.err << "vexaro-cli: cannot open " << file << "; nothing was sent to the unit\n";
      break;
    case device::kUpgradeFileRefused:
      context.err << "vexaro-cli: " << file << " refused: " << device::ImageErrorText(error)
                  << "; nothing was sent to the unit\n";
      break;
    case device::kUpgradeNoUnit:
      context.err << "vexaro-cli: the unit is gone, or did not come back after restarting into "
                     "upgrade mode; if it restarted, it waits in upgrade mode and will not play "
                     "until it is upgraded: run the upgrade again\n";
      break;
    default:
      context.err << "vexaro-cli: the unit did not enter upgrade mode or refused to start the "
                     "upgrade\n";
      break;
  }
}

}  // namespace

int RunUpgradeCommand(CliContext& context, CommandArgs args) {
  if (args.size() != 1) {
    context.err << "vexaro-cli: upgrade takes one image file\n";
    return kExitUsage;
  }
  const std::string& file = args[0];
  // A file that cannot pass is refused before the unit is touched.
  device::FirmwareFile checked;
  if (const int result = device::ReadFirmwareFile(file, context.device->ExpectedModel(), checked);
      result != device::kUpgradeStarted) {
    PrintRefusal(context, file, result, checked.check.error);
    return kExitFailure;
  }
  if (!UnitReady(context)) {
    return kExitFailure;
  }
  context.out << "upgrading the " << KindName(checked.kind) << " firmware from " << file
              << " (the unit restarts into upgrade mode; this takes a few seconds)\n";
  context.out.flush();

  InterruptGuard interrupts;
  int last = -1;
  const auto report = [&](device::UpgradeEvent event, int value) {
    if (event == device::UpgradeEvent::Started) {
      context.out << "sending the image" << (context.terminal ? "" : "\n");
    } else if (event == device::UpgradeEvent::Progress) {
      last = value;
      if (context.terminal) {
        context.out << '\r' << Bar(value) << ' ' << value << '%';
      } else {
        context.out << value << "%\n";
      }
    }
    context.out.flush();
  };
  const int result = device::RunUpgrade(*context.device, file, gInterrupted, report);
  if (context.terminal && last >= 0) {
    context.out << '\n';
  }
  switch (result) {
    case device::kUpgradeFinished:
      context.out << "upgrade finished; the unit restarts with its new firmware\n";
      return kExitOk;
    case device::kUpgradeFailed:
      context.err << "vexaro-cli: the transfer failed (the unit refused it or was lost); the unit "
                     "will not play until it is upgraded: run the upgrade again\n";
      return kExitFailure;
    case device::kUpgradeCancelled:
      context.err << "vexaro-cli: upgrade stopped at " << std::max(last, 0)
                  << "%; the unit stays in upgrade mode and will not play until it is upgraded "
                     "again\n";
      return kExitFailure;
    default:
      PrintRefusal(context, file, result, context.device->LastUpgradeError());
      return kExitFailure;
  }
}

}  // namespace cli
