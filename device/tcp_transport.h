// HidTransport to a unit served over TCP by another process: `vexaro-sim --listen` with a
// virtual unit, or `vexaro-cli bridge` in front of a real one.
//
// Open connects, says Hello with the access token and waits for the server's Welcome and the
// unit's four strings. From then on a receiving thread takes the unit's input reports off the
// socket into a queue that ReadTimeout waits on. So a timed read keeps its time-out, Close ends a
// pending read at once, and a link that drops while nobody reads is noticed at once: reads and
// writes then fail as on an unplugged unit, and the lost handler is called.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "device/hid_transport.h"
#include "device/tcp_framing.h"
#include "platform/tcp_socket.h"

namespace device {

inline constexpr std::string_view kTcpDevicePrefix = "tcp://";
// How long Open waits for the connection, and then for the server's answer.
inline constexpr int kLinkConnectTimeoutMs = 5000;
// Input reports waiting for a reader. When the queue is full the receiving thread takes no more
// bytes off the socket until a reader makes room, so a flooding server cannot fill memory.
inline constexpr std::size_t kLinkQueuedReports = 256;

// The server named by "tcp://HOST:PORT"; nullopt with `error` set for anything else.
std::optional<platform::HostPort> ParseTcpDeviceName(std::string_view name, std::string& error);

class TcpTransport : public HidTransport {
 public:
  // `token` goes in the Hello; empty when the server asks for none.
  TcpTransport(platform::HostPort server, std::string token);
  ~TcpTransport() override;
  TcpTransport(const TcpTransport&) = delete;
  TcpTransport& operator=(const TcpTransport&) = delete;

  int Init() override;
  bool Open(std::uint16_t vendor, std::uint16_t product) override;
  int GetManufacturerString(wchar_t* buffer, std::size_t capacity) override;
  int GetProductString(wchar_t* buffer, std::size_t capacity) override;
  int GetSerialNumberString(wchar_t* buffer, std::size_t capacity) override;
  int GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) override;
  int SetNonBlocking(bool nonBlocking) override;
  int Write(const std::uint8_t* data, std::size_t length) override;
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override;
  void Close() override;
  std::string Error() override;
  void SetLostHandler(std::function<void()> handler) override;

 private:
  // Closed: no connection. Opening: Hello sent, the answer not complete. Open: reports flow.
  // Lost: the connection ended by itself; reads and writes fail until Close.
  enum class State { Closed, Opening, Open, Lost };
  struct Report {
    std::array<std::uint8_t, kInputReportSize> bytes{};
    std::size_t size = 0;
  };

  // The receiving thread.
  void Receive();
  // Takes one message from the server; false when the connection must end (`reason` says why).
  bool Take(const LinkMessage& message, std::string& reason);
  bool AnswerComplete() const;  // with mMutex held
  int CopyString(DeviceStringId which, wchar_t* buffer, std::size_t capacity);
  // Ends reads and writes: state Closed, socket shut down, and back once no write is inside.
  void Shut(std::unique_lock<std::mutex>& lock);
  // Shut, then joins the receiving thread and releases the socket. With mOpenMutex held.
  void CloseConnection();

  const platform::HostPort mServer;
  const std::string mToken;

  // Held by Open, by Close from any thread but the receiving one, and by the destructor: one
  // connection is set up or torn down at a time.
  std::mutex mOpenMutex;

  // Guards every member below except mStream's own calls and mReceiver.
  std::mutex mMutex;
  // Signalled on every change of mState, mReports, mWriters and the answer to Hello.
  std::condition_variable mChanged;
  State mState = State::Closed;
  std::optional<Welcome> mWelcome;
  std::array<std::optional<DeviceString>, kDeviceStringCount> mStrings;
  std::deque<Report> mReports;
  // Writes inside SendAll; Close waits for them before the socket is released.
  int mWriters = 0;
  std::string mError;
  std::function<void()> mLostHandler;
  // The receiving thread's id while it runs, so that a Close from the lost handler is known.
  std::thread::id mReceiverId;

  // Replaced only while no receiving thread runs and no write is inside; shut down under mMutex.
  platform::TcpStream mStream;
  // One message on the wire at a time.
  std::mutex mSendMutex;
  // Started and joined with mOpenMutex held.
  std::thread mReceiver;
};

}  // namespace device
