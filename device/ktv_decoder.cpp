// Group 7 replies: one karaoke effect value each, posted to the main window.

#include "device/byte_reader.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/ktv_records.h"
#include "device/reply_decoders.h"
#include "device/value_encoding.h"

namespace device {

void DecodeKtvReply(DspDevice& device, std::span<const std::uint8_t> body) {
  const ByteReader view(body);
  const std::uint8_t code = view.At(kReplyCodeByte);
  if (!view.Has(kReplyPayloadByte) || view.At(kReplyOpByte) != kOpReply || code < ktv::kMicVolume ||
      code > ktv::kTrebleGain) {
    return;
  }
  const std::uint8_t first = view.At(kReplyPayloadByte);
  int value = first;
  if (code == ktv::kEchoDelay) {
    if (!view.Has(kReplyPayloadByte, 2)) {
      return;
    }
    value = BigEndian16(first, view.At(kReplyPayloadByte + 1));
  } else if (code == ktv::kBassGain || code == ktv::kTrebleGain) {
    value = SignedByte(first);
  }
  platform::PostMessage(device.Window(DspDevice::WindowRole::Main), platform::msg::kKtvNotify, code,
                        value);
}

}  // namespace device
