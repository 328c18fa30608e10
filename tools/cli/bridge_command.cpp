#include "tools/cli/bridge_command.h"

#include <vector>

#include "tools/cli/transport_choice.h"
#include "tools/serve/serve.h"

namespace cli {

int RunBridgeCommand(CliContext& context, CommandArgs args) {
  const std::vector<std::string> options(args.begin(), args.end());
  // --device names the unit to serve and --token the token its clients must send; both are
  // global options, which the command line takes anywhere.
  serve::ListenOptions listen;
  listen.token = context.token;
  const std::string& deviceName = context.deviceName;
  std::string error;
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (serve::TakeListenOption(options, i, listen, error)) {
      continue;
    }
    context.err << "vexaro-cli: bridge: "
                << (error.empty() ? "unknown argument " + options[i] : error) << '\n';
    return kExitUsage;
  }
  if (listen.address.empty()) {
    context.err << "vexaro-cli: bridge: --listen ADDR is required\n";
    return kExitUsage;
  }
  DeviceChoice unit = ChooseDevice(deviceName, error);
  if (!unit.transport) {
    context.err << "vexaro-cli: bridge: " << error << '\n';
    return unit.badName ? kExitUsage : kExitFailure;
  }
  const std::string what = "the unit on '" + deviceName + "'";
  int result = serve::Serve(std::move(unit.transport), listen, "vexaro-cli bridge", what,
                            context.out, context.err);
  // A unit kept in a profile file keeps what its clients changed.
  if (unit.saveOnExit && !unit.saveOnExit(error)) {
    context.err << "vexaro-cli: bridge: the virtual unit's settings were not saved: " << error
                << '\n';
    result = kExitFailure;
  }
  return result;
}

}  // namespace cli
