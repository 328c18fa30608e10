// The vexaro-cli program as a script uses it: global options anywhere, --json, and a virtual unit
// kept in a whole-unit profile across runs.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/platform/temp_folder.h"

namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

using platform::testing::FileContents;

class CliProgramTest : public ::testing::Test {
 protected:
  ProgramRun Cli(const std::string& arguments) const {
    const std::string command = std::string(VEXARO_CLI) + " " + arguments + " >" +
                                (folder / "out").string() + " 2>" + (folder / "err").string();
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileContents(folder / "out"),
            FileContents(folder / "err")};
  }

  platform::testing::TempFolder folder{"vexaro_cli_"};
  const fs::path profile = folder / "golf.wpf";
};

TEST_F(CliProgramTest, AUnitKeptInAProfileRemembersWhatEachRunWrote) {
  const std::string device = "--device sim:" + profile.string();
  const ProgramRun written = Cli(device + " output 3 delay 2.5 --trace");
  ASSERT_EQ(written.exitCode, 0) << written.err;
  EXPECT_NE(written.out.find("output 3 delay: 2.500 ms\n"), std::string::npos);
  EXPECT_NE(written.out.find("\n> "), std::string::npos);  // the trace
  ASSERT_TRUE(fs::exists(profile));
  EXPECT_TRUE(FileContents(profile).starts_with(R"({"model":23,"model_name":"TRZ62C",)"));

  const ProgramRun reread = Cli("output 3 delay --json --trace " + device);
  ASSERT_EQ(reread.exitCode, 0) << reread.err;
  EXPECT_EQ(reread.out, "{\"output\":3,\"delay\":2.5}\n");  // the trace went to stderr
  EXPECT_NE(reread.err.find("> "), std::string::npos);
}

TEST_F(CliProgramTest, AnInvalidProfileIsRefusedWithTheKeyAndLeftAlone) {
  const std::string device = "--device sim:" + profile.string();
  ASSERT_EQ(Cli(device + " volume -12").exitCode, 0);
  std::string text = FileContents(profile);
  text.replace(text.find("\"currChannel\":0"), 15, "\"currChannel\":9");
  std::ofstream(profile, std::ios::binary | std::ios::trunc) << text;

  const ProgramRun refused = Cli(device + " volume");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.out.empty());
  EXPECT_NE(refused.err.find("cannot use '" + profile.string() +
                             "' as a virtual unit: currentProfile.currChannel is 9, outside 0..7"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(FileContents(profile), text);

  const ProgramRun unknown = Cli("--device sam volume");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_NE(unknown.err.find("unknown device 'sam'"), std::string::npos);
}

}  // namespace
