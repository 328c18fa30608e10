// Serves one unit over TCP, to one client at a time: the far end of TcpTransport. Behind
// `vexaro-sim --listen` (a virtual unit) and `vexaro-cli bridge` (a real one).
//
// The unit is opened when an accepted client has said Hello and closed when it leaves, so it is
// free between clients. A client that arrives while another is served is refused at once; the
// next one is served once the current one has left. Reports pass through unchanged: each
// OutputReport is one write to the unit, each report the unit gives is one InputReport.
//
// Who may connect: a server listens on a loopback address unless remote access is allowed, and
// one that listens on any other address needs an access token, which clients send in their
// Hello. A connection whose first message is no Hello, that sends a message the link does not
// know or a length beyond its kind, or that stops in the middle of a message, is closed; the
// server goes on serving.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "device/hid_transport.h"
#include "device/tcp_framing.h"
#include "platform/tcp_socket.h"

namespace device {

struct TcpServerSettings {
  platform::HostPort address;
  bool allowRemote = false;
  // Clients must send it when it is not empty.
  std::string token;
  // From the connection to a complete Hello.
  int helloTimeoutMs = 5000;
  // From the first byte of a message to its last.
  int messageTimeoutMs = 2000;
};

enum class ServerStart {
  Started,
  BadAddress,        // the address does not resolve
  RemoteNotAllowed,  // not a loopback address, and remote access not allowed
  TokenRequired,     // not a loopback address, and no token
  TokenTooLong,
  ListenFailed,
};

struct ServerEvent {
  enum class Kind {
    ClientConnected,
    ClientRefused,  // answered with a refusing Welcome: token, busy, version, no unit
    ClientDropped,  // closed without a Welcome or mid-session: not a client, garbage, silence
    ClientLeft,     // a served client went away, or the unit did
  };
  Kind kind;
  std::string text;  // one line for the log, naming the client's address
};

class TcpUnitServer {
 public:
  using EventHandler = std::function<void(const ServerEvent&)>;

  // `onEvent` is called on the server's threads, one call at a time; every event is also logged.
  TcpUnitServer(std::unique_ptr<HidTransport> unit, TcpServerSettings settings,
                EventHandler onEvent);
  // Stops.
  ~TcpUnitServer();
  TcpUnitServer(const TcpUnitServer&) = delete;
  TcpUnitServer& operator=(const TcpUnitServer&) = delete;

  // Checks who may connect, binds and starts serving on threads of its own. Anything but Started
  // leaves the server stopped, with `error` saying why.
  ServerStart Start(std::string& error);
  // The address bound, with the port chosen when 0 was asked for; empty once stopped.
  platform::HostPort Address() const;
  // Ends the current client's session and stops listening; returns when both have ended.
  void Stop();

 private:
  void AcceptLoop();
  // One client, on the session thread, from Hello to the end; the event that tells how it ended.
  ServerEvent Serve(platform::TcpStream& stream);
  // Sends the unit's reports to the client until the unit is closed (false) or goes away (true),
  // or the client takes no more (false). `ending` is set before the session closes the unit.
  bool Pump(platform::TcpStream& stream, const std::atomic<bool>& ending);
  // Answers with a refusing Welcome and closes; the event to tell.
  ServerEvent Refuse(platform::TcpStream& stream, WelcomeStatus status, const std::string& peer,
                     const std::string& detail = {});
  void Emit(const ServerEvent& event);

  const std::unique_ptr<HidTransport> mUnit;
  const TcpServerSettings mSettings;
  const EventHandler mOnEvent;
  platform::TcpListener mListener;
  std::thread mAcceptThread;

  // Guards the members below.
  std::mutex mMutex;
  bool mStopping = false;
  bool mSessionActive = false;
  // Signalled when mSessionActive turns false.
  std::condition_variable mSessionEnded;
  // The served client's stream, so that Stop can end the session.
  platform::TcpStream* mCurrent = nullptr;
  // Started by the accept thread, joined by it before the next session and by Stop.
  std::thread mSession;

  // One event at a time.
  std::mutex mEventMutex;
};

}  // namespace device
