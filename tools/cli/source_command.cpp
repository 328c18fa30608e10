#include "tools/cli/source_command.h"

#include <string>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "tools/cli/parameter_access.h"

namespace cli {

int RunSourceCommand(CliContext& context, CommandArgs args) {
  static const Setting kSource{
      "source",
      [](std::ostream& err, std::string_view text) {
        return AsReal(ParseInt(err, "source", text, {0, model::kSourceCount - 1}));
      },
      [](device::DspDevice& unit, double source) {
        device::Source_Switch_Ctrl(unit, device::SourceId(static_cast<int>(source)), true);
      },
      device::Get_Source,
      [](Report& report, const model::SceneRecord& scene) {
        report.Line("source: " + std::to_string(scene.inputSource));
        report.Number("source", scene.inputSource);
      }};
  return RunSetting(context, args, kSource);
}

}  // namespace cli
