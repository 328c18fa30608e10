// Decoder of group 3 (MCU) replies.
#pragma once

#include <cstdint>
#include <span>

namespace device {

class DspDevice;

// Decodes one reply body (reply code, op, payload). Updates the handshake state of `device` and
// posts what the reply carries to its main window. Bodies too short for their fields are ignored.
void DecodeMcuReply(DspDevice& device, std::span<const std::uint8_t> body);

}  // namespace device
