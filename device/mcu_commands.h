// Group 3 (MCU) commands: connection, handshake, versions and password. All of them are sent at
// once on the calling thread, never queued. Those that wait return whether a report arrived in
// time (the handshake: whether its own reply did); the decoded reply has then been posted.
#pragma once

#include <string_view>

#include "device/dsp_device.h"
#include "device/mcu_protocol.h"

namespace device {

// Announces the PC (kPcConnected) or its leaving (kPcLeaving); reads nothing.
void PC_Connect(DspDevice& device, std::uint8_t value);
// Reads until the handshake's own reply (accepted or refused) has been decoded or `timeoutMs`
// has passed, dispatching whatever else arrives first.
bool Hand_Connect(DspDevice& device, int timeoutMs = kReplyTimeoutMs);
bool Get_Flash_Version(DspDevice& device, int timeoutMs = kVersionTimeoutMs);
bool Get_Bootloader_Version(DspDevice& device, int timeoutMs = kVersionTimeoutMs);
bool Get_Mcu_Text(DspDevice& device, int timeoutMs = kReplyTimeoutMs);
bool Get_Password(DspDevice& device, int timeoutMs = kReplyTimeoutMs);
// Stores a password (at most 12 bytes) and a remark (at most 20 bytes) in the unit. Longer ones
// are refused (false, nothing sent) rather than cut.
bool SetPWD(DspDevice& device, std::string_view password, std::string_view remark,
            int timeoutMs = kReplyTimeoutMs);

}  // namespace device
