// The built-in images written to a private folder: where it is made, that nothing planted in the
// shared temporary folder is followed or touched, the error code of each failing step, and that
// nothing is left behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/device_holders.h"
#include "platform/firmware_files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : mName(name) {
    if (const char* old = std::getenv(name)) {
      mOld = old;
    }
    Set(value);
  }
  ~ScopedEnv() { Set(mOld); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(mName, value->c_str(), 1);
    } else {
      ::unsetenv(mName);
    }
  }
  const char* mName;
  std::optional<std::string> mOld;
};

class FirmwareFilesTest : public ::testing::Test {
 protected:
  FirmwareFilesTest() {
    std::string pattern = (fs::temp_directory_path() / "vexaro-tmp-XXXXXX").string();
    mTmp = ::mkdtemp(pattern.data());
    mEnv.emplace("TMP", mTmp.string());
  }
  ~FirmwareFilesTest() override {
    mEnv.reset();
    fs::remove_all(mTmp);
  }

  fs::path mTmp;
  std::optional<ScopedEnv> mEnv;
  const Bytes mMcu = Bytes(3000, 0x11);
  const Bytes mFlash = Bytes(5000, 0x22);
};

TEST_F(FirmwareFilesTest, PlantedNamesAreNeitherFollowedNorTouched) {
  // Someone else got to the shared folder first.
  std::ofstream(mTmp / "victim") << "keep";
  fs::create_symlink(mTmp / "victim", mTmp / "MCU_UPG.bin");
  std::ofstream(mTmp / "FLASH_UPG.bin") << "theirs";
  const std::set<std::string> planted = Names(mTmp);

  std::unique_ptr<FirmwareFiles> files;
  ASSERT_EQ(PrepareFirmwareFiles(mMcu, mFlash, files), prepare::kOk);
  ASSERT_TRUE(files);
  const fs::path dir = files->Directory();
  EXPECT_EQ(dir.parent_path(), mTmp);
  struct stat info {};
  ASSERT_EQ(::lstat(dir.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  ASSERT_EQ(::lstat(files->McuPath().c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(files->McuPath().filename(), "MCU_UPG.bin");
  EXPECT_EQ(files->FlashPath().filename(), "FLASH_UPG.bin");
  EXPECT_EQ(ReadText(files->McuPath()), std::string(mMcu.begin(), mMcu.end()));
  EXPECT_EQ(ReadText(files->FlashPath()), std::string(mFlash.begin(), mFlash.end()));

  files.reset();
  EXPECT_FALSE(fs::exists(dir));
  EXPECT_EQ(Names(mTmp), planted);
  EXPECT_TRUE(fs::is_symlink(mTmp / "MCU_UPG.bin"));
  EXPECT_EQ(ReadText(mTmp / "victim"), "keep");
  EXPECT_EQ(ReadText(mTmp / "FLASH_UPG.bin"), "theirs");
}

TEST_F(FirmwareFilesTest, EachFailingStepHasItsCodeAndLeavesNothing) {
  const Bytes none;
  struct Case {
    const char* what;
    EmbeddedImage mcu;
    EmbeddedImage flash;
    int code;
  };
  const Case cases[] = {
      {"MCU image missing", std::nullopt, mFlash, 1},
      {"MCU image empty", std::span<const std::uint8_t>(none), mFlash, 3},
      {"flash image missing", mMcu, std::nullopt, 7},
      {"flash image empty", mMcu, std::span<const std::uint8_t>(none), 9},
  };
  for (const Case& c : cases) {
    std::unique_ptr<FirmwareFiles> files;
    EXPECT_EQ(PrepareFirmwareFiles(c.mcu, c.flash, files), c.code) << c.what;
    EXPECT_FALSE(files) << c.what;
    EXPECT_TRUE(Names(mTmp).empty()) << c.what;
  }
}

TEST_F(FirmwareFilesTest, FolderThatCannotHoldADirectoryGivesCodeFive) {
  std::ofstream(mTmp / "plain-file") << "x";
  for (const fs::path& tmp : {mTmp / "plain-file", mTmp / "missing" / "folder"}) {
    ScopedEnv env("TMP", tmp.string());
    std::unique_ptr<FirmwareFiles> files;
    EXPECT_EQ(PrepareFirmwareFiles(mMcu, mFlash, files), prepare::kFileNotCreated) << tmp;
  }
  EXPECT_EQ(Names(mTmp), std::set<std::string>{"plain-file"});
}

TEST_F(FirmwareFilesTest, ShortWritesGiveSixAndTwelve) {
  // The file size limit makes the write stop short, as a full disk would.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::unique_ptr<FirmwareFiles> files;
  const int bigMcu = PrepareFirmwareFiles(mFlash, mMcu, files);
  const int bigFlash = PrepareFirmwareFiles(mMcu, mFlash, files);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(bigMcu, 6);
  EXPECT_EQ(bigFlash, 12);
  EXPECT_TRUE(Names(mTmp).empty());
}

TEST(TempRoot, TmpThenTmpdirThenSlashTmp) {
  struct Case {
    std::optional<std::string> tmp;
    std::optional<std::string> tmpdir;
    const char* root;
  };
  const Case cases[] = {
      {"/a", "/b", "/a"},
      {std::nullopt, "/b", "/b"},
      {"", "/b", "/b"},
      {std::nullopt, std::nullopt, "/tmp"},
  };
  for (const Case& c : cases) {
    ScopedEnv tmp("TMP", c.tmp);
    ScopedEnv tmpdir("TMPDIR", c.tmpdir);
    EXPECT_EQ(PrivateTempDir::Root(), c.root);
  }
}

TEST(DeviceHolders, AnotherProcessWithTheNodeOpenIsFound) {
  std::string pattern = (fs::temp_directory_path() / "vexaro-node-XXXXXX").string();
  const int fd = ::mkstemp(pattern.data());
  ASSERT_GE(fd, 0);
  const fs::path node = pattern;
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  // This process holds the node too, and is never counted.
  EXPECT_TRUE(ProcessesHolding(node).empty());

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipeFds[1]);
    char byte;
    // Holds the node (inherited) until the parent closes the pipe.
    [[maybe_unused]] const auto ignored = ::read(pipeFds[0], &byte, 1);
    ::_exit(0);
  }
  ::close(pipeFds[0]);
  const auto holders = ProcessesHolding(node);
  ::close(pipeFds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(fd);
  fs::remove(node);

  ASSERT_EQ(holders.size(), 1u);
  EXPECT_EQ(holders[0].pid, child);
  EXPECT_EQ(DescribeProcess(holders[0]).rfind("pid " + std::to_string(child), 0), 0u);
}

}  // namespace
}  // namespace platform
