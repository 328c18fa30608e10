#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <memory>
#include <utility>

namespace platform {
namespace {

// Every stream carries small reports one at a time: send each at once.
constexpr int kNoDelay = 1;
// A peer that takes no bytes for this long counts as gone.
constexpr int kSendTimeoutMs = 10000;
// A connection that stays quiet is probed after 5 s, every 2 s, and given up after 3 unanswered
// probes: a cable pulled while idle is noticed within about 11 s.
constexpr int kKeepAliveIdleS = 5;
constexpr int kKeepAliveIntervalS = 2;
constexpr int kKeepAliveProbes = 3;
constexpr int kListenBacklog = 4;
constexpr int kAcceptRetryMs = 100;

struct AddrInfoDeleter {
  void operator()(addrinfo* info) const { freeaddrinfo(info); }
};
using AddrInfoPtr = std::unique_ptr<addrinfo, AddrInfoDeleter>;

AddrInfoPtr Resolve(const HostPort& address, bool passive, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | (passive ? AI_PASSIVE : 0);
  const std::string port = std::to_string(address.port);
  addrinfo* found = nullptr;
  const int result = getaddrinfo(address.host.c_str(), port.c_str(), &hints, &found);
  if (result != 0) {
    error = "cannot resolve '" + address.host + "': " + gai_strerror(result);
    return nullptr;
  }
  return AddrInfoPtr(found);
}

bool IsLoopback(const sockaddr* address) {
  if (address->sa_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(address);
    return (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
  }
  if (address->sa_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(address);
    return IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr) != 0;
  }
  return false;
}

HostPort NameOf(const sockaddr_storage& storage) {
  char text[INET6_ADDRSTRLEN] = {};
  HostPort name;
  if (storage.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(storage);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    name.port = ntohs(v4.sin_port);
  } else if (storage.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(storage);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    name.port = ntohs(v6.sin6_port);
  }
  name.host = text;
  return name;
}

std::string SystemError(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

void SetOption(int fd, int level, int name, int value) {
  setsockopt(fd, level, name, &value, sizeof value);
}

// What every stream gets, whichever side opened it.
void PrepareStream(int fd) {
  SetOption(fd, IPPROTO_TCP, TCP_NODELAY, kNoDelay);
  SetOption(fd, SOL_SOCKET, SO_KEEPALIVE, 1);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPIDLE, kKeepAliveIdleS);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPINTVL, kKeepAliveIntervalS);
  SetOption(fd, IPPROTO_TCP, TCP_KEEPCNT, kKeepAliveProbes);
  timeval sendTimeout{kSendTimeoutMs / 1000, (kSendTimeoutMs % 1000) * 1000};
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
}

// poll() on one descriptor, restarted after signals; the poll result.
int PollOne(int fd, short events, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int wait = timeoutMs;
    if (timeoutMs >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      wait = static_cast<int>(std::max<long long>(left.count(), 0));
    }
    pollfd entry{fd, events, 0};
    const int result = poll(&entry, 1, wait);
    if (result >= 0 || errno != EINTR) {
      return result;
    }
  }
}

// Connects one resolved address within `timeoutMs`; the descriptor or -1.
int ConnectOne(const addrinfo& address, int timeoutMs, std::string& error) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                        address.ai_protocol);
  if (fd < 0) {
    error = SystemError("socket");
    return -1;
  }
  int result = connect(fd, address.ai_addr, address.ai_addrlen);
  if (result != 0 && errno == EINPROGRESS) {
    if (PollOne(fd, POLLOUT, timeoutMs) <= 0) {
      error = "no answer within " + std::to_string(timeoutMs) + " ms";
      close(fd);
      return -1;
    }
    int failure = 0;
    socklen_t length = sizeof failure;
    getsockopt(fd, SOL_SOCKET, SO_ERROR, &failure, &length);
    errno = failure;
    result = failure == 0 ? 0 : -1;
  }
  if (result != 0) {
    error = std::strerror(errno);
    close(fd);
    return -1;
  }
  // Blocking from here on: every wait is bounded by poll or the send time-out.
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  PrepareStream(fd);
  return fd;
}

}  // namespace

std::string HostPort::ToString() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<HostPort> ParseHostPort(std::string_view text, bool allowAnyPort,
                                      std::string& error) {
  HostPort address;
  std::string_view portText;
  if (text.starts_with('[')) {
    const auto close = text.find("]:");
    if (close == std::string_view::npos) {
      error = "'" + std::string(text) + "' is not [ADDRESS]:PORT";
      return std::nullopt;
    }
    address.host = std::string(text.substr(1, close - 1));
    portText = text.substr(close + 2);
  } else {
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos || text.find(':') != colon) {
      error = "'" + std::string(text) + "' is not HOST:PORT";
      return std::nullopt;
    }
    address.host = std::string(text.substr(0, colon));
    portText = text.substr(colon + 1);
  }
  unsigned port = 0;
  const char* end = portText.data() + portText.size();
  const auto [stop, failure] = std::from_chars(portText.data(), end, port);
  const unsigned lowest = allowAnyPort ? 0 : 1;
  if (address.host.empty() || portText.empty() || failure != std::errc{} || stop != end ||
      port < lowest || port > 65535) {
    error = "'" + std::string(text) + "' is not HOST:PORT with a port of " +
            std::to_string(lowest) + "..65535";
    return std::nullopt;
  }
  address.port = static_cast<std::uint16_t>(port);
  return address;
}

std::optional<bool> IsLoopbackAddress(const HostPort& address, std::string& error) {
  const AddrInfoPtr found = Resolve(address, true, error);
  if (!found) {
    return std::nullopt;
  }
  for (const addrinfo* entry = found.get(); entry != nullptr; entry = entry->ai_next) {
    if (!IsLoopback(entry->ai_addr)) {
      return false;
    }
  }
  return true;
}

TcpStream::TcpStream(int fd) : mFd(fd) {}

TcpStream::~TcpStream() {
  Release();
}

TcpStream::TcpStream(TcpStream&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}

TcpStream& TcpStream::operator=(TcpStream&& other) noexcept {
  if (this != &other) {
    Release();
    mFd = std::exchange(other.mFd, -1);
  }
  return *this;
}

void TcpStream::Release() {
  if (mFd >= 0) {
    close(mFd);
    mFd = -1;
  }
}

TcpStream TcpStream::Connect(const HostPort& address, int timeoutMs, std::string& error) {
  const AddrInfoPtr found = Resolve(address, false, error);
  for (const addrinfo* entry = found.get(); entry != nullptr; entry = entry->ai_next) {
    const int fd = ConnectOne(*entry, timeoutMs, error);
    if (fd >= 0) {
      return TcpStream(fd);
    }
  }
  return {};
}

std::string TcpStream::PeerName() const {
  sockaddr_storage peer{};
  socklen_t length = sizeof peer;
  if (mFd < 0 || getpeername(mFd, reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
    return {};
  }
  return NameOf(peer).ToString();
}

bool TcpStream::SendAll(std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(mFd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) {
      continue;
    }
    if (sent <= 0) {
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
  return true;
}

int TcpStream::Receive(std::span<std::uint8_t> buffer, int timeoutMs) {
  const int ready = PollOne(mFd, POLLIN, timeoutMs);
  if (ready == 0) {
    return 0;
  }
  if (ready < 0) {
    return -1;
  }
  for (;;) {
    const ssize_t received = recv(mFd, buffer.data(), buffer.size(), 0);
    if (received < 0 && errno == EINTR) {
      continue;
    }
    return received > 0 ? static_cast<int>(received) : -1;
  }
}

void TcpStream::Shutdown() {
  if (mFd >= 0) {
    shutdown(mFd, SHUT_RDWR);
  }
}

void TcpStream::FinishSending(int timeoutMs) {
  if (mFd < 0) {
    return;
  }
  shutdown(mFd, SHUT_WR);
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::uint8_t discard[256];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || Receive(discard, static_cast<int>(left.count())) <= 0) {
      return;
    }
  }
}

TcpListener::~TcpListener() {
  Release();
}

TcpListener::TcpListener(TcpListener&& other) noexcept
    : mFd(std::exchange(other.mFd, -1)),
      mWake{std::exchange(other.mWake[0], -1), std::exchange(other.mWake[1], -1)} {}

TcpListener& TcpListener::operator=(TcpListener&& other) noexcept {
  if (this != &other) {
    Release();
    mFd = std::exchange(other.mFd, -1);
    mWake[0] = std::exchange(other.mWake[0], -1);
    mWake[1] = std::exchange(other.mWake[1], -1);
  }
  return *this;
}

void TcpListener::Release() {
  for (int* fd : {&mFd, &mWake[0], &mWake[1]}) {
    if (*fd >= 0) {
      close(*fd);
      *fd = -1;
    }
  }
}

TcpListener TcpListener::Listen(const HostPort& address, std::string& error) {
  const AddrInfoPtr found = Resolve(address, true, error);
  if (!found) {
    return {};
  }
  const addrinfo& entry = *found;
  TcpListener listener;
  listener.mFd = socket(entry.ai_family, entry.ai_socktype | SOCK_CLOEXEC, entry.ai_protocol);
  if (listener.mFd < 0) {
    error = SystemError("socket");
    return {};
  }
  // A restarted server takes its port back while connections of the last one linger.
  SetOption(listener.mFd, SOL_SOCKET, SO_REUSEADDR, 1);
  if (bind(listener.mFd, entry.ai_addr, entry.ai_addrlen) != 0) {
    error = SystemError(("cannot listen on " + address.ToString()).c_str());
    return {};
  }
  if (listen(listener.mFd, kListenBacklog) != 0 || pipe2(listener.mWake, O_CLOEXEC) != 0) {
    error = SystemError("listen");
    return {};
  }
  return listener;
}

HostPort TcpListener::LocalAddress() const {
  sockaddr_storage local{};
  socklen_t length = sizeof local;
  if (mFd < 0 || getsockname(mFd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
    return {};
  }
  return NameOf(local);
}

TcpStream TcpListener::Accept() {
  while (mFd >= 0) {
    pollfd entries[2] = {{mFd, POLLIN, 0}, {mWake[0], POLLIN, 0}};
    if (poll(entries, 2, -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      return {};
    }
    if (entries[1].revents != 0) {
      return {};  // stopped; the pipe stays readable so every later call returns too
    }
    const int fd = accept4(mFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
      PrepareStream(fd);
      return TcpStream(fd);
    }
    if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
      // Out of descriptors or memory: the client stays queued; look again a little later
      // instead of spinning, still waking at once for Stop.
      pollfd wake{mWake[0], POLLIN, 0};
      poll(&wake, 1, kAcceptRetryMs);
    }
    // Otherwise a client that gave up before being accepted: wait for the next.
  }
  return {};
}

void TcpListener::Stop() {
  if (mWake[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(mWake[1], &byte, 1);
  }
}

}  // namespace platform
