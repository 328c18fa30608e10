// Command frames byte for byte, as the unit expects them, and the reply framing the virtual unit
// and the parser share.
#include <gtest/gtest.h>

#include <numeric>

#include "device/frame.h"
#include "device/mcu_commands.h"
#include "tests/device/device_fixture.h"

namespace device::testing {
namespace {

Bytes Padded(Bytes head) {
  head.resize(kOutputReportSize, 0);
  return head;
}

class CommandFrameTest : public DeviceFixture {};

TEST_F(CommandFrameTest, HandConnectHasEmptyPayloadAndChecksumAtOffsetSeven) {
  Open();
  link->QueueReport({});
  Hand_Connect(*device, 100);
  ASSERT_EQ(link->Writes().size(), 1u);
  //                       id    sync        LEN   group cmd   op    checksum
  EXPECT_EQ(link->Writes()[0], Padded({0x00, 0xAA, 0x55, 0x03, 0x03, 0x08, 0xBB, 0x37}));
}

TEST_F(CommandFrameTest, PcConnectCarriesOneValueByte) {
  Open();
  PC_Connect(*device, kPcConnected);
  ASSERT_EQ(link->Writes().size(), 1u);
  //                       id    sync        LEN   group cmd   op    value checksum
  EXPECT_EQ(link->Writes()[0], Padded({0x00, 0xAA, 0x55, 0x04, 0x03, 0x1F, 0xBB, 0x01, 0x1E}));
}

TEST_F(CommandFrameTest, CloseTellingTheUnitSendsPcConnectZeroAndReadsNothing) {
  Open();
  device->CloseHIDDevice(true);
  ASSERT_EQ(link->Writes().size(), 1u);
  EXPECT_EQ(link->Writes()[0], Padded({0x00, 0xAA, 0x55, 0x04, 0x03, 0x1F, 0xBB, 0x00, 0x1F}));
  EXPECT_FALSE(device->IsDeviceOpen());
  EXPECT_EQ(link->Closes(), 1);
}

TEST(CommandFrame, AnyGroupWithEmptyPayloadIsLengthThree) {
  const auto frame = BuildCommandFrame(kGroupDsp, 0x21, kOpGet, {});
  ASSERT_TRUE(frame);
  EXPECT_EQ(Bytes(frame->begin(), frame->end()),
            Padded({0x00, 0xAA, 0x55, 0x03, 0x01, 0x21, 0x66, 0x75}));
}

TEST(CommandFrame, LargestPayloadPutsChecksumInLastByte) {
  Bytes payload(kMaxPayload);
  std::iota(payload.begin(), payload.end(), 1);
  const auto frame = BuildCommandFrame(kGroupScene, 0x05, kOpSet, payload);
  ASSERT_TRUE(frame);
  EXPECT_EQ((*frame)[3], 60);
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), frame->begin() + 7));
  // LEN + group + command + op + 1..57 = 60 + 2 + 5 + 187 + 1653 = 1907 = 0x773; 0x100 - 0x73.
  EXPECT_EQ((*frame)[64], 0x8D);
  const unsigned sum = std::accumulate(frame->begin() + 3, frame->end(), 0u);
  EXPECT_EQ(sum % 256, 0u);
}

TEST(CommandFrame, PayloadLongerThanOneReportIsRefused) {
  EXPECT_FALSE(BuildCommandFrame(kGroupDsp, 1, kOpSet, Bytes(kMaxPayload + 1)));
}

TEST_F(CommandFrameTest, OversizedRecordIsNeverSentCut) {
  Open();
  link->QueueReport({});
  device->Submit(CommandRecord{kGroupDsp, 1, kOpSet, Bytes(300, 0x11)}, true, 10);
  EXPECT_TRUE(link->Writes().empty());
}

TEST(CommandFrame, ParsesBackWhatWasBuilt) {
  const Bytes payload{1, 2, 3, 250};
  const auto frame = BuildCommandFrame(kGroupKtv, 0x09, kOpSet, payload);
  ASSERT_TRUE(frame);
  const auto command = ParseCommandFrame(*frame);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->group, kGroupKtv);
  EXPECT_EQ(command->command, 0x09);
  EXPECT_EQ(command->op, kOpSet);
  EXPECT_EQ(command->payload, payload);

  CommandFrame corrupt = *frame;
  corrupt[8] ^= 0x01;
  EXPECT_FALSE(ParseCommandFrame(corrupt));
  CommandFrame overlong = *frame;
  overlong[3] = 61;  // would put the checksum past the report
  EXPECT_FALSE(ParseCommandFrame(overlong));
}

TEST(ReplyFrame, CarriesBodyBetweenGroupAndChecksum) {
  const auto frame = BuildReplyFrame(kGroupMcu, Bytes{0x08, 0xDD, 0x00, 0x17, 0x10, 0x02});
  ASSERT_TRUE(frame);
  EXPECT_EQ(*frame, (Bytes{0xAA, 0x55, 0x07, 0x03, 0x08, 0xDD, 0x00, 0x17, 0x10, 0x02, 0xE8}));
  EXPECT_FALSE(BuildReplyFrame(kGroupMcu, Bytes(kMaxReplyBody + 1)));
}

}  // namespace
}  // namespace device::testing
