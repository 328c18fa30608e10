#include "ui/framework/attribute_parse.h"

#include <array>
#include <cwchar>
#include <string>

#include "ui/framework/ui_utils.h"

namespace DuiLib {
namespace {

// Up to N comma-separated integers.
template <std::size_t N>
std::array<int, N> ParseInts(std::wstring_view value) {
  std::array<int, N> parts{};
  std::size_t index = 0;
  while (index < N && !value.empty()) {
    const auto comma = value.find(L',');
    parts[index++] = StrToInt(value.substr(0, comma));
    if (comma == std::wstring_view::npos) {
      break;
    }
    value.remove_prefix(comma + 1);
  }
  return parts;
}

}  // namespace

RECT ParseRect(std::wstring_view value) {
  const auto parts = ParseInts<4>(value);
  return RECT{parts[0], parts[1], parts[2], parts[3]};
}

SIZE ParseSize(std::wstring_view value) {
  const auto parts = ParseInts<2>(value);
  return SIZE{parts[0], parts[1]};
}

DWORD ParseColor(std::wstring_view value) {
  if (value.starts_with(L"#")) {
    value.remove_prefix(1);
  } else if (value.starts_with(L"0x") || value.starts_with(L"0X")) {
    value.remove_prefix(2);
  }
  const std::wstring digits(value);
  const DWORD color = static_cast<DWORD>(std::wcstoul(digits.c_str(), nullptr, 16));
  return digits.size() <= 6 ? (color | 0xFF000000u) : color;
}

bool ParseBool(std::wstring_view value) {
  return EqualsNoCase(value, L"true") || value == L"1";
}

int ParseInt(std::wstring_view value) {
  return StrToInt(value);
}

}  // namespace DuiLib
