// The unit's MCU: connection, handshake, versions, text and password.
#include <string>

#include "device/mcu_protocol.h"
#include "sim/virtual_unit.h"

namespace sim {

void VirtualUnit::HandleMcu(const device::CommandRecord& command) {
  using namespace device;
  if (HandleUpgrade(command) || HandleMcuAction(command)) {
    return;
  }
  const auto reply = [&](std::vector<std::uint8_t> payload, std::uint8_t op = kOpReply) {
    payload.insert(payload.begin(), {command.command, op});
    Reply(kGroupMcu, payload);
  };
  const bool get = command.op == kOpGet;
  const bool set = command.op == kOpSet;
  switch (command.command) {
    case kMcuPcConnect:
      // Not answered unless asked: the PC reads nothing after announcing itself, so an answer
      // reaches the reads of the next command, which must cope with it.
      if (set && !command.payload.empty()) {
        mPcConnected = command.payload[0] == kPcConnected;
        if (mAnswerPcConnect) {
          reply({command.payload[0]});
        }
      }
      break;
    case kMcuHandshake:
      if (!set) {
        break;
      }
      if (mRefuseHandshake) {
        reply({kHandshakeRefusal});
      } else {
        reply({0x00, mIdentity.model, mIdentity.masterVersion, mIdentity.slaveVersion});
      }
      break;
    case kMcuFlashVersion:
      if (get) {
        reply({mIdentity.flashVersion.begin(), mIdentity.flashVersion.end()});
      }
      break;
    case kMcuBootloaderVersion:
      if (get) {
        reply({mIdentity.bootloaderVersion});
      }
      break;
    case kMcuText:
      if (get) {
        std::vector<std::uint8_t> text{static_cast<std::uint8_t>(mIdentity.mcuText.size())};
        text.insert(text.end(), mIdentity.mcuText.begin(), mIdentity.mcuText.end());
        reply(std::move(text));
      }
      break;
    case kMcuPassword:
      if (get) {
        std::vector<std::uint8_t> payload{static_cast<std::uint8_t>(mPassword.size())};
        payload.insert(payload.end(), mPassword.begin(), mPassword.end());
        payload.push_back(static_cast<std::uint8_t>(mRemark.size()));
        payload.insert(payload.end(), mRemark.begin(), mRemark.end());
        reply(std::move(payload));
      } else if (set) {
        // Payload: n, n password bytes, m, m remark bytes; a malformed one is refused.
        const auto& p = command.payload;
        const std::size_t n = p.empty() ? 0 : p[0];
        const bool wellFormed = !p.empty() && n <= kMaxPasswordBytes && 1 + n < p.size() &&
                                p[1 + n] <= kMaxRemarkBytes && 2 + n + p[1 + n] == p.size();
        if (!wellFormed) {
          reply({kAckNotReady}, kOpAck);
          break;
        }
        mPassword.assign(p.begin() + 1, p.begin() + 1 + static_cast<long>(n));
        mRemark.assign(p.begin() + 2 + static_cast<long>(n), p.end());
        reply({kAckReady}, kOpAck);
      }
      break;
    default:
      break;
  }
}

}  // namespace sim
