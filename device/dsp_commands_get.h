// Read requests of group 1 (op 0x66). Each is sent at once and followed by one reply wait, so
// that when it returns the reply has been decoded and posted; the result says whether a report
// arrived. The two requests that take `syncMode` may be queued instead (the result is then
// whether the request was queued).
#pragma once

namespace device {

class DspDevice;

bool Get_Source_Config(DspDevice& device);
bool Get_Source(DspDevice& device);
bool Get_Main_Volume(DspDevice& device);
bool Get_Subwoofer_Volume(DspDevice& device);
bool Get_Mute(DspDevice& device);
bool Get_Filter(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_EQ(DspDevice& device, int scene, int source, int ch, int bandX, int bandY);
bool Get_Delay(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Trim(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Mute_Ch(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Phase(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Mix_Ch(DspDevice& device, int scene, int source, int outX, int outY);
bool Get_Remap_Ch(DspDevice& device, int scene, int source, int output);
bool Get_CH_Type(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_CH_Link(DspDevice& device, int scene);
bool Get_CH_Lock(DspDevice& device, int scene);
bool Get_All_Bypass(DspDevice& device, int scene, int source);
bool Get_PEQ_Reset(DspDevice& device, int scene);
bool Get_PEQ_Bypass(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_CH_Trim_Link(DspDevice& device, int scene);
bool Get_CH_Delay_Link(DspDevice& device, int scene);
bool Get_Remote_CH(DspDevice& device);

// Auto calibration: status poll and measurements.
bool IRC_Get(DspDevice& device);
bool IRC_Get_Distance(DspDevice& device, int ch, int chEnd);
bool IRC_Get_Trim(DspDevice& device, int ch, int chEnd);
bool IRC_Get_EQ(DspDevice& device, int ch, int band, int bandEnd);
bool IRC_Get_Spk_Size(DspDevice& device, int ch, int chEnd);
bool IRC_Get_Spk_Phase(DspDevice& device, int ch, int chEnd);
bool IRC_Get_Spk_Level(DspDevice& device, int ch, int chEnd);
bool IRC_Get_Spectrum(DspDevice& device, int ch, int band, int bandEnd);
bool IRC_Get_Noise_Level(DspDevice& device, int ch, int chEnd);
bool IRC_Get_RTA(DspDevice& device, int ch, int chEnd);

// Input channels.
bool Get_Input_Trim(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Mute_Input_Ch(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Input_Phase(DspDevice& device, int scene, int source, int chX, int chY);
bool Get_Input_EQ(DspDevice& device, int scene, int source, int ch, int bandX, int bandY);
bool Get_Input_Mix_CH_Trim(DspDevice& device, int scene, int source, int inCh, int outX, int outY);
bool Get_Input_Threshold(DspDevice& device, int scene, int source, bool syncMode);
bool Get_Input_Noise(DspDevice& device, int chX, int chY, bool syncMode);

}  // namespace device
