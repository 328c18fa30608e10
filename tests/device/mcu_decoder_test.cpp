// Decoding of MCU replies: what reaches the main window and what DspDevice keeps, including
// replies that are cut short or claim more bytes than they carry.
#include <gtest/gtest.h>

#include "device/mcu_protocol.h"
#include "device/mcu_records.h"
#include "platform/window_messages.h"
#include "tests/device/device_fixture.h"
#include "tests/device/scoped_log.h"

namespace device::testing {
namespace {

class McuDecoderTest : public DeviceFixture {
 protected:
  void Decode(const Bytes& body) { device->DispatchReply(kGroupMcu, body); }

  // The one record posted with kMcuNotify and `code`; fails the test otherwise.
  template <typename T>
  std::unique_ptr<T> Single(std::uint8_t code) {
    auto messages = poster->TakeAll();
    EXPECT_EQ(messages.size(), 1u);
    if (messages.size() != 1 || messages[0].id != platform::msg::kMcuNotify ||
        messages[0].wParam != code || !platform::RecordAs<T>(messages[0])) {
      ADD_FAILURE() << "expected one record for code " << int(code);
      return nullptr;
    }
    return std::unique_ptr<T>(static_cast<T*>(messages[0].record.release()));
  }
};

TEST_F(McuDecoderTest, AcceptedHandshakeSetsStateAndPostsRecord) {
  Decode({kMcuHandshake, kOpReply, 0x00, 23, 15, 6});
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), 23);
  auto record = Single<HandshakeRecord>(kMcuHandshake);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->reserved, 0u);
  EXPECT_EQ(record->model, 23u);
  EXPECT_EQ(record->masterVersion, 15u);
  EXPECT_EQ(record->slaveVersion, 6u);
}

TEST_F(McuDecoderTest, RefusalPostsOnlyTheRefusedMessageAndKeepsTheModel) {
  Decode({kMcuHandshake, kOpReply, 0x00, 23, 15, 6});
  poster->TakeAll();
  Decode({kMcuHandshake, kOpReply, kHandshakeRefusal});
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), 23);
  const auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].id, platform::msg::kHandshakeRefused);
  EXPECT_EQ(messages[0].wParam, 0u);
  EXPECT_EQ(messages[0].value, 0);
  EXPECT_FALSE(messages[0].record);
}

TEST_F(McuDecoderTest, AcknowledgementOpIsLoggedOnly) {
  ScopedLog log;
  Decode({kMcuHandshake, kOpAck, 0x00, 23, 15, 6});
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), -1);
  EXPECT_TRUE(poster->TakeAll().empty());
  EXPECT_NE(log.Finish().find("\nMCU_HANDSHAKE\n"), std::string::npos);
}

TEST_F(McuDecoderTest, ShortBodiesChangeNothing) {
  for (const Bytes& body : std::vector<Bytes>{{},
                                              {kMcuHandshake},
                                              {kMcuHandshake, kOpReply},
                                              {kMcuHandshake, kOpReply, 0x00, 23, 15},
                                              {kMcuFlashVersion, kOpReply, 1, 2, 3},
                                              {kMcuBootloaderVersion, kOpReply},
                                              {kMcuPassword, kOpReply},
                                              {kMcuText, kOpReply}}) {
    Decode(body);
  }
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), -1);
  EXPECT_EQ(device->BootloaderVersion(), 0);
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(McuDecoderTest, FlashVersionCarriesFourBytes) {
  Decode({kMcuFlashVersion, kOpReply, 1, 0, 2, 5});
  auto record = Single<FlashVersionRecord>(kMcuFlashVersion);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->reserved, (std::array<std::uint32_t, 4>{}));
  EXPECT_EQ(record->version, (std::array<std::uint32_t, 4>{1, 0, 2, 5}));
}

TEST_F(McuDecoderTest, BootloaderVersionIsKeptNotPosted) {
  Decode({kMcuBootloaderVersion, kOpReply, 7});
  EXPECT_EQ(device->BootloaderVersion(), 7);
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(McuDecoderTest, PasswordAndRemarkAreCutToTheirRoom) {
  Bytes body{kMcuPassword, kOpReply, 14};
  for (int i = 0; i < 14; ++i)
    body.push_back(static_cast<std::uint8_t>('a' + i));
  body.push_back(25);
  for (int i = 0; i < 25; ++i)
    body.push_back(static_cast<std::uint8_t>('A' + i));
  Decode(body);
  auto record = Single<PasswordRecord>(kMcuPassword);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->passwordLength, kMaxPasswordBytes);
  EXPECT_EQ(std::string(record->password.begin(), record->password.end()), "abcdefghijkl");
  EXPECT_EQ(record->remarkLength, kMaxRemarkBytes);
  EXPECT_EQ(std::string(record->remark.begin(), record->remark.end()), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(McuDecoderTest, PasswordClaimingMoreThanTheBodyHoldsKeepsWhatArrived) {
  Decode({kMcuPassword, kOpReply, 10, 'x', 'y', 'z'});
  auto record = Single<PasswordRecord>(kMcuPassword);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->passwordLength, 3u);
  EXPECT_EQ(record->password[2], 'z');
  EXPECT_EQ(record->remarkLength, 0u);
}

TEST_F(McuDecoderTest, McuTextIsCutAtSixteenBytes) {
  Bytes body{kMcuText, kOpReply, 40};
  body.resize(body.size() + 40, 'T');
  Decode(body);
  auto record = Single<McuTextRecord>(kMcuText);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->length, kMaxMcuTextBytes);
  Decode({kMcuText, kOpReply, 5, 'a', 'b'});
  record = Single<McuTextRecord>(kMcuText);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->length, 2u);
}

TEST_F(McuDecoderTest, InitAndPcConnectRepliesPostNothing) {
  ScopedLog log;
  Decode({kMcuInit, kOpReply});
  Decode({kMcuPcConnect, kOpReply, 1});
  EXPECT_TRUE(poster->TakeAll().empty());
  EXPECT_NE(log.Finish().find("MCU INIT"), std::string::npos);
}

}  // namespace
}  // namespace device::testing
