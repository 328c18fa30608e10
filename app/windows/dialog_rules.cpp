#include "app/windows/dialog_rules.h"

#include <cstdint>

namespace ui {

MessageButtons MessageButtonsFor(int count) {
  return {count >= 2, count >= 3};
}

std::optional<int> CheckOptionAnswer(bool firstSelected, bool secondSelected) {
  if (firstSelected) {
    return 1;
  }
  if (secondSelected) {
    return 2;
  }
  return std::nullopt;
}

std::wstring CutToUtf16Units(std::wstring_view name, std::size_t capacity) {
  std::size_t units = 0;
  std::size_t keep = 0;
  for (const wchar_t c : name) {
    const std::size_t width = static_cast<std::uint32_t>(c) > 0xFFFF ? 2 : 1;
    if (units + width > capacity) {
      break;
    }
    units += width;
    ++keep;
  }
  return std::wstring(name.substr(0, keep));
}

}  // namespace ui
