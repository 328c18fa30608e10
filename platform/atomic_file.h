// Replacing a file's contents so that no moment leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Makes `path` hold exactly `bytes`. The bytes go to a new temporary file in the same folder
// (created exclusively, so no planted link is followed), are flushed to the disk, and the
// temporary file is then renamed over `path`: a crash or a kill at any moment leaves either the
// old file or the new one. A file that existed keeps its permission bits. Returns false, with
// `error` saying which step failed and why, when the file could not be written; the old file is
// then untouched and the temporary file removed.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

}  // namespace platform
