#include "tools/cli/curve_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "dsp_math/channel_curve.h"
#include "model/channel_curve.h"
#include "profiles/profile_files.h"
#include "profiles/profile_reader.h"
#include "tools/cli/command_report.h"

namespace cli {
namespace {

// A channel object on its own is read with the band storage of the first output, the largest.
constexpr int kChannelObjectOutput = 0;

}  // namespace

std::optional<model::OutputChannel> ParseCurveChannel(std::string_view text, std::string& error) {
  model::OutputChannel channel;
  const profiles::ReadResult result =
      profiles::ReadChannelObject(text, kChannelObjectOutput, channel);
  if (!result.ok()) {
    error = result.Describe();
    return std::nullopt;
  }
  error.clear();
  return channel;
}

int RunCurveCommand(CliContext& context, CommandArgs args) {
  if (args.size() != 1) {
    context.err << "vexaro-cli: usage: curve FILE.json\n";
    return kExitUsage;
  }
  const std::string& path = args[0];
  std::string text;
  const profiles::ReadResult read = profiles::ReadProfileBytes(path, text);
  if (!read.ok()) {
    context.err << "vexaro-cli: '" << path << "' " << read.Describe() << '\n';
    return kExitFailure;
  }
  std::string error;
  const auto channel = ParseCurveChannel(text, error);
  if (!channel) {
    context.err << "vexaro-cli: '" << path << "' is not a channel object: " << error << '\n';
    return kExitFailure;
  }
  const model::CurveInput input = model::CurveInputOf(*channel);
  dsp_math::CurveArray grid{};
  dsp_math::CurveArray curve{};
  dsp_math::ComputeChannelCurve(input.Bands(), input.highPass, input.lowPass, input.eqBypass, grid,
                                curve);
  Report report;
  char line[96];
  for (std::size_t k = 0; k < grid.size(); ++k) {
    std::snprintf(line, sizeof line, "%.4f %.6f", grid[k], curve[k]);
    report.Line(line);
  }
  report.Numbers("frequency", grid);
  report.Numbers("db", curve);
  report.Emit(context);
  return kExitOk;
}

}  // namespace cli
