// The version lines of the about window, built from the unit's identity and the words of the
// current language.
#pragma once

#include <string>
#include <string_view>

namespace ui {

inline constexpr std::wstring_view kModelName = L"TRZ62C";
inline constexpr std::wstring_view kSoftwareVersion = L"v6.7.13";
inline constexpr std::wstring_view kCompanyTitle = L"Tessamark DSP Audio";

// The model name alone while no unit is identified (model number -1), otherwise
// "<model> <versionWord> v<master>.<slave>".
std::wstring FirmwareVersionText(int modelNumber, std::wstring_view versionWord, int master,
                                 int slave);
// "<softVersionWord> v6.7.13".
std::wstring SoftwareVersionText(std::wstring_view softVersionWord);
// "<innerWord> v<major>.<minor>" of the firmware carried inside the program.
std::wstring InnerFirmwareVersionText(std::wstring_view innerWord);

}  // namespace ui
