#include "tools/cli/transport_choice.h"

#include "device/hidapi_transport.h"
#include "device/tcp_transport.h"
#include "sim/demo_tuning.h"
#include "sim/virtual_unit_transport.h"

namespace cli {

std::unique_ptr<device::HidTransport> MakeTransport(std::string_view name, std::string& error,
                                                    std::string_view token) {
  if (name == "usb") {
    return std::make_unique<device::HidapiTransport>();
  }
  if (name == "sim") {
    return std::make_unique<sim::VirtualUnitTransport>(std::make_shared<sim::VirtualUnit>());
  }
  if (name == "sim:demo") {
    return std::make_unique<sim::VirtualUnitTransport>(
        std::make_shared<sim::VirtualUnit>(sim::UnitIdentity{}, sim::DemoUnitState()));
  }
  if (name.starts_with(device::kTcpDevicePrefix)) {
    const auto server = device::ParseTcpDeviceName(name, error);
    if (!server) {
      error = "bad device: " + error;
      return nullptr;
    }
    return std::make_unique<device::TcpTransport>(*server, std::string(token));
  }
  error = "unknown device '" + std::string(name) + "' (use usb, sim, sim:demo or tcp://HOST:PORT)";
  return nullptr;
}

}  // namespace cli
