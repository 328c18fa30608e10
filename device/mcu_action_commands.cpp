#include "device/mcu_action_commands.h"

#include "device/command_builder.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"

namespace device {

namespace {

constexpr int kPowerOffQueryTimeoutMs = 500;
// The unit rewrites its whole flash before it answers a factory reset.
constexpr int kFactoryDefaultTimeoutMs = 30000;

}  // namespace

bool Set_Power_Off_Time(DspDevice& device, int milliseconds, bool syncMode) {
  DebugLogA("Set_Power_Off_Time = %dms\n", milliseconds);
  Bytes payload;
  PutU16(payload, milliseconds);
  return SubmitCommand(device, kGroupMcu, kMcuPowerOffDelay, kOpSet, std::move(payload), syncMode);
}

bool Get_Delay_Power_Off_Time(DspDevice& device) {
  DebugLogA("Get_Delay_Power_Off_Time\n");
  return SubmitCommand(device, kGroupMcu, kMcuPowerOffDelay, kOpGet, {}, true,
                       kPowerOffQueryTimeoutMs);
}

bool Factory_Default_Ctrl(DspDevice& device) {
  DebugLogA("Factory_Default_Ctrl\n");
  return SubmitCommand(device, kGroupMcu, kMcuFactoryDefault, kOpSet, {}, true,
                       kFactoryDefaultTimeoutMs);
}

bool MCU_Reboot_Ctrl(DspDevice& device) {
  DebugLogA("MCU_Reboot_Ctrl\n");
  return SubmitCommand(device, kGroupMcu, kMcuReboot, kOpSet, {}, true);
}

}  // namespace device
