// The unit's karaoke effects (group 7) and the MCU's parameter actions (power-off delay,
// factory default, reboot).

#include "device/byte_reader.h"
#include "device/parameter_codes.h"
#include "sim/peer_support.h"
#include "sim/virtual_unit.h"

namespace sim {

void VirtualUnit::HandleKtv(const device::CommandRecord& command) {
  const int code = command.command;
  if (code < device::ktv::kMicVolume || code > device::ktv::kTrebleGain) {
    return;
  }
  const device::ByteReader in(command.payload);
  auto& value = mState.ktv[static_cast<std::size_t>(code - 1)];
  const bool wide = code == device::ktv::kEchoDelay;
  if (command.op == device::kOpSet) {
    const bool ok = in.Has(0, wide ? 2 : 1);
    if (ok) {
      value = static_cast<std::uint16_t>(wide ? device::BigEndian16(in.At(0), in.At(1)) : in.At(0));
    }
    Reply(device::kGroupKtv,
          AckBody(command.command, ok ? device::kAckReady : device::kAckNotReady));
  } else if (command.op == device::kOpGet) {
    device::Bytes body{command.command, device::kOpReply};
    if (wide) {
      device::PutU16(body, value);
    } else {
      body.push_back(device::LowByte(value));
    }
    Reply(device::kGroupKtv, body);
  }
}

bool VirtualUnit::HandleMcuAction(const device::CommandRecord& command) {
  const device::ByteReader in(command.payload);
  const bool set = command.op == device::kOpSet;
  switch (command.command) {
    case device::kMcuPowerOffDelay:
      if (set && in.Has(0, 2)) {
        mState.powerOffDelayMs =
            static_cast<std::uint16_t>(device::BigEndian16(in.At(0), in.At(1)));
        Reply(device::kGroupMcu, AckBody(command.command, device::kAckReady));
      } else if (command.op == device::kOpGet) {
        device::Bytes body{command.command, device::kOpReply};
        device::PutU16(body, mState.powerOffDelayMs);
        Reply(device::kGroupMcu, body);
      }
      return true;
    case device::kMcuFactoryDefault:
      if (set) {
        // The noise levels are the room's, not a setting: they survive the reset.
        const auto noise = mState.inputNoiseDb;
        mState = FactoryUnitState();
        mState.inputNoiseDb = noise;
        Reply(device::kGroupMcu, AckBody(command.command, device::kAckReady));
      }
      return true;
    case device::kMcuReboot:
      if (set) {
        Reply(device::kGroupMcu, AckBody(command.command, device::kAckReady));
        ScheduleRestart(Restart::Normal);
      }
      return true;
    default:
      return false;
  }
}

}  // namespace sim
