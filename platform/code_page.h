// Conversion between UTF-16 and the "ANSI code page" the unit keeps its texts in (CP936).
#pragma once

#include <string>
#include <string_view>

namespace platform {

inline constexpr const char* kAnsiCodePage = "CP936";

// Text in the ANSI code page as UTF-16. A byte that starts no valid character becomes U+FFFD; an
// incomplete character at the end is dropped.
std::u16string AnsiToUtf16(std::string_view ansi);

// UTF-16 text in the ANSI code page. A character the code page lacks (or a lone surrogate)
// becomes '?'.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace platform
