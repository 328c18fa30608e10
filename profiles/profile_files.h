// The profile files on disk: reading, writing, the messages the user sees, and the file dialogs
// of the four profile operations.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_model.h"
#include "model/scene_record.h"
#include "model/user_dialogs.h"
#include "profiles/profile_reader.h"

namespace profiles {

enum class ProfileKind {
  kScene,  // .spf: the working scene
  kWhole,  // .wpf: the working scene, the ten stored scenes and their names
};

// No profile comes anywhere near this size (a whole-unit profile is a few hundred kilobytes); a
// larger file is refused before it is read into memory.
inline constexpr std::uintmax_t kMaxProfileBytes = 16u << 20;

// The whole file, or kCannotOpen with the reason ("cannot be opened: ...") when it cannot be opened
// or read or is larger than any profile.
ReadResult ReadProfileBytes(const std::filesystem::path& path, std::string& bytes);

// Reads the file at `path` with the reader of its kind (see profile_reader.h for what a failure
// leaves in the model; a file that cannot be read leaves it untouched).
ReadResult ReadSceneProfileFile(const std::filesystem::path& path, model::SceneRecord& working);
ReadResult ReadWholeProfileFile(const std::filesystem::path& path, model::ParameterModel& model);

// Writes a profile so that a failure or a crash never leaves a half-written file: true when the
// file holds the profile; otherwise false with the reason in `error`, and an older file at
// `path` is left as it was.
bool WriteSceneProfileFile(const std::filesystem::path& path, const model::SceneRecord& scene,
                           std::string& error);
bool WriteWholeProfileFile(const std::filesystem::path& path, const model::ParameterModel& model,
                           std::string& error);

// The language keys of the message boxes (title "${tips}", one "${confirm}" button).
inline constexpr std::wstring_view kProfileSavedKey = L"${profile_save_ok}";
inline constexpr std::wstring_view kProfileCreateErrorKey = L"${profile_create_error}";
// The message for a failed read; a text that is not JSON is an open error for a scene profile and
// a load error for a whole-unit profile. Empty for a read that succeeded.
std::wstring_view ReadMessageKey(ProfileKind kind, ReadStatus status);

// What the open and save dialogs of a kind of profile show: the type list and, for saving, the
// extension a typed name without one receives ("txt" for a scene profile, which is how the
// program has always saved them; "wpf" for a whole-unit profile).
struct ProfileDialog {
  std::vector<model::FileFilter> filters;
  std::wstring saveExtension;
};
const ProfileDialog& DialogOf(ProfileKind kind);

// The name a save dialog gives the file: `typed` with "." and `extension` appended when its file
// name has no extension, else `typed` unchanged.
std::filesystem::path WithDefaultExtension(const std::filesystem::path& typed,
                                           std::wstring_view extension);

}  // namespace profiles
