// `volume [DB]`: the main volume in whole dB.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunVolumeCommand(CliContext& context, CommandArgs args);

}  // namespace cli
