// Helpers the windows use with control names and texts, and the fatal-error path.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace DuiLib {

// printf-style formatting into a wide string ("eq_freq_%d"). "%s" takes a wide string, as in the
// language texts ("Load scene %d \"%s\"?"); see platform/wide_format.h.
std::wstring Format(const wchar_t* format, ...);
// A decimal integer at the start of `text` (after blanks), 0 when there is none.
int StrToInt(std::wstring_view text);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// What happens when a window's layout cannot be built: a message box with `title` and `text`, then
// the process ends with `exitCode`. Tests replace it; a replacement that returns lets Create fail.
using FatalErrorHandler =
    std::function<void(std::wstring_view title, std::wstring_view text, int exitCode)>;
void SetFatalErrorHandler(FatalErrorHandler handler);
void ReportFatalError(std::wstring_view title, std::wstring_view text, int exitCode);

}  // namespace DuiLib
