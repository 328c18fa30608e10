#include "tools/cli/bridge_command.h"

#include <vector>

#include "tools/cli/transport_choice.h"
#include "tools/serve/serve.h"

namespace cli {

int RunBridgeCommand(CliContext& context, CommandArgs args) {
  const std::vector<std::string> options(args.begin(), args.end());
  serve::ListenOptions listen;
  std::string deviceName = "usb";
  std::string error;
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (serve::TakeListenOption(options, i, listen, error)) {
      continue;
    }
    if (error.empty() && options[i] == "--device") {
      if (i + 1 < options.size()) {
        deviceName = options[++i];
        continue;
      }
      error = "--device needs a value";
    }
    context.err << "vexaro-cli: bridge: "
                << (error.empty() ? "unknown argument " + options[i] : error) << '\n';
    return kExitUsage;
  }
  if (listen.address.empty()) {
    context.err << "vexaro-cli: bridge: --listen ADDR is required\n";
    return kExitUsage;
  }
  auto unit = MakeTransport(deviceName, error);
  if (!unit) {
    context.err << "vexaro-cli: bridge: " << error << '\n';
    return kExitUsage;
  }
  const std::string what = "the unit on '" + deviceName + "'";
  return serve::Serve(std::move(unit), listen, "vexaro-cli bridge", what, context.out, context.err);
}

}  // namespace cli
