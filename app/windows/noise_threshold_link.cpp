#include "app/windows/noise_threshold_link.h"

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/dsp_device.h"
#include "model/limits.h"
#include "model/parameter_model.h"

namespace ui {

DeviceNoiseThresholdLink::DeviceNoiseThresholdLink(model::ParameterModel& model,
                                                   device::DspDevice& device)
    : mModel(model), mDevice(device) {}

int DeviceNoiseThresholdLink::InputThreshold() const {
  return mModel.workingScene.inputThreshold;
}

void DeviceNoiseThresholdLink::StoreInputThreshold(int thresholdDb) {
  mModel.workingScene.inputThreshold = thresholdDb;
}

int DeviceNoiseThresholdLink::InputCount() const {
  return model::InputsPerSource(mModel.workingScene.inputSource);
}

bool DeviceNoiseThresholdLink::IsUnitConnected() const {
  return mDevice.IsDeviceOpen();
}

void DeviceNoiseThresholdLink::SetToolWindow(platform::WindowHandle window) {
  mDevice.SetWindow(device::DspDevice::WindowRole::Tool, window);
}

void DeviceNoiseThresholdLink::RequestInputNoise(int count) {
  if (count > 0) {
    device::Get_Input_Noise(mDevice, 0, count - 1, false);
  }
}

void DeviceNoiseThresholdLink::SendInputThreshold(int thresholdDb) {
  device::Input_Ch_Threshold_Ctrl(mDevice, thresholdDb, false);
}

}  // namespace ui
