// Queued edits against the virtual unit: which encoders' commands may stand in for one another,
// and a drag that outruns a slow unit.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "device/dsp_commands.h"
#include "device/dsp_commands_get.h"
#include "device/ktv_commands.h"
#include "device/mcu_action_commands.h"
#include "device/mcu_commands.h"
#include "device/parameter_codes.h"
#include "device/parameter_key.h"
#include "device/scene_commands.h"
#include "sim/virtual_unit_transport.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

using namespace std::chrono_literals;

using Issue = void (*)(DspDevice&);

class ParameterKeyTest : public ProtocolFixture {
 protected:
  // The key of the command `issue` sends (at once, so that the unit has it on return).
  std::optional<ParameterKey> KeyOf(Issue issue) {
    const std::size_t before = unit->ReceivedCommands().size();
    issue(*device);
    const auto received = unit->ReceivedCommands();
    EXPECT_EQ(received.size(), before + 1);
    return received.empty() ? std::nullopt : ParameterKeyOf(received.back());
  }
};

// Two commands from the encoders: whether they set the same parameter. Every pair differs in
// what it sets or in the value, so that each naming byte of the table is checked against the
// encoder's layout.
struct KeyPair {
  const char* name;
  Issue first;
  Issue second;
  bool sameParameter;
};

constexpr std::array<float, 1> kTrimA{6.0f};
constexpr std::array<float, 1> kTrimB{3.0f};
constexpr std::array<float, 2> kTrimPair{6.0f, 6.0f};
constexpr std::array<float, 2> kDelaysA{1.5f, 2.5f};
constexpr std::array<float, 2> kDelaysB{3.0f, 4.0f};
constexpr std::array<int, 1> kOn{1};
constexpr std::array<int, 1> kOff{0};
constexpr std::array<int, 2> kLevelsA{50, 60};
constexpr std::array<int, 2> kLevelsB{70, 80};
constexpr std::array<std::uint32_t, 1> kMaskA{1};
constexpr std::array<std::uint32_t, 1> kMaskB{3};
constexpr std::array<int, 2> kTwoInputs{1, 2};
constexpr std::array<EqBandValue, 1> kInputBandA{{{1000, 1.0f, 3.0f}}};
constexpr std::array<EqBandValue, 1> kInputBandB{{{2000, 2.0f, -3.0f}}};
constexpr std::array<EqBandValue, 2> kInputBands{{{1000, 1.0f, 3.0f}, {2000, 2.0f, -3.0f}}};

const KeyPair kKeyPairs[] = {
    {"EqValue", [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true); },
     [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1250, 2.0f, 6.0f, true); }, true},
    {"EqBand", [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true); },
     [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 6, 1000, 1.4f, -3.5f, true); }, false},
    {"EqChannel", [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true); },
     [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 3, 5, 1000, 1.4f, -3.5f, true); }, false},
    {"EqScene", [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true); },
     [](DspDevice& d) { EQ_Ctrl(d, 1, 0, 2, 5, 1000, 1.4f, -3.5f, true); }, false},
    {"EqSource", [](DspDevice& d) { EQ_Ctrl(d, 0, 0, 2, 5, 1000, 1.4f, -3.5f, true); },
     [](DspDevice& d) { EQ_Ctrl(d, 0, 1, 2, 5, 1000, 1.4f, -3.5f, true); }, false},
    {"CrossoverValue",
     [](DspDevice& d) { Filter_Ctrl(d, 0, 0, 3, kHighPassFilter, 80, 1, 2, true); },
     [](DspDevice& d) { Filter_Ctrl(d, 0, 0, 3, kHighPassFilter, 120, 2, 1, true); }, true},
    {"CrossoverFilter",
     [](DspDevice& d) { Filter_Ctrl(d, 0, 0, 3, kHighPassFilter, 80, 1, 2, true); },
     [](DspDevice& d) { Filter_Ctrl(d, 0, 0, 3, kLowPassFilter, 80, 1, 2, true); }, false},
    {"DelayValues", [](DspDevice& d) { Delay_Ctrl(d, 0, 0, 2, 3, kDelaysA, true); },
     [](DspDevice& d) { Delay_Ctrl(d, 0, 0, 2, 3, kDelaysB, true); }, true},
    {"TrimValue", [](DspDevice& d) { Trim_Ctrl(d, 0, 0, 4, 4, kTrimA, true); },
     [](DspDevice& d) { Trim_Ctrl(d, 0, 0, 4, 4, kTrimB, true); }, true},
    {"TrimRange", [](DspDevice& d) { Trim_Ctrl(d, 0, 0, 4, 4, kTrimA, true); },
     [](DspDevice& d) { Trim_Ctrl(d, 0, 0, 4, 5, kTrimPair, true); }, false},
    {"MuteValue", [](DspDevice& d) { Mute_Ch_Ctrl(d, 0, 0, 5, 5, kOn, true); },
     [](DspDevice& d) { Mute_Ch_Ctrl(d, 0, 0, 5, 5, kOff, true); }, true},
    {"MuteIsNotPhase", [](DspDevice& d) { Mute_Ch_Ctrl(d, 0, 0, 5, 5, kOn, true); },
     [](DspDevice& d) { Phase_Ctrl(d, 0, 0, 5, 5, kOn, true); }, false},
    {"RoutingMask", [](DspDevice& d) { Mix_Ch_Ctrl(d, 0, 1, 2, 2, kMaskA, true); },
     [](DspDevice& d) { Mix_Ch_Ctrl(d, 0, 1, 2, 2, kMaskB, true); }, true},
    {"RoutingSource", [](DspDevice& d) { Mix_Ch_Ctrl(d, 0, 1, 2, 2, kMaskA, true); },
     [](DspDevice& d) { Mix_Ch_Ctrl(d, 0, 2, 2, 2, kMaskA, true); }, false},
    {"SpeakerRole", [](DspDevice& d) { CH_Type_Ctrl(d, 0, 0, 6, 6, kOn, true); },
     [](DspDevice& d) { CH_Type_Ctrl(d, 0, 0, 6, 6, kOff, true); }, true},
    {"EqBypass", [](DspDevice& d) { PEQ_Bypass_Ctrl(d, 0, 0, 1, 1, kOn, true); },
     [](DspDevice& d) { PEQ_Bypass_Ctrl(d, 0, 0, 1, 1, kOff, true); }, true},
    {"DspBypass", [](DspDevice& d) { DSP_Bypass_Ctrl(d, 0, 0, 1, true); },
     [](DspDevice& d) { DSP_Bypass_Ctrl(d, 0, 0, 0, true); }, true},
    {"RemapInputs", [](DspDevice& d) { Remap_Ch_Ctrl(d, 0, 0, 2, kOn, true); },
     [](DspDevice& d) { Remap_Ch_Ctrl(d, 0, 0, 2, kTwoInputs, true); }, true},
    {"InputTrim", [](DspDevice& d) { Input_Trim_Ctrl(d, 0, 1, 0, 1, kLevelsA, true); },
     [](DspDevice& d) { Input_Trim_Ctrl(d, 0, 1, 0, 1, kLevelsB, true); }, true},
    {"InputEqValue", [](DspDevice& d) { Input_EQ_Ctrl(d, 0, 1, 2, 3, 3, kInputBandA, true); },
     [](DspDevice& d) { Input_EQ_Ctrl(d, 0, 1, 2, 3, 3, kInputBandB, true); }, true},
    {"InputEqBands", [](DspDevice& d) { Input_EQ_Ctrl(d, 0, 1, 2, 3, 3, kInputBandA, true); },
     [](DspDevice& d) { Input_EQ_Ctrl(d, 0, 1, 2, 3, 4, kInputBands, true); }, false},
    {"InputMixLevels", [](DspDevice& d) { Input_Mix_Trim_Ctrl(d, 0, 1, 0, 3, 4, kLevelsA, true); },
     [](DspDevice& d) { Input_Mix_Trim_Ctrl(d, 0, 1, 0, 3, 4, kLevelsB, true); }, true},
    {"InputMixInput", [](DspDevice& d) { Input_Mix_Trim_Ctrl(d, 0, 1, 0, 3, 4, kLevelsA, true); },
     [](DspDevice& d) { Input_Mix_Trim_Ctrl(d, 0, 1, 1, 3, 4, kLevelsA, true); }, false},
    {"OutputMixLevels",
     [](DspDevice& d) { Output_Mix_Trim_Ctrl(d, 0, 1, 0, 1, 4, kLevelsA, true); },
     [](DspDevice& d) { Output_Mix_Trim_Ctrl(d, 0, 1, 0, 1, 4, kLevelsB, true); }, true},
    {"OutputMixOutput",
     [](DspDevice& d) { Output_Mix_Trim_Ctrl(d, 0, 1, 0, 1, 4, kLevelsA, true); },
     [](DspDevice& d) { Output_Mix_Trim_Ctrl(d, 0, 1, 0, 1, 5, kLevelsA, true); }, false},
    {"MainVolume", [](DspDevice& d) { Main_Volume_Ctrl(d, MainVolumeCode(-5), true); },
     [](DspDevice& d) { Main_Volume_Ctrl(d, MainVolumeCode(-10), true); }, true},
    {"MainIsNotSubwooferVolume", [](DspDevice& d) { Main_Volume_Ctrl(d, 3, true); },
     [](DspDevice& d) { Subwoofer_Volume_Ctrl(d, 3, true); }, false},
    {"Source", [](DspDevice& d) { Source_Switch_Ctrl(d, SourceId(0), true); },
     [](DspDevice& d) { Source_Switch_Ctrl(d, SourceId(2), true); }, true},
    {"MuteAll", [](DspDevice& d) { Mute_All_Ctrl(d, 1, true); },
     [](DspDevice& d) { Mute_All_Ctrl(d, 0, true); }, true},
    {"InputThreshold", [](DspDevice& d) { Input_Ch_Threshold_Ctrl(d, -60, true); },
     [](DspDevice& d) { Input_Ch_Threshold_Ctrl(d, -40, true); }, true},
    {"KtvValue", [](DspDevice& d) { KTV_Ctrl(d, ktv::kEchoDelay, 300, true); },
     [](DspDevice& d) { KTV_Ctrl(d, ktv::kEchoDelay, 500, true); }, true},
    {"KtvEffect", [](DspDevice& d) { KTV_Ctrl(d, ktv::kMicVolume, 3, true); },
     [](DspDevice& d) { KTV_Ctrl(d, ktv::kMusicVolume, 3, true); }, false},
    {"PowerOffTime", [](DspDevice& d) { Set_Power_Off_Time(d, 1000, true); },
     [](DspDevice& d) { Set_Power_Off_Time(d, 3000, true); }, true},
};

TEST_F(ParameterKeyTest, PlainSetsAreKeyedByWhatTheySet) {
  for (const KeyPair& pair : kKeyPairs) {
    SCOPED_TRACE(pair.name);
    const auto first = KeyOf(pair.first);
    const auto second = KeyOf(pair.second);
    ASSERT_TRUE(first.has_value());
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(*first == *second, pair.sameParameter);
  }
}

constexpr std::array<ChannelPair, 1> kFrontPair{{{0, 1}}};
constexpr std::array<int, 2> kFrontChannels{0, 1};
constexpr std::array<std::uint8_t, 4> kName{'C', 'a', 'r', '1'};

// Actions, requests and commands whose meaning only the unit knows: each is always sent.
const std::pair<const char*, Issue> kNeverKeyed[] = {
    {"CH_Link_Ctrl", [](DspDevice& d) { CH_Link_Ctrl(d, 0, 1, kFrontPair, true); }},
    {"CH_Trim_Link_Ctrl", [](DspDevice& d) { CH_Trim_Link_Ctrl(d, 0, 1, kFrontPair, true); }},
    {"CH_Delay_Link_Ctrl", [](DspDevice& d) { CH_Delay_Link_Ctrl(d, 0, 1, kFrontPair, true); }},
    {"CH_Lock_Ctrl", [](DspDevice& d) { CH_Lock_Ctrl(d, 0, 1, true); }},
    {"PEQ_Reset_Ctrl", [](DspDevice& d) { PEQ_Reset_Ctrl(d, 0, 0, kFrontChannels, true); }},
    {"IRC_Ctrl", [](DspDevice& d) { IRC_Ctrl(d, 1, 0xFF, 0, true); }},
    {"IRC_Set_Test_Mic", [](DspDevice& d) { IRC_Set_Test_Mic(d, 1, true); }},
    {"IRC_Sel_Test_Module", [](DspDevice& d) { IRC_Sel_Test_Module(d, 2, true); }},
    {"Sel_Remote_CH_Ctrl", [](DspDevice& d) { Sel_Remote_CH_Ctrl(d, 0x0102, true); }},
    {"DSP_Cmd51_Ctrl", [](DspDevice& d) { DSP_Cmd51_Ctrl(d, 1, true); }},
    {"Get_EQ", [](DspDevice& d) { Get_EQ(d, 0, 0, 0, 0, 3); }},
    {"Get_Input_Threshold", [](DspDevice& d) { Get_Input_Threshold(d, 0, 0, true); }},
    {"Get_KTV", [](DspDevice& d) { Get_KTV(d, ktv::kMicVolume); }},
    {"SaveScene", [](DspDevice& d) { SaveScene(d, 1, 0); }},
    {"ReadScene", [](DspDevice& d) { ReadScene(d, 1, scene::kPrepareForReading); }},
    {"DeleteScene", [](DspDevice& d) { DeleteScene(d, 2); }},
    {"SetSceneName", [](DspDevice& d) { SetSceneName(d, 1, kName, 4); }},
    {"Factory_Default_Ctrl", [](DspDevice& d) { Factory_Default_Ctrl(d); }},
    {"MCU_Reboot_Ctrl", [](DspDevice& d) { MCU_Reboot_Ctrl(d); }},
    {"Hand_Connect", [](DspDevice& d) { Hand_Connect(d); }},
};

TEST_F(ParameterKeyTest, EverythingButPlainSetsIsAlwaysSent) {
  for (const auto& [name, issue] : kNeverKeyed) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(KeyOf(issue).has_value());
  }
}

// A linked band pair dragged across the curve, 250 moves at 125 moves/s, each move sending the
// band for the channel and then for its partner, against a unit that answers in 10 ms: twice as
// many commands as it can take. Other edits come in between: a trim step every 10th move, a delay
// step every 25th, an EQ reset of the pair and a link command every 50th.
constexpr int kMoves = 250;
constexpr auto kMovePeriod = 8ms;
constexpr auto kUnitLatency = 10ms;
constexpr int kBand = 3;
constexpr int kTrimChannel = 4;
constexpr int kDelayChannel = 6;

// Every value differs from move to move, so each frame tells which edit it came from.
int MoveFreq(int move) {
  return 400 + 4 * move;
}
float MoveGain(int move) {
  return -12.0f + 0.1f * static_cast<float>(move % 240);
}

// Edits other than the drag come every `period` moves, at move `phase` of each period.
struct EditTiming {
  int period;
  int phase;
  bool At(int move) const { return move % period == phase; }
};
constexpr EditTiming kTrimEvery{10, 4};
constexpr EditTiming kDelayEvery{25, 7};
constexpr EditTiming kResetEvery{50, 20};
constexpr EditTiming kLinkEvery{50, 45};

constexpr int LastEditMove(EditTiming timing) {
  return (kMoves - 1 - timing.phase) / timing.period * timing.period + timing.phase;
}

void IssueMove(DspDevice& d, int move, bool syncMode) {
  if (kTrimEvery.At(move)) {
    const std::array<float, 1> trim{TrimAttenuation(-static_cast<float>(move / 10))};
    Trim_Ctrl(d, 0, 0, kTrimChannel, kTrimChannel, trim, syncMode);
  }
  if (kDelayEvery.At(move)) {
    const std::array<float, 1> delay{0.5f + static_cast<float>(move / 25)};
    Delay_Ctrl(d, 0, 0, kDelayChannel, kDelayChannel, delay, syncMode);
  }
  if (kResetEvery.At(move)) {
    PEQ_Reset_Ctrl(d, 0, 0, kFrontChannels, syncMode);
  }
  if (kLinkEvery.At(move)) {
    CH_Link_Ctrl(d, 0, 1, kFrontPair, syncMode);
  }
  for (int channel : kFrontChannels) {
    EQ_Ctrl(d, 0, 0, channel, kBand, MoveFreq(move), 1.4f, MoveGain(move), syncMode);
  }
}

// What the drag issues, frame by frame: played at once to a second unit that keeps every one.
std::vector<CommandRecord> IssuedByDrag() {
  auto scribeUnit = std::make_shared<sim::VirtualUnit>();
  DspDevice scribe(std::make_unique<sim::VirtualUnitTransport>(scribeUnit));
  scribe.OpenHIDDevice();
  for (int move = 0; move < kMoves; ++move) {
    IssueMove(scribe, move, true);
  }
  return scribeUnit->ReceivedCommands();
}

bool SameRecord(const CommandRecord& a, const CommandRecord& b) {
  return a.group == b.group && a.command == b.command && a.op == b.op && a.payload == b.payload;
}

class QueuedDragTest : public ProtocolFixture {};

TEST_F(QueuedDragTest, UnitEndsWhereThePageIsAndOnlySupersededValuesAreLeftOut) {
  unit->SetReplyLatency(kUnitLatency);
  device->EnableQueue();
  const auto start = std::chrono::steady_clock::now();
  for (int move = 0; move < kMoves; ++move) {
    std::this_thread::sleep_until(start + move * kMovePeriod);
    IssueMove(*device, move, false);
  }
  // The partner's band of the last move is the last command issued: once the unit holds it,
  // everything issued before it has been sent or skipped.
  constexpr int kLast = kMoves - 1;
  ASSERT_TRUE(unit->WaitForState(
      [](const sim::UnitState& state) {
        return state.working.outputs[1].bands[kBand].freq == MoveFreq(kLast);
      },
      10s));

  const std::vector<CommandRecord> issued = IssuedByDrag();
  const std::vector<CommandRecord> received = unit->ReceivedCommands();
  // Walk the issued commands: each one was either received, in order, or skipped because a newer
  // value of the same parameter followed it with nothing but other plain values in between.
  std::size_t next = 0;
  for (std::size_t i = 0; i < issued.size(); ++i) {
    if (next < received.size() && SameRecord(issued[i], received[next])) {
      ++next;
      continue;
    }
    const auto key = ParameterKeyOf(issued[i]);
    ASSERT_TRUE(key.has_value()) << "command " << i << " was not sent and is no plain value";
    bool superseded = false;
    for (std::size_t later = i + 1; later < issued.size() && !superseded; ++later) {
      const auto laterKey = ParameterKeyOf(issued[later]);
      if (!laterKey) {
        break;
      }
      superseded = *laterKey == *key;
    }
    ASSERT_TRUE(superseded) << "command " << i << " was skipped with nothing to stand in for it";
  }
  EXPECT_EQ(next, received.size()) << "the unit received commands out of issue order";
  // The drag outran the unit, so values were left out.
  EXPECT_LT(received.size(), issued.size());

  const sim::UnitState state = unit->State();
  for (int channel : kFrontChannels) {
    const sim::BandState& band =
        state.working.outputs[static_cast<std::size_t>(channel)].bands[kBand];
    EXPECT_EQ(band.freq, MoveFreq(kLast));
    EXPECT_EQ(band.gain, LowByte(TruncSingle(MoveGain(kLast) + kEqGainOffsetDb)));
  }
  EXPECT_EQ(state.working.outputs[kTrimChannel].trim, -(LastEditMove(kTrimEvery) / 10));
  EXPECT_EQ(state.working.outputs[kDelayChannel].delayMs, LastEditMove(kDelayEvery) / 25);
  EXPECT_EQ(state.working.outputs[kDelayChannel].delayThousandths, 500);
}

}  // namespace
}  // namespace device::testing
