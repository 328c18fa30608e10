#include "device/tcp_transport.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/debug_log.h"

namespace device {
namespace {

// Bytes taken off the socket at a time.
constexpr std::size_t kReceiveChunk = 512;

}  // namespace

std::optional<platform::HostPort> ParseTcpDeviceName(std::string_view name, std::string& error) {
  if (!name.starts_with(kTcpDevicePrefix)) {
    error = "'" + std::string(name) + "' does not start with " + std::string(kTcpDevicePrefix);
    return std::nullopt;
  }
  return platform::ParseHostPort(name.substr(kTcpDevicePrefix.size()), false, error);
}

TcpTransport::TcpTransport(platform::HostPort server, std::string token)
    : mServer(std::move(server)), mToken(std::move(token)) {}

TcpTransport::~TcpTransport() {
  std::lock_guard open(mOpenMutex);
  CloseConnection();
}

int TcpTransport::Init() {
  return 0;
}

bool TcpTransport::Open(std::uint16_t vendor, std::uint16_t product) {
  std::lock_guard open(mOpenMutex);
  CloseConnection();
  const std::string where = std::string(kTcpDevicePrefix) + mServer.ToString();
  auto fail = [&](std::string reason) {
    DebugLogA("%s: %s\n", where.c_str(), reason.c_str());
    std::lock_guard lock(mMutex);
    mError = std::move(reason);
    return false;
  };
  if (vendor != kUnitVendorId || product != kUnitProductId) {
    return fail("the server serves only the TRZ62C");
  }
  const auto hello = EncodeHello(mToken);
  if (!hello) {
    return fail("the access token is longer than " + std::to_string(kMaxLinkTokenLength) +
                " bytes");
  }
  std::string error;
  platform::TcpStream stream = platform::TcpStream::Connect(mServer, kLinkConnectTimeoutMs, error);
  if (!stream.IsOpen()) {
    return fail("cannot connect: " + error);
  }
  if (!stream.SendAll(hello->View())) {
    return fail("the server closed the connection");
  }

  std::unique_lock lock(mMutex);
  mStream = std::move(stream);
  mState = State::Opening;
  mWelcome.reset();
  mStrings = {};
  mReports.clear();
  mError.clear();
  mReceiver = std::thread([this] { Receive(); });
  mReceiverId = mReceiver.get_id();
  mChanged.wait_for(lock, std::chrono::milliseconds(kLinkConnectTimeoutMs),
                    [this] { return mState != State::Opening || AnswerComplete(); });
  if (mState == State::Opening && AnswerComplete()) {
    mState = State::Open;
    DebugLogA("%s: connected\n", where.c_str());
    return true;
  }
  std::string reason;
  if (mWelcome && mWelcome->status != WelcomeStatus::Accepted) {
    reason =
        "the server refused the connection: " + std::string(WelcomeStatusText(mWelcome->status));
    if (mWelcome->status == WelcomeStatus::VersionUnsupported) {
      reason += " (server " + std::to_string(mWelcome->version) + ", client " +
                std::to_string(kLinkProtocolVersion) + ")";
    }
  } else if (mState == State::Lost) {
    reason = mError;
  } else {
    reason = "no answer from the server within " + std::to_string(kLinkConnectTimeoutMs) + " ms";
  }
  lock.unlock();
  CloseConnection();
  return fail(reason);
}

bool TcpTransport::AnswerComplete() const {
  return mWelcome && mWelcome->status == WelcomeStatus::Accepted &&
         std::all_of(mStrings.begin(), mStrings.end(), [](const auto& s) { return s.has_value(); });
}

void TcpTransport::Receive() {
  std::array<std::uint8_t, kReceiveChunk> buffer;
  LinkDecoder decoder;
  std::string reason = "the server closed the connection";
  for (bool going = true; going;) {
    const int received = mStream.Receive(buffer, -1);
    if (received < 0) {
      break;
    }
    std::span<const std::uint8_t> rest(buffer.data(), static_cast<std::size_t>(received));
    while (going && !rest.empty()) {
      std::size_t used = 0;
      const auto result = decoder.Feed(rest, used);
      rest = rest.subspan(used);
      if (result == LinkDecoder::Result::Invalid) {
        reason = "the server sent no valid message: " + std::string(decoder.Fault());
        going = false;
      } else if (result == LinkDecoder::Result::Message) {
        going = Take(decoder.Last(), reason);
      }
    }
  }

  std::function<void()> handler;
  {
    std::lock_guard lock(mMutex);
    if (mState != State::Open && mState != State::Opening) {
      return;  // closed on purpose
    }
    if (mState == State::Open) {
      handler = mLostHandler;
    }
    mState = State::Lost;
    mError = reason;
    mChanged.notify_all();
  }
  mStream.Shutdown();
  if (handler) {
    DebugLogA("%s%s: connection lost: %s\n", std::string(kTcpDevicePrefix).c_str(),
              mServer.ToString().c_str(), reason.c_str());
    handler();
  }
}

bool TcpTransport::Take(const LinkMessage& message, std::string& reason) {
  std::unique_lock lock(mMutex);
  if (!mWelcome) {
    mWelcome = message.kind == LinkKind::Welcome ? ParseWelcome(message.Payload()) : std::nullopt;
    if (!mWelcome) {
      reason = "the server did not answer with a Welcome";
      return false;
    }
    mChanged.notify_all();
    // A refusal ends the connection; Open reads the reason from mWelcome.
    reason = std::string(WelcomeStatusText(mWelcome->status));
    return mWelcome->status == WelcomeStatus::Accepted;
  }
  if (message.kind == LinkKind::DeviceString && !AnswerComplete()) {
    auto string = ParseDeviceString(message.Payload());
    if (!string) {
      reason = "the server sent a malformed device string";
      return false;
    }
    mStrings[static_cast<std::size_t>(string->which)] = std::move(string);
    mChanged.notify_all();
    return true;
  }
  if (message.kind == LinkKind::InputReport && AnswerComplete()) {
    mChanged.wait(
        lock, [this] { return mReports.size() < kLinkQueuedReports || mState == State::Closed; });
    if (mState == State::Closed) {
      return false;
    }
    Report report;
    report.size = message.length;
    std::copy_n(message.payload.begin(), report.size, report.bytes.begin());
    mReports.push_back(report);
    mChanged.notify_all();
    return true;
  }
  reason = "the server sent an unexpected message (kind " +
           std::to_string(static_cast<int>(message.kind)) + ")";
  return false;
}

int TcpTransport::CopyString(DeviceStringId which, wchar_t* buffer, std::size_t capacity) {
  std::lock_guard lock(mMutex);
  const auto& string = mStrings[static_cast<std::size_t>(which)];
  if (mState != State::Open || !string || capacity == 0) {
    return -1;
  }
  const std::size_t count = std::min(string->text.size(), capacity - 1);
  std::copy_n(string->text.begin(), count, buffer);
  buffer[count] = L'\0';
  return string->result;
}

int TcpTransport::GetManufacturerString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(DeviceStringId::Manufacturer, buffer, capacity);
}

int TcpTransport::GetProductString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(DeviceStringId::Product, buffer, capacity);
}

int TcpTransport::GetSerialNumberString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(DeviceStringId::SerialNumber, buffer, capacity);
}

int TcpTransport::GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) {
  // The server reads the one indexed string the program asks for.
  return index == 1 ? CopyString(DeviceStringId::Indexed1, buffer, capacity) : -1;
}

int TcpTransport::SetNonBlocking(bool) {
  std::lock_guard lock(mMutex);
  return mState == State::Open ? 0 : -1;
}

int TcpTransport::Write(const std::uint8_t* data, std::size_t length) {
  const auto message = EncodeLinkMessage(LinkKind::OutputReport, std::span(data, length));
  {
    std::lock_guard lock(mMutex);
    if (!message) {
      mError = "an output report has 1 to " + std::to_string(kOutputReportSize) + " bytes";
      return -1;
    }
    if (mState != State::Open) {
      return -1;
    }
    ++mWriters;
  }
  bool sent = false;
  {
    std::lock_guard send(mSendMutex);
    sent = mStream.SendAll(message->View());
  }
  std::lock_guard lock(mMutex);
  --mWriters;
  if (!sent && mState == State::Open) {
    mError = "sending to the server failed";
  }
  mChanged.notify_all();
  return sent ? static_cast<int>(length) : -1;
}

int TcpTransport::ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
  std::unique_lock lock(mMutex);
  auto ready = [this] { return !mReports.empty() || mState != State::Open; };
  if (timeoutMs < 0) {
    mChanged.wait(lock, ready);
  } else {
    mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }
  // Reports that arrived before a loss are still handed out, as they were the unit's replies.
  if (!mReports.empty() && (mState == State::Open || mState == State::Lost)) {
    const Report& report = mReports.front();
    const std::size_t count = std::min(length, report.size);
    std::copy_n(report.bytes.begin(), count, buffer);
    mReports.pop_front();
    mChanged.notify_all();
    return static_cast<int>(count);
  }
  return mState == State::Open ? 0 : -1;
}

void TcpTransport::Close() {
  bool onReceiver = false;
  {
    std::unique_lock lock(mMutex);
    onReceiver = mReceiverId == std::this_thread::get_id();
    if (onReceiver) {
      // From the lost handler: the thread cannot wait for itself; the next Open or the
      // destructor joins it.
      Shut(lock);
    }
  }
  if (!onReceiver) {
    std::lock_guard open(mOpenMutex);
    CloseConnection();
  }
}

void TcpTransport::Shut(std::unique_lock<std::mutex>& lock) {
  if (mState == State::Closed) {
    return;
  }
  mState = State::Closed;
  mReports.clear();
  mStream.Shutdown();
  mChanged.notify_all();
  mChanged.wait(lock, [this] { return mWriters == 0; });
}

void TcpTransport::CloseConnection() {
  {
    std::unique_lock lock(mMutex);
    Shut(lock);
  }
  if (mReceiver.joinable()) {
    mReceiver.join();
    std::lock_guard lock(mMutex);
    mReceiverId = {};
  }
  mStream = {};
}

std::string TcpTransport::Error() {
  std::lock_guard lock(mMutex);
  return mError;
}

void TcpTransport::SetLostHandler(std::function<void()> handler) {
  std::lock_guard lock(mMutex);
  mLostHandler = std::move(handler);
}

}  // namespace device
