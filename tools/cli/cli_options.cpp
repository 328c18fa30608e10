#include "tools/cli/cli_options.h"

namespace cli {

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& argv,
                                          std::string& error) {
  CliOptions options;
  std::size_t i = 0;
  // Options come before the command; everything after the command is its arguments.
  for (; i < argv.size() && argv[i].starts_with("-"); ++i) {
    const std::string& option = argv[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      return options;
    }
    if (option == "--trace") {
      options.trace = true;
    } else if (option == "--device") {
      if (i + 1 >= argv.size()) {
        error = "--device needs a value";
        return std::nullopt;
      }
      options.device = argv[++i];
    } else if (option == "--token") {
      if (i + 1 >= argv.size()) {
        error = "--token needs a value";
        return std::nullopt;
      }
      options.token = argv[++i];
    } else if (option.starts_with("--device=")) {
      options.device = option.substr(std::string("--device=").size());
    } else {
      error = "unknown option " + option;
      return std::nullopt;
    }
  }
  if (i >= argv.size()) {
    error = "no command given";
    return std::nullopt;
  }
  options.command = argv[i];
  options.args.assign(argv.begin() + static_cast<long>(i) + 1, argv.end());
  return options;
}

}  // namespace cli
