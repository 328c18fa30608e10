// Profiles with every setting away from its default, and edits of a profile text at a key path.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/parameter_model.h"

namespace profiles::testing {

// A model whose working scene, stored scenes and names all differ from the defaults and from
// each other, with reals that are not whole numbers and names outside ASCII.
std::unique_ptr<model::ParameterModel> TuningModel();

// One step of a key path: a member name or an array index.
using PathStep = std::variant<std::string, int>;
using KeyPath = std::vector<PathStep>;

// `text` with the value at `path` replaced by the JSON `replacement`, or removed when
// `replacement` is empty. The text must be JSON and the path must exist.
std::string Edited(std::string_view text, const KeyPath& path, std::string_view replacement);

}  // namespace profiles::testing
