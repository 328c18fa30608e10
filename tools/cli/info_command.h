// `info`: handshake with the unit and print what it says about itself.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunInfoCommand(CliContext& context, CommandArgs args);

}  // namespace cli
