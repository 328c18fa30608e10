// A DspDevice over a FakeLink, posting to a recording window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"
#include "tests/device/fake_transport.h"

namespace device::testing {

inline constexpr platform::WindowHandle kMainWindow = 7;

class DeviceFixture : public ::testing::Test {
 protected:
  DeviceFixture() {
    poster->OpenWindow(kMainWindow);
    platform::InstallPoster(poster);
    device->SetWindow(DspDevice::WindowRole::Main, kMainWindow);
  }
  ~DeviceFixture() override { platform::InstallPoster(nullptr); }

  void Open() {
    device->OpenHIDDevice();
    ASSERT_TRUE(device->IsDeviceOpen());
  }

  std::shared_ptr<FakeLink> link = std::make_shared<FakeLink>();
  std::shared_ptr<platform::QueuedPoster> poster = std::make_shared<platform::QueuedPoster>();
  std::unique_ptr<DspDevice> device =
      std::make_unique<DspDevice>(std::make_unique<FakeTransport>(link));
};

// A 64-byte report holding `frames` one after the other.
inline Bytes Report(std::initializer_list<Bytes> frames) {
  Bytes report;
  for (const Bytes& frame : frames) {
    report.insert(report.end(), frame.begin(), frame.end());
  }
  return report;
}

}  // namespace device::testing
