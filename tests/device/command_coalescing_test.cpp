// Which queued commands the worker skips: a value of a parameter superseded by a newer one while
// it waited, and nothing else. Each case queues its records while the worker waits for the reply
// to a first one, so what it finds waiting is known exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <future>
#include <ostream>
#include <string>
#include <vector>

#include "device/frame.h"
#include "device/parameter_codes.h"
#include "device/value_encoding.h"
#include "tests/device/device_fixture.h"

namespace device::testing {
namespace {

CommandRecord Set(std::uint8_t group, std::uint8_t command, Bytes payload) {
  return CommandRecord{group, command, kOpSet, std::move(payload)};
}
// One band: scene, source, channel, band, then the band's six bytes, `value` among them.
CommandRecord Eq(int channel, int band, int value, int scene = 0, int source = 0) {
  return Set(kGroupDsp, dsp::kEq,
             {LowByte(scene), LowByte(source), LowByte(channel), LowByte(band), 0x03,
              LowByte(value), 1, 4, 14, 5});
}
// Trims of channels first..last, all `value`.
CommandRecord Trim(int first, int last, int value) {
  Bytes payload{0, 0, LowByte(first), LowByte(last)};
  payload.insert(payload.end(), static_cast<std::size_t>(last - first + 1), LowByte(value));
  return Set(kGroupDsp, dsp::kTrim, std::move(payload));
}
CommandRecord Reset(int channel) {
  return Set(kGroupDsp, dsp::kPeqReset, {0, 0, 1, LowByte(channel)});
}
CommandRecord Request() {
  return CommandRecord{kGroupDsp, dsp::kInputThreshold, kOpGet, {0, 0}};
}

// Group, command, op and payload of a written frame, as hex.
std::string Describe(const Bytes& frame) {
  const auto record = ParseCommandFrame(frame);
  if (!record) {
    return "no command frame";
  }
  std::string text;
  char hex[4];
  for (std::uint8_t byte : {record->group, record->command, record->op}) {
    std::snprintf(hex, sizeof hex, "%02x ", byte);
    text += hex;
  }
  text += "|";
  for (std::uint8_t byte : record->payload) {
    std::snprintf(hex, sizeof hex, " %02x", byte);
    text += hex;
  }
  return text;
}

std::string Describe(const CommandRecord& record) {
  const auto frame = BuildCommandFrame(record.group, record.command, record.op, record.payload);
  return frame ? Describe(Bytes(frame->begin(), frame->end())) : "too long";
}

struct CoalescingCase {
  const char* name;
  std::vector<CommandRecord> issued;
  std::vector<std::size_t> sent;  // indexes into `issued`
};

void PrintTo(const CoalescingCase& coalescingCase, std::ostream* out) {
  *out << coalescingCase.name;
}

class CommandCoalescingTest : public DeviceFixture,
                              public ::testing::WithParamInterface<CoalescingCase> {};

TEST_P(CommandCoalescingTest, SendsWhatIsLeftAfterSupersededValues) {
  Open();
  device->EnableQueue();
  // Taken by the worker at once: a later value of the same band is sent after it, not instead.
  const CommandRecord first = Eq(0, 0, 0);
  ASSERT_TRUE(device->Submit(first, false));
  ASSERT_TRUE(link->WaitForReader());
  for (const CommandRecord& record : GetParam().issued) {
    ASSERT_TRUE(device->Submit(record, false));
  }
  // An action issued last: once it is written, everything issued before it was sent or skipped.
  const CommandRecord last = Reset(9);
  ASSERT_TRUE(device->Submit(last, false));

  std::vector<std::string> expected{Describe(first)};
  for (std::size_t index : GetParam().sent) {
    expected.push_back(Describe(GetParam().issued[index]));
  }
  expected.push_back(Describe(last));
  for (std::size_t n = 0; n < expected.size(); ++n) {
    link->QueueReport({});
  }
  ASSERT_TRUE(link->WaitForWrites(expected.size()));
  std::vector<std::string> written;
  for (const Bytes& frame : link->Writes()) {
    written.push_back(Describe(frame));
  }
  EXPECT_EQ(written, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandCoalescingTest,
    ::testing::Values(
        CoalescingCase{"NewestValueOfOneParameter", {Eq(0, 3, 1), Eq(0, 3, 2), Eq(0, 3, 3)}, {2}},
        CoalescingCase{"ValueAfterTheOneOnTheWire", {Eq(0, 0, 5), Eq(0, 0, 6)}, {1}},
        CoalescingCase{"LinkedPairKeepsItsOrder",
                       {Eq(0, 3, 1), Eq(1, 3, 1), Eq(0, 3, 2), Eq(1, 3, 2)},
                       {2, 3}},
        // Writing the newer value into the older one's place would send it ahead of the trim.
        CoalescingCase{"SkippedNotMovedForward", {Eq(0, 3, 1), Trim(4, 4, 1), Eq(0, 3, 2)}, {1, 2}},
        CoalescingCase{"ActionsAreNeverSkippedAndFenceValues",
                       {Eq(0, 3, 1), Reset(0), Eq(0, 3, 2), Reset(0), Reset(0)},
                       {0, 1, 2, 3, 4}},
        CoalescingCase{"RequestsAreNeverSkippedAndFenceValues",
                       {Eq(0, 3, 1), Request(), Eq(0, 3, 2), Request()},
                       {0, 1, 2, 3}},
        CoalescingCase{"FenceHoldsOnlyAcrossItself",
                       {Eq(0, 3, 1), Reset(5), Eq(0, 3, 2), Eq(0, 3, 3)},
                       {0, 1, 3}},
        CoalescingCase{"SceneSourceChannelAndBandEachNameAParameter",
                       {Eq(0, 3, 1), Eq(0, 4, 1), Eq(1, 3, 1), Eq(0, 3, 1, 1), Eq(0, 3, 1, 0, 1)},
                       {0, 1, 2, 3, 4}},
        CoalescingCase{
            "RangeNamesItsParameter", {Trim(0, 1, 1), Trim(0, 0, 2), Trim(0, 1, 3)}, {1, 2}},
        CoalescingCase{
            "UnitWideValues",
            {Set(kGroupDsp, dsp::kMainVolume, {10}), Set(kGroupKtv, ktv::kMicVolume, {1}),
             Set(kGroupDsp, dsp::kMainVolume, {12}), Set(kGroupKtv, ktv::kMicVolume, {2}),
             Set(kGroupKtv, ktv::kMusicVolume, {3})},
            {2, 3, 4}},
        CoalescingCase{"PayloadTooShortToNameAParameter",
                       {Set(kGroupDsp, dsp::kEq, {0, 0}), Set(kGroupDsp, dsp::kEq, {0, 0})},
                       {0, 1}}),
    [](const ::testing::TestParamInfo<CoalescingCase>& info) { return info.param.name; });

class ImmediateCommandTest : public DeviceFixture {};

TEST_F(ImmediateCommandTest, GoesOutAtOnceAndLeavesTheQueueAlone) {
  Open();
  device->EnableQueue();
  ASSERT_TRUE(device->Submit(Eq(0, 0, 0), false));
  ASSERT_TRUE(link->WaitForReader());
  ASSERT_TRUE(device->Submit(Eq(0, 3, 1), false));
  ASSERT_TRUE(device->Submit(Eq(0, 3, 2), false));
  // Written while the queued values wait; its reply wait queues behind the worker's read.
  auto immediate =
      std::async(std::launch::async, [&] { return device->Submit(Eq(0, 3, 9), true, 5000); });
  ASSERT_TRUE(link->WaitForWrites(2));
  EXPECT_EQ(Describe(link->Writes()[1]), Describe(Eq(0, 3, 9)));
  for (int n = 0; n < 3; ++n) {
    link->QueueReport({});
  }
  EXPECT_TRUE(immediate.get());
  // The same value twice at once: both go out.
  for (int n = 0; n < 2; ++n) {
    link->QueueReport({});
    EXPECT_TRUE(device->Submit(Eq(0, 3, 9), true, 5000));
  }
  const CommandRecord last = Reset(9);
  link->QueueReport({});
  ASSERT_TRUE(device->Submit(last, false));
  ASSERT_TRUE(link->WaitForWrites(6));
  std::vector<std::string> written;
  for (const Bytes& frame : link->Writes()) {
    written.push_back(Describe(frame));
  }
  // Every immediate command went out as it was given, and the queue sent its newest value as
  // though they had not been there (when exactly the worker got to it is its own business).
  ASSERT_EQ(written.size(), 6u);
  EXPECT_EQ(written[1], Describe(Eq(0, 3, 9)));
  EXPECT_EQ(std::ranges::count(written, Describe(Eq(0, 3, 9))), 3);
  EXPECT_EQ(std::ranges::count(written, Describe(Eq(0, 3, 2))), 1);
  EXPECT_EQ(std::ranges::count(written, Describe(Eq(0, 3, 1))), 0);
  EXPECT_EQ(written.back(), Describe(last));
}

}  // namespace
}  // namespace device::testing
