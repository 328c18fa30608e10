// `source [N]`: the active input source 0..6.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunSourceCommand(CliContext& context, CommandArgs args);

}  // namespace cli
