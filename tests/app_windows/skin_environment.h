// The test program's window environment: an application object, the UI framework's poster, and
// the program's embedded skin with both language tables (Chinese selected).
#pragma once

#include <string>
#include <string_view>

namespace test_env {

// The text a language key has in the current table.
std::wstring GetText(std::wstring_view key);
// UTF-8 of a wide text, for failure messages.
std::string ToUtf8(std::wstring_view text);

}  // namespace test_env
