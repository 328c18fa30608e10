// Queued edits against the virtual unit: which encoders' commands may stand in for one another,
// and a drag that outruns a slow unit.
#include <gtest/gtest.h>

#include <algorithm>
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
// An encoder's command sent at once: `target` (0 or 1) changes the last payload byte that names
// the parameter, `value` (0 or 1) the first byte of the value.
using IssueSet = void (*)(DspDevice&, int target, int value);

class ParameterKeyTest : public ProtocolFixture {
 protected:
  // The key of the command `issue` sends (at once, so that the unit has it on return).
  std::optional<ParameterKey> KeyOf(const std::function<void(DspDevice&)>& issue) {
    const std::size_t before = unit->ReceivedCommands().size();
    issue(*device);
    const auto received = unit->ReceivedCommands();
    EXPECT_EQ(received.size(), before + 1);
    return received.empty() ? std::nullopt : ParameterKeyOf(received.back());
  }
  std::optional<ParameterKey> KeyOf(IssueSet issue, int target, int value) {
    return KeyOf([&](DspDevice& d) { issue(d, target, value); });
  }
};

using Floats = std::array<float, 2>;
using Ints = std::array<int, 2>;

const std::pair<const char*, IssueSet> kTargetedSets[] = {
    {"EQ_Ctrl", [](DspDevice& d, int t,
                   int v) { EQ_Ctrl(d, 0, 0, 2, 5 + t, 1000 + 300 * v, 1.4f, -3.5f, true); }},
    {"Filter_Ctrl", [](DspDevice& d, int t,
                       int v) { Filter_Ctrl(d, 0, 0, 3, kLowPassFilter + t, 80, 1, 1 + v, true); }},
    {"Delay_Ctrl",
     [](DspDevice& d, int t, int v) {
       Delay_Ctrl(d, 0, 0, 2, 2 + t, Floats{1.5f + v, 2.5f}, true);
     }},
    {"Trim_Ctrl",
     [](DspDevice& d, int t, int v) {
       Trim_Ctrl(d, 0, 0, 4, 4 + t, Floats{6.0f + v, 6.0f}, true);
     }},
    {"Mute_Ch_Ctrl",
     [](DspDevice& d, int t, int v) {
       Mute_Ch_Ctrl(d, 0, 0, 5, 5 + t, Ints{v, 0}, true);
     }},
    {"Phase_Ctrl",
     [](DspDevice& d, int t, int v) {
       Phase_Ctrl(d, 0, 0, 5, 5 + t, Ints{v, 0}, true);
     }},
    {"Mix_Ch_Ctrl",
     [](DspDevice& d, int t, int v) {
       Mix_Ch_Ctrl(d, 0, 1, 2, 2 + t, std::array<std::uint32_t, 2>{1u + v, 1u}, true);
     }},
    {"Remap_Ch_Ctrl",
     [](DspDevice& d, int t, int v) {
       Remap_Ch_Ctrl(d, 0, 0, 2 + t, Ints{1 + v, 2}, true);
     }},
    {"CH_Type_Ctrl",
     [](DspDevice& d, int t, int v) {
       CH_Type_Ctrl(d, 0, 0, 6, 6 + t, Ints{v, 0}, true);
     }},
    {"DSP_Bypass_Ctrl", [](DspDevice& d, int t, int v) { DSP_Bypass_Ctrl(d, 0, t, v, true); }},
    {"PEQ_Bypass_Ctrl",
     [](DspDevice& d, int t, int v) {
       PEQ_Bypass_Ctrl(d, 0, 0, 1, 1 + t, Ints{v, 0}, true);
     }},
    {"Input_Trim_Ctrl",
     [](DspDevice& d, int t, int v) {
       Input_Trim_Ctrl(d, 0, 1, 0, t, Ints{3 + v, 4}, true);
     }},
    {"Mute_Input_Ch_Ctrl",
     [](DspDevice& d, int t, int v) {
       Mute_Input_Ch_Ctrl(d, 0, 1, 0, t, Ints{v, 0}, true);
     }},
    {"Input_Phase_Ctrl",
     [](DspDevice& d, int t, int v) {
       Input_Phase_Ctrl(d, 0, 1, 0, t, Ints{v, 0}, true);
     }},
    {"Input_EQ_Ctrl",
     [](DspDevice& d, int t, int v) {
       Input_EQ_Ctrl(
           d, 0, 1, 2, 3, 3 + t,
           std::array<EqBandValue, 2>{{{1000 + 300 * v, 1.0f, 3.0f}, {2000, 2.0f, -3.0f}}}, true);
     }},
    {"Input_Mix_Trim_Ctrl",
     [](DspDevice& d, int t, int v) {
       Input_Mix_Trim_Ctrl(d, 0, 1, 0, 3, 3 + t, Ints{50 + v, 60}, true);
     }},
    {"Output_Mix_Trim_Ctrl",
     [](DspDevice& d, int t, int v) {
       Output_Mix_Trim_Ctrl(d, 0, 1, 0, 1, 4 + t, Ints{50 + v, 60}, true);
     }},
};

// Values of the whole unit: the command alone names them.
const std::pair<const char*, IssueSet> kUnitWideSets[] = {
    {"Source_Switch_Ctrl",
     [](DspDevice& d, int, int v) { Source_Switch_Ctrl(d, SourceId(v), true); }},
    {"Main_Volume_Ctrl", [](DspDevice& d, int, int v) { Main_Volume_Ctrl(d, 3 + v, true); }},
    {"Subwoofer_Volume_Ctrl",
     [](DspDevice& d, int, int v) { Subwoofer_Volume_Ctrl(d, 3 + v, true); }},
    {"Mute_All_Ctrl", [](DspDevice& d, int, int v) { Mute_All_Ctrl(d, v, true); }},
    {"Input_Ch_Threshold_Ctrl",
     [](DspDevice& d, int, int v) { Input_Ch_Threshold_Ctrl(d, -60 + v, true); }},
    {"KTV_Ctrl mic", [](DspDevice& d, int, int v) { KTV_Ctrl(d, ktv::kMicVolume, 3 + v, true); }},
    {"KTV_Ctrl music",
     [](DspDevice& d, int, int v) { KTV_Ctrl(d, ktv::kMusicVolume, 3 + v, true); }},
    {"KTV_Ctrl echo delay",
     [](DspDevice& d, int, int v) { KTV_Ctrl(d, ktv::kEchoDelay, 300 + 300 * v, true); }},
    {"Set_Power_Off_Time",
     [](DspDevice& d, int, int v) { Set_Power_Off_Time(d, 1000 + 1000 * v, true); }},
};

TEST_F(ParameterKeyTest, PlainSetsAreKeyedByWhatTheySet) {
  std::vector<ParameterKey> keys;
  auto check = [&](const char* name, IssueSet issue, bool targeted) {
    SCOPED_TRACE(name);
    const auto key = KeyOf(issue, 0, 0);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(KeyOf(issue, 0, 1), key) << "a new value is a new parameter";
    if (targeted) {
      EXPECT_NE(KeyOf(issue, 1, 0), key) << "two parameters share a key";
    }
    keys.push_back(*key);
  };
  for (const auto& [name, issue] : kTargetedSets) {
    check(name, issue, true);
  }
  for (const auto& [name, issue] : kUnitWideSets) {
    check(name, issue, false);
  }
  // Commands of their own: none stands in for another.
  std::ranges::sort(keys);
  EXPECT_EQ(std::ranges::adjacent_find(keys), keys.end());
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
