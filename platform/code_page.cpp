#include "platform/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr const char* kUtf16 = "UTF-16LE";

// One conversion descriptor for the length of a conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : mHandle(iconv_open(to, from)) {}
  ~Converter() {
    if (IsOpen()) {
      iconv_close(mHandle);
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool IsOpen() const { return mHandle != reinterpret_cast<iconv_t>(-1); }

  // Converts `in` into `out` (bytes). At a sequence it cannot convert it appends `replacement`
  // and steps over `skip` input bytes.
  void Run(std::string_view in, std::size_t skip, std::string_view replacement, std::string& out) {
    std::vector<char> input(in.begin(), in.end());
    char* inPtr = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(mHandle, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
        continue;
      }
      if (errno != EILSEQ || inLeft < skip) {
        break;  // incomplete input at the end, or a failure with no way forward
      }
      out.append(replacement);
      inPtr += skip;
      inLeft -= skip;
    }
  }

 private:
  iconv_t mHandle;
};

}  // namespace

std::u16string AnsiToUtf16(std::string_view ansi) {
  Converter converter(kUtf16, kAnsiCodePage);
  std::string bytes;
  if (converter.IsOpen()) {
    converter.Run(ansi, 1, std::string_view("\xFD\xFF", 2), bytes);
  }
  std::u16string text(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return text;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string utf16;
  utf16.reserve(text.size() * 2);
  for (const char16_t unit : text) {
    utf16.push_back(static_cast<char>(unit & 0xFF));
    utf16.push_back(static_cast<char>(unit >> 8));
  }
  Converter converter(kAnsiCodePage, kUtf16);
  std::string ansi;
  if (converter.IsOpen()) {
    converter.Run(utf16, 2, "?", ansi);
  }
  return ansi;
}

}  // namespace platform
