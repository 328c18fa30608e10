// `names`: the names of the ten stored scenes.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunNamesCommand(CliContext& context, CommandArgs args);

}  // namespace cli
