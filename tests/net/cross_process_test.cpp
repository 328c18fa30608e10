// vexaro-cli against vexaro-sim and vexaro-cli bridge in other processes: the same reports as
// with the virtual unit in the CLI's own process, an unplug when the server dies, a reconnect
// after it is back, and servers that refuse to start on an address they may not use.
#include <signal.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/net/child_process.h"

namespace nettest {
namespace {

using namespace std::chrono_literals;

constexpr auto kBound = 10s;

// A server program, started and waited for until it says where it listens.
class Server {
 public:
  Server(const std::string& program, std::vector<std::string> args,
         std::vector<std::string> environment = {})
      : mProcess(program, args, environment) {
    const auto line = mProcess.WaitForLine("tcp://", kBound);
    if (line) {
      mDevice = line->substr(line->find("tcp://"));
    }
  }
  // "tcp://HOST:PORT", empty when the server did not start.
  const std::string& Device() const { return mDevice; }
  ChildProcess& Process() { return mProcess; }

 private:
  ChildProcess mProcess;
  std::string mDevice;
};

RunResult Cli(std::vector<std::string> args) {
  return RunProgram(VEXARO_CLI_PATH, args, kBound);
}

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

// Each command runs once against a new in-process unit and once against the served one, which
// keeps its settings between clients: the commands touch different settings, so the reports
// must match byte for byte. The same for the demo car.
TEST(CrossProcess, TheCliSeesTheSameReportsAsWithTheInProcessUnit) {
  Server sim(VEXARO_SIM_PATH, {"--listen", "127.0.0.1:0"});
  ASSERT_FALSE(sim.Device().empty()) << sim.Process().Err();
  const std::vector<std::vector<std::string>> commands = {
      {"info"},
      {"names"},
      {"volume", "-20"},
      {"output", "2", "eq", "6", "--freq", "1000", "--q", "1.4", "--gain", "-3.5"},
      {"output", "4", "delay", "2.5"},
      {"output", "1", "crossover", "hp", "--freq", "80", "--slope", "3"},
      {"source", "2"},
  };
  for (const auto& command : commands) {
    const RunResult local = Cli(Join({"--device", "sim", "--trace"}, command));
    const RunResult remote = Cli(Join({"--device", sim.Device(), "--trace"}, command));
    ASSERT_EQ(local.code, 0) << command[0] << ": " << local.err;
    EXPECT_EQ(remote.code, 0) << command[0] << ": " << remote.err;
    EXPECT_EQ(remote.out, local.out) << command[0];
    EXPECT_NE(remote.out.find("> 00 aa 55"), std::string::npos);
  }

  Server demo(VEXARO_SIM_PATH, {"--listen", "127.0.0.1:0", "--demo"});
  ASSERT_FALSE(demo.Device().empty()) << demo.Process().Err();
  for (const auto& command :
       std::vector<std::vector<std::string>>{{"names"}, {"output", "1", "eq", "3"}}) {
    const RunResult local = Cli(Join({"--device", "sim:demo", "--trace"}, command));
    const RunResult remote = Cli(Join({"--device", demo.Device(), "--trace"}, command));
    ASSERT_EQ(local.code, 0) << local.err;
    EXPECT_EQ(remote.code, 0) << remote.err;
    EXPECT_EQ(remote.out, local.out) << command[0];
  }
}

TEST(CrossProcess, AServerKilledMidReadEndsTheReadAtOnceAndANewOneServes) {
  // The handshake (the second command, after PC_Connect) gets no answer: the CLI waits for it.
  auto sim = std::make_unique<Server>(
      VEXARO_SIM_PATH, std::vector<std::string>{"--listen", "127.0.0.1:0", "--drop", "2"});
  ASSERT_FALSE(sim->Device().empty());
  const std::string device = sim->Device();
  ChildProcess cli(VEXARO_CLI_PATH, {"--device", device, "--trace", "info"});
  ASSERT_TRUE(cli.WaitForLine("> 00 aa 55 03 03 08 bb 37", kBound)) << cli.Err();

  sim->Process().Signal(SIGKILL);
  // Well before the reply's own 10 s time-out.
  const auto code = cli.Wait(5s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 1);
  EXPECT_NE(cli.Err().find("the connection to the unit was lost"), std::string::npos) << cli.Err();

  // A server started again (on a port of its own: the old one may have been taken meanwhile).
  sim = std::make_unique<Server>(VEXARO_SIM_PATH,
                                 std::vector<std::string>{"--listen", "127.0.0.1:0"});
  ASSERT_FALSE(sim->Device().empty()) << sim->Process().Err();
  const RunResult again = Cli({"--device", sim->Device(), "info"});
  EXPECT_EQ(again.code, 0) << again.err;
  EXPECT_NE(again.out.find("handshake: accepted"), std::string::npos);
}

TEST(CrossProcess, TheBridgeServesItsUnitAndStopsOnATermSignal) {
  Server bridge(VEXARO_CLI_PATH,
                {"bridge", "--device", "sim", "--listen", "127.0.0.1:0", "--token", "s3cret"});
  ASSERT_FALSE(bridge.Device().empty()) << bridge.Process().Err();
  const RunResult refused = Cli({"--device", bridge.Device(), "volume", "-12"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("no access token was sent"), std::string::npos) << refused.err;

  const RunResult written =
      RunProgram(VEXARO_CLI_PATH, {"--device", bridge.Device(), "volume", "-12"}, kBound,
                 {"VEXARO_TOKEN=s3cret"});
  EXPECT_EQ(written.code, 0) << written.err;
  EXPECT_EQ(written.out, "volume: -12 dB\n");
  const RunResult read = Cli({"--device", bridge.Device(), "--token", "s3cret", "volume"});
  EXPECT_EQ(read.out, "volume: -12 dB\n");  // the same unit, kept between clients

  bridge.Process().Signal(SIGTERM);
  EXPECT_EQ(bridge.Process().Wait(kBound), 0);
  EXPECT_NE(bridge.Process().Out().find("refused"), std::string::npos);  // logged
}

struct RefusedStart {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> environment;
  const char* reason;
};

class CrossProcessStart : public ::testing::TestWithParam<RefusedStart> {};

TEST_P(CrossProcessStart, TheServerDoesNotStartAndSaysWhy) {
  const RunResult result =
      RunProgram(VEXARO_SIM_PATH, GetParam().args, kBound, GetParam().environment);
  EXPECT_EQ(result.code, 2);
  EXPECT_NE(result.err.find(GetParam().reason), std::string::npos) << result.err;
  EXPECT_EQ(result.out.find("serving"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CrossProcessStart,
    ::testing::Values(RefusedStart{"RemoteWithoutPermission",
                                   {"--listen", "0.0.0.0:0", "--token", "t"},
                                   {},
                                   "add --allow-remote"},
                      RefusedStart{"RemoteWithoutToken",
                                   {"--listen", "0.0.0.0:0", "--allow-remote"},
                                   {},
                                   "needs an access token"},
                      RefusedStart{"NoListen", {"--model", "23"}, {}, "--listen ADDR is required"},
                      RefusedStart{"BadVersion",
                                   {"--listen", "0", "--version", "16"},
                                   {},
                                   "a version MASTER.SLAVE"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace nettest
