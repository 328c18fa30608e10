#include "model/scene_name.h"

#include <algorithm>

namespace model {

std::u16string SceneNameText(const SceneName& name) {
  const auto end = std::ranges::find(name, u'\0');
  return std::u16string(name.begin(), end);
}

SceneName MakeSceneName(std::u16string_view text) {
  SceneName name{};
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
  return name;
}

SceneNameBytes SceneNameToUtf16Le(const SceneName& name) {
  SceneNameBytes bytes{};
  for (std::size_t i = 0; i < name.size(); ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(name[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
  }
  return bytes;
}

SceneName SceneNameFromUtf16Le(const SceneNameBytes& bytes) {
  SceneName name{};
  for (std::size_t i = 0; i < name.size(); ++i) {
    name[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return name;
}

}  // namespace model
