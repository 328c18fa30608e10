// Profile files on disk: what cannot be read, and writing that never leaves half a file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "profiles/profile_files.h"
#include "profiles/profile_writer.h"
#include "tests/platform/temp_folder.h"
#include "tests/profiles/profile_test_support.h"

namespace profiles {
namespace {

namespace fs = std::filesystem;

using platform::testing::FileContents;

class ProfileFiles : public ::testing::Test {
 protected:
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.path()), {}));
  }

  platform::testing::TempFolder folder{"vexaro_profiles_"};
  const fs::path& dir = folder.path();
};

TEST_F(ProfileFiles, WrittenFilesHoldTheProfileAndReadBack) {
  const auto tuning = testing::TuningModel();
  std::string error;
  ASSERT_TRUE(WriteWholeProfileFile(dir / "car.wpf", *tuning, error)) << error;
  ASSERT_TRUE(WriteSceneProfileFile(dir / "car.txt", tuning->workingScene, error)) << error;
  EXPECT_EQ(FileContents(dir / "car.wpf"), WholeProfileText(*tuning).value());
  EXPECT_EQ(Entries(), 2u);  // no temporary file is left behind

  auto loaded = std::make_unique<model::ParameterModel>();
  ASSERT_TRUE(ReadWholeProfileFile(dir / "car.wpf", *loaded).ok());
  EXPECT_EQ(WholeProfileText(*loaded), WholeProfileText(*tuning));
  ASSERT_TRUE(ReadSceneProfileFile(dir / "car.txt", loaded->storedScenes[0]).ok());
  EXPECT_EQ(SceneProfileText(loaded->storedScenes[0]), SceneProfileText(tuning->workingScene));
}

TEST_F(ProfileFiles, ReplacingKeepsPermissionsAndAFailedWriteKeepsTheOldFile) {
  const auto tuning = testing::TuningModel();
  const fs::path file = dir / "car.wpf";
  std::ofstream(file) << "old";
  ::chmod(file.c_str(), 0640);
  std::string error;
  ASSERT_TRUE(WriteSceneProfileFile(file, tuning->workingScene, error)) << error;
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // A folder in the way, or a folder that does not exist: refused with a reason, nothing left.
  fs::create_directories(dir / "taken.wpf" / "inside");
  EXPECT_FALSE(WriteWholeProfileFile(dir / "taken.wpf", *tuning, error));
  EXPECT_NE(error.find("taken.wpf"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir / "taken.wpf" / "inside"));
  EXPECT_FALSE(WriteWholeProfileFile(dir / "missing" / "car.wpf", *tuning, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Entries(), 2u);
  EXPECT_EQ(FileContents(file), SceneProfileText(tuning->workingScene).value());
}

TEST_F(ProfileFiles, FilesThatCannotBeReadLeaveTheModelUntouched) {
  std::ofstream(dir / "huge.wpf").put('{');
  fs::resize_file(dir / "huge.wpf", 100u << 20);
  std::ofstream(dir / "empty.spf").flush();
  const auto tuning = testing::TuningModel();
  const std::array<std::pair<fs::path, ReadStatus>, 4> cases = {{
      {dir / "missing.wpf", ReadStatus::kCannotOpen},
      {dir, ReadStatus::kCannotOpen},
      {dir / "huge.wpf", ReadStatus::kCannotOpen},
      {dir / "empty.spf", ReadStatus::kNotJson},
  }};
  for (const auto& [path, status] : cases) {
    auto target = std::make_unique<model::ParameterModel>(*tuning);
    EXPECT_EQ(ReadWholeProfileFile(path, *target).status, status) << path;
    EXPECT_EQ(ReadSceneProfileFile(path, target->workingScene).status, status) << path;
    EXPECT_EQ(WholeProfileText(*target), WholeProfileText(*tuning)) << path;
  }
  std::string bytes;
  EXPECT_NE(ReadProfileBytes(dir / "huge.wpf", bytes).reason.find("larger than any profile"),
            std::string::npos);
  EXPECT_EQ(ReadMessageKey(ProfileKind::kWhole, ReadStatus::kCannotOpen), L"${profile_open_error}");
}

}  // namespace
}  // namespace profiles
