#include "platform/wide_format.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace platform {
namespace {

constexpr std::wstring_view kFlagsWidthPrecision = L"0123456789-+ #'*.$I";
constexpr std::wstring_view kLengthModifiers = L"hlLqjzZt";
// Most texts fit here; longer ones are formatted again into a growing stream.
constexpr std::size_t kShortText = 512;

}  // namespace

std::wstring ToGlibcWideFormat(std::wstring_view format) {
  std::wstring out;
  out.reserve(format.size() + 4);
  std::size_t i = 0;
  while (i < format.size()) {
    const wchar_t c = format[i++];
    out += c;
    if (c != L'%') {
      continue;
    }
    if (i < format.size() && format[i] == L'%') {
      out += format[i++];
      continue;
    }
    while (i < format.size() && kFlagsWidthPrecision.find(format[i]) != std::wstring_view::npos) {
      out += format[i++];
    }
    const std::size_t lengthStart = i;
    while (i < format.size() && kLengthModifiers.find(format[i]) != std::wstring_view::npos) {
      ++i;
    }
    const std::wstring_view length = format.substr(lengthStart, i - lengthStart);
    if (i >= format.size()) {
      out += length;
      break;
    }
    const wchar_t conversion = format[i++];
    const bool text = conversion == L's' || conversion == L'c';
    if (text && length.empty()) {
      out += L'l';  // wide, as the texts mean it
      out += conversion;
    } else if (text && length == L"h") {
      out += conversion;  // narrow
    } else if ((conversion == L'S' || conversion == L'C') && length.empty()) {
      out += static_cast<wchar_t>(conversion == L'S' ? L's' : L'c');  // narrow
    } else {
      out += length;
      out += conversion;
    }
  }
  return out;
}

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  const std::wstring glibcFormat = ToGlibcWideFormat(format);
  wchar_t buffer[kShortText];
  va_list copy;
  va_copy(copy, args);
  const int written = std::vswprintf(buffer, kShortText, glibcFormat.c_str(), copy);
  va_end(copy);
  if (written >= 0) {
    return std::wstring(buffer, static_cast<std::size_t>(written));
  }
  // vswprintf answers -1 both for a text that does not fit and for an argument it cannot
  // convert; a memory stream tells them apart: it grows as needed and stops only at a bad one.
  wchar_t* whole = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_wmemstream(&whole, &size);
  if (stream == nullptr) {
    return {};
  }
  std::vfwprintf(stream, glibcFormat.c_str(), args);
  std::fclose(stream);
  std::wstring text(whole, size);
  std::free(whole);
  return text;
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = FormatWideV(format, args);
  va_end(args);
  return text;
}

}  // namespace platform
