#include "tools/cli/volume_command.h"

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "tools/cli/parameter_access.h"

namespace cli {

int RunVolumeCommand(CliContext& context, CommandArgs args) {
  static constexpr UnitSetting kVolume{
      "volume",
      [](std::ostream& err, std::string_view text) {
        return ParseInt(err, "volume", text, model::kMainVolumeDb, "dB");
      },
      [](device::DspDevice& unit, int volume) {
        device::Main_Volume_Ctrl(unit, device::MainVolumeCode(volume), true);
      },
      device::Get_Main_Volume,
      [](std::ostream& out, const model::SceneRecord& scene) {
        out << "volume: " << scene.mainVolume << " dB\n";
      }};
  return RunUnitSetting(context, args, kVolume);
}

}  // namespace cli
