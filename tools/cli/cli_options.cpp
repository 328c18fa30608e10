#include "tools/cli/cli_options.h"

#include <string_view>

namespace cli {
namespace {

constexpr std::string_view kDeviceAssign = "--device=";

}  // namespace

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv,
                                          std::string& error) {
  CliOptions options;
  bool commandSeen = false;
  bool globalOptionsEnded = false;
  // The word after an option that takes a value; false when the line ends first.
  auto value = [&](std::size_t& i, std::string& out) {
    if (i + 1 >= argv.size()) {
      error = argv[i] + " needs a value";
      return false;
    }
    out = argv[++i];
    return true;
  };
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (!globalOptionsEnded) {
      if (word == "--") {
        globalOptionsEnded = true;
        continue;
      }
      if (word == "--help" || word == "-h") {
        options.help = true;
        return options;
      }
      if (word == "--trace" || word == "--json") {
        (word == "--trace" ? options.trace : options.json) = true;
        continue;
      }
      if (word == "--device") {
        if (!value(i, options.device)) {
          return std::nullopt;
        }
        continue;
      }
      if (word == "--token") {
        if (!value(i, options.token.emplace())) {
          return std::nullopt;
        }
        continue;
      }
      if (word.starts_with(kDeviceAssign)) {
        options.device = word.substr(kDeviceAssign.size());
        continue;
      }
      if (!commandSeen && word.starts_with("-")) {
        error = "unknown option " + word;
        return std::nullopt;
      }
    }
    if (commandSeen) {
      options.args.push_back(word);
    } else {
      options.command = word;
      commandSeen = true;
    }
  }
  if (!commandSeen) {
    error = "no command given";
    return std::nullopt;
  }
  return options;
}

}  // namespace cli
