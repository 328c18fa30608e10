#include "device/built_in_firmware.h"

#include "device/dsp_device.h"

namespace device {

bool MayForceUpdate(const BuiltInFirmware& images, const DspDevice& device) {
  return !images.demo || device.IsVirtualUnit();
}

}  // namespace device
