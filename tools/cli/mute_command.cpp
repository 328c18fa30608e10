#include "tools/cli/mute_command.h"

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "tools/cli/parameter_access.h"

namespace cli {

int RunMuteCommand(CliContext& context, CommandArgs args) {
  static const Setting kMute{"mute",
                             [](std::ostream& err, std::string_view text) {
                               return AsReal(ParseOnOff(err, "mute", text));
                             },
                             [](device::DspDevice& unit, double mute) {
                               device::Mute_All_Ctrl(unit, static_cast<int>(mute), true);
                             },
                             device::Get_Mute,
                             [](Report& report, const model::SceneRecord& scene) {
                               const bool muted = scene.mainVolumeMute != 0;
                               report.Line(muted ? "mute: on" : "mute: off");
                               report.Bool("mute", muted);
                             }};
  return RunSetting(context, args, kMute);
}

}  // namespace cli
