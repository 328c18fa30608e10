#include "platform/debug_log.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class DebugLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vexaro_log_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    platform::StopDebugLog();
    fs::remove_all(dir_);
  }
  void EnableSwitch() { std::ofstream(dir_ / platform::kLogSwitchFile) << "ignored content"; }
  std::string LogBytes() {
    platform::StopDebugLog();  // flushes
    std::ifstream in(dir_ / platform::kLogFile, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path dir_;
};

TEST_F(DebugLogTest, WithoutSwitchFileNothingIsWrittenAndCallsAreOnlyCounted) {
  EXPECT_FALSE(platform::StartDebugLog(dir_));
  const long before = platform::DebugLogCallCount();
  EXPECT_EQ(DebugLogA("value %d\n", 5), 0);
  EXPECT_EQ(DebugLog(L"wide %d\n", 6), 0);
  EXPECT_EQ(platform::DebugLogCallCount(), before + 2);
  EXPECT_FALSE(fs::exists(dir_ / platform::kLogFile));
}

TEST_F(DebugLogTest, EachStartTruncatesTheLog) {
  EnableSwitch();
  ASSERT_TRUE(platform::StartDebugLog(dir_));
  DebugLogA("first run\n");
  EXPECT_EQ(LogBytes(), "first run\n");

  ASSERT_TRUE(platform::StartDebugLog(dir_));
  EXPECT_EQ(LogBytes(), "");
}

TEST_F(DebugLogTest, WideLinesAreUtf16LeWithoutBomAndNarrowLinesAreBytes) {
  EnableSwitch();
  ASSERT_TRUE(platform::StartDebugLog(dir_));
  EXPECT_EQ(DebugLog(L"A\u4e2d%d", 7), 3);
  EXPECT_EQ(DebugLog(L"%ls", L"\U0001F600"), 1);  // outside the BMP: a surrogate pair
  EXPECT_EQ(DebugLogA("\xc4\xe3"), 2);            // CP936 bytes pass through untouched
  const std::string expected(
      "A\0\x2d\x4e"
      "7\0"
      "\x3d\xd8\x00\xde"
      "\xc4\xe3",
      12);
  EXPECT_EQ(LogBytes(), expected);
}

TEST_F(DebugLogTest, WideStringArgumentsWithPlainPercentSArriveWhole) {
  EnableSwitch();
  ASSERT_TRUE(platform::StartDebugLog(dir_));
  EXPECT_EQ(DebugLog(L"scene \"%s\" %c\n", L"\u00e9t\u00e9", L'\u4e2d'), 14);
  const std::string expected("s\0c\0e\0n\0e\0 \0\"\0\xe9\0t\0\xe9\0\"\0 \0\x2d\x4e\n\0", 28);
  EXPECT_EQ(LogBytes(), expected);
}

TEST_F(DebugLogTest, OverLongLinesAreCutAt1023Units) {
  EnableSwitch();
  ASSERT_TRUE(platform::StartDebugLog(dir_));
  const std::string narrow(5000, 'n');
  const std::wstring wide(5000, L'w');
  EXPECT_EQ(DebugLogA("%s", narrow.c_str()), 1023);
  EXPECT_EQ(DebugLog(L"%ls", wide.c_str()), 1023);
  const std::string bytes = LogBytes();
  ASSERT_EQ(bytes.size(), 1023u + 2 * 1023u);
  EXPECT_EQ(bytes.substr(0, 1023), std::string(1023, 'n'));
  EXPECT_EQ(bytes.substr(1023, 2), std::string("w\0", 2));
}

TEST_F(DebugLogTest, ConcurrentWritersNeverInterleaveLines) {
  EnableSwitch();
  ASSERT_TRUE(platform::StartDebugLog(dir_));
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) {
        DebugLogA("<%d:%04d:%s>\n", t, i, "abcdefghijklmnopqrstuvwxyz");
      }
    });
  }
  for (auto& w : writers) {
    w.join();
  }
  const std::string bytes = LogBytes();
  const std::regex line("<[0-3]:[0-9]{4}:abcdefghijklmnopqrstuvwxyz>\n");
  std::size_t count = 0;
  for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), line);
       it != std::sregex_iterator(); ++it) {
    ++count;
  }
  EXPECT_EQ(count, static_cast<std::size_t>(kThreads * kLines));
  EXPECT_EQ(bytes.size(), count * std::string("<0:0000:abcdefghijklmnopqrstuvwxyz>\n").size());
}

TEST(LogTimeStampTest, FollowsTheFrameTimeStampFormat) {
  const std::string stamp = platform::LogTimeStamp();
  EXPECT_TRUE(
      std::regex_match(stamp, std::regex(R"(\d{4}\.\d{2}\.\d{2} \d{2}:\d{1,2}:\d{1,2}:\d{1,3})")))
      << stamp;
}

}  // namespace
