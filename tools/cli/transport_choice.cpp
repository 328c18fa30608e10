#include "tools/cli/transport_choice.h"

#include <utility>

#include "device/hidapi_transport.h"
#include "device/tcp_transport.h"
#include "sim/demo_tuning.h"
#include "sim/offline_unit.h"
#include "sim/virtual_unit_transport.h"

namespace cli {
namespace {

constexpr std::string_view kSimPrefix = "sim:";
constexpr std::string_view kWholeProfileExtension = ".wpf";

DeviceChoice ProfileUnit(std::string_view path, std::string& error) {
  profiles::ReadResult result;
  std::shared_ptr<sim::OfflineUnit> unit = sim::OfflineUnit::Open(path, result);
  if (!unit) {
    error = "cannot use '" + std::string(path) + "' as a virtual unit: " + result.Describe();
    return {};
  }
  DeviceChoice choice;
  choice.transport = std::make_unique<sim::VirtualUnitTransport>(unit->Unit());
  choice.saveOnExit = [unit](std::string& saveError) { return unit->Save(saveError); };
  return choice;
}

}  // namespace

DeviceChoice ChooseDevice(std::string_view name, std::string& error, std::string_view token) {
  DeviceChoice choice;
  if (name == "usb") {
    choice.transport = std::make_unique<device::HidapiTransport>();
  } else if (name == "sim") {
    choice.transport =
        std::make_unique<sim::VirtualUnitTransport>(std::make_shared<sim::VirtualUnit>());
  } else if (name == "sim:demo") {
    choice.transport = std::make_unique<sim::VirtualUnitTransport>(
        std::make_shared<sim::VirtualUnit>(sim::UnitIdentity{}, sim::DemoUnitState()));
  } else if (name.starts_with(kSimPrefix) && name.ends_with(kWholeProfileExtension)) {
    return ProfileUnit(name.substr(kSimPrefix.size()), error);
  } else if (name.starts_with(device::kTcpDevicePrefix)) {
    if (const auto server = device::ParseTcpDeviceName(name, error)) {
      choice.transport = std::make_unique<device::TcpTransport>(*server, std::string(token));
    } else {
      error = "bad device: " + error;
      choice.badName = true;
    }
  } else {
    error = "unknown device '" + std::string(name) +
            "' (use usb, sim, sim:demo, sim:FILE.wpf or tcp://HOST:PORT)";
    choice.badName = true;
  }
  return choice;
}

}  // namespace cli
