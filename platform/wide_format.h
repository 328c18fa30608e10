// printf-style formatting of wide text, with the meaning the program's format texts are written
// in: "%s" and "%c" take wide arguments (wchar_t strings and characters), "%hs"/"%hc" and
// "%S"/"%C" narrow ones. glibc reads a plain "%s" in a wide format as a narrow string, so every
// wide formatting path (language texts, window helpers, the log) goes through here.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace platform {

// `format` with each string and character conversion spelled for glibc ("%s" -> "%ls",
// "%-8c" -> "%-8lc", "%hs" -> "%s", "%S" -> "%s"); every other conversion is kept as it is.
std::wstring ToGlibcWideFormat(std::wstring_view format);

// The whole formatted text, however long. An argument that cannot be converted (a narrow string
// that is not valid in the current locale) ends the text where it stands; what came before is kept.
std::wstring FormatWideV(const wchar_t* format, va_list args);
std::wstring FormatWide(const wchar_t* format, ...);

}  // namespace platform
