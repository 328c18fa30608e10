// Parameter write commands of group 1 (op 0xBB).
//
// Every encoder takes plain numbers in the model's units and lays them out as the unit expects.
// `syncMode` false queues the command (dropped while the queue is disabled); true sends it on the
// calling thread and waits up to 10 s for the reply, which is decoded and posted like any other.
// Range commands take a first and a last channel and one value per channel, element 0 belonging
// to the first; a last channel below the first sends only the header. Values that do not cover
// the range, or a payload too long for one frame, are logged and nothing is sent.
#pragma once

#include <cstdint>
#include <span>

#include "device/value_encoding.h"

namespace device {

class DspDevice;

// The unit takes the main volume as 6 minus the volume in dB and reports it back in dB.
constexpr int MainVolumeCode(int volumeDb) {
  return 6 - volumeDb;
}
constexpr int VolumeFromCode(int code) {
  return 6 - code;
}
// The unit takes a trim as its attenuation (-6 dB is sent as 6) and reports it back as the trim.
constexpr float TrimAttenuation(float trimDb) {
  return -trimDb;
}
// Input source s travels as the unit's source id 0x51 + s.
inline constexpr int kFirstSourceId = 0x51;
constexpr int SourceId(int source) {
  return kFirstSourceId + source;
}

// Crossover filter index of Filter_Ctrl.
inline constexpr int kLowPassFilter = 1;
inline constexpr int kHighPassFilter = 2;

struct ChannelPair {
  int from = 0;
  int to = 0;
};

void Source_Switch_Ctrl(DspDevice& device, int source, bool syncMode);
void Main_Volume_Ctrl(DspDevice& device, int volumeCode, bool syncMode);
void Subwoofer_Volume_Ctrl(DspDevice& device, int volume, bool syncMode);
void Mute_All_Ctrl(DspDevice& device, int mute, bool syncMode);

void Filter_Ctrl(DspDevice& device, int scene, int source, int ch, int filterIndex, int freq,
                 int slope, int type, bool syncMode);
void EQ_Ctrl(DspDevice& device, int scene, int source, int ch, int band, int freq, float q,
             float gain, bool syncMode);
void Delay_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                std::span<const float> delaysMs, bool syncMode);
// Sends each trim truncated to whole dB; callers pass TrimAttenuation of the model's trim.
void Trim_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
               std::span<const float> trimsDb, bool syncMode);
void Mute_Ch_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                  std::span<const int> mutes, bool syncMode);
void Phase_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                std::span<const int> phases, bool syncMode);
// One input mask per output: one byte while the unit has at most 8 inputs, else two.
void Mix_Ch_Ctrl(DspDevice& device, int scene, int source, int outX, int outY,
                 std::span<const std::uint32_t> masks, bool syncMode);
void Remap_Ch_Ctrl(DspDevice& device, int scene, int source, int output,
                   std::span<const int> inputs, bool syncMode);
void CH_Type_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                  std::span<const int> types, bool syncMode);
void CH_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                  bool syncMode);
void CH_Lock_Ctrl(DspDevice& device, int scene, int lock, bool syncMode);
void DSP_Bypass_Ctrl(DspDevice& device, int scene, int source, int bypass, bool syncMode);
void PEQ_Reset_Ctrl(DspDevice& device, int scene, int source, std::span<const int> channels,
                    bool syncMode);
void PEQ_Bypass_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                     std::span<const int> bypass, bool syncMode);
void CH_Trim_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                       bool syncMode);
void CH_Delay_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                        bool syncMode);

// Auto calibration.
void IRC_Ctrl(DspDevice& device, int on, int ircch, int ircEqMode, bool syncMode);
void IRC_Set_Test_Mic(DspDevice& device, int on, bool syncMode);
void IRC_Sel_Test_Module(DspDevice& device, int module, bool syncMode);

// Input channels.
void Input_Trim_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                     std::span<const int> trims, bool syncMode);
void Mute_Input_Ch_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                        std::span<const int> mutes, bool syncMode);
void Input_Phase_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                      std::span<const int> phases, bool syncMode);
void Input_EQ_Ctrl(DspDevice& device, int scene, int source, int ch, int bandX, int bandY,
                   std::span<const EqBandValue> bands, bool syncMode);
// Mix levels of one input into outputs outX..outY.
void Input_Mix_Trim_Ctrl(DspDevice& device, int scene, int source, int inCh, int outX, int outY,
                         std::span<const int> trims, bool syncMode);
// Mix levels of inputs inX..inY into one output.
void Output_Mix_Trim_Ctrl(DspDevice& device, int scene, int source, int inX, int inY, int outCh,
                          std::span<const int> trims, bool syncMode);
void Input_Ch_Threshold_Ctrl(DspDevice& device, int threshold, bool syncMode);
void Sel_Remote_CH_Ctrl(DspDevice& device, int selection, bool syncMode);
// Command 51 carries one byte whose meaning only the unit knows.
void DSP_Cmd51_Ctrl(DspDevice& device, int value, bool syncMode);

}  // namespace device
