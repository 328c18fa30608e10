#include "platform/post_message.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/queued_poster.h"
#include "platform/window_messages.h"

namespace {

using namespace std::chrono_literals;

// Counts live instances so a test can see that a dropped record was freed.
struct CountedRecord : platform::NotificationRecord {
  static inline std::atomic<int> live{0};
  int payload;
  explicit CountedRecord(int p) : payload(p) { ++live; }
  ~CountedRecord() override { --live; }
};

class PostMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    poster_ = std::make_shared<platform::QueuedPoster>();
    platform::InstallPoster(poster_);
  }
  void TearDown() override { platform::InstallPoster(nullptr); }
  std::shared_ptr<platform::QueuedPoster> poster_;
};

TEST_F(PostMessageTest, RecordAndValueReachAnOpenWindow) {
  poster_->OpenWindow(7);
  EXPECT_TRUE(
      platform::PostMessage(7, platform::msg::kDspNotify, 3, std::make_unique<CountedRecord>(42)));
  EXPECT_TRUE(platform::PostMessage(7, platform::msg::kSceneNotify, 14, 5));

  auto first = poster_->WaitNext(1s);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->id, 1234u);
  EXPECT_EQ(first->wParam, 3u);
  ASSERT_NE(platform::RecordAs<CountedRecord>(*first), nullptr);
  EXPECT_EQ(platform::RecordAs<CountedRecord>(*first)->payload, 42);

  auto second = poster_->WaitNext(1s);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->id, 1237u);
  EXPECT_EQ(second->value, 5);
  EXPECT_EQ(second->record, nullptr);
}

TEST_F(PostMessageTest, MessagesForClosedOrMissingWindowsAreDroppedAndRecordsFreed) {
  const int before = CountedRecord::live;
  poster_->OpenWindow(7);
  poster_->CloseWindow(7);
  platform::PostMessage(7, platform::msg::kDspNotify, 0, std::make_unique<CountedRecord>(1));
  EXPECT_FALSE(
      platform::PostMessage(0, platform::msg::kDspNotify, 0, std::make_unique<CountedRecord>(2)));
  platform::InstallPoster(nullptr);
  EXPECT_FALSE(
      platform::PostMessage(7, platform::msg::kDspNotify, 0, std::make_unique<CountedRecord>(3)));
  EXPECT_EQ(CountedRecord::live, before);
  EXPECT_EQ(poster_->DroppedCount(), 1u);
  EXPECT_TRUE(poster_->TakeAll().empty());
}

TEST_F(PostMessageTest, PostsFromOtherThreadsArriveInOrderPerThread) {
  poster_->OpenWindow(1);
  std::thread worker([] {
    for (int i = 0; i < 100; ++i) {
      platform::PostMessage(1, platform::msg::kMcuNotify, static_cast<std::uintptr_t>(i));
    }
  });
  for (std::uintptr_t expected = 0; expected < 100; ++expected) {
    auto message = poster_->WaitNext(5s);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->wParam, expected);
  }
  worker.join();
}

TEST_F(PostMessageTest, WaitNextTimesOutWhenNothingArrives) {
  poster_->OpenWindow(1);
  EXPECT_FALSE(poster_->WaitNext(10ms).has_value());
}

TEST(WindowMessagesTest, IdsKeepTheirWireValues) {
  using namespace platform::msg;
  EXPECT_EQ(kMenuClick, 1027u);
  EXPECT_EQ(kHandshakeRefused, 1239u);
  EXPECT_EQ(kAutoCalNotify, 1241u);
  EXPECT_EQ(kSynchronised, 1243u);
  EXPECT_EQ(kKtvNotify, 1246u);
  EXPECT_EQ(kFirmwareTooOld, 1248u);
  EXPECT_EQ(kUpgradeFlashStarted, 1260u);
  EXPECT_EQ(kAutoCalProgress, 1268u);
  EXPECT_EQ(kLoadingOff, 1275u);
}

}  // namespace
