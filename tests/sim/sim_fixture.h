// A DspDevice connected to a virtual unit, posting to a recording main window.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"
#include "sim/virtual_unit.h"
#include "sim/virtual_unit_transport.h"

namespace sim::testing {

inline constexpr platform::WindowHandle kMainWindow = 3;
// Long enough for a reply that is there, short enough that a missing one costs little.
inline constexpr int kShortTimeoutMs = 200;

class SimFixture : public ::testing::Test {
 protected:
  SimFixture() {
    poster->OpenWindow(kMainWindow);
    platform::InstallPoster(poster);
    device->SetWindow(device::DspDevice::WindowRole::Main, kMainWindow);
  }
  ~SimFixture() override { platform::InstallPoster(nullptr); }

  void Connect() {
    device->OpenHIDDevice();
    ASSERT_TRUE(device->IsDeviceOpen());
  }

  std::shared_ptr<VirtualUnit> unit = std::make_shared<VirtualUnit>();
  std::shared_ptr<platform::QueuedPoster> poster = std::make_shared<platform::QueuedPoster>();
  std::unique_ptr<device::DspDevice> device =
      std::make_unique<device::DspDevice>(std::make_unique<VirtualUnitTransport>(unit));
};

}  // namespace sim::testing
