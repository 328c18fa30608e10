#include "tools/cli/volume_command.h"

#include <string>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "tools/cli/parameter_access.h"

namespace cli {

int RunVolumeCommand(CliContext& context, CommandArgs args) {
  static const Setting kVolume{
      "volume",
      [](std::ostream& err, std::string_view text) {
        return AsReal(ParseInt(err, "volume", text, model::kMainVolumeDb, "dB"));
      },
      [](device::DspDevice& unit, double volume) {
        device::Main_Volume_Ctrl(unit, device::MainVolumeCode(static_cast<int>(volume)), true);
      },
      device::Get_Main_Volume,
      [](Report& report, const model::SceneRecord& scene) {
        report.Line("volume: " + std::to_string(scene.mainVolume) + " dB");
        report.Number("volume", scene.mainVolume);
      }};
  return RunSetting(context, args, kVolume);
}

}  // namespace cli
