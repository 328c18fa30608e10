#include "tools/cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(CliOptionsTest, GlobalOptionsStandAnywhereAndEverythingElseGoesToTheCommand) {
  struct Case {
    Words line;
    std::string device;
    bool trace;
    bool json;
    std::string command;
    Words args;
  };
  const Case cases[] = {
      {{"--device", "sim", "--trace", "output", "1", "trim", "-6"},
       "sim",
       true,
       false,
       "output",
       {"1", "trim", "-6"}},
      {{"--device", "sim", "output", "3", "delay", "2.5", "--trace"},
       "sim",
       true,
       false,
       "output",
       {"3", "delay", "2.5"}},
      {{"output", "1", "eq", "2", "--json", "--freq", "100", "--device=sim:a.wpf"},
       "sim:a.wpf",
       false,
       true,
       "output",
       {"1", "eq", "2", "--freq", "100"}},
      {{"names", "--", "--json", "-h"}, "usb", false, false, "names", {"--json", "-h"}},
      {{"--", "volume", "-6"}, "usb", false, false, "volume", {"-6"}},
      {{"names", "--token", "s3cret", "--device", "tcp://127.0.0.1:7350"},
       "tcp://127.0.0.1:7350",
       false,
       false,
       "names",
       {}},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto options = cli::ParseCliOptions(c.line, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->device, c.device);
    EXPECT_EQ(options->trace, c.trace);
    EXPECT_EQ(options->json, c.json);
    EXPECT_EQ(options->command, c.command);
    EXPECT_EQ(options->args, c.args);
  }
  std::string error;
  EXPECT_EQ(cli::ParseCliOptions({"info", "--token", "s3cret"}, error)->token, "s3cret");
  EXPECT_FALSE(cli::ParseCliOptions({"info"}, error)->token.has_value());
}

TEST(CliOptionsTest, HelpNeedsNoCommandAndMalformedLinesAreRefused) {
  std::string error;
  for (const Words& line : {Words{"-h"}, Words{"info", "--help"}}) {
    const auto help = cli::ParseCliOptions(line, error);
    ASSERT_TRUE(help.has_value());
    EXPECT_TRUE(help->help);
  }
  const std::pair<Words, std::string> refused[] = {
      {{"--device"}, "--device needs a value"},
      {{"--token"}, "--token needs a value"},
      {{"info", "--device"}, "--device needs a value"},
      {{"--verbose", "info"}, "unknown option --verbose"},
      {{"-6", "volume"}, "unknown option -6"},
      {{"--trace"}, "no command given"},
      {{"--json", "--"}, "no command given"},
  };
  for (const auto& [line, message] : refused) {
    EXPECT_FALSE(cli::ParseCliOptions(line, error).has_value());
    EXPECT_EQ(error, message);
  }
}

}  // namespace
