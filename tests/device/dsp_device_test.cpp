// Opening and closing the unit, and how writes and reads share it between threads.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "device/frame.h"
#include "device/hidapi_transport.h"
#include "device/mcu_protocol.h"
#include "tests/device/device_fixture.h"
#include "tests/device/scoped_log.h"

namespace device::testing {
namespace {

using namespace std::chrono_literals;

class OpenTest : public DeviceFixture {};

TEST_F(OpenTest, TwoFailedStringReadsStillOpen) {
  link->failingStrings = 2;
  device->OpenHIDDevice();
  EXPECT_TRUE(device->IsDeviceOpen());
}

TEST_F(OpenTest, AnIndexedStringTheTransportCannotReadIsNoFailure) {
  ScopedLog log;
  link->failingStrings = 2;
  link->indexedStringSupported = false;
  device->OpenHIDDevice();
  EXPECT_TRUE(device->IsDeviceOpen());
  const std::string text = log.Finish();
  EXPECT_NE(text.find("Unable to read indexed string 1: not supported"), std::string::npos);
  EXPECT_EQ(text.find("read HID info error"), std::string::npos);
}

TEST_F(OpenTest, ReopenedHandleStartsWithoutTheHalfFrameOfTheLastConnection) {
  Open();
  const Bytes handshake =
      *BuildReplyFrame(kGroupMcu, Bytes{kMcuHandshake, kOpReply, 0x00, 23, 16, 2});
  // A report ending in the first bytes of a frame whose rest never comes.
  Bytes cut(kInputReportSize - 5, 0);
  cut.insert(cut.end(), handshake.begin(), handshake.begin() + 5);
  link->QueueReport(cut);
  ASSERT_TRUE(device->ReadReply(1000));
  device->CloseHIDDevice(false);
  Open();
  link->QueueReport(handshake);
  ASSERT_TRUE(device->ReadReply(1000));
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), 23);
}

TEST_F(OpenTest, ThreeFailedStringReadsCloseTheHandle) {
  ScopedLog log;
  link->failingStrings = 3;
  device->OpenHIDDevice();
  EXPECT_FALSE(device->IsDeviceOpen());
  EXPECT_EQ(link->Closes(), 1);
  const std::string text = log.Finish();
  EXPECT_NE(text.find("Unable to read manufacturer string"), std::string::npos);
  EXPECT_NE(text.find("Unable to read serial number string"), std::string::npos);
  EXPECT_EQ(text.find("Unable to read indexed string 1"), std::string::npos);
  EXPECT_NE(text.find("read HID info error, unable open device correctly"), std::string::npos);
}

TEST_F(OpenTest, NoDeviceLeavesTheHandleNullAndSendsFail) {
  ScopedLog log;
  link->openSucceeds = false;
  device->OpenHIDDevice();
  EXPECT_FALSE(device->IsDeviceOpen());
  EXPECT_FALSE(device->SendCtrlCommand(kGroupMcu, 8, kOpSet, nullptr, 0));
  EXPECT_TRUE(link->Writes().empty());
  EXPECT_NE(log.Finish().find("unable to open device"), std::string::npos);
}

TEST(HidapiTransport, WithoutUnitOpenLeavesHandleNullAndLogs) {
  ScopedLog log;
  DspDevice device(std::make_unique<HidapiTransport>());
  device.OpenHIDDevice();
  EXPECT_FALSE(device.IsDeviceOpen());
  EXPECT_FALSE(device.ReadReply(10000));
  EXPECT_NE(log.Finish().find("unable to open device"), std::string::npos);
}

TEST(HidapiTransport, ClosedTransportFailsEveryCallAtOnce) {
  HidapiTransport transport;
  std::uint8_t report[kOutputReportSize] = {};
  EXPECT_LT(transport.Write(report, sizeof report), 0);
  EXPECT_LT(transport.ReadTimeout(report, kInputReportSize, 10000), 0);
  transport.Close();
  transport.Close();
}

class SharingTest : public DeviceFixture {};

TEST_F(SharingTest, CloseDuringABlockedReadEndsItPromptly) {
  Open();
  auto reader = std::async(std::launch::async, [&] { return device->ReadReply(60000); });
  ASSERT_TRUE(link->WaitForReader());
  device->CloseHIDDevice(false);
  ASSERT_EQ(reader.wait_for(5s), std::future_status::ready);
  EXPECT_FALSE(reader.get());
}

TEST_F(SharingTest, WriteGoesOutWhileAnotherThreadWaitsInARead) {
  Open();
  auto reader = std::async(std::launch::async, [&] { return device->ReadReply(60000); });
  ASSERT_TRUE(link->WaitForReader());
  const std::uint8_t value = 1;
  EXPECT_TRUE(device->SendCtrlCommand(kGroupMcu, 0x1F, kOpSet, &value, 1));
  EXPECT_EQ(reader.wait_for(0s), std::future_status::timeout);
  link->QueueReport({});
  EXPECT_TRUE(reader.get());
}

TEST_F(SharingTest, WritesFromManyThreadsNeverOverlap) {
  Open();
  constexpr int kThreads = 4;
  constexpr int kWritesEach = 50;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&, t] {
      for (int i = 0; i < kWritesEach; ++i) {
        const std::uint8_t payload[] = {static_cast<std::uint8_t>(t), static_cast<std::uint8_t>(i)};
        device->SendCtrlCommand(kGroupDsp, 1, kOpSet, payload, sizeof payload);
      }
    });
  }
  for (auto& writer : writers) {
    writer.join();
  }
  EXPECT_EQ(link->Writes().size(), static_cast<std::size_t>(kThreads * kWritesEach));
  EXPECT_FALSE(link->OverlappingWrites());
}

// A vanished handle fails every read at once. The failing read is repeated until the time-out,
// as before, but paced: at most one attempt per millisecond instead of a spinning core.
TEST_F(SharingTest, FailingReadsAreRepeatedAtAPaceUntilTheTimeOut) {
  Open();
  link->readsFail = true;
  constexpr int kTimeoutMs = 60;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(device->ReadReply(kTimeoutMs));
  const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
  const int attempts = link->ReadAttempts();
  EXPECT_GE(elapsedMs, kTimeoutMs);
  EXPECT_GE(attempts, 2);
  EXPECT_LE(attempts, elapsedMs + 1);
}

TEST_F(SharingTest, ConcurrentReadersEachTakeOneReport) {
  Open();
  const Bytes frame = *BuildReplyFrame(kGroupMcu, Bytes{0x0C, kOpReply, 5});
  auto first = std::async(std::launch::async, [&] { return device->ReadReply(5000); });
  auto second = std::async(std::launch::async, [&] { return device->ReadReply(5000); });
  link->QueueReport(frame);
  link->QueueReport(frame);
  EXPECT_TRUE(first.get());
  EXPECT_TRUE(second.get());
  EXPECT_EQ(device->BootloaderVersion(), 5);
}

}  // namespace
}  // namespace device::testing
