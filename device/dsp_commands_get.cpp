#include "device/dsp_commands_get.h"

#include <utility>

#include "device/command_builder.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"

namespace device {

namespace {

// The source configuration is a quick question; everything else may take the unit a while.
constexpr int kSourceConfigTimeoutMs = 500;

bool Request(DspDevice& device, std::uint8_t command, Bytes payload = {},
             int timeoutMs = kReplyTimeoutMs) {
  return SubmitCommand(device, kGroupDsp, command, kOpGet, std::move(payload), true, timeoutMs);
}

bool RequestRange(DspDevice& device, std::uint8_t command, int scene, int source, int first,
                  int last) {
  return Request(device, command, {LowByte(scene), LowByte(source), LowByte(first), LowByte(last)});
}

bool RequestBands(DspDevice& device, std::uint8_t command, int scene, int source, int ch, int bandX,
                  int bandY) {
  return Request(device, command,
                 {LowByte(scene), LowByte(source), LowByte(ch), LowByte(bandX), LowByte(bandY)});
}

}  // namespace

bool Get_Source_Config(DspDevice& device) {
  DebugLogA("Get_Source_Config\n");
  return Request(device, dsp::kSourceConfig, {}, kSourceConfigTimeoutMs);
}

bool Get_Source(DspDevice& device) {
  DebugLogA("Get_Source\n");
  return Request(device, dsp::kSource);
}

bool Get_Main_Volume(DspDevice& device) {
  DebugLogA("Get_Main_Volume\n");
  return Request(device, dsp::kMainVolume);
}

bool Get_Subwoofer_Volume(DspDevice& device) {
  DebugLogA("Get_Subwoofer_Volume\n");
  return Request(device, dsp::kSubVolume);
}

bool Get_Mute(DspDevice& device) {
  DebugLogA("Get_Mute\n");
  return Request(device, dsp::kMuteAll);
}

bool Get_Filter(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Filter: channel(%d) to channel(%d) @source(%d), scene(%d)\n", chX, chY, source,
            scene);
  return RequestRange(device, dsp::kFilter, scene, source, chX, chY);
}

bool Get_EQ(DspDevice& device, int scene, int source, int ch, int bandX, int bandY) {
  DebugLogA("Get_EQ: band(%d) band_end(%d) @channel(%d) @source(%d), scene(%d)\n", bandX, bandY, ch,
            source, scene);
  return RequestBands(device, dsp::kEq, scene, source, ch, bandX, bandY);
}

bool Get_Delay(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Delay: scene(%d), channel(%d)\n", scene, chX);
  return RequestRange(device, dsp::kDelay, scene, source, chX, chY);
}

bool Get_Trim(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Trim: scene(%d), channel(%d)\n", scene, chX);
  return RequestRange(device, dsp::kTrim, scene, source, chX, chY);
}

bool Get_Mute_Ch(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Mute_Ch: scene(%d), channel(%d)\n", scene, chX);
  return RequestRange(device, dsp::kMuteCh, scene, source, chX, chY);
}

bool Get_Phase(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Phase: scene(%d), channel(%d)\n", scene, chX);
  return RequestRange(device, dsp::kPhase, scene, source, chX, chY);
}

bool Get_Mix_Ch(DspDevice& device, int scene, int source, int outX, int outY) {
  DebugLogA("Get_Mix_Ch: scene(%d), output_channel(%d)\n", scene, outX);
  return RequestRange(device, dsp::kMix, scene, source, outX, outY);
}

bool Get_Remap_Ch(DspDevice& device, int scene, int source, int output) {
  DebugLogA("Get_Remap_Ch: scene(%d), source(%d), output_channel(%d)\n", scene, source, output);
  return Request(device, dsp::kRemap, {LowByte(scene), LowByte(source), LowByte(output)});
}

bool Get_CH_Type(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_CH_Type: scene(%d), channel(%d), channel_end(%d)\n", scene, chX, chY);
  return RequestRange(device, dsp::kChType, scene, source, chX, chY);
}

bool Get_CH_Link(DspDevice& device, int scene) {
  DebugLogA("Get_CH_Link: scene(%d)\n", scene);
  return Request(device, dsp::kChLink, {LowByte(scene)});
}

bool Get_CH_Lock(DspDevice& device, int scene) {
  DebugLogA("Get_CH_Lock: scene(%d)\n", scene);
  return Request(device, dsp::kChLock, {LowByte(scene)});
}

bool Get_All_Bypass(DspDevice& device, int scene, int source) {
  DebugLogA("Get_All_Bypass: scene(%d), source(%d)\n", scene, source);
  return Request(device, dsp::kDspBypass, {LowByte(scene), LowByte(source)});
}

bool Get_PEQ_Reset(DspDevice& device, int scene) {
  DebugLogA("Get_PEQ_Reset: scene(%d)\n", scene);
  return Request(device, dsp::kPeqReset, {LowByte(scene)});
}

bool Get_PEQ_Bypass(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_PEQ_Bypass: scene(%d), channel(%d)\n", scene, chX);
  return RequestRange(device, dsp::kPeqBypass, scene, source, chX, chY);
}

bool Get_CH_Trim_Link(DspDevice& device, int scene) {
  DebugLogA("Get_CH_Trim_Link: scene(%d)\n", scene);
  return Request(device, dsp::kTrimLink, {LowByte(scene)});
}

bool Get_CH_Delay_Link(DspDevice& device, int scene) {
  DebugLogA("Get_CH_Delay_Link: scene(%d)\n", scene);
  return Request(device, dsp::kDelayLink, {LowByte(scene)});
}

bool Get_Remote_CH(DspDevice& device) {
  DebugLogA("Get_Remote_CH\n");
  return Request(device, dsp::kRemoteChannel);
}

bool IRC_Get(DspDevice& device) {
  DebugLogA("IRC_Get\n");
  return Request(device, dsp::kIrc);
}

bool IRC_Get_Distance(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Distance from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcDistance, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_Trim(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Trim from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcTrim, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_EQ(DspDevice& device, int ch, int band, int bandEnd) {
  DebugLogA("IRC_Get_EQ: from band(%d) to band_end(%d) @channel(%d)\n", band, bandEnd, ch);
  return Request(device, dsp::kIrcEq, {LowByte(ch), LowByte(band), LowByte(bandEnd)});
}

bool IRC_Get_Spk_Size(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Spk_Size from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcSpkSize, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_Spk_Phase(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Spk_Phase from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcSpkPhase, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_Spk_Level(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Spk_Level from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcSpkLevel, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_Spectrum(DspDevice& device, int ch, int band, int bandEnd) {
  DebugLogA("IRC_Get_Spectrum: from band(%d) to band_end(%d) @channel(%d)\n", band, bandEnd, ch);
  return Request(device, dsp::kIrcSpectrum, {LowByte(ch), LowByte(band), LowByte(bandEnd)});
}

bool IRC_Get_Noise_Level(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_Noise_Level from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcNoiseLevel, {LowByte(ch), LowByte(chEnd)});
}

bool IRC_Get_RTA(DspDevice& device, int ch, int chEnd) {
  DebugLogA("IRC_Get_RTA from ch(%d) to ch_end(%d)\n", ch, chEnd);
  return Request(device, dsp::kIrcRta, {LowByte(ch), LowByte(chEnd)});
}

bool Get_Input_Trim(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Input_Trim: scene(%d), in_ch_x(%d) to in_ch_y(%d)\n", scene, chX, chY);
  return RequestRange(device, dsp::kInputTrim, scene, source, chX, chY);
}

bool Get_Mute_Input_Ch(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Mute_Input_Ch: scene(%d), in_ch_x(%d) to in_ch_y(%d)\n", scene, chX, chY);
  return RequestRange(device, dsp::kInputMute, scene, source, chX, chY);
}

bool Get_Input_Phase(DspDevice& device, int scene, int source, int chX, int chY) {
  DebugLogA("Get_Input_Phase: scene(%d), in_ch_x(%d) to in_ch_y(%d)\n", scene, chX, chY);
  return RequestRange(device, dsp::kInputPhase, scene, source, chX, chY);
}

bool Get_Input_EQ(DspDevice& device, int scene, int source, int ch, int bandX, int bandY) {
  DebugLogA("Get_Input_EQ: band(%d) band_end(%d) @in_channel(%d) @source(%d), scene(%d)\n", bandX,
            bandY, ch, source, scene);
  return RequestBands(device, dsp::kInputEq, scene, source, ch, bandX, bandY);
}

bool Get_Input_Mix_CH_Trim(DspDevice& device, int scene, int source, int inCh, int outX, int outY) {
  DebugLogA("Get_Input_Mix_CH_Trim: scene(%d), in_channel(%d), out_ch_x(%d) to out_ch_y(%d)\n",
            scene, inCh, outX, outY);
  return Request(device, dsp::kInputMixTrim,
                 {LowByte(scene), LowByte(source), LowByte(inCh), LowByte(outX), LowByte(outY)});
}

bool Get_Input_Threshold(DspDevice& device, int scene, int source, bool syncMode) {
  DebugLogA("Get_Input_Threshold: scene(%d), source(%d)\n", scene, source);
  return SubmitCommand(device, kGroupDsp, dsp::kInputThreshold, kOpGet,
                       {LowByte(scene), LowByte(source)}, syncMode);
}

bool Get_Input_Noise(DspDevice& device, int chX, int chY, bool syncMode) {
  DebugLogA("Get_Input_Noise: ch_x(%d) to ch_y(%d)\n", chX, chY);
  return SubmitCommand(device, kGroupDsp, dsp::kInputNoise, kOpGet, {LowByte(chX), LowByte(chY)},
                       syncMode);
}

}  // namespace device
