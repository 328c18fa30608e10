// Untrusted command frames into the virtual unit, and its answers back through the decoders.
//
// The virtual unit serves other processes over TCP, so every command payload is input from
// outside. The fuzz input is a list of commands: group selector, command, op selector, payload
// length, payload. Each becomes a well-formed command frame written to the unit; every report it
// answers with is handed to DspDevice's frame parser and decoders.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>

#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/frame.h"
#include "platform/queued_poster.h"
#include "sim/virtual_unit.h"
#include "sim/virtual_unit_transport.h"

namespace {

constexpr platform::WindowHandle kWindow = 1;
constexpr std::uint8_t kGroups[] = {device::kGroupDsp, device::kGroupScene, device::kGroupMcu,
                                    device::kGroupKtv};
constexpr std::uint8_t kOps[] = {device::kOpSet, device::kOpGet};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const auto poster = [] {
    auto recording = std::make_shared<platform::QueuedPoster>();
    recording->OpenWindow(kWindow);
    platform::InstallPoster(recording);
    return recording;
  }();

  auto unit = std::make_shared<sim::VirtualUnit>();
  device::DspDevice pc(std::make_unique<sim::VirtualUnitTransport>(unit));
  for (auto role : {device::DspDevice::WindowRole::Main, device::DspDevice::WindowRole::Scene,
                    device::DspDevice::WindowRole::AutoCal, device::DspDevice::WindowRole::Tool}) {
    pc.SetWindow(role, kWindow);
  }
  pc.OpenHIDDevice();

  std::span<const std::uint8_t> input(data, size);
  while (input.size() >= 4) {
    const std::uint8_t group = kGroups[input[0] % std::size(kGroups)];
    const std::uint8_t command = input[1];
    const std::uint8_t op = kOps[input[2] % std::size(kOps)];
    const std::size_t length =
        std::min<std::size_t>({input[3], device::kMaxPayload, input.size() - 4});
    const auto payload = input.subspan(4, length);
    input = input.subspan(4 + length);
    // Factory default and reboot only cost time here.
    if (group == device::kGroupMcu && command >= 143 && command <= 144) {
      continue;
    }
    pc.SendCtrlCommand(group, command, op, payload.data(), static_cast<std::uint8_t>(length));
    // Whatever the unit answered is decoded; a command without an answer just times out at once.
    pc.ReadReply(0);
    pc.ReadReply(0);
  }
  poster->TakeAll();
  return 0;
}
