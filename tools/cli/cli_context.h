// What every vexaro-cli command works with.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"

namespace cli {

// Process exit codes.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the unit is missing or did not answer
inline constexpr int kExitUsage = 2;

struct CliContext {
  // The open unit; null for commands that need none.
  device::DspDevice* device = nullptr;
  // Receives every message the device layer posts; all window roles post to `window`.
  platform::QueuedPoster* poster = nullptr;
  platform::WindowHandle window = 0;
  std::ostream& out;
  std::ostream& err;
  // --json: reading commands print one JSON object (see command_report.h).
  bool json = false;
  // --device and --token as given, for a command that opens a unit of its own (bridge).
  std::string deviceName = "usb";
  std::optional<std::string> token{};
  // Whether `out` is a terminal (progress is drawn in place rather than printed line by line).
  bool terminal = false;
};

using CommandArgs = std::span<const std::string>;

}  // namespace cli
