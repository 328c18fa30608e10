// The command line of vexaro-sim: a virtual unit served over TCP.
//   vexaro-sim --listen ADDR [--allow-remote] [--token TOKEN] [--model N] [--version M.S]
//              [--latency MS] [--demo] [fault options]
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/virtual_unit.h"
#include "tools/serve/serve.h"

namespace simtool {

struct SimOptions {
  serve::ListenOptions listen;
  sim::UnitIdentity identity;
  int latencyMs = 0;
  bool demo = false;  // the demo tuning instead of a unit fresh from the factory
  // Faults the unit shows from the start.
  bool refuseHandshake = false;
  bool splitReplies = false;
  bool twoFramesPerReport = false;
  bool answerPcConnect = false;
  int corruptChecksums = 0;
  int dropReplies = 0;
  // Auto calibration: the least time of each step, and the failure every run ends with (-1: none).
  int calibrationPaceMs = 0;
  int calibrationFailure = -1;
  bool help = false;
};

// Nullopt (with `error` set) when the options are malformed or --listen is missing.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& args, std::string& error);

// The unit the options describe, with its faults set.
std::shared_ptr<sim::VirtualUnit> MakeUnit(const SimOptions& options);

}  // namespace simtool
