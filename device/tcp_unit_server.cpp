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
  mListener.Stop();
  if (mAcceptThread.joinable()) {
    mAcceptThread.join();
  }
  if (mSession.joinable()) {
    mSession.join();
  }
}

void TcpUnitServer::AcceptLoop() {
  for (;;) {
    platform::TcpStream stream = mListener.Accept();
    if (!stream.IsOpen()) {
      return;  // stopped
    }
    std::unique_lock lock(mMutex);
    if (mStopping) {
      return;
    }
    if (mSessionActive) {
      lock.unlock();
      Refuse(stream, WelcomeStatus::Busy, stream.PeerName());
      continue;
    }
    mSessionActive = true;
    lock.unlock();
    // The last session has set mSessionActive false as its final step: this join is short.
    if (mSession.joinable()) {
      mSession.join();
    }
    mSession = std::thread([this, client = std::move(stream)]() mutable { Serve(client); });
  }
}

void TcpUnitServer::Serve(platform::TcpStream& stream) {
  const std::string peer = stream.PeerName();
  {
    std::lock_guard lock(mMutex);
    mCurrent = &stream;
    if (mStopping) {
      stream.Shutdown();
    }
  }
  struct SessionEnd {
    TcpUnitServer& server;
    ~SessionEnd() {
      std::lock_guard lock(server.mMutex);
      server.mCurrent = nullptr;
      server.mSessionActive = false;
    }
  } sessionEnd{*this};

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
    Emit(ServerEvent::Kind::ClientDropped,
         "closed " + peer + ": not a client of the unit (" + why + ")");
    return;
  }
  if (hello->version != kLinkProtocolVersion) {
    Refuse(stream, WelcomeStatus::VersionUnsupported, peer,
           " (version " + std::to_string(hello->version) + ")");
    return;
  }
  if (!mSettings.token.empty() && hello->token.empty()) {
    Refuse(stream, WelcomeStatus::TokenMissing, peer);
    return;
  }
  if (!mSettings.token.empty() && !SameToken(mSettings.token, hello->token)) {
    Refuse(stream, WelcomeStatus::TokenWrong, peer);
    return;
  }
  if (mUnit->Init() != 0 || !mUnit->Open(kUnitVendorId, kUnitProductId)) {
    Refuse(stream, WelcomeStatus::NoUnit, peer, " (" + mUnit->Error() + ")");
    return;
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
    Emit(ServerEvent::Kind::ClientConnected, "client " + peer + " connected");
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
    Emit(ServerEvent::Kind::ClientLeft, "closed " + peer + ": the unit went away");
  } else if (!reason.empty()) {
    Emit(ServerEvent::Kind::ClientDropped, "closed " + peer + ": " + reason);
  } else {
    Emit(ServerEvent::Kind::ClientLeft, "client " + peer + " left");
  }
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

void TcpUnitServer::Refuse(platform::TcpStream& stream, WelcomeStatus status,
                           const std::string& peer, const std::string& detail) {
  stream.SendAll(EncodeWelcome(status).View());
  stream.FinishSending(kRefusalDrainMs);
  Emit(ServerEvent::Kind::ClientRefused,
       "refused " + peer + ": " + std::string(WelcomeStatusText(status)) + detail);
}

void TcpUnitServer::Emit(ServerEvent::Kind kind, std::string text) {
  std::lock_guard lock(mEventMutex);
  DebugLogA("%s\n", text.c_str());
  if (mOnEvent) {
    mOnEvent(ServerEvent{kind, std::move(text)});
  }
}

}  // namespace device
