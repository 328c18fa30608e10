// The command line of vexaro-cli:
//   [--device usb|sim|tcp://HOST:PORT] [--token TOKEN] [--trace] <command> [arguments...]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct CliOptions {
  std::string device = "usb";
  // The access token for a unit on the network; when absent, the environment's is used.
  std::optional<std::string> token;
  bool trace = false;
  bool help = false;  // --help or -h: print the usage and do nothing else
  std::string command;
  std::vector<std::string> args;
};

// Nullopt (with `error` set) when the options are malformed or no command is given.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv, std::string& error);

}  // namespace cli
