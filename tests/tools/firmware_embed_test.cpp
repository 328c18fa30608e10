// The build-time firmware step: the maker's files pass only when type, model and checksum are
// right and nothing is ambiguous; the demo step makes images the parsers accept as demo images.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "device/demo_firmware.h"
#include "tests/device/firmware_files.h"

namespace {

namespace fs = std::filesystem;
using device::testing::ImageFile;
using device::testing::Pattern;
using device::testing::WriteBytes;

class FirmwareEmbedTest : public ::testing::Test {
 protected:
  FirmwareEmbedTest() {
    std::string pattern = (fs::temp_directory_path() / "vexaro-embed-XXXXXX").string();
    mDir = ::mkdtemp(pattern.data());
    fs::create_directory(mDir / "in");
  }
  ~FirmwareEmbedTest() override { fs::remove_all(mDir); }

  // The tool's exit status.
  int Run(const std::string& arguments) {
    const std::string command =
        std::string(VEXARO_FIRMWARE_EMBED) + " " + arguments + " > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  int FromMaker() { return Run("--from " + (mDir / "in").string() + " " + Source().string()); }
  fs::path Source() const { return mDir / "images.cpp"; }

  fs::path mDir;
};

TEST_F(FirmwareEmbedTest, MakersFolderIsCheckedAtBuildTime) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> fill;
    bool passes;
  };
  const auto good = [](const fs::path& in) {
    WriteBytes(in / "TRZ62C_MCU_UPG.bin", ImageFile(1, Pattern(300)));
    WriteBytes(in / "TRZ62C_FLASH_UPG.bin", ImageFile(2, Pattern(500)));
  };
  const std::vector<Case> cases = {
      {"both files good", good, true},
      {"a stray file beside them",
       [&](const fs::path& in) {
         good(in);
         WriteBytes(in / "readme.txt", {1, 2, 3});
       },
       true},
      {"flash file missing",
       [](const fs::path& in) { WriteBytes(in / "MCU_UPG.BIN", ImageFile(1, Pattern(300))); },
       false},
      {"two MCU files",
       [&](const fs::path& in) {
         good(in);
         WriteBytes(in / "old_MCU_UPG.BIN", ImageFile(1, Pattern(200)));
       },
       false},
      {"damaged flash file",
       [](const fs::path& in) {
         WriteBytes(in / "MCU_UPG.BIN", ImageFile(1, Pattern(300)));
         auto flash = ImageFile(2, Pattern(500));
         flash[100] ^= 4;
         WriteBytes(in / "FLASH_UPG.BIN", flash);
       },
       false},
      {"flash file of MCU type",
       [](const fs::path& in) {
         WriteBytes(in / "MCU_UPG.BIN", ImageFile(1, Pattern(300)));
         WriteBytes(in / "FLASH_UPG.BIN", ImageFile(1, Pattern(500)));
       },
       false},
      {"MCU file for model 22",
       [](const fs::path& in) {
         WriteBytes(in / "MCU_UPG.BIN", ImageFile(1, Pattern(300), 22));
         WriteBytes(in / "FLASH_UPG.BIN", ImageFile(2, Pattern(500)));
       },
       false},
      {"demo images",
       [](const fs::path& in) {
         WriteBytes(in / "MCU_UPG.BIN", device::MakeDemoImageFile(device::FirmwareKind::Mcu, 300,
                                                                  {15, 6}, device::kUnitModel));
         WriteBytes(in / "FLASH_UPG.BIN",
                    device::MakeDemoImageFile(device::FirmwareKind::Flash, 300, {15, 6},
                                              device::kUnitModel));
       },
       false},
  };
  for (const Case& c : cases) {
    fs::remove_all(mDir / "in");
    fs::create_directory(mDir / "in");
    fs::remove(Source());
    c.fill(mDir / "in");
    EXPECT_EQ(FromMaker() == 0, c.passes) << c.what;
    EXPECT_EQ(fs::exists(Source()), c.passes) << c.what;
  }
}

TEST_F(FirmwareEmbedTest, DemoStepMakesDemoImages) {
  ASSERT_EQ(Run("--demo " + Source().string() + " " + (mDir / "demo").string()), 0);
  std::ifstream source(Source());
  const std::string text{std::istreambuf_iterator<char>(source), {}};
  EXPECT_NE(text.find("kMcu, kFlash, true"), std::string::npos);
  for (const auto& [name, kind] : {std::pair{"MCU_UPG.bin", device::FirmwareKind::Mcu},
                                   std::pair{"FLASH_UPG.bin", device::FirmwareKind::Flash}}) {
    std::ifstream in(mDir / "demo" / name, std::ios::binary);
    const device::testing::Bytes bytes{std::istreambuf_iterator<char>(in), {}};
    const auto check = device::ParseFirmwareFile(kind, bytes, device::kUnitModel);
    ASSERT_TRUE(check.Ok()) << name;
    EXPECT_TRUE(device::IsDemoImage(kind == device::FirmwareKind::Mcu ? check.mcu : check.dsp));
  }
}

}  // namespace
