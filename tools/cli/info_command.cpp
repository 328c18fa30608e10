#include "tools/cli/info_command.h"

#include <string>

#include "device/mcu_commands.h"
#include "device/mcu_records.h"
#include "platform/window_messages.h"
#include "tools/cli/command_report.h"

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
  Report report;
  if (refused) {
    report.Line("handshake: refused (the unit reports an abnormal state)");
    report.String("handshake", "refused");
    report.Emit(context);
    return kExitOk;
  }
  if (!handshake) {
    context.err << "vexaro-cli: the unit answered, but not with a handshake reply\n";
    return kExitFailure;
  }
  report.Line("model code: " + std::to_string(handshake->model));
  report.Line("master version: " + std::to_string(handshake->masterVersion));
  report.Line("slave version: " + std::to_string(handshake->slaveVersion));
  report.Line("handshake: accepted");
  report.Number("model", handshake->model);
  report.Number("masterVersion", handshake->masterVersion);
  report.Number("slaveVersion", handshake->slaveVersion);
  report.String("handshake", "accepted");
  report.Emit(context);
  return kExitOk;
}

}  // namespace cli
