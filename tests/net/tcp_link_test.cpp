// The unit over TCP, client and server in this process: a dropped link behaves as an unplug and
// a reconnect works; timed reads and closes; who may connect; garbage on the socket.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <vector>

#include "device/dsp_device.h"
#include "device/mcu_commands.h"
#include "device/mcu_records.h"
#include "device/tcp_transport.h"
#include "device/tcp_unit_server.h"
#include "platform/queued_poster.h"
#include "platform/window_messages.h"
#include "sim/virtual_unit_transport.h"

namespace device {
namespace {

using namespace std::chrono_literals;
using Kind = ServerEvent::Kind;

constexpr platform::WindowHandle kWindow = 5;
constexpr auto kBound = 5s;

// Server events, waited for by kind.
class EventLog {
 public:
  TcpUnitServer::EventHandler Handler() {
    return [this](const ServerEvent& event) {
      std::lock_guard lock(mMutex);
      mEvents.push_back(event);
      mChanged.notify_all();
    };
  }
  // The text of the oldest event of `kind` not taken yet; empty when none came within kBound.
  std::string Take(Kind kind) {
    std::unique_lock lock(mMutex);
    std::string text;
    mChanged.wait_for(lock, kBound, [&] {
      for (auto it = mEvents.begin(); it != mEvents.end(); ++it) {
        if (it->kind == kind) {
          text = it->text;
          mEvents.erase(it);
          return true;
        }
      }
      return false;
    });
    return text;
  }

 private:
  std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<ServerEvent> mEvents;
};

// Set once from any thread, waited for with a bound.
class Latch {
 public:
  void Set() {
    std::lock_guard lock(mMutex);
    mSet = true;
    mChanged.notify_all();
  }
  bool Wait() {
    std::unique_lock lock(mMutex);
    return mChanged.wait_for(lock, kBound, [this] { return mSet; });
  }
  bool IsSet() {
    std::lock_guard lock(mMutex);
    return mSet;
  }

 private:
  std::mutex mMutex;
  std::condition_variable mChanged;
  bool mSet = false;
};

// Tells when a read that waits for a reply (not a quick poll) has begun.
class WatchedTcpTransport : public TcpTransport {
 public:
  using TcpTransport::TcpTransport;
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override {
    if (timeoutMs >= kReplyTimeoutMs) {
      longRead.Set();
    }
    return TcpTransport::ReadTimeout(buffer, length, timeoutMs);
  }
  Latch longRead;
};

class TcpLinkTest : public ::testing::Test {
 protected:
  TcpLinkTest() {
    poster->OpenWindow(kWindow);
    platform::InstallPoster(poster);
  }
  ~TcpLinkTest() override { platform::InstallPoster(nullptr); }

  void StartServer(TcpServerSettings settings = {}) {
    if (settings.address.host.empty()) {
      settings.address = {"127.0.0.1", address.port};
    }
    server.reset();
    server = std::make_unique<TcpUnitServer>(std::make_unique<sim::VirtualUnitTransport>(unit),
                                             settings, events.Handler());
    std::string error;
    ASSERT_EQ(server->Start(error), ServerStart::Started) << error;
    address = server->Address();
  }

  std::unique_ptr<DspDevice> Client(std::unique_ptr<TcpTransport> transport = nullptr) {
    auto device = std::make_unique<DspDevice>(
        transport ? std::move(transport) : std::make_unique<TcpTransport>(address, ""));
    device->SetWindow(DspDevice::WindowRole::Main, kWindow);
    return device;
  }

  // Opens `device` and runs the handshake; true when the unit's handshake record arrived.
  bool Handshake(DspDevice& device) {
    device.OpenHIDDevice();
    if (!device.IsDeviceOpen() || !Hand_Connect(device)) {
      return false;
    }
    for (const auto& message : poster->TakeAll()) {
      if (message.id == platform::msg::kMcuNotify && message.wParam == kMcuHandshake) {
        return platform::RecordAs<HandshakeRecord>(message)->model == unit->Identity().model;
      }
    }
    return false;
  }

  std::shared_ptr<sim::VirtualUnit> unit = std::make_shared<sim::VirtualUnit>();
  std::shared_ptr<platform::QueuedPoster> poster = std::make_shared<platform::QueuedPoster>();
  EventLog events;
  std::unique_ptr<TcpUnitServer> server;
  platform::HostPort address{"127.0.0.1", 0};
};

enum class Moment { Idle, MidRead };
enum class Cause { UnitUnplugged, ServerStopped };

class TcpLinkLoss : public TcpLinkTest,
                    public ::testing::WithParamInterface<std::tuple<Moment, Cause>> {};

TEST_P(TcpLinkLoss, BehavesAsAnUnplugAndAReconnectWorks) {
  const auto [moment, cause] = GetParam();
  StartServer();
  auto transport = std::make_unique<WatchedTcpTransport>(address, "");
  WatchedTcpTransport& link = *transport;
  Latch lost;
  link.SetLostHandler([&] { lost.Set(); });
  auto device = Client(std::move(transport));
  device->OpenHIDDevice();
  ASSERT_TRUE(device->IsDeviceOpen());
  ASSERT_FALSE(events.Take(Kind::ClientConnected).empty());

  std::future<bool> reply;
  if (moment == Moment::MidRead) {
    unit->DropNextReplies(1);
    reply = std::async(std::launch::async, [&] { return Hand_Connect(*device); });
    ASSERT_TRUE(link.longRead.Wait());
  }
  if (cause == Cause::UnitUnplugged) {
    unit->Unplug();
    EXPECT_NE(events.Take(Kind::ClientLeft).find("the unit went away"), std::string::npos);
  } else {
    server->Stop();
  }
  ASSERT_TRUE(lost.Wait());
  // What the program does on an unplug: disconnect. A reader still waiting returns at once.
  device->CloseHIDDevice(true);
  EXPECT_FALSE(device->IsDeviceOpen());
  if (moment == Moment::MidRead) {
    ASSERT_EQ(reply.wait_for(kBound), std::future_status::ready);
    EXPECT_FALSE(reply.get());
  }

  // The cut may have come before the unanswered command reached the unit.
  unit->DropNextReplies(0);
  if (cause == Cause::UnitUnplugged) {
    device->OpenHIDDevice();
    EXPECT_FALSE(device->IsDeviceOpen());  // no unit behind the server: refused
    EXPECT_NE(events.Take(Kind::ClientRefused).find("cannot open the unit"), std::string::npos);
    unit->PlugIn();
  } else {
    StartServer();  // the same port again
  }
  EXPECT_TRUE(Handshake(*device));
}

INSTANTIATE_TEST_SUITE_P(Links, TcpLinkLoss,
                         ::testing::Combine(::testing::Values(Moment::Idle, Moment::MidRead),
                                            ::testing::Values(Cause::UnitUnplugged,
                                                              Cause::ServerStopped)));

TEST_F(TcpLinkTest, TimedReadsKeepTheirTimeOutAndCloseEndsAPendingRead) {
  StartServer();
  TcpTransport link(address, "");
  bool lostCalled = false;
  link.SetLostHandler([&] { lostCalled = true; });
  ASSERT_TRUE(link.Open(kUnitVendorId, kUnitProductId));
  wchar_t product[kDeviceStringCapacity];
  EXPECT_EQ(link.GetProductString(product, kDeviceStringCapacity), 0);
  EXPECT_EQ(std::wstring(product), unit->Identity().product);

  std::uint8_t buffer[kInputReportSize];
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link.ReadTimeout(buffer, sizeof buffer, 50), 0);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);

  auto pending =
      std::async(std::launch::async, [&] { return link.ReadTimeout(buffer, sizeof buffer, -1); });
  link.Close();
  ASSERT_EQ(pending.wait_for(kBound), std::future_status::ready);
  EXPECT_LT(pending.get(), 0);
  const std::uint8_t report[kOutputReportSize] = {};
  EXPECT_LT(link.Write(report, sizeof report), 0);
  EXPECT_FALSE(lostCalled);  // a close on purpose is no loss
  EXPECT_FALSE(events.Take(Kind::ClientLeft).empty());
}

struct TokenCase {
  const char* name;
  std::string serverToken;
  std::string clientToken;
  const char* refusal;  // null: accepted
};

class TcpLinkToken : public TcpLinkTest, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(TcpLinkToken, RefusedWithTheReasonOnBothSides) {
  const TokenCase& c = GetParam();
  TcpServerSettings settings;
  settings.token = c.serverToken;
  StartServer(settings);
  TcpTransport link(address, c.clientToken);
  const bool opened = link.Open(kUnitVendorId, kUnitProductId);
  if (c.refusal == nullptr) {
    EXPECT_TRUE(opened) << link.Error();
    EXPECT_FALSE(events.Take(Kind::ClientConnected).empty());
    return;
  }
  EXPECT_FALSE(opened);
  EXPECT_NE(link.Error().find(c.refusal), std::string::npos) << link.Error();
  EXPECT_NE(events.Take(Kind::ClientRefused).find(c.refusal), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, TcpLinkToken,
    ::testing::Values(TokenCase{"Missing", "s3cret", "", "no access token"},
                      TokenCase{"Wrong", "s3cret", "s3creT", "wrong access token"},
                      TokenCase{"Longer", "s3cret", "s3cret!", "wrong access token"},
                      TokenCase{"Right", "s3cret", "s3cret", nullptr},
                      TokenCase{"NoneAsked", "", "anything", nullptr}),
    [](const auto& info) { return info.param.name; });

struct StartCase {
  const char* name;
  std::string address;
  bool allowRemote;
  std::string token;
  ServerStart expected;
};

class TcpLinkStart : public TcpLinkTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(TcpLinkStart, ARemoteAddressNeedsPermissionAndAToken) {
  const StartCase& c = GetParam();
  std::string error;
  TcpServerSettings settings;
  settings.address = *platform::ParseHostPort(c.address, true, error);
  settings.allowRemote = c.allowRemote;
  settings.token = c.token;
  TcpUnitServer remote(std::make_unique<sim::VirtualUnitTransport>(unit), settings, nullptr);
  EXPECT_EQ(remote.Start(error), c.expected) << error;
  EXPECT_EQ(error.empty(), c.expected == ServerStart::Started) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, TcpLinkStart,
    ::testing::Values(
        StartCase{"AnyAddress", "0.0.0.0:0", false, "t", ServerStart::RemoteNotAllowed},
        StartCase{"AllowedWithoutToken", "0.0.0.0:0", true, "", ServerStart::TokenRequired},
        StartCase{"AllowedWithToken", "0.0.0.0:0", true, "t", ServerStart::Started},
        StartCase{"Loopback", "127.0.0.1:0", false, "", ServerStart::Started},
        StartCase{"LoopbackName", "localhost:0", false, "", ServerStart::Started},
        StartCase{"TokenTooLong", "127.0.0.1:0", false, std::string(61, 't'),
                  ServerStart::TokenTooLong},
        StartCase{"Unresolvable", "no-such-host.invalid:0", false, "", ServerStart::BadAddress}),
    [](const auto& info) { return info.param.name; });

TEST_F(TcpLinkTest, ASecondClientIsRefusedAndServedOnceTheFirstHasLeft) {
  StartServer();
  auto first = Client();
  ASSERT_TRUE(Handshake(*first));
  ASSERT_FALSE(events.Take(Kind::ClientConnected).empty());

  TcpTransport second(address, "");
  EXPECT_FALSE(second.Open(kUnitVendorId, kUnitProductId));
  EXPECT_NE(second.Error().find("another client is connected"), std::string::npos);
  EXPECT_NE(events.Take(Kind::ClientRefused).find("another client"), std::string::npos);
  EXPECT_TRUE(Hand_Connect(*first));  // the first is served on

  first->CloseHIDDevice(true);
  ASSERT_FALSE(events.Take(Kind::ClientLeft).empty());
  EXPECT_TRUE(second.Open(kUnitVendorId, kUnitProductId)) << second.Error();
}

struct GarbageCase {
  const char* name;
  bool helloFirst;
  std::vector<std::uint8_t> bytes;
  const char* fault;
};

class TcpLinkGarbage : public TcpLinkTest, public ::testing::WithParamInterface<GarbageCase> {};

TEST_P(TcpLinkGarbage, ClosesThatConnectionAndServesTheNext) {
  const GarbageCase& c = GetParam();
  TcpServerSettings settings;
  settings.helloTimeoutMs = 100;
  settings.messageTimeoutMs = 100;
  StartServer(settings);
  std::string error;
  platform::TcpStream raw = platform::TcpStream::Connect(address, 5000, error);
  ASSERT_TRUE(raw.IsOpen()) << error;
  if (c.helloFirst) {
    ASSERT_TRUE(raw.SendAll(EncodeHello("")->View()));
  }
  ASSERT_TRUE(raw.SendAll(c.bytes));

  // The server closes the connection: reads end in -1 (after the Welcome, if there was a hello).
  const auto deadline = std::chrono::steady_clock::now() + kBound;
  std::uint8_t buffer[256];
  int received = 0;
  while (received >= 0 && std::chrono::steady_clock::now() < deadline) {
    received = raw.Receive(buffer, 100);
  }
  EXPECT_LT(received, 0);
  EXPECT_NE(events.Take(Kind::ClientDropped).find(c.fault), std::string::npos);

  auto next = Client();
  EXPECT_TRUE(Handshake(*next));
}

INSTANTIATE_TEST_SUITE_P(
    Streams, TcpLinkGarbage,
    ::testing::Values(
        GarbageCase{"HttpRequest", false, {'G', 'E', 'T', ' ', '/'}, "unknown message kind 71"},
        GarbageCase{"ReportBeforeHello", false, {0x04, 0x01, 0x00}, "first message is no hello"},
        GarbageCase{
            "WrongMagic", false, {0x01, 0x05, 'X', 'X', 'X', 'X', 1}, "first message is no hello"},
        GarbageCase{"SilenceBeforeHello", false, {}, "no hello in time"},
        GarbageCase{"Oversize", true, {0x04, 66}, "length 66"},
        GarbageCase{"HalfFrameThenSilence",
                    true,
                    {0x04, 65, 0x00, 0xAA, 0x55},
                    "part of a message, then nothing for 100 ms"},
        GarbageCase{"InputReportFromClient", true, {0x05, 0x01, 0x00}, "kind 5 after its hello"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace device
