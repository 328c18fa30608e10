// Karaoke effect values of group 7, one command per effect (codes in parameter_codes.h: ktv::).
// Every value is one byte except the echo delay, which is 16-bit; bass and treble gain are signed.
#pragma once

namespace device {

class DspDevice;

// Writes one effect value. Queued with syncMode false, like the parameter commands.
void KTV_Ctrl(DspDevice& device, int effect, int value, bool syncMode);
// Asks for one effect value; true when a report arrived.
bool Get_KTV(DspDevice& device, int effect);

}  // namespace device
