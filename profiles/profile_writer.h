// The text of the two profile files, built from the model.
//
// Both are UTF-8 JSON as cJSON prints it unformatted: no white space, keys in the order of the
// format, integers as integers, the model's 32-bit reals widened to double and printed with the
// shortest of 15 or 17 significant digits that reads back exactly (a Q of 5.8 becomes
// 5.8000001907348633), no byte-order mark, no final newline.
#pragma once

#include <optional>
#include <string>

#include "model/parameter_model.h"
#include "model/scene_record.h"

namespace profiles {

// A scene profile (.spf): the settings of `scene` with the model number. Nothing when memory ran
// out.
std::optional<std::string> SceneProfileText(const model::SceneRecord& scene);

// A whole-unit profile (.wpf): the working scene with the unit-wide volumes, the ten scene names
// (Base64 of their 16 UTF-16LE bytes) and the ten stored scenes. Nothing when memory ran out.
std::optional<std::string> WholeProfileText(const model::ParameterModel& model);

}  // namespace profiles
