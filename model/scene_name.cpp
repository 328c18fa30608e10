#include "model/scene_name.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/code_page.h"

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

SceneNameBytes SceneNameToUnitBytes(const SceneName& name) {
  const std::string ansi = platform::Utf16ToAnsi(SceneNameText(name));
  SceneNameBytes bytes{};
  std::copy_n(ansi.begin(), std::min(ansi.size(), bytes.size()), bytes.begin());
  return bytes;
}

SceneName SceneNameFromUnitBytes(const SceneNameBytes& bytes) {
  const auto end = std::ranges::find(bytes, 0);
  const std::string_view ansi(reinterpret_cast<const char*>(bytes.data()),
                              static_cast<std::size_t>(end - bytes.begin()));
  return MakeSceneName(platform::AnsiToUtf16(ansi));
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
