// The connection handshake and the identity requests against the virtual unit, with the faults
// a real cable shows.
#include <gtest/gtest.h>

#include "device/mcu_commands.h"
#include "device/mcu_records.h"
#include "platform/window_messages.h"
#include "tests/device/scoped_log.h"
#include "tests/sim/sim_fixture.h"

namespace sim::testing {
namespace {

using namespace device;

class HandshakeTest : public SimFixture {
 protected:
  // The handshake record among the posted messages, if any.
  std::optional<HandshakeRecord> PostedHandshake() {
    std::optional<HandshakeRecord> found;
    for (const auto& message : poster->TakeAll()) {
      if (message.id == platform::msg::kMcuNotify && message.wParam == kMcuHandshake) {
        if (const auto* record = platform::RecordAs<HandshakeRecord>(message)) {
          found = *record;
        }
      }
    }
    return found;
  }
};

TEST_F(HandshakeTest, GoodReplyIdentifiesTheUnit) {
  Connect();
  PC_Connect(*device, kPcConnected);
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(unit->PcConnected());
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), device->ExpectedModel());
  const auto record = PostedHandshake();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->model, 23u);
  EXPECT_EQ(record->masterVersion, unit->Identity().masterVersion);
  EXPECT_EQ(record->slaveVersion, unit->Identity().slaveVersion);
}

TEST_F(HandshakeTest, RefusalThenGoodReply) {
  Connect();
  unit->SetRefuseHandshake(true);
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_FALSE(device->HandshakeOk());
  auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].id, platform::msg::kHandshakeRefused);
  EXPECT_FALSE(messages[0].record);

  unit->SetRefuseHandshake(false);
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_TRUE(PostedHandshake());
}

TEST_F(HandshakeTest, AcknowledgementInsteadOfReplyIsOnlyLogged) {
  device::testing::ScopedLog log;
  Connect();
  const std::uint8_t ack[] = {kMcuHandshake, kOpAck, kAckReady};
  unit->Announce(kGroupMcu, ack);
  unit->DropNextReplies(1);
  // The acknowledgement is read and logged, but it is not the handshake's reply.
  EXPECT_FALSE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_EQ(device->UnitModel(), -1);
  EXPECT_TRUE(poster->TakeAll().empty());
  EXPECT_NE(log.Finish().find("MCU_HANDSHAKE"), std::string::npos);
}

TEST_F(HandshakeTest, NoReplyWithinTheTimeOut) {
  Connect();
  unit->DropNextReplies(1);
  EXPECT_FALSE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_TRUE(poster->TakeAll().empty());
}

TEST_F(HandshakeTest, ReplySlowerThanTheTimeOutIsMissed) {
  Connect();
  unit->SetReplyLatency(std::chrono::milliseconds(2000));
  EXPECT_FALSE(Hand_Connect(*device, 20));
}

TEST_F(HandshakeTest, ReplyWithinTheLatencyArrives) {
  Connect();
  unit->SetReplyLatency(std::chrono::milliseconds(30));
  EXPECT_TRUE(Hand_Connect(*device, 5000));
  EXPECT_TRUE(device->HandshakeOk());
}

TEST_F(HandshakeTest, SplitReplyIsReassembledBeforeTheHandshakeReturns) {
  Connect();
  unit->SetSplitReplies(true);
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_TRUE(PostedHandshake());
  EXPECT_FALSE(device->ReadReply(0));  // both halves were taken
}

TEST_F(HandshakeTest, TwoFramesInOneReportAreBothDecoded) {
  device::testing::ScopedLog log;
  Connect();
  unit->SetTwoFramesPerReport(true);
  const std::uint8_t init[] = {kMcuInit, kOpReply};
  unit->Announce(kGroupMcu, init);
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(device->HandshakeOk());
  EXPECT_NE(log.Finish().find("MCU INIT"), std::string::npos);
}

TEST_F(HandshakeTest, CorruptChecksumIsDroppedAndTheNextHandshakeWorks) {
  Connect();
  unit->CorruptNextChecksums(1);
  EXPECT_FALSE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_FALSE(device->HandshakeOk());
  EXPECT_TRUE(poster->TakeAll().empty());
  ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(device->HandshakeOk());
}

TEST_F(HandshakeTest, UnpluggedUnitFailsTheHandshakeAndTheNextOpen) {
  Connect();
  unit->Unplug();
  EXPECT_FALSE(Hand_Connect(*device, kShortTimeoutMs));
  device->CloseHIDDevice(false);
  device->OpenHIDDevice();
  EXPECT_FALSE(device->IsDeviceOpen());
  unit->PlugIn();
  Connect();
  EXPECT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
}

TEST_F(HandshakeTest, ReplugNeedsANewOpen) {
  Connect();
  unit->Unplug();
  unit->PlugIn();
  // The handle opened before the unplug stays dead, as a hidraw handle does.
  EXPECT_FALSE(Hand_Connect(*device, kShortTimeoutMs));
  EXPECT_TRUE(unit->ReceivedCommands().empty());
  device->CloseHIDDevice(false);
  Connect();
  EXPECT_TRUE(Hand_Connect(*device, kShortTimeoutMs));
}

// Firmware that answers PC_Connect and firmware that does not: either way the handshake takes
// its own reply, and the request after it gets its own too.
class PcConnectAnswerTest : public HandshakeTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PcConnectAnswerTest, HandshakeAndTheNextRequestTakeTheirOwnReplies) {
  unit->SetAnswerPcConnect(GetParam());
  for (int connection = 0; connection < 2; ++connection) {
    Connect();
    PC_Connect(*device, kPcConnected);
    ASSERT_TRUE(Hand_Connect(*device, kShortTimeoutMs)) << "connection " << connection;
    EXPECT_TRUE(device->HandshakeOk());
    EXPECT_TRUE(PostedHandshake());
    device->SetBootloaderVersion(0);
    ASSERT_TRUE(Get_Bootloader_Version(*device));
    EXPECT_EQ(device->BootloaderVersion(), unit->Identity().bootloaderVersion);
    // Leaving is announced and, with the knob, answered; nothing of it may reach the next
    // connection.
    device->CloseHIDDevice(true);
    device->SetHandshakeOk(false);
  }
}

INSTANTIATE_TEST_SUITE_P(Firmware, PcConnectAnswerTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Answers" : "Silent"; });

// hidraw cannot read indexed strings: that is not counted against the unit, so only a unit
// missing three real strings is refused.
struct MissingStrings {
  bool manufacturer;
  bool product;
  bool serial;
  bool opens;
};

class MissingStringsTest : public HandshakeTest,
                           public ::testing::WithParamInterface<MissingStrings> {};

TEST_P(MissingStringsTest, OnlyRealFailuresCount) {
  const MissingStrings missing = GetParam();
  UnitIdentity identity;
  for (auto [gone, string] : {std::pair{missing.manufacturer, &identity.manufacturer},
                              std::pair{missing.product, &identity.product},
                              std::pair{missing.serial, &identity.serialNumber}}) {
    if (gone) {
      string->clear();
    }
  }
  unit = std::make_shared<VirtualUnit>(identity);
  device = std::make_unique<DspDevice>(std::make_unique<VirtualUnitTransport>(unit));
  device::testing::ScopedLog log;
  device->OpenHIDDevice();
  EXPECT_EQ(device->IsDeviceOpen(), missing.opens);
  const std::string text = log.Finish();
  EXPECT_NE(text.find("Unable to read indexed string 1: not supported"), std::string::npos);
  EXPECT_EQ(text.find("read HID info error") == std::string::npos, missing.opens);
}

INSTANTIATE_TEST_SUITE_P(Identity, MissingStringsTest,
                         ::testing::Values(MissingStrings{false, false, false, true},
                                           MissingStrings{true, false, true, true},
                                           MissingStrings{true, true, true, false}));

TEST_F(HandshakeTest, DisconnectTellsTheUnit) {
  Connect();
  PC_Connect(*device, kPcConnected);
  ASSERT_TRUE(unit->PcConnected());
  device->CloseHIDDevice(true);
  EXPECT_FALSE(unit->PcConnected());
  EXPECT_FALSE(device->IsDeviceOpen());
}

class IdentityRequestTest : public HandshakeTest {};

TEST_F(IdentityRequestTest, VersionsTextAndBootloader) {
  Connect();
  ASSERT_TRUE(Get_Flash_Version(*device));
  ASSERT_TRUE(Get_Bootloader_Version(*device));
  ASSERT_TRUE(Get_Mcu_Text(*device, kShortTimeoutMs));
  EXPECT_EQ(device->BootloaderVersion(), unit->Identity().bootloaderVersion);
  auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 2u);
  const auto* flash = platform::RecordAs<FlashVersionRecord>(messages[0]);
  ASSERT_TRUE(flash);
  const auto expected = unit->Identity().flashVersion;
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), flash->version.begin()));
  const auto* text = platform::RecordAs<McuTextRecord>(messages[1]);
  ASSERT_TRUE(text);
  EXPECT_EQ(std::string(text->text.begin(), text->text.begin() + text->length),
            unit->Identity().mcuText);
}

TEST_F(IdentityRequestTest, PasswordIsStoredAndReadBack) {
  Connect();
  ASSERT_TRUE(SetPWD(*device, "1234", "garage", kShortTimeoutMs));
  EXPECT_EQ(unit->Password(), "1234");
  EXPECT_EQ(unit->Remark(), "garage");
  EXPECT_FALSE(SetPWD(*device, "1234567890123", "", kShortTimeoutMs));
  EXPECT_EQ(unit->Password(), "1234");
  poster->TakeAll();

  ASSERT_TRUE(Get_Password(*device, kShortTimeoutMs));
  auto messages = poster->TakeAll();
  ASSERT_EQ(messages.size(), 1u);
  const auto* record = platform::RecordAs<PasswordRecord>(messages[0]);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->passwordLength, 4u);
  EXPECT_EQ(std::string(record->password.begin(), record->password.begin() + 4), "1234");
  EXPECT_EQ(record->remarkLength, 6u);
  EXPECT_EQ(std::string(record->remark.begin(), record->remark.begin() + 6), "garage");
}

}  // namespace
}  // namespace sim::testing
