// TCP for the network link to a unit: a connected stream and a listener, each of which another
// thread may interrupt at any moment.
//
// The layers above see no socket descriptors and no POSIX names: addresses are "HOST:PORT" text,
// results are counts and booleans, failures come with a text for the user.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

struct HostPort {
  std::string host;  // a name or a numeric address (IPv6 without brackets)
  std::uint16_t port = 0;

  // "host:port", an IPv6 address in brackets.
  std::string ToString() const;
};

// "HOST:PORT" or "[IPV6]:PORT"; the port may be 0 (any free port) only with `allowAnyPort`.
// Nullopt with `error` set when the text is no such address.
std::optional<HostPort> ParseHostPort(std::string_view text, bool allowAnyPort, std::string& error);

// Whether every address `address` names is a loopback address (127.0.0.0/8 or ::1). Nullopt with
// `error` set when the name does not resolve.
std::optional<bool> IsLoopbackAddress(const HostPort& address, std::string& error);

// One connected TCP stream. Move-only; the descriptor is released by the destructor.
class TcpStream {
 public:
  TcpStream() = default;
  ~TcpStream();
  TcpStream(TcpStream&& other) noexcept;
  TcpStream& operator=(TcpStream&& other) noexcept;
  TcpStream(const TcpStream&) = delete;
  TcpStream& operator=(const TcpStream&) = delete;

  // Connects within `timeoutMs`; a stream that is not open, with `error` set, on failure.
  static TcpStream Connect(const HostPort& address, int timeoutMs, std::string& error);

  bool IsOpen() const { return mFd >= 0; }
  // "address:port" of the other end; empty when not open.
  std::string PeerName() const;

  // Sends every byte; false when the connection failed, was shut down, or the peer did not take
  // the bytes within the send time-out.
  bool SendAll(std::span<const std::uint8_t> bytes);
  // Waits at most `timeoutMs` (negative: no limit) for bytes. The count received, 0 when the time
  // passed, -1 when the connection has ended (closed by the peer, failed or shut down).
  int Receive(std::span<std::uint8_t> buffer, int timeoutMs);
  // Ends the connection both ways. Send and Receive calls pending on other threads return at
  // once, later ones fail; the descriptor stays until destruction.
  void Shutdown();
  // Shuts down the sending side only, then reads and discards what the peer still sends until it
  // closes or `timeoutMs` passes, so that the last message sent reaches the peer before the
  // connection is closed (closing with unread bytes would reset it).
  void FinishSending(int timeoutMs);

 private:
  friend class TcpListener;
  explicit TcpStream(int fd);
  void Release();
  int mFd = -1;
};

// A listening socket. Move-only.
class TcpListener {
 public:
  TcpListener() = default;
  ~TcpListener();
  TcpListener(TcpListener&& other) noexcept;
  TcpListener& operator=(TcpListener&& other) noexcept;
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  // Binds the first address `address` names and listens; a listener that is not open, with
  // `error` set, on failure.
  static TcpListener Listen(const HostPort& address, std::string& error);

  bool IsOpen() const { return mFd >= 0; }
  // The address bound, with the port the system chose when 0 was asked for.
  HostPort LocalAddress() const;
  // Waits for a client; a stream that is not open once Stop was called.
  TcpStream Accept();
  // Makes a pending and every later Accept return at once. Any thread.
  void Stop();

 private:
  void Release();
  int mFd = -1;
  // Stop writes to mWake[1]; Accept watches mWake[0] beside the listening socket.
  int mWake[2] = {-1, -1};
};

}  // namespace platform
