#include "profiles/profile_files.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/atomic_file.h"
#include "profiles/profile_writer.h"

namespace profiles {
namespace {

ReadResult CannotOpen(const std::string& why) {
  return {ReadStatus::kCannotOpen, "", why};
}

bool WriteText(const std::filesystem::path& path, const std::optional<std::string>& text,
               std::string& error) {
  if (!text) {
    error = "out of memory while building the profile";
    return false;
  }
  return platform::ReplaceFileContents(path, *text, error);
}

}  // namespace

ReadResult ReadProfileBytes(const std::filesystem::path& path, std::string& bytes) {
  std::error_code code;
  if (std::filesystem::is_directory(path, code)) {
    return CannotOpen("is a folder");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return CannotOpen(std::string("cannot be opened: ") + std::strerror(errno));
  }
  // One byte more than allowed tells a file that is too large from one that just fits.
  bytes.resize(static_cast<std::size_t>(kMaxProfileBytes) + 1);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (file.bad()) {
    return CannotOpen("cannot be read");
  }
  bytes.resize(static_cast<std::size_t>(file.gcount()));
  if (bytes.size() > kMaxProfileBytes) {
    bytes.clear();
    return CannotOpen("is larger than any profile (" + std::to_string(kMaxProfileBytes >> 20) +
                      " MB)");
  }
  return {};
}

ReadResult ReadSceneProfileFile(const std::filesystem::path& path, model::SceneRecord& working) {
  std::string bytes;
  ReadResult result = ReadProfileBytes(path, bytes);
  return result.ok() ? ReadSceneProfile(bytes, working) : result;
}

ReadResult ReadWholeProfileFile(const std::filesystem::path& path, model::ParameterModel& model) {
  std::string bytes;
  ReadResult result = ReadProfileBytes(path, bytes);
  return result.ok() ? ReadWholeProfile(bytes, model) : result;
}

bool WriteSceneProfileFile(const std::filesystem::path& path, const model::SceneRecord& scene,
                           std::string& error) {
  return WriteText(path, SceneProfileText(scene), error);
}

bool WriteWholeProfileFile(const std::filesystem::path& path, const model::ParameterModel& model,
                           std::string& error) {
  return WriteText(path, WholeProfileText(model), error);
}

std::wstring_view ReadMessageKey(ProfileKind kind, ReadStatus status) {
  switch (status) {
    case ReadStatus::kOk:
      return {};
    case ReadStatus::kCannotOpen:
      return L"${profile_open_error}";
    case ReadStatus::kNotJson:
      return kind == ProfileKind::kScene ? L"${profile_open_error}" : L"${profile_load_error}";
    case ReadStatus::kOtherModel:
      return L"${software_not_match}";
    case ReadStatus::kBadStructure:
      return L"${profile_load_error}";
  }
  return L"${profile_load_error}";
}

const ProfileDialog& DialogOf(ProfileKind kind) {
  static const ProfileDialog kScene{
      {{L"场景配置文件(*.spf)", L"*.spf"}, {L"所有文件(*.*)", L"*.*"}}, L"txt"};
  static const ProfileDialog kWhole{
      {{L"整机配置文件(*.wpf)", L"*.wpf"}, {L"所有文件(*.*)", L"*.*"}}, L"wpf"};
  return kind == ProfileKind::kScene ? kScene : kWhole;
}

std::filesystem::path WithDefaultExtension(const std::filesystem::path& typed,
                                           std::wstring_view extension) {
  if (extension.empty() || typed.filename().empty() || typed.filename().has_extension()) {
    return typed;
  }
  std::filesystem::path named = typed;
  named += L".";
  named += extension;
  return named;
}

}  // namespace profiles
