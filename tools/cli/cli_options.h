// The command line of vexaro-cli: <command> [arguments...] with the global options --device,
// --token, --trace, --json and --help anywhere on the line; "--" ends the global options, so that
// every word after it reaches the command as it is.
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
  bool json = false;  // reading commands print one JSON object instead of text
  bool help = false;  // --help or -h: print the usage and do nothing else
  std::string command;
  std::vector<std::string> args;
};

// Nullopt (with `error` set) when the options are malformed or no command is given. Before the
// command, a word starting with "-" must be a global option; after it, words that are not global
// options are the command's arguments (so "-6" is a value, and "--freq" an option of the command).
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv, std::string& error);

}  // namespace cli
