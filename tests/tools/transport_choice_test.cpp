// --device: "sim" is a unit fresh from the factory, "sim:demo" one holding the demo tuning,
// "tcp://HOST:PORT" a unit on the network. (A unit kept in a profile file, "sim:FILE.wpf", is
// tried by the program tests.)
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
  auto transport = ChooseDevice(choice, error).transport;
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
  const DeviceChoice unknown = ChooseDevice("sim:tuned", error);
  EXPECT_FALSE(unknown.transport);
  EXPECT_TRUE(unknown.badName);
  EXPECT_EQ(error,
            "unknown device 'sim:tuned' (use usb, sim, sim:demo, sim:FILE.wpf or tcp://HOST:PORT)");
  EXPECT_TRUE(ChooseDevice("tcp://127.0.0.1:7350", error).transport);
  EXPECT_TRUE(ChooseDevice("tcp://[::1]:7350", error).transport);
  for (const char* bad :
       {"tcp://127.0.0.1", "tcp://:7350", "tcp://host:0", "tcp://host:65536", "tcp://::1:7350"}) {
    const DeviceChoice refused = ChooseDevice(bad, error);
    EXPECT_FALSE(refused.transport) << bad;
    EXPECT_TRUE(refused.badName) << bad;
    EXPECT_TRUE(error.starts_with("bad device: '")) << error;
  }
}

}  // namespace
}  // namespace cli
