// --device: "sim" is a unit fresh from the factory, "sim:demo" one holding the demo tuning,
// "tcp://HOST:PORT" a unit on the network.
#include "tools/cli/transport_choice.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"
#include "tools/cli/names_command.h"

namespace cli {
namespace {

constexpr platform::WindowHandle kWindow = 1;

// The output of `names` against the unit the choice gives.
std::string NamesOn(std::string_view choice) {
  auto poster = std::make_shared<platform::QueuedPoster>();
  poster->OpenWindow(kWindow);
  platform::InstallPoster(poster);
  std::string error;
  auto transport = MakeTransport(choice, error);
  EXPECT_TRUE(transport) << error;
  if (!transport) {
    return {};
  }
  device::DspDevice unit(std::move(transport));
  unit.SetWindow(device::DspDevice::WindowRole::Main, kWindow);
  unit.OpenHIDDevice();
  std::ostringstream out;
  std::ostringstream err;
  CliContext context{&unit, poster.get(), kWindow, out, err};
  EXPECT_EQ(RunNamesCommand(context, {}), kExitOk) << err.str();
  unit.CloseHIDDevice(true);
  platform::InstallPoster(nullptr);
  return out.str();
}

TEST(TransportChoiceTest, SimIsFreshAndSimDemoHoldsNamedScenes) {
  const std::string fresh = NamesOn("sim");
  EXPECT_NE(fresh.find("1: (empty)\n"), std::string::npos);
  EXPECT_EQ(fresh.find("Daily"), std::string::npos);

  const std::string demo = NamesOn("sim:demo");
  for (const char* line : {"1: Daily\n", "2: Concert\n", "3: Night\n", "4: Bass\n", "5: (empty)\n",
                           "6: Centre\n", "10: (empty)\n"}) {
    EXPECT_NE(demo.find(line), std::string::npos) << line;
  }
}

TEST(TransportChoiceTest, UnknownChoiceIsRefusedNamingTheChoices) {
  std::string error;
  EXPECT_FALSE(MakeTransport("sim:tuned", error));
  EXPECT_EQ(error, "unknown device 'sim:tuned' (use usb, sim, sim:demo or tcp://HOST:PORT)");
  EXPECT_TRUE(MakeTransport("tcp://127.0.0.1:7350", error));
  EXPECT_TRUE(MakeTransport("tcp://[::1]:7350", error));
  for (const char* bad :
       {"tcp://127.0.0.1", "tcp://:7350", "tcp://host:0", "tcp://host:65536", "tcp://::1:7350"}) {
    EXPECT_FALSE(MakeTransport(bad, error)) << bad;
    EXPECT_TRUE(error.starts_with("bad device: '")) << error;
  }
}

}  // namespace
}  // namespace cli
