// A virtual unit kept in a whole-unit profile: loaded from the file, changed through the
// protocol, written back with exactly what changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device/dsp_commands.h"
#include "device/dsp_device.h"
#include "device/scene_commands.h"
#include "model/scene_name.h"
#include "model/scene_rules.h"
#include "platform/queued_poster.h"
#include "profiles/profile_files.h"
#include "profiles/profile_writer.h"
#include "sim/offline_unit.h"
#include "sim/virtual_unit_transport.h"
#include "tests/platform/temp_folder.h"
#include "tests/profiles/tuning_model.h"

namespace sim {
namespace {

namespace fs = std::filesystem;

class OfflineUnitTest : public ::testing::Test {
 protected:
  std::string Contents() const { return platform::testing::FileContents(file); }
  std::unique_ptr<OfflineUnit> Open() {
    profiles::ReadResult result;
    auto unit = OfflineUnit::Open(file, result);
    EXPECT_TRUE(result.ok()) << result.Describe();
    return unit;
  }

  platform::testing::TempFolder folder{"vexaro_offline_"};
  const fs::path& dir = folder.path();
  const fs::path file = folder / "golf.wpf";
};

TEST_F(OfflineUnitTest, AFileComesBackByteForByteWhenNothingChanged) {
  const auto tuning = profiles::testing::TuningModel();
  std::string error;
  ASSERT_TRUE(profiles::WriteWholeProfileFile(file, *tuning, error)) << error;
  const std::string before = Contents();
  auto unit = Open();
  ASSERT_TRUE(unit);
  EXPECT_FALSE(unit->WasCreated());
  ASSERT_TRUE(unit->Save(error)) << error;
  EXPECT_EQ(Contents(), before);
  // The unit holds the file's settings at its own resolution.
  const UnitState state = unit->Unit()->State();
  EXPECT_EQ(state.stored[0].outputs[3].role, tuning->storedScenes[0].outputs[3]);
  EXPECT_EQ(state.working.outputs[1].trim, static_cast<int>(tuning->workingScene.channels[1].gain));
  EXPECT_EQ(model::SceneNameFromUnitBytes(state.names[1]), tuning->sceneNames[1]);
}

TEST_F(OfflineUnitTest, WhatTheProgramChangesIsWrittenBackAndNothingElse) {
  const auto tuning = profiles::testing::TuningModel();
  std::string error;
  ASSERT_TRUE(profiles::WriteWholeProfileFile(file, *tuning, error)) << error;
  auto unit = Open();
  ASSERT_TRUE(unit);

  auto poster = std::make_shared<platform::QueuedPoster>();
  platform::InstallPoster(poster);
  {
    device::DspDevice pc(std::make_unique<VirtualUnitTransport>(unit->Unit()));
    pc.OpenHIDDevice();
    ASSERT_TRUE(pc.IsDeviceOpen());
    device::EQ_Ctrl(pc, 0, 0, 2, 5, 1234, 2.5f, -4.5f, true);
    const float trim = device::TrimAttenuation(-12.0f);
    device::Trim_Ctrl(pc, 4, 0, 6, 6, std::span<const float>(&trim, 1), true);
    const int role = 24;
    device::CH_Type_Ctrl(pc, 7, 0, 0, 0, std::span<const int>(&role, 1), true);
    const std::array<std::uint8_t, 4> name{'G', 'o', 'l', 'f'};
    device::SetSceneName(pc, 9, name, 4);
    device::DeleteScene(pc, 2);
    device::Main_Volume_Ctrl(pc, device::MainVolumeCode(-20), true);
    pc.CloseHIDDevice(true);
  }
  platform::InstallPoster(nullptr);
  ASSERT_TRUE(unit->Save(error)) << error;

  auto saved = std::make_unique<model::ParameterModel>();
  ASSERT_TRUE(profiles::ReadWholeProfileFile(file, *saved).ok());
  auto expected = std::make_unique<model::ParameterModel>(*tuning);
  model::EqBand& band = expected->workingScene.channels[2].Bands()[5];
  band = {-4.5f, 2.5f, 1234, 1};
  expected->storedScenes[3].channels[6].gain = -12.0f;
  expected->storedScenes[6].outputs[0] = 24;
  expected->sceneNames[8] = model::MakeSceneName(u"Golf");
  expected->workingScene.mainVolume = -20;
  // A deleted scene is back at the factory settings and has no name; what the unit does not
  // keep (band counts, enable flags, shown curves, the selected channel) stays as the file had it.
  const model::SceneRecord& deleted = saved->storedScenes[1];
  EXPECT_TRUE(model::IsEmptySceneName(saved->sceneNames[1]));
  EXPECT_EQ(deleted.outputs, model::kDefaultRoles);
  EXPECT_EQ(deleted.channels[0].Bands()[0].freq, 20);
  EXPECT_EQ(deleted.channels[0].eqSize(), tuning->storedScenes[1].channels[0].eqSize());
  EXPECT_EQ(deleted.currChannel, tuning->storedScenes[1].currChannel);
  expected->storedScenes[1] = saved->storedScenes[1];
  expected->sceneNames[1] = {};
  EXPECT_EQ(profiles::WholeProfileText(*saved).value(),
            profiles::WholeProfileText(*expected).value());
  EXPECT_TRUE(model::IsWithinStorage(saved->storedScenes[1]));
}

TEST_F(OfflineUnitTest, AMissingFileIsCreatedAtTheDefaultsAndAnInvalidOneIsRefused) {
  auto unit = Open();
  ASSERT_TRUE(unit);
  EXPECT_TRUE(unit->WasCreated());
  EXPECT_EQ(Contents(),
            profiles::WholeProfileText(*std::make_unique<model::ParameterModel>()).value());

  std::ofstream(file, std::ios::binary | std::ios::trunc) << R"({"model":22})";
  profiles::ReadResult result;
  EXPECT_FALSE(OfflineUnit::Open(file, result));
  EXPECT_EQ(result.status, profiles::ReadStatus::kOtherModel);
  EXPECT_FALSE(OfflineUnit::Open(dir, result));
  EXPECT_EQ(result.status, profiles::ReadStatus::kCannotOpen);
  EXPECT_FALSE(OfflineUnit::Open(dir / "missing" / "golf.wpf", result));
  EXPECT_NE(result.reason.find("cannot be created"), std::string::npos) << result.reason;
}

}  // namespace
}  // namespace sim
