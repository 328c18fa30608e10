// What every vexaro-cli command works with.
#pragma once

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
};

using CommandArgs = std::span<const std::string>;

}  // namespace cli
