// Names of the stored scenes: fixed 16-byte buffers, as the unit and the profile files keep them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/limits.h"

namespace model {

// Up to 8 UTF-16 code units, zero-filled, not necessarily terminated.
using SceneName = std::array<char16_t, kSceneNameUnits>;
// A name in the unit's own encoding (the ANSI code page), zero-filled.
using SceneNameBytes = std::array<std::uint8_t, kSceneNameBytes>;

// The name's text: its code units up to the first zero.
std::u16string SceneNameText(const SceneName& name);
// A name from `text`, cut to 8 code units.
SceneName MakeSceneName(std::u16string_view text);
inline bool IsEmptySceneName(const SceneName& name) {
  return name[0] == u'\0';
}

// A name in the unit's encoding (the ANSI code page), cut to 16 bytes and zero-filled; and back,
// reading the bytes up to the first zero.
SceneNameBytes SceneNameToUnitBytes(const SceneName& name);
SceneName SceneNameFromUnitBytes(const SceneNameBytes& bytes);

// The 16 bytes of a name as UTF-16LE, and back.
SceneNameBytes SceneNameToUtf16Le(const SceneName& name);
SceneName SceneNameFromUtf16Le(const SceneNameBytes& bytes);

}  // namespace model
