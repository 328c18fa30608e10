#include "device/dsp_commands.h"

#include <utility>

#include "device/command_builder.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"

namespace device {

namespace {

void SubmitSet(DspDevice& device, std::uint8_t command, Bytes payload, bool syncMode) {
  SubmitCommand(device, kGroupDsp, command, kOpSet, std::move(payload), syncMode);
}

// The header of every range command: scene, source, first, last.
Bytes RangeHeader(int scene, int source, int first, int last) {
  return {LowByte(scene), LowByte(source), LowByte(first), LowByte(last)};
}

// Range commands whose channels take one byte each. `perChannelLog` gets scene, channel, value.
void SendByteRange(DspDevice& device, std::uint8_t command, const char* name,
                   const char* perChannelLog, int scene, int source, int first, int last,
                   std::span<const int> values, bool syncMode) {
  Bytes payload = RangeHeader(scene, source, first, last);
  const bool covered =
      AppendRange(payload, name, first, last, values, [&](Bytes& out, int channel, int value) {
        DebugLogA(perChannelLog, scene, channel, value);
        out.push_back(LowByte(value));
      });
  if (covered) {
    SubmitSet(device, command, std::move(payload), syncMode);
  }
}

// Link commands: scene, link, pair count, then from and to of each pair.
void SendLink(DspDevice& device, std::uint8_t command, const char* name, int scene, int link,
              std::span<const ChannelPair> pairs, bool syncMode) {
  DebugLogA("%s scene(%d), link(%d), ch_count(%zu)\n", name, scene, link, pairs.size());
  Bytes payload{LowByte(scene), LowByte(link), LowByte(static_cast<int>(pairs.size()))};
  for (const ChannelPair& pair : pairs) {
    DebugLogA("from ch(%d) to ch(%d)\n", pair.from, pair.to);
    payload.push_back(LowByte(pair.from));
    payload.push_back(LowByte(pair.to));
  }
  SubmitSet(device, command, std::move(payload), syncMode);
}

void SendOneByte(DspDevice& device, std::uint8_t command, int value, bool syncMode) {
  SubmitSet(device, command, {LowByte(value)}, syncMode);
}

}  // namespace

void Source_Switch_Ctrl(DspDevice& device, int source, bool syncMode) {
  DebugLogA("Source_Switch_Ctrl: source(0x%x)\n", source);
  SendOneByte(device, dsp::kSource, source, syncMode);
}

void Main_Volume_Ctrl(DspDevice& device, int volumeCode, bool syncMode) {
  SendOneByte(device, dsp::kMainVolume, volumeCode, syncMode);
}

void Subwoofer_Volume_Ctrl(DspDevice& device, int volume, bool syncMode) {
  SendOneByte(device, dsp::kSubVolume, volume, syncMode);
}

void Mute_All_Ctrl(DspDevice& device, int mute, bool syncMode) {
  SendOneByte(device, dsp::kMuteAll, mute, syncMode);
}

void Filter_Ctrl(DspDevice& device, int scene, int source, int ch, int filterIndex, int freq,
                 int slope, int type, bool syncMode) {
  DebugLogA(
      "Filter_Ctrl scene@(%d), source(%d), ch(%d), iFilter(%d), freq(%d), slope(%d), type(%d)\n",
      scene, source, ch, filterIndex, freq, slope, type);
  Bytes payload{LowByte(scene), LowByte(source), LowByte(ch), LowByte(filterIndex), LowByte(type)};
  PutU16(payload, freq);
  payload.push_back(LowByte(slope));
  SubmitSet(device, dsp::kFilter, std::move(payload), syncMode);
}

void EQ_Ctrl(DspDevice& device, int scene, int source, int ch, int band, int freq, float q,
             float gain, bool syncMode) {
  DebugLogA("EQ_Ctrl: gain(%.2f) ,freqValue(%d) ,qValue(%f) @ band(%d) @channel(%d) @scene(%d)\n",
            gain, freq, q, band, ch, scene);
  Bytes payload{LowByte(scene), LowByte(source), LowByte(ch), LowByte(band)};
  PutEqBand(payload, freq, q, gain);
  SubmitSet(device, dsp::kEq, std::move(payload), syncMode);
}

void Delay_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                std::span<const float> delaysMs, bool syncMode) {
  Bytes payload = RangeHeader(scene, source, chX, chY);
  const bool covered = AppendRange(
      payload, "Delay_Ctrl", chX, chY, delaysMs, [&](Bytes& out, int channel, float delay) {
        DebugLogA("Delay_Ctrl: scene(%d), channel(%d), delay(%.3f)\n", scene, channel, delay);
        PutDelay(out, delay);
      });
  if (covered) {
    SubmitSet(device, dsp::kDelay, std::move(payload), syncMode);
  }
}

void Trim_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
               std::span<const float> trimsDb, bool syncMode) {
  DebugLogA("destch_x = %d, dest_chy = %d\n", chX, chY);
  Bytes payload = RangeHeader(scene, source, chX, chY);
  const bool covered = AppendRange(
      payload, "Trim_Ctrl", chX, chY, trimsDb, [&](Bytes& out, int channel, float trim) {
        DebugLogA("Trim_Ctrl: scene(%d), channel(%d), trim(%.2f)\n", scene, channel, trim);
        out.push_back(LowByte(TruncSingle(trim)));
      });
  if (covered) {
    SubmitSet(device, dsp::kTrim, std::move(payload), syncMode);
  }
}

void Mute_Ch_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                  std::span<const int> mutes, bool syncMode) {
  SendByteRange(device, dsp::kMuteCh, "Mute_Ch_Ctrl",
                "Mute_Ch_Ctrl: scene(%d), channel(%d), mute(%d)\n", scene, source, chX, chY, mutes,
                syncMode);
}

void Phase_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                std::span<const int> phases, bool syncMode) {
  SendByteRange(device, dsp::kPhase, "Phase_Ctrl",
                "Phase_Ctrl: scene(%d), channel(%d), phase(%d)\n", scene, source, chX, chY, phases,
                syncMode);
}

void Mix_Ch_Ctrl(DspDevice& device, int scene, int source, int outX, int outY,
                 std::span<const std::uint32_t> masks, bool syncMode) {
  // Units with more than 8 inputs need two bytes per mask.
  const bool wideMasks = device.InputCount() > 8;
  Bytes payload = RangeHeader(scene, source, outX, outY);
  const bool covered = AppendRange(
      payload, "Mix_Ch_Ctrl", outX, outY, masks, [&](Bytes& out, int output, std::uint32_t mask) {
        DebugLogA("Mix_Ch_Ctrl: scene(%d), source(%d), output_channel(%d), input_ch(0x%x)\n", scene,
                  source, output, static_cast<unsigned>(mask));
        if (wideMasks) {
          PutU16(out, static_cast<int>(mask));
        } else {
          out.push_back(LowByte(static_cast<int>(mask)));
        }
      });
  if (covered) {
    SubmitSet(device, dsp::kMix, std::move(payload), syncMode);
  }
}

void Remap_Ch_Ctrl(DspDevice& device, int scene, int source, int output,
                   std::span<const int> inputs, bool syncMode) {
  DebugLogA("Remap_Ch_Ctrl: scene(%d), source(%d), output_channel(%d), count(%zu)\n", scene, source,
            output, inputs.size());
  Bytes payload{LowByte(scene), LowByte(source), LowByte(output)};
  for (int input : inputs) {
    payload.push_back(LowByte(input));
  }
  SubmitSet(device, dsp::kRemap, std::move(payload), syncMode);
}

void CH_Type_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                  std::span<const int> types, bool syncMode) {
  DebugLogA("CH_Type_Ctrl scene(%d), source(%d), ch_x(%d), ch_y(%d)\n", scene, source, chX, chY);
  Bytes payload = RangeHeader(scene, source, chX, chY);
  const bool covered =
      AppendRange(payload, "CH_Type_Ctrl", chX, chY, types, [](Bytes& out, int channel, int type) {
        DebugLogA("CH_Type_Ctrl channel(%d) -> t_ch_type(0x%x)\n", channel, type);
        out.push_back(LowByte(type));
      });
  if (covered) {
    SubmitSet(device, dsp::kChType, std::move(payload), syncMode);
  }
}

void CH_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                  bool syncMode) {
  SendLink(device, dsp::kChLink, "CH_Link_Ctrl", scene, link, pairs, syncMode);
}

void CH_Trim_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                       bool syncMode) {
  SendLink(device, dsp::kTrimLink, "CH_Trim_Link_Ctrl", scene, link, pairs, syncMode);
}

void CH_Delay_Link_Ctrl(DspDevice& device, int scene, int link, std::span<const ChannelPair> pairs,
                        bool syncMode) {
  SendLink(device, dsp::kDelayLink, "CH_Delay_Link_Ctrl", scene, link, pairs, syncMode);
}

void CH_Lock_Ctrl(DspDevice& device, int scene, int lock, bool syncMode) {
  SubmitSet(device, dsp::kChLock, {LowByte(scene), LowByte(lock)}, syncMode);
}

void DSP_Bypass_Ctrl(DspDevice& device, int scene, int source, int bypass, bool syncMode) {
  DebugLogA("DSP_Bypass_Ctrl: scene(%d), source(%d), bypass(%d)\n", scene, source, bypass);
  SubmitSet(device, dsp::kDspBypass, {LowByte(scene), LowByte(source), LowByte(bypass)}, syncMode);
}

void PEQ_Reset_Ctrl(DspDevice& device, int scene, int source, std::span<const int> channels,
                    bool syncMode) {
  DebugLogA("PEQ_Reset_Ctrl: scene(%d), ch_count(%zu), ", scene, channels.size());
  Bytes payload{LowByte(scene), LowByte(source), LowByte(static_cast<int>(channels.size()))};
  for (int channel : channels) {
    DebugLogA("ch(%d), ", channel);
    payload.push_back(LowByte(channel));
  }
  DebugLogA("\n");
  SubmitSet(device, dsp::kPeqReset, std::move(payload), syncMode);
}

void PEQ_Bypass_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                     std::span<const int> bypass, bool syncMode) {
  SendByteRange(device, dsp::kPeqBypass, "PEQ_Bypass_Ctrl",
                "PEQ_Bypass_Ctrl: scene(%d), channel(%d), bypass(%d)\n", scene, source, chX, chY,
                bypass, syncMode);
}

void IRC_Ctrl(DspDevice& device, int on, int ircch, int ircEqMode, bool syncMode) {
  DebugLogA("IRC_Ctrl: on(%d), ircch=0x%x, irc_eqmode = %d, syncMode(%d)\n", on, ircch, ircEqMode,
            syncMode);
  Bytes payload{LowByte(on)};
  PutU16(payload, ircch);
  payload.push_back(LowByte(ircEqMode));
  SubmitSet(device, dsp::kIrc, std::move(payload), syncMode);
}

void IRC_Set_Test_Mic(DspDevice& device, int on, bool syncMode) {
  DebugLogA("IRC_Set_Test_Mic: on(%d), syncMode(%d)\n", on, syncMode);
  SendOneByte(device, dsp::kIrcTestMic, on, syncMode);
}

void IRC_Sel_Test_Module(DspDevice& device, int module, bool syncMode) {
  DebugLogA("IRC_Sel_Test_Module: Module(0x%x), syncMode(%d)\n", module, syncMode);
  SendOneByte(device, dsp::kIrcTestModule, module, syncMode);
}

void Input_Trim_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                     std::span<const int> trims, bool syncMode) {
  SendByteRange(device, dsp::kInputTrim, "Input_Trim_Ctrl",
                "Input_Trim_Ctrl: scene(%d), in_channel(%d), trim(%d)\n", scene, source, chX, chY,
                trims, syncMode);
}

void Mute_Input_Ch_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                        std::span<const int> mutes, bool syncMode) {
  SendByteRange(device, dsp::kInputMute, "Mute_Input_Ch_Ctrl",
                "Mute_Input_Ch_Ctrl: scene(%d), in_channel(%d), mute(%d)\n", scene, source, chX,
                chY, mutes, syncMode);
}

void Input_Phase_Ctrl(DspDevice& device, int scene, int source, int chX, int chY,
                      std::span<const int> phases, bool syncMode) {
  SendByteRange(device, dsp::kInputPhase, "Input_Phase_Ctrl",
                "Input_Phase_Ctrl: scene(%d), in_channel(%d), phase(%d)\n", scene, source, chX, chY,
                phases, syncMode);
}

void Input_EQ_Ctrl(DspDevice& device, int scene, int source, int ch, int bandX, int bandY,
                   std::span<const EqBandValue> bands, bool syncMode) {
  Bytes payload{LowByte(scene), LowByte(source), LowByte(ch), LowByte(bandX), LowByte(bandY)};
  const bool covered =
      AppendRange(payload, "Input_EQ_Ctrl", bandX, bandY, bands,
                  [&](Bytes& out, int band, const EqBandValue& value) {
                    DebugLogA(
                        "Input_EQ_Ctrl: gain(%.2f) ,freqValue(%d) ,qValue(%f) @ band(%d) "
                        "@channel(%d) @scene(%d)\n",
                        value.gainDb, value.freqHz, value.q, band, ch, scene);
                    PutEqBand(out, value.freqHz, value.q, value.gainDb);
                  });
  if (covered) {
    SubmitSet(device, dsp::kInputEq, std::move(payload), syncMode);
  }
}

void Input_Mix_Trim_Ctrl(DspDevice& device, int scene, int source, int inCh, int outX, int outY,
                         std::span<const int> trims, bool syncMode) {
  DebugLogA("Input_Mix_Trim_Ctrl: scene(%d), in_channel(%d),", scene, inCh);
  Bytes payload{LowByte(scene), LowByte(source), LowByte(inCh), LowByte(outX), LowByte(outY)};
  const bool covered = AppendRange(payload, "Input_Mix_Trim_Ctrl", outX, outY, trims,
                                   [&](Bytes& out, int, int trim) {
                                     DebugLogA("in_ch(%d)=trim(%d), ", inCh, trim);
                                     out.push_back(LowByte(trim));
                                   });
  DebugLogA("\n");
  if (covered) {
    SubmitSet(device, dsp::kInputMixTrim, std::move(payload), syncMode);
  }
}

void Output_Mix_Trim_Ctrl(DspDevice& device, int scene, int source, int inX, int inY, int outCh,
                          std::span<const int> trims, bool syncMode) {
  DebugLogA("Output_Mix_Trim_Ctrl: scene(%d), out_channel(%d),", scene, outCh);
  Bytes payload{LowByte(scene), LowByte(source), LowByte(inX), LowByte(inY), LowByte(outCh)};
  const bool covered = AppendRange(payload, "Output_Mix_Trim_Ctrl", inX, inY, trims,
                                   [](Bytes& out, int input, int trim) {
                                     DebugLogA("in_ch(%d)=trim(%d), ", input, trim);
                                     out.push_back(LowByte(trim));
                                   });
  DebugLogA("\n");
  if (covered) {
    SubmitSet(device, dsp::kOutputMixTrim, std::move(payload), syncMode);
  }
}

void Input_Ch_Threshold_Ctrl(DspDevice& device, int threshold, bool syncMode) {
  DebugLogA("Input_Ch_Threshold_Ctrl:threshold(%d)\n", threshold);
  SendOneByte(device, dsp::kInputThreshold, threshold, syncMode);
}

void Sel_Remote_CH_Ctrl(DspDevice& device, int selection, bool syncMode) {
  DebugLogA("Sel_Remote_CH_Ctrl: selection(0x%x)\n", selection);
  Bytes payload;
  PutU16(payload, selection);
  SubmitSet(device, dsp::kRemoteChannel, std::move(payload), syncMode);
}

void DSP_Cmd51_Ctrl(DspDevice& device, int value, bool syncMode) {
  SendOneByte(device, dsp::kCommand51, value, syncMode);
}

}  // namespace device
