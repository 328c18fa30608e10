#include "device/command_builder.h"

#include <utility>

#include "device/command_record.h"
#include "device/dsp_device.h"
#include "platform/debug_log.h"

namespace device {

bool SubmitCommand(DspDevice& device, std::uint8_t group, std::uint8_t command, std::uint8_t op,
                   Bytes payload, bool syncMode, int timeoutMs) {
  if (payload.size() > kMaxPayload) {
    DebugLogA("command %u/%u: payload of %zu bytes does not fit a frame, not sent\n", group,
              command, payload.size());
    return false;
  }
  return device.Submit(CommandRecord{group, command, op, std::move(payload)}, syncMode, timeoutMs);
}

bool SubmitCommand(DspDevice& device, std::uint8_t group, std::uint8_t command, std::uint8_t op,
                   Bytes payload, bool syncMode) {
  return SubmitCommand(device, group, command, op, std::move(payload), syncMode, kReplyTimeoutMs);
}

bool LogShortRange(const char* name, std::size_t have, int first, int last) {
  DebugLogA("%s: %zu values for channels %d..%d, not sent\n", name, have, first, last);
  return false;
}

}  // namespace device
