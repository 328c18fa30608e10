// vexaro-cli bridge --listen ADDR [--device usb] [--allow-remote] [--token TOKEN]: serves a unit
// attached to this computer to the network, for tuning from another one.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunBridgeCommand(CliContext& context, CommandArgs args);

}  // namespace cli
