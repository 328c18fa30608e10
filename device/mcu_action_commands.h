// Group 3 actions that belong to the parameter command set: the power-off delay, the factory
// default and the MCU reboot. Each returns the result of its reply wait (or, for a queued
// Set_Power_Off_Time, whether it was queued).
#pragma once

namespace device {

class DspDevice;

bool Set_Power_Off_Time(DspDevice& device, int milliseconds, bool syncMode);
bool Get_Delay_Power_Off_Time(DspDevice& device);
// Restores the unit's factory settings; the unit reboots afterwards.
bool Factory_Default_Ctrl(DspDevice& device);
bool MCU_Reboot_Ctrl(DspDevice& device);

}  // namespace device
