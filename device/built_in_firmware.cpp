#include "device/built_in_firmware.h"

#include "device/dsp_device.h"

namespace device {

bool IsOlderThanBuiltIn(int master, int slave) {
  if (master != kBuiltInFirmwareVersion.master) {
    return master < kBuiltInFirmwareVersion.master;
  }
  return slave < kBuiltInFirmwareVersion.slave;
}

bool MayForceUpdate(const BuiltInFirmware& images, const DspDevice& device) {
  return !images.demo || device.IsVirtualUnit();
}

}  // namespace device
