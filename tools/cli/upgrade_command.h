// vexaro-cli upgrade FILE: upgrades the unit's firmware from one image file.
#pragma once

#include "tools/cli/cli_context.h"

namespace cli {

int RunUpgradeCommand(CliContext& context, CommandArgs args);

}  // namespace cli
