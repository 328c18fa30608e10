// What the noise threshold window needs of the model and the unit, as one small interface: the
// program gives it the model and the device (DeviceNoiseThresholdLink), tests a recording fake.
#pragma once

#include "platform/post_message.h"

namespace device {
class DspDevice;
}
namespace model {
struct ParameterModel;
}

namespace ui {

class NoiseThresholdLink {
 public:
  virtual ~NoiseThresholdLink() = default;
  // The working scene's input noise threshold (dB) and where an edit stores it.
  virtual int InputThreshold() const = 0;
  virtual void StoreInputThreshold(int thresholdDb) = 0;
  // Inputs of the working scene's current source (0 for sources without analogue inputs).
  virtual int InputCount() const = 0;
  virtual bool IsUnitConnected() const = 0;
  // Makes `window` the unit's tool window, to which measured input levels are posted (0: none).
  virtual void SetToolWindow(platform::WindowHandle window) = 0;
  // Asks the unit for the noise levels of inputs 0 .. count - 1.
  virtual void RequestInputNoise(int count) = 0;
  virtual void SendInputThreshold(int thresholdDb) = 0;
};

// The link of the program: the model's working scene and the unit's queued commands.
class DeviceNoiseThresholdLink : public NoiseThresholdLink {
 public:
  DeviceNoiseThresholdLink(model::ParameterModel& model, device::DspDevice& device);

  int InputThreshold() const override;
  void StoreInputThreshold(int thresholdDb) override;
  int InputCount() const override;
  bool IsUnitConnected() const override;
  void SetToolWindow(platform::WindowHandle window) override;
  void RequestInputNoise(int count) override;
  void SendInputThreshold(int thresholdDb) override;

 private:
  model::ParameterModel& mModel;
  device::DspDevice& mDevice;
};

}  // namespace ui
