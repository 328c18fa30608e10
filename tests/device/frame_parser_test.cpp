// Reassembly of reply frames from received bytes: alone, and through ReadHIDData's ring where
// the parser's state must survive from one report to the next.
#include <gtest/gtest.h>

#include "device/frame.h"
#include "device/mcu_protocol.h"
#include "device/mcu_records.h"
#include "platform/window_messages.h"
#include "tests/device/device_fixture.h"
#include "tests/device/scoped_log.h"

namespace device::testing {
namespace {

struct Frame {
  std::uint8_t group;
  Bytes body;
  bool operator==(const Frame&) const = default;
};

std::vector<Frame> FeedAll(FrameParser& parser, const Bytes& bytes) {
  std::vector<Frame> frames;
  for (std::uint8_t byte : bytes) {
    if (parser.Feed(byte)) {
      frames.push_back({parser.Group(), Bytes(parser.Body().begin(), parser.Body().end())});
    }
  }
  return frames;
}

Bytes Reply(std::uint8_t group, const Bytes& body) {
  return *BuildReplyFrame(group, body);
}

TEST(FrameParser, TwoFramesInOneReportComeOutInOrder) {
  FrameParser parser;
  const Bytes first{0x0B, 0xDD, 1, 2, 3, 4};
  const Bytes second{0x0C, 0xDD, 9};
  const auto frames = FeedAll(parser, Report({Reply(3, first), Reply(3, second), Bytes(20, 0)}));
  EXPECT_EQ(frames, (std::vector<Frame>{{3, first}, {3, second}}));
}

TEST(FrameParser, ZeroFillAroundFramesIsSkipped) {
  FrameParser parser;
  const Bytes body{0x41, 0xDD, 0};
  EXPECT_EQ(FeedAll(parser, Report({Bytes(5, 0), Reply(7, body), Bytes(30, 0)})),
            (std::vector<Frame>{{7, body}}));
}

TEST(FrameParser, StrayAaKeepsWaitingForTheSecondSyncByte) {
  FrameParser parser;
  // 0xAA then bytes other than 0x55: the parser stays in its second state, so the next 0x55,
  // here the one of a real frame, starts the frame (the frame's own 0xAA is just skipped).
  const Bytes body{0x60, 0xDD};
  EXPECT_EQ(FeedAll(parser, Report({{0xAA, 0x01, 0x02, 0x03}, Reply(3, body)})),
            (std::vector<Frame>{{3, body}}));
  // The same with a frame that lacks its own 0xAA: only a parser still waiting for 0x55 sees it.
  FrameParser waiting;
  const Bytes frame = Reply(3, body);
  EXPECT_EQ(FeedAll(waiting, Report({{0xAA, 0x01, 0x02}, Bytes(frame.begin() + 1, frame.end())})),
            (std::vector<Frame>{{3, body}}));
}

TEST(FrameParser, WrongChecksumIsDroppedAndTheNextFrameParsed) {
  FrameParser parser;
  Bytes bad = Reply(1, {0x05, 0xDD, 1, 2});
  bad.back() ^= 0x5A;
  const Bytes good{0x06, 0xDD, 3};
  EXPECT_EQ(FeedAll(parser, Report({bad, Reply(1, good)})), (std::vector<Frame>{{1, good}}));
}

TEST(FrameParser, LongestFrameIsAcceptedAcrossTwoReports) {
  FrameParser parser;
  const Bytes body(kMaxReplyBody, 0x33);
  const Bytes frame = Reply(2, body);
  ASSERT_EQ(frame[2], 61);
  EXPECT_TRUE(FeedAll(parser, Bytes(frame.begin(), frame.begin() + 64)).empty());
  EXPECT_EQ(FeedAll(parser, Bytes(frame.begin() + 64, frame.end())),
            (std::vector<Frame>{{2, body}}));
}

TEST(FrameParser, LengthOfSixtyTwoOrMoreIsDroppedAtTheBound) {
  for (std::uint8_t length : {62, 100, 255}) {
    FrameParser parser;
    Bytes overlong{0xAA, 0x55, length, 0x03};
    overlong.resize(4 + 60, 0x00);  // data up to state 63; the next byte meets the bound
    const Bytes good{0x08, 0xDD, 0xF0};
    // The byte at the bound is consumed by the drop; the good frame follows it.
    const Bytes stream = Report({overlong, {0x00}, Reply(3, good)});
    EXPECT_EQ(FeedAll(parser, stream), (std::vector<Frame>{{3, good}})) << int(length);
  }
}

TEST(FrameParser, LengthOneGivesAnEmptyBodyAndZeroNeverCompletes) {
  FrameParser parser;
  EXPECT_EQ(FeedAll(parser, {0xAA, 0x55, 0x01, 0x03, 0xFC}), (std::vector<Frame>{{3, {}}}));
  FrameParser zero;
  Bytes stream{0xAA, 0x55, 0x00, 0x03};
  stream.resize(200, 0xFD);
  EXPECT_TRUE(FeedAll(zero, stream).empty());
}

class ReadHidDataTest : public DeviceFixture {
 protected:
  Bytes Handshake() { return Reply(kGroupMcu, {kMcuHandshake, kOpReply, 0x00, 23, 16, 2}); }
};

TEST_F(ReadHidDataTest, FrameSplitOverTwoReadsIsDispatchedAfterTheSecond) {
  Open();
  const Bytes frame = Handshake();
  // The frame starts in the last bytes of one report and ends in the next.
  Bytes first(kInputReportSize - 5, 0x00);
  first.insert(first.end(), frame.begin(), frame.begin() + 5);
  link->QueueReport(first);
  link->QueueReport(Bytes(frame.begin() + 5, frame.end()));
  EXPECT_TRUE(device->ReadReply(100));
  EXPECT_TRUE(poster->TakeAll().empty());
  EXPECT_TRUE(device->ReadReply(100));
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].id, platform::msg::kMcuNotify);
  EXPECT_EQ(device->UnitModel(), 23);
}

TEST_F(ReadHidDataTest, TwoFramesOfOneReportAreBothDispatchedInOrder) {
  Open();
  link->QueueReport(
      Report({Reply(kGroupMcu, {kMcuHandshake, kOpReply, kHandshakeRefusal}), Handshake()}));
  EXPECT_TRUE(device->ReadReply(100));
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].id, platform::msg::kHandshakeRefused);
  EXPECT_EQ(messages[1].id, platform::msg::kMcuNotify);
  EXPECT_TRUE(device->HandshakeOk());
}

TEST_F(ReadHidDataTest, WithoutDeviceFailsAtOnceAndLogs) {
  ScopedLog log;
  EXPECT_FALSE(device->ReadReply(10000));
  EXPECT_NE(log.Finish().find("mHidHandle is NULL"), std::string::npos);
}

TEST_F(ReadHidDataTest, ErrorIsRetriedWithinTheTimeOut) {
  Open();
  link->QueueError();
  link->QueueReport(Handshake());
  EXPECT_TRUE(device->ReadReply(5000));
  EXPECT_EQ(poster->TakeAll().size(), 1u);
}

}  // namespace
}  // namespace device::testing
