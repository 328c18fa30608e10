// The command queue and its worker: what is sent, in which order, and what is dropped.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/parameter_codes.h"
#include "tests/device/device_fixture.h"
#include "tests/device/scoped_log.h"

namespace device::testing {
namespace {

// An action (EQ reset): never superseded, so every one of them is sent.
CommandRecord Numbered(int n) {
  return CommandRecord{kGroupDsp,
                       dsp::kPeqReset,
                       kOpSet,
                       {static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)}};
}

int NumberOf(const Bytes& frame) {
  return frame[7] << 8 | frame[8];
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++count;
  }
  return count;
}

class CommandQueueTest : public DeviceFixture {};

TEST_F(CommandQueueTest, DisabledQueueDropsQueuedCommands) {
  Open();
  EXPECT_FALSE(device->IsQueueEnabled());
  EXPECT_FALSE(device->Submit(Numbered(1), false));
  device->EnableQueue();
  link->QueueReport({});
  EXPECT_TRUE(device->Submit(Numbered(2), false));
  ASSERT_TRUE(link->WaitForWrites(1));
  const auto writes = link->Writes();
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(NumberOf(writes[0]), 2);
}

TEST_F(CommandQueueTest, WorkerWaitsTenSecondsForTheReplyOfEachRecord) {
  Open();
  device->EnableQueue();
  const std::size_t before = link->ReadTimeouts().size();
  ASSERT_TRUE(device->Submit(Numbered(1), false));
  ASSERT_TRUE(link->WaitForReader());
  const auto timeouts = link->ReadTimeouts();
  ASSERT_EQ(timeouts.size(), before + 1);
  EXPECT_EQ(timeouts.back(), 10000);
}

TEST_F(CommandQueueTest, ImmediateCommandGoesOutWhileQueueIsDisabled) {
  Open();
  device->DisableQueue();
  link->QueueReport({});
  EXPECT_TRUE(device->Submit(Numbered(5), true, 1000));
  ASSERT_EQ(link->Writes().size(), 1u);
  EXPECT_EQ(NumberOf(link->Writes()[0]), 5);
}

TEST_F(CommandQueueTest, MoreRecordsThanOneBlockArriveInOrder) {
  Open();
  device->EnableQueue();
  // The worker sends the first record and then waits for its reply, while the rest pile up.
  ASSERT_TRUE(device->Submit(Numbered(0), false));
  ASSERT_TRUE(link->WaitForReader());
  constexpr int kRecords = 700;
  for (int n = 1; n < kRecords; ++n) {
    ASSERT_TRUE(device->Submit(Numbered(n), false));
  }
  for (int n = 0; n < kRecords; ++n) {
    link->QueueReport({});
  }
  ASSERT_TRUE(link->WaitForWrites(kRecords));
  const auto writes = link->Writes();
  ASSERT_EQ(writes.size(), static_cast<std::size_t>(kRecords));
  for (int n = 0; n < kRecords; ++n) {
    ASSERT_EQ(NumberOf(writes[n]), n);
  }
}

TEST_F(CommandQueueTest, DestructionDiscardsQueuedRecordsWithoutSendingThem) {
  ScopedLog log;
  Open();
  device->EnableQueue();
  ASSERT_TRUE(device->Submit(Numbered(0), false));
  ASSERT_TRUE(link->WaitForReader());
  constexpr int kQueued = 40;
  for (int n = 1; n <= kQueued; ++n) {
    ASSERT_TRUE(device->Submit(Numbered(n), false));
  }
  // The worker is in a 10 s read: destruction must end it rather than wait it out.
  device.reset();
  EXPECT_EQ(link->Writes().size(), 1u);
  const std::string text = log.Finish();
  EXPECT_EQ(Count(text, "get mcmd 0x01 subcmd 0x11 optype 0xbb len 0x02 "), 1u + kQueued);
  EXPECT_NE(text.find("cmd_data[0](0x00) cmd_data[1](0x28) "), std::string::npos);
  EXPECT_NE(text.find("McuCmdThread end"), std::string::npos);
}

TEST_F(CommandQueueTest, LongPayloadIsLoggedWholeOnOneLine) {
  ScopedLog log;
  Open();
  device->EnableQueue();
  CommandRecord record{kGroupScene, 0x0C, kOpSet, {}};
  for (std::size_t i = 0; i < kMaxPayload; ++i) {
    record.payload.push_back(static_cast<std::uint8_t>(i));
  }
  link->QueueReport({});
  ASSERT_TRUE(device->Submit(std::move(record), false));
  ASSERT_TRUE(link->WaitForWrites(1));
  device.reset();
  const std::string text = log.Finish();
  const auto header =
      text.find("get mcmd 0x02 subcmd 0x0c optype 0xbb len 0x39 cmd_data[0](0x00) ");
  ASSERT_NE(header, std::string::npos);
  // Every byte, in order, with the line ending after the last one.
  const auto end = text.find('\n', header);
  const std::string line = text.substr(header, end - header + 1);
  EXPECT_EQ(Count(line, "cmd_data["), kMaxPayload);
  EXPECT_TRUE(line.ends_with("cmd_data[56](0x38) \n")) << line;
}

TEST_F(CommandQueueTest, QueuedCommandsFromSeveralThreadsAllArrive) {
  Open();
  device->EnableQueue();
  constexpr int kThreads = 3;
  constexpr int kEach = 100;
  for (int n = 0; n < kThreads * kEach; ++n) {
    link->QueueReport({});
  }
  std::vector<std::thread> producers;
  for (int t = 0; t < kThreads; ++t) {
    producers.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        device->Submit(Numbered(t * kEach + i), false);
      }
    });
  }
  for (auto& producer : producers) {
    producer.join();
  }
  ASSERT_TRUE(link->WaitForWrites(kThreads * kEach));
  std::vector<int> numbers;
  for (const Bytes& write : link->Writes()) {
    numbers.push_back(NumberOf(write));
  }
  std::sort(numbers.begin(), numbers.end());
  for (int n = 0; n < kThreads * kEach; ++n) {
    ASSERT_EQ(numbers[n], n);
  }
}

}  // namespace
}  // namespace device::testing
