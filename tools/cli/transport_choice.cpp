#include "tools/cli/transport_choice.h"

#include "device/hidapi_transport.h"
#include "sim/demo_tuning.h"
#include "sim/virtual_unit_transport.h"

namespace cli {

std::unique_ptr<device::HidTransport> MakeTransport(std::string_view name, std::string& error) {
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
  error = "unknown device '" + std::string(name) + "' (use usb, sim or sim:demo)";
  return nullptr;
}

}  // namespace cli
