#include "device/ktv_commands.h"

#include "device/command_builder.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"

namespace device {

void KTV_Ctrl(DspDevice& device, int effect, int value, bool syncMode) {
  DebugLogA("KTV_Ctrl: effect(%d), value(%d)\n", effect, value);
  Bytes payload;
  if (effect == ktv::kEchoDelay) {
    PutU16(payload, value);
  } else {
    payload.push_back(LowByte(value));
  }
  SubmitCommand(device, kGroupKtv, LowByte(effect), kOpSet, std::move(payload), syncMode);
}

bool Get_KTV(DspDevice& device, int effect) {
  DebugLogA("Get_KTV: effect(%d)\n", effect);
  return SubmitCommand(device, kGroupKtv, LowByte(effect), kOpGet, {}, true);
}

}  // namespace device
