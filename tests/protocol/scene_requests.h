// Reads a scene of the unit the way the program does after connecting.
#pragma once

#include <algorithm>

#include "device/dsp_commands_get.h"
#include "device/dsp_device.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/parameter_codes.h"
#include "device/scene_commands.h"
#include "model/limits.h"

namespace device::testing {

// Sends every request that reads scene `scene` (0 the working scene, with the unit-wide values;
// 1..10 a stored scene, made ready for reading first). The replies stay posted for the caller.
inline void RequestScene(DspDevice& device, int scene) {
  if (scene == 0) {
    Get_Source(device);
    Get_Main_Volume(device);
    Get_Mute(device);
  } else {
    ReadScene(device, scene, scene::kPrepareForReading);
  }
  Get_Delay(device, scene, 0, 0, 7);
  Get_CH_Type(device, scene, 0, 0, 7);
  Get_CH_Link(device, scene);
  Get_CH_Lock(device, scene);
  Get_Filter(device, scene, 0, 0, 3);
  Get_Filter(device, scene, 0, 4, 7);
  Get_PEQ_Bypass(device, scene, 0, 0, 7);
  for (int channel = 0; channel < model::kOutputCount; ++channel) {
    const int bands = model::BandCountOfOutput(channel);
    for (int band = 0; band < bands; band += 8) {
      Get_EQ(device, scene, 0, channel, band, std::min(band + 7, bands - 1));
    }
  }
  Get_Trim(device, scene, 0, 0, 7);
  Get_Mute_Ch(device, scene, 0, 0, 7);
  Get_Phase(device, scene, 0, 0, 7);
  for (int source = 0; source < model::kSourceCount; ++source) {
    Get_Mix_Ch(device, scene, source, 0, 7);
    for (int input = 0; input < model::kMixInputSlots; ++input) {
      Get_Input_Mix_CH_Trim(device, scene, source, input, 0, 7);
    }
  }
  if (scene == 0) {
    Get_Input_Threshold(device, 0, 0, true);
    for (int code = 1; code <= ktv::kValueCount; ++code) {
      Get_KTV(device, code);
    }
    Get_Delay_Power_Off_Time(device);
  }
}

}  // namespace device::testing
