// `mute [on|off]`: muting of the main output.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunMuteCommand(CliContext& context, CommandArgs args);

}  // namespace cli
