#include "tools/cli/info_command.h"

#include "device/mcu_commands.h"
#include "device/mcu_records.h"
#include "platform/window_messages.h"

namespace cli {

int RunInfoCommand(CliContext& context, CommandArgs args) {
  if (!args.empty()) {
    context.err << "vexaro-cli: info takes no arguments\n";
    return kExitUsage;
  }
  device::DspDevice& unit = *context.device;
  device::PC_Connect(unit, device::kPcConnected);
  if (!device::Hand_Connect(unit)) {
    context.err << "vexaro-cli: the unit did not answer the handshake\n";
    return kExitFailure;
  }

  // The reply was decoded and posted before Hand_Connect returned.
  bool refused = false;
  std::optional<device::HandshakeRecord> handshake;
  for (const platform::PostedMessage& message : context.poster->TakeAll()) {
    if (message.id == platform::msg::kHandshakeRefused) {
      refused = true;
    } else if (message.id == platform::msg::kMcuNotify && message.wParam == device::kMcuHandshake) {
      if (const auto* record = platform::RecordAs<device::HandshakeRecord>(message)) {
        handshake = *record;
      }
    }
  }
  if (refused) {
    context.out << "handshake: refused (the unit reports an abnormal state)\n";
    return kExitOk;
  }
  if (!handshake) {
    context.err << "vexaro-cli: the unit answered, but not with a handshake reply\n";
    return kExitFailure;
  }
  context.out << "model code: " << handshake->model << '\n'
              << "master version: " << handshake->masterVersion << '\n'
              << "slave version: " << handshake->slaveVersion << '\n'
              << "handshake: accepted\n";
  return kExitOk;
}

}  // namespace cli
