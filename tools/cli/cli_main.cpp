// vexaro-cli [--device usb|sim|sim:demo|sim:FILE.wpf|tcp://HOST:PORT] [--token TOKEN] [--trace]
//           [--json] <command> [arguments...]
//
// Adding a command: put it in tools/cli/<name>_command.{h,cpp} as
//   int Run<Name>Command(CliContext& context, CommandArgs args);
// returning the exit code (kExitOk, kExitFailure, kExitUsage), list the .cpp in
// tools/CMakeLists.txt and add one line to kCommands below. A command with needsDevice gets the
// opened unit in context.device (main closes it, telling the unit, afterwards); one without runs
// before any device is opened and finds context.device null. A reading command reports through
// a Report (command_report.h), which prints text or, with --json, one JSON object.
#include <unistd.h>

#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/debug_log.h"
#include "tools/cli/bridge_command.h"
#include "tools/cli/cli_context.h"
#include "tools/cli/cli_options.h"
#include "tools/cli/curve_command.h"
#include "tools/cli/info_command.h"
#include "tools/cli/link_watch.h"
#include "tools/cli/mute_command.h"
#include "tools/cli/names_command.h"
#include "tools/cli/output_command.h"
#include "tools/cli/source_command.h"
#include "tools/cli/tracing_transport.h"
#include "tools/cli/transport_choice.h"
#include "tools/cli/upgrade_command.h"
#include "tools/cli/volume_command.h"
#include "tools/serve/serve.h"

namespace cli {
namespace {

struct Command {
  std::string_view name;
  bool needsDevice;
  int (*run)(CliContext&, CommandArgs);
  std::string_view summary;
};

constexpr Command kCommands[] = {
    {"info", true, RunInfoCommand, "handshake with the unit; print model code and versions"},
    {"curve", false, RunCurveCommand, "FILE.json: response curve of a channel object"},
    {"source", true, RunSourceCommand, "[N]: read or select the input source 0..6"},
    {"volume", true, RunVolumeCommand, "[DB]: read or set the main volume"},
    {"mute", true, RunMuteCommand, "[on|off]: read or set the main mute"},
    {"output", true, RunOutputCommand,
     "N trim|mute|phase|delay|role [VALUE] | N eq BAND [--freq HZ] [--q Q] [--gain DB] "
     "[--enable|--disable] | N crossover hp|lp [--freq HZ] [--slope N] [--type 1|2|3]"},
    {"names", true, RunNamesCommand, "the names of the ten stored scenes"},
    {"bridge", false, RunBridgeCommand,
     "--listen ADDR [--device usb] [--allow-remote] [--token TOKEN]: serve the unit to the "
     "network until Ctrl+C"},
    {"upgrade", true, RunUpgradeCommand,
     "FILE: upgrade the unit's firmware from an image file (MCU_UPG.BIN, FLASH_UPG.BIN, "
     "BL_UPG.BIN or UPG_FW.bin)"},
};

// The one window every message of the device layer is posted to.
constexpr platform::WindowHandle kCliWindow = 1;

void PrintUsage(std::ostream& out) {
  out << "usage: vexaro-cli [--device usb|sim|sim:demo|sim:FILE.wpf|tcp://HOST:PORT]\n"
         "                  [--token TOKEN] [--trace] [--json] <command> [arguments...]\n"
         "  --device  the unit to talk to: usb (default), a fresh virtual unit (sim), a virtual\n"
         "            unit holding a tuned car (sim:demo), one kept in a whole-unit profile\n"
         "            (sim:FILE.wpf, written back at the end), or a unit served over the network\n"
         "            by vexaro-sim or vexaro-cli bridge (tcp://HOST:PORT)\n"
         "  --token   the access token of a unit on the network (default: $"
      << serve::kTokenVariable
      << ")\n"
         "  --trace   print every report: \"> \" written, \"< \" read\n"
         "  --json    reading commands print one JSON object instead of text\n"
         "  global options may stand anywhere; \"--\" passes every later word to the command\n"
         "commands:\n";
  for (const Command& command : kCommands) {
    out << "  " << command.name << "  " << command.summary << '\n';
  }
}

const Command* FindCommand(std::string_view name) {
  for (const Command& command : kCommands) {
    if (command.name == name) {
      return &command;
    }
  }
  return nullptr;
}

int Run(const CliOptions& options) {
  const Command* command = FindCommand(options.command);
  if (command == nullptr) {
    std::cerr << "vexaro-cli: unknown command '" << options.command << "'\n";
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  auto poster = std::make_shared<platform::QueuedPoster>();
  poster->OpenWindow(kCliWindow);
  platform::InstallPoster(poster);
  CliContext context{nullptr,        poster.get(),  kCliWindow,
                     std::cout,      std::cerr,     options.json,
                     options.device, options.token, ::isatty(STDOUT_FILENO) == 1};
  if (!command->needsDevice) {
    return command->run(context, options.args);
  }

  std::string error;
  DeviceChoice choice = ChooseDevice(options.device, error, serve::TokenFrom(options.token));
  if (!choice.transport) {
    std::cerr << "vexaro-cli: " << error << '\n';
    return choice.badName ? kExitUsage : kExitFailure;
  }
  auto transport = std::move(choice.transport);
  if (options.trace) {
    // With --json the standard output carries only the result.
    transport = std::make_unique<TracingTransport>(std::move(transport),
                                                   options.json ? std::cerr : std::cout);
  }
  device::HidTransport& link = *transport;
  device::DspDevice unit(std::move(transport));
  for (auto role : {device::DspDevice::WindowRole::Main, device::DspDevice::WindowRole::Scene,
                    device::DspDevice::WindowRole::AutoCal, device::DspDevice::WindowRole::Tool}) {
    unit.SetWindow(role, kCliWindow);
  }
  LinkWatch watch(unit, std::cerr);
  link.SetLostHandler(watch.Handler());
  unit.OpenHIDDevice();
  if (!unit.IsDeviceOpen()) {
    const std::string why = link.Error();
    std::cerr << "vexaro-cli: no unit found on '" << options.device << "'"
              << (why.empty() ? "" : ": " + why) << '\n';
    return kExitFailure;
  }
  context.device = &unit;
  int result = command->run(context, options.args);
  // Closed before the watch ends, so that a late loss no longer reaches it.
  unit.CloseHIDDevice(true);
  if (choice.saveOnExit && !choice.saveOnExit(error)) {
    std::cerr << "vexaro-cli: the virtual unit's settings were not saved: " << error << '\n';
    result = kExitFailure;
  }
  return result;
}

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
  platform::StartDebugLog();
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = cli::ParseCliOptions(args, error);
  if (!options) {
    std::cerr << "vexaro-cli: " << error << '\n';
    cli::PrintUsage(std::cerr);
    return cli::kExitUsage;
  }
  if (options->help) {
    cli::PrintUsage(std::cout);
    return cli::kExitOk;
  }
  const int result = cli::Run(*options);
  platform::InstallPoster(nullptr);
  platform::StopDebugLog();
  return result;
}
