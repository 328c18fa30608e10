#include "tools/serve/serve.h"

#include <cstdlib>
#include <mutex>

#include "device/tcp_transport.h"
#include "device/tcp_unit_server.h"
#include "platform/debug_log.h"
#include "platform/termination_signals.h"

namespace serve {
namespace {

// "PORT" alone serves on the IPv4 loopback.
std::string WithHost(const std::string& address) {
  const bool portOnly =
      !address.empty() && address.find_first_not_of("0123456789") == std::string::npos;
  return portOnly ? "127.0.0.1:" + address : address;
}

}  // namespace

bool TakeListenOption(const std::vector<std::string>& args, std::size_t& i, ListenOptions& options,
                      std::string& error) {
  const std::string& option = args[i];
  if (option == "--allow-remote") {
    options.allowRemote = true;
    return true;
  }
  if (option != "--listen" && option != "--token") {
    return false;
  }
  if (i + 1 >= args.size()) {
    error = option + " needs a value";
    return false;
  }
  (option == "--listen" ? options.address : options.token.emplace()) = args[++i];
  return true;
}

std::string TokenFrom(const std::optional<std::string>& given) {
  if (given) {
    return *given;
  }
  const char* variable = std::getenv(kTokenVariable);
  return variable != nullptr ? variable : "";
}

int Serve(std::unique_ptr<device::HidTransport> unit, const ListenOptions& options,
          std::string_view program, std::string_view what, std::ostream& out, std::ostream& err) {
  const std::string prefix = std::string(program) + ": ";
  std::string error;
  const auto address = platform::ParseHostPort(WithHost(options.address), true, error);
  if (!address) {
    err << prefix << "--listen " << error << '\n';
    return 2;
  }
  // Before the server starts its threads, so that they leave the signals to Wait.
  platform::TerminationSignals signals;

  std::mutex outMutex;
  auto print = [&](const std::string& line) {
    std::lock_guard lock(outMutex);
    out << platform::LogTimeStamp() << ' ' << line << std::endl;
  };
  device::TcpServerSettings settings;
  settings.address = *address;
  settings.allowRemote = options.allowRemote;
  settings.token = TokenFrom(options.token);
  device::TcpUnitServer server(std::move(unit), settings,
                               [&](const device::ServerEvent& event) { print(event.text); });
  switch (server.Start(error)) {
    case device::ServerStart::Started:
      break;
    case device::ServerStart::RemoteNotAllowed:
      err << prefix << error << ": add --allow-remote and an access token (--token or "
          << kTokenVariable << ")\n";
      return 2;
    case device::ServerStart::TokenRequired:
      err << prefix << error << ": give one with --token or " << kTokenVariable << '\n';
      return 2;
    case device::ServerStart::TokenTooLong:
      err << prefix << error << '\n';
      return 2;
    case device::ServerStart::BadAddress:
    case device::ServerStart::ListenFailed:
      err << prefix << error << '\n';
      return 1;
  }
  {
    std::lock_guard lock(outMutex);
    out << prefix << "serving " << what << " on " << device::kTcpDevicePrefix
        << server.Address().ToString() << std::endl;
    if (!settings.token.empty()) {
      out << prefix << "clients must send the access token" << std::endl;
    }
  }
  const std::string signal = signals.Wait();
  print("stopping (" + signal + ")");
  server.Stop();
  return 0;
}

}  // namespace serve
