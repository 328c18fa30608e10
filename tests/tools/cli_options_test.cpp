#include "tools/cli/cli_options.h"

#include <gtest/gtest.h>

namespace {

TEST(CliOptionsTest, OptionsBeforeTheCommandAndArgumentsAfterIt) {
  std::string error;
  const auto options = cli::ParseCliOptions({"--device", "tcp://127.0.0.1:7350", "--token",
                                             "s3cret", "--trace", "output", "1", "trim", "-6"},
                                            error);
  ASSERT_TRUE(options.has_value()) << error;
  EXPECT_EQ(options->device, "tcp://127.0.0.1:7350");
  EXPECT_EQ(options->token, "s3cret");
  EXPECT_TRUE(options->trace);
  EXPECT_EQ(options->command, "output");
  // A negative value after the command is an argument, not an option.
  EXPECT_EQ(options->args, (std::vector<std::string>{"1", "trim", "-6"}));
}

TEST(CliOptionsTest, HelpNeedsNoCommandAndMalformedLinesAreRefused) {
  std::string error;
  const auto help = cli::ParseCliOptions({"-h"}, error);
  ASSERT_TRUE(help.has_value());
  EXPECT_TRUE(help->help);

  EXPECT_FALSE(cli::ParseCliOptions({"--device"}, error).has_value());
  EXPECT_EQ(error, "--device needs a value");
  EXPECT_FALSE(cli::ParseCliOptions({"--token"}, error).has_value());
  EXPECT_EQ(error, "--token needs a value");
  EXPECT_FALSE(cli::ParseCliOptions({"--verbose", "info"}, error).has_value());
  EXPECT_EQ(error, "unknown option --verbose");
  EXPECT_FALSE(cli::ParseCliOptions({"--trace"}, error).has_value());
  EXPECT_EQ(error, "no command given");
}

}  // namespace
