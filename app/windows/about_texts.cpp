#include "app/windows/about_texts.h"

#include <cwchar>

#include "model/limits.h"

namespace ui {

namespace {

std::wstring WithVersion(std::wstring text, int major, int minor) {
  wchar_t number[32];
  std::swprintf(number, std::size(number), L" v%d.%d", major, minor);
  return text + number;
}

}  // namespace

std::wstring FirmwareVersionText(int modelNumber, std::wstring_view versionWord, int master,
                                 int slave) {
  if (modelNumber == model::kNoUnit) {
    return std::wstring(kModelName);
  }
  return WithVersion(std::wstring(kModelName) + L" " + std::wstring(versionWord), master, slave);
}

std::wstring SoftwareVersionText(std::wstring_view softVersionWord) {
  return std::wstring(softVersionWord) + L" " + std::wstring(kSoftwareVersion);
}

std::wstring InnerFirmwareVersionText(std::wstring_view innerWord) {
  // The images carried inside the program are exactly the oldest firmware the tool accepts.
  return WithVersion(std::wstring(innerWord), model::kMinMasterVersion, model::kMinSlaveVersion);
}

}  // namespace ui
