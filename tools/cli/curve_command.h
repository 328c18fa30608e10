// `curve FILE.json`: the response curve of one output channel, from a channel object in the
// format of the profile files, printed as 512 "frequency dB" lines.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "dsp_math/channel_curve.h"
#include "tools/cli/cli_context.h"

namespace cli {

// What the curve needs of a channel object.
struct CurveChannel {
  std::vector<dsp_math::CurveBand> bands;
  dsp_math::CurveFilter highPass;
  dsp_math::CurveFilter lowPass;
  bool eqBypass = false;
};

// Reads a channel object ("eqSize", "bypass", "crossover" with "hp" and "lp", "eqArray"; other
// keys are ignored). Returns nothing and says why in `error` when the text is not such an object
// or holds values no curve can be drawn from.
std::optional<CurveChannel> ParseCurveChannel(std::string_view text, std::string& error);

// One line per grid point: frequency with 4 decimals, dB with 6.
void WriteCurve(std::ostream& out, const dsp_math::CurveArray& grid,
                const dsp_math::CurveArray& curve);

int RunCurveCommand(CliContext& context, CommandArgs args);

}  // namespace cli
