// Edits of a profile text at a key path.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "tests/profiles/tuning_model.h"

namespace profiles::testing {

// One step of a key path: a member name or an array index.
using PathStep = std::variant<std::string, int>;
using KeyPath = std::vector<PathStep>;

// `text` with the value at `path` replaced by the JSON `replacement`, or removed when
// `replacement` is empty. The text must be JSON and the path must exist.
std::string Edited(std::string_view text, const KeyPath& path, std::string_view replacement);

}  // namespace profiles::testing
