// Decoders of the parameter groups' replies. DspDevice::DispatchReply hands each complete reply
// body (byte 0 reply code, byte 1 op, payload from byte 2) to the decoder of its group. They run
// on whatever thread read the report and only post notifications to the device's windows.
#pragma once

#include <cstdint>
#include <span>

namespace device {

class DspDevice;

void DecodeDspReply(DspDevice& device, std::span<const std::uint8_t> body);    // group 1
void DecodeSceneReply(DspDevice& device, std::span<const std::uint8_t> body);  // group 2
void DecodeKtvReply(DspDevice& device, std::span<const std::uint8_t> body);    // group 7

}  // namespace device
