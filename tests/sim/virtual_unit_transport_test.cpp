// The virtual transport's waiting: reads wake for a report, a close or an unplug, never later.
#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>
#include <vector>

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

// Like a hidraw handle: a new one starts empty, and one opened before an unplug stays dead.
class HandleTest : public VirtualTransportTest {
 protected:
  int WriteHandshake() {
    const auto frame =
        device::BuildCommandFrame(device::kGroupMcu, device::kMcuHandshake, device::kOpSet, {});
    return transport.Write(frame->data(), frame->size());
  }
  int ReadNow() {
    std::uint8_t buffer[device::kInputReportSize];
    return transport.ReadTimeout(buffer, sizeof buffer, 0);
  }
};

TEST_F(HandleTest, OpeningEmptiesWhatIsPending) {
  ASSERT_EQ(WriteHandshake(), 65);
  transport.Close();
  ASSERT_TRUE(transport.Open(device::kUnitVendorId, device::kUnitProductId));
  EXPECT_EQ(ReadNow(), 0);
}

TEST_F(HandleTest, HandleOpenedBeforeAnUnplugStaysDeadAfterTheReplug) {
  unit->Unplug();
  unit->PlugIn();
  EXPECT_LT(WriteHandshake(), 0);
  EXPECT_LT(ReadNow(), 0);
  EXPECT_EQ(transport.Error(), "device gone: open it again");
  EXPECT_TRUE(unit->ReceivedCommands().empty());

  ASSERT_TRUE(transport.Open(device::kUnitVendorId, device::kUnitProductId));
  EXPECT_EQ(WriteHandshake(), 65);
  EXPECT_EQ(ReadNow(), 64);
}

// The hot-plug source of the program: listeners hear every unplug and replug once, in order, and
// may call back into the unit.
TEST(PlugListenerTest, UnplugAndReplugAreEachHeardOnce) {
  VirtualUnit unit;
  std::vector<std::pair<bool, bool>> heard;  // (event, what the unit said from inside)
  const int id = unit.AddPlugListener(
      [&](bool pluggedIn) { heard.emplace_back(pluggedIn, unit.IsPluggedIn()); });
  unit.Unplug();
  unit.Unplug();  // no change, nothing to hear
  unit.PlugIn();
  unit.PlugIn();
  EXPECT_EQ(heard, (std::vector<std::pair<bool, bool>>{{false, false}, {true, true}}));

  unit.RemovePlugListener(id);
  unit.Unplug();
  EXPECT_EQ(heard.size(), 2u);
}

TEST(PlugListenerTest, ListenersOnOtherThreadsHearEveryChangeInOrder) {
  VirtualUnit unit;
  std::mutex mutex;
  std::vector<bool> heard;
  const int id = unit.AddPlugListener([&](bool pluggedIn) {
    std::lock_guard lock(mutex);
    heard.push_back(pluggedIn);
  });
  // A listener that removes itself while being called.
  int once = 0;
  int selfRemoving = 0;
  selfRemoving = unit.AddPlugListener([&](bool) {
    ++once;
    unit.RemovePlugListener(selfRemoving);
  });
  constexpr int kCycles = 200;
  auto toggler = [&] {
    for (int i = 0; i < kCycles; ++i) {
      unit.Unplug();
      unit.PlugIn();
    }
  };
  std::thread first(toggler);
  std::thread second(toggler);
  first.join();
  second.join();
  unit.RemovePlugListener(id);
  EXPECT_EQ(once, 1);
  std::lock_guard lock(mutex);
  ASSERT_FALSE(heard.empty());
  // Changes only: the events alternate, starting with the first unplug and ending plugged in.
  EXPECT_FALSE(heard.front());
  EXPECT_TRUE(heard.back());
  for (std::size_t i = 1; i < heard.size(); ++i) {
    ASSERT_NE(heard[i], heard[i - 1]) << "event " << i;
  }
  EXPECT_TRUE(unit.IsPluggedIn());
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
