// `curve FILE.json`: the response curve of one output channel, from a channel object in the
// format of the profile files, printed as 512 "frequency dB" lines (with --json, one object with
// the arrays "frequency" and "db").
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "model/output_channel.h"
#include "tools/cli/cli_context.h"

namespace cli {

// Reads a channel object with the profile reader's own rules, as output 1 of a profile holds it
// (up to 31 bands). Returns nothing and says where and why in `error` when the text is not such
// an object.
std::optional<model::OutputChannel> ParseCurveChannel(std::string_view text, std::string& error);

int RunCurveCommand(CliContext& context, CommandArgs args);

}  // namespace cli
