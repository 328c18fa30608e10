#include "tools/cli/source_command.h"

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "tools/cli/parameter_access.h"

namespace cli {

int RunSourceCommand(CliContext& context, CommandArgs args) {
  static constexpr UnitSetting kSource{
      "source",
      [](std::ostream& err, std::string_view text) {
        return ParseInt(err, "source", text, {0, model::kSourceCount - 1});
      },
      [](device::DspDevice& unit, int source) {
        device::Source_Switch_Ctrl(unit, device::SourceId(source), true);
      },
      device::Get_Source,
      [](std::ostream& out, const model::SceneRecord& scene) {
        out << "source: " << scene.inputSource << '\n';
      }};
  return RunUnitSetting(context, args, kSource);
}

}  // namespace cli
