#include "device/tcp_unit_server.h"

#include <array>
#include <atomic>
#include <chrono>
#include <optional>
#include <utility>

#include "platform/debug_log.h"

namespace device {
namespace {

using Clock = std::chrono::steady_clock;

// How long a refused client is given to read its Welcome before the connection is closed.
constexpr int kRefusalDrainMs = 1000;
// How long a client that arrives while another is served waits for that session to end before
// it is refused.
constexpr int kBusyGraceMs = 500;
constexpr std::size_t kReceiveChunk = 512;

// Compares without an early exit, so the time taken tells nothing about where a guess goes wrong.
bool SameToken(const std::string& expected, const std::string& given) {
  unsigned difference = expected.size() == given.size() ? 0 : 1;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const char other = i < given.size() ? given[i] : '\0';
    difference |= static_cast<unsigned char>(expected[i] ^ other);
  }
  return difference == 0;
}

// Whole messages from a client's stream, with the time limits of the link.
class MessageReader {
 public:
  enum class Status { Message, Ended, Invalid, Silent };

  MessageReader(platform::TcpStream& stream, int messageTimeoutMs)
      : mStream(stream), mMessageTimeout(messageTimeoutMs) {}

  // Waits for the next whole message. `firstByteBy` bounds the wait for a message to begin;
  // once it has begun, the rest must follow within the message time-out.
  Status Next(std::optional<Clock::time_point> firstByteBy) {
    for (;;) {
      while (!mPending.empty()) {
        std::size_t used = 0;
        const auto result = mDecoder.Feed(mPending, used);
        mPending = mPending.subspan(used);
        if (result == LinkDecoder::Result::Invalid) {
          mFault = std::string(mDecoder.Fault());
          return Status::Invalid;
        }
        if (result == LinkDecoder::Result::Message) {
          mMessageStart.reset();
          return Status::Message;
        }
      }
      if (mDecoder.InsideMessage() && !mMessageStart) {
        mMessageStart = Clock::now();
      }
      std::optional<Clock::time_point> deadline = firstByteBy;
      if (mMessageStart) {
        deadline = *mMessageStart + std::chrono::milliseconds(mMessageTimeout);
      }
      int timeoutMs = -1;
      if (deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
        timeoutMs = static_cast<int>(std::max<long long>(left.count(), 0));
      }
      const int received = timeoutMs == 0 ? 0 : mStream.Receive(mBuffer, timeoutMs);
      if (received < 0) {
        return Status::Ended;
      }
      if (received == 0) {
        mFault = mMessageStart ? "part of a message, then nothing for " +
                                     std::to_string(mMessageTimeout) + " ms"
                               : "no hello in time";
        return Status::Silent;
      }
      mPending = std::span<const std::uint8_t>(mBuffer.data(), static_cast<std::size_t>(received));
    }
  }

  const LinkMessage& Message() const { return mDecoder.Last(); }
  const std::string& Fault() const { return mFault; }

 private:
  platform::TcpStream& mStream;
  const int mMessageTimeout;
  LinkDecoder mDecoder;
  std::array<std::uint8_t, kReceiveChunk> mBuffer{};
  std::span<const std::uint8_t> mPending;
  std::optional<Clock::time_point> mMessageStart;
  std::string mFault;
};

}  // namespace

TcpUnitServer::TcpUnitServer(std::unique_ptr<HidTransport> unit, TcpServerSettings settings,
                             EventHandler onEvent)
    : mUnit(std::move(unit)), mSettings(std::move(settings)), mOnEvent(std::move(onEvent)) {}

TcpUnitServer::~TcpUnitServer() {
  Stop();
}

ServerStart TcpUnitServer::Start(std::string& error) {
  const std::string where = mSettings.address.ToString();
  if (mSettings.token.size() > kMaxLinkTokenLength) {
    error = "the access token is longer than " + std::to_string(kMaxLinkTokenLength) + " bytes";
    return ServerStart::TokenTooLong;
  }
  const auto loopback = platform::IsLoopbackAddress(mSettings.address, error);
  if (!loopback) {
    return ServerStart::BadAddress;
  }
  if (!*loopback && !mSettings.allowRemote) {
    error = where + " is not a loopback address: serving the unit to the network must be allowed";
    return ServerStart::RemoteNotAllowed;
  }
  if (!*loopback && mSettings.token.empty()) {
    error = where + " is not a loopback address: a unit on the network needs an access token";
    return ServerStart::TokenRequired;
  }
  mListener = platform::TcpListener::Listen(mSettings.address, error);
  if (!mListener.IsOpen()) {
    return ServerStart::ListenFailed;
  }
  DebugLogA("serving the unit on %s\n", Address().ToString().c_str());
  mAcceptThread = std::thread([this] { AcceptLoop(); });
  return ServerStart::Started;
}

platform::HostPort TcpUnitServer::Address() const {
  return mListener.LocalAddress();
}

void TcpUnitServer::Stop() {
  {
    std::lock_guard lock(mMutex);
    mStopping = true;
    if (mCurrent != nullptr) {
      mCurrent->Shutdown();
    }
  }
  mSessionEnded.notify_all();
  mListener.Stop();
  if (mAcceptThread.joinable()) {
    mAcceptThread.join();
  }
  if (mSession.joinable()) {
    mSession.join();
  }
  // Clients that come now are turned away by the system instead of waiting in the backlog.
  mListener = {};
}

void TcpUnitServer::AcceptLoop() {
  for (;;) {
    platform::TcpStream stream = mListener.Accept();
    if (!stream.IsOpen()) {
      return;  // stopped
    }
    std::unique_lock lock(mMutex);
    // A client that follows right after the last one may find that session still closing the
    // unit: give it a moment before calling the unit busy.
    mSessionEnded.wait_for(lock, std::chrono::milliseconds(kBusyGraceMs),
                           [this] { return !mSessionActive || mStopping; });
    if (mStopping) {
      return;
    }
    if (mSessionActive) {
      lock.unlock();
      Emit(Refuse(stream, WelcomeStatus::Busy, stream.PeerName()));
      continue;
    }
    mSessionActive = true;
    lock.unlock();
    // The last session has ended but for leaving its thread: this join is short.
    if (mSession.joinable()) {
      mSession.join();
    }
    mSession = std::thread([this, client = std::move(stream)]() mutable {
      {
        std::lock_guard session(mMutex);
        mCurrent = &client;
        if (mStopping) {
          client.Shutdown();
        }
      }
      const ServerEvent last = Serve(client);
      {
        std::lock_guard session(mMutex);
        mCurrent = nullptr;
        mSessionActive = false;
      }
      mSessionEnded.notify_all();
      // Told once the next client can be served.
      Emit(last);
    });
  }
}

ServerEvent TcpUnitServer::Serve(platform::TcpStream& stream) {
  const std::string peer = stream.PeerName();
  MessageReader reader(stream, mSettings.messageTimeoutMs);
  const auto helloBy = Clock::now() + std::chrono::milliseconds(mSettings.helloTimeoutMs);
  const auto status = reader.Next(helloBy);
  std::optional<Hello> hello;
  if (status == MessageReader::Status::Message && reader.Message().kind == LinkKind::Hello) {
    hello = ParseHello(reader.Message().Payload());
  }
  if (!hello) {
    std::string why = "its first message is no hello";
    if (status == MessageReader::Status::Ended) {
      why = "it left before its hello";
    } else if (status != MessageReader::Status::Message) {
      why = reader.Fault();
    }
    return {ServerEvent::Kind::ClientDropped,
            "closed " + peer + ": not a client of the unit (" + why + ")"};
  }
  if (hello->version != kLinkProtocolVersion) {
    return Refuse(stream, WelcomeStatus::VersionUnsupported, peer,
                  " (version " + std::to_string(hello->version) + ")");
  }
  if (!mSettings.token.empty() && hello->token.empty()) {
    return Refuse(stream, WelcomeStatus::TokenMissing, peer);
  }
  if (!mSettings.token.empty() && !SameToken(mSettings.token, hello->token)) {
    return Refuse(stream, WelcomeStatus::TokenWrong, peer);
  }
  if (mUnit->Init() != 0 || !mUnit->Open(kUnitVendorId, kUnitProductId)) {
    return Refuse(stream, WelcomeStatus::NoUnit, peer, " (" + mUnit->Error() + ")");
  }

  bool sent = stream.SendAll(EncodeWelcome(WelcomeStatus::Accepted).View());
  std::array<wchar_t, kDeviceStringCapacity> text{};
  for (std::size_t which = 0; which < kDeviceStringCount && sent; ++which) {
    text.fill(L'\0');
    int result = -1;
    switch (static_cast<DeviceStringId>(which)) {
      case DeviceStringId::Manufacturer:
        result = mUnit->GetManufacturerString(text.data(), text.size());
        break;
      case DeviceStringId::Product:
        result = mUnit->GetProductString(text.data(), text.size());
        break;
      case DeviceStringId::SerialNumber:
        result = mUnit->GetSerialNumberString(text.data(), text.size());
        break;
      case DeviceStringId::Indexed1:
        result = mUnit->GetIndexedString(1, text.data(), text.size());
        break;
    }
    text.back() = L'\0';
    sent = stream.SendAll(
        EncodeDeviceString(static_cast<DeviceStringId>(which), result, text.data()).View());
  }
  if (sent) {
    Emit({ServerEvent::Kind::ClientConnected, "client " + peer + " connected"});
  }

  std::atomic<bool> ending{false};
  bool unitLost = false;
  std::thread pump([&] {
    unitLost = Pump(stream, ending);
    // Whatever ended the pump ends the session too.
    stream.Shutdown();
  });
  bool writeFailed = false;
  std::string reason;
  while (sent) {
    const auto next = reader.Next(std::nullopt);
    if (next == MessageReader::Status::Ended) {
      break;
    }
    if (next != MessageReader::Status::Message) {
      reason = reader.Fault();
      break;
    }
    const LinkMessage& message = reader.Message();
    if (message.kind != LinkKind::OutputReport) {
      reason = "a message of kind " + std::to_string(static_cast<int>(message.kind)) +
               " after its hello";
      break;
    }
    if (mUnit->Write(message.payload.data(), message.length) < 0) {
      writeFailed = true;  // the unit is gone
      break;
    }
  }
  ending = true;
  stream.Shutdown();
  mUnit->Close();
  pump.join();
  if (unitLost || writeFailed) {
    return {ServerEvent::Kind::ClientLeft, "closed " + peer + ": the unit went away"};
  }
  if (!reason.empty()) {
    return {ServerEvent::Kind::ClientDropped, "closed " + peer + ": " + reason};
  }
  return {ServerEvent::Kind::ClientLeft, "client " + peer + " left"};
}

bool TcpUnitServer::Pump(platform::TcpStream& stream, const std::atomic<bool>& ending) {
  std::array<std::uint8_t, kInputReportSize> report{};
  for (;;) {
    const int read = mUnit->ReadTimeout(report.data(), report.size(), -1);
    if (read > 0) {
      const auto message = EncodeLinkMessage(
          LinkKind::InputReport, std::span(report).first(static_cast<std::size_t>(read)));
      if (!message || !stream.SendAll(message->View())) {
        return false;
      }
    } else if (read < 0) {
      // The session closes the unit to end the pump; a failure before that means the unit left.
      return !ending;
    }
  }
}

ServerEvent TcpUnitServer::Refuse(platform::TcpStream& stream, WelcomeStatus status,
                                  const std::string& peer, const std::string& detail) {
  stream.SendAll(EncodeWelcome(status).View());
  stream.FinishSending(kRefusalDrainMs);
  return {ServerEvent::Kind::ClientRefused,
          "refused " + peer + ": " + std::string(WelcomeStatusText(status)) + detail};
}

void TcpUnitServer::Emit(const ServerEvent& event) {
  std::lock_guard lock(mEventMutex);
  DebugLogA("%s\n", event.text.c_str());
  if (mOnEvent) {
    mOnEvent(event);
  }
}

}  // namespace device
