// What `vexaro-sim --listen` and `vexaro-cli bridge` share: the options that say where and for
// whom a unit is served, the access token from the environment, and running the server until
// the user stops it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_transport.h"

namespace serve {

// Where clients and servers find the access token when --token is not given.
inline constexpr const char* kTokenVariable = "VEXARO_TOKEN";

struct ListenOptions {
  std::string address;  // --listen: HOST:PORT, [IPV6]:PORT, or PORT alone for the loopback
  bool allowRemote = false;
  std::optional<std::string> token;  // --token
};

// One line per option, for the usage texts.
inline constexpr std::string_view kListenUsage =
    "  --listen ADDR     serve on HOST:PORT, [IPV6]:PORT, or PORT (loopback); port 0: any free\n"
    "  --allow-remote    allow an address other than the loopback (needs an access token)\n"
    "  --token TOKEN     the access token clients must send (default: $VEXARO_TOKEN)\n";

// Takes --listen ADDR, --allow-remote or --token TOKEN at args[i], advancing i over a value.
// False when args[i] is none of them, or (with `error` set) when its value is missing.
bool TakeListenOption(const std::vector<std::string>& args, std::size_t& i, ListenOptions& options,
                      std::string& error);

// The token given on the command line, else the one in the environment, else empty.
std::string TokenFrom(const std::optional<std::string>& given);

// Serves `unit` as `options` say until SIGINT or SIGTERM: prints where on `out` ("<program>:
// serving <what> on tcp://HOST:PORT") and every client event after it, time-stamped. Returns
// the exit code: 0 when stopped by a signal, 1 when the address cannot be used, 2 when the
// options forbid it (a remote address without --allow-remote or without a token).
int Serve(std::unique_ptr<device::HidTransport> unit, const ListenOptions& options,
          std::string_view program, std::string_view what, std::ostream& out, std::ostream& err);

}  // namespace serve
