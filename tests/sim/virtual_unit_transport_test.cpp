// The virtual transport's waiting: reads wake for a report, a close or an unplug, never later.
#include <gtest/gtest.h>

#include <future>

#include "device/frame.h"
#include "device/mcu_protocol.h"
#include "sim/virtual_unit_transport.h"

namespace sim::testing {
namespace {

using namespace std::chrono_literals;

class VirtualTransportTest : public ::testing::Test {
 protected:
  VirtualTransportTest() {
    EXPECT_TRUE(transport.Open(device::kUnitVendorId, device::kUnitProductId));
  }

  std::future<int> ReadInBackground(int timeoutMs) {
    return std::async(std::launch::async, [this, timeoutMs] {
      std::uint8_t buffer[device::kInputReportSize];
      return transport.ReadTimeout(buffer, sizeof buffer, timeoutMs);
    });
  }

  std::shared_ptr<VirtualUnit> unit = std::make_shared<VirtualUnit>();
  VirtualUnitTransport transport{unit};
};

TEST_F(VirtualTransportTest, CloseWakesAPendingRead) {
  auto read = ReadInBackground(-1);
  transport.Close();
  ASSERT_EQ(read.wait_for(5s), std::future_status::ready);
  EXPECT_LT(read.get(), 0);
  std::uint8_t report[device::kOutputReportSize] = {};
  EXPECT_LT(transport.Write(report, sizeof report), 0);
}

TEST_F(VirtualTransportTest, UnplugWakesAPendingRead) {
  auto read = ReadInBackground(60000);
  unit->Unplug();
  ASSERT_EQ(read.wait_for(5s), std::future_status::ready);
  EXPECT_LT(read.get(), 0);
}

TEST_F(VirtualTransportTest, PendingReadTakesAReplyWrittenLater) {
  auto read = ReadInBackground(60000);
  const auto frame =
      device::BuildCommandFrame(device::kGroupMcu, device::kMcuHandshake, device::kOpSet, {});
  ASSERT_EQ(transport.Write(frame->data(), frame->size()), 65);
  ASSERT_EQ(read.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(read.get(), 64);
}

TEST_F(VirtualTransportTest, ReportsThatAreNoCommandFramesAreIgnored) {
  std::uint8_t garbage[device::kOutputReportSize] = {0x00, 0xAA, 0x55, 0x03,
                                                     0x03, 0x08, 0xBB, 0x00};
  EXPECT_EQ(transport.Write(garbage, sizeof garbage), 65);
  EXPECT_TRUE(unit->ReceivedCommands().empty());
  std::uint8_t buffer[device::kInputReportSize];
  EXPECT_EQ(transport.ReadTimeout(buffer, sizeof buffer, 0), 0);
}

}  // namespace
}  // namespace sim::testing
