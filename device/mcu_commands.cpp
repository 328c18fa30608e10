#include "device/mcu_commands.h"

#include <string>

#include "platform/debug_log.h"

namespace device {
namespace {

bool Request(DspDevice& device, std::uint8_t command, int timeoutMs) {
  return device.Submit(CommandRecord{kGroupMcu, command, kOpGet, {}}, true, timeoutMs);
}

}  // namespace

void PC_Connect(DspDevice& device, std::uint8_t value) {
  DebugLogA("PC_Connect = %d\n", value);
  const std::uint8_t payload[] = {value};
  device.SendCtrlCommand(kGroupMcu, kMcuPcConnect, kOpSet, payload, sizeof payload);
}

bool Hand_Connect(DspDevice& device, int timeoutMs) {
  DebugLogA("Hand_Connect\n");
  const std::uint32_t before = device.HandshakeReplies();
  device.SendCtrlCommand(kGroupMcu, kMcuHandshake, kOpSet, nullptr, 0);
  // A unit may answer PC_Connect, or report on its own, before it answers the handshake: what
  // comes first is dispatched like any reply, and the reading goes on.
  return device.ReadReplyUntil([&] { return device.HandshakeReplies() != before; }, timeoutMs);
}

bool Get_Flash_Version(DspDevice& device, int timeoutMs) {
  DebugLogA("Get_Flash_Version\n");
  return Request(device, kMcuFlashVersion, timeoutMs);
}

bool Get_Bootloader_Version(DspDevice& device, int timeoutMs) {
  DebugLogA("Get_Bootloader_Version\n");
  return Request(device, kMcuBootloaderVersion, timeoutMs);
}

bool Get_Mcu_Text(DspDevice& device, int timeoutMs) {
  return Request(device, kMcuText, timeoutMs);
}

bool Get_Password(DspDevice& device, int timeoutMs) {
  return Request(device, kMcuPassword, timeoutMs);
}

bool SetPWD(DspDevice& device, std::string_view password, std::string_view remark, int timeoutMs) {
  if (password.size() > kMaxPasswordBytes || remark.size() > kMaxRemarkBytes) {
    DebugLogA("SetPWD refused: password %zu bytes (at most %zu), remark %zu bytes (at most %zu)\n",
              password.size(), kMaxPasswordBytes, remark.size(), kMaxRemarkBytes);
    return false;
  }
  DebugLogA("SetPWD len(%d), (password)%s\n", static_cast<int>(password.size()),
            std::string(password).c_str());
  CommandRecord record{kGroupMcu, kMcuPassword, kOpSet, {}};
  record.payload.push_back(static_cast<std::uint8_t>(password.size()));
  record.payload.insert(record.payload.end(), password.begin(), password.end());
  record.payload.push_back(static_cast<std::uint8_t>(remark.size()));
  record.payload.insert(record.payload.end(), remark.begin(), remark.end());
  return device.Submit(std::move(record), true, timeoutMs);
}

}  // namespace device
