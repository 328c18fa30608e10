// `output N ...`: the settings of one output (1..8): trim, mute, phase, delay, speaker role, one
// equaliser band and the two crossover filters. Reads without a value, writes with one.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunOutputCommand(CliContext& context, CommandArgs args);

}  // namespace cli
