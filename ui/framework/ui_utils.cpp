#include "ui/framework/ui_utils.h"

#include <QMessageBox>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <utility>

#include "platform/wide_format.h"
#include "ui/framework/qt_convert.h"

namespace DuiLib {
namespace {

void ShowBoxAndExit(std::wstring_view title, std::wstring_view text, int exitCode) {
  QMessageBox::critical(nullptr, ToQString(title), ToQString(text));
  // End at once with the code: running static destructors here, with windows and the
  // application object still alive, could crash and hide the code. The log is flushed first.
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

FatalErrorHandler& Handler() {
  static FatalErrorHandler handler = ShowBoxAndExit;
  return handler;
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) {
    return -1;
  }
  const long long product = static_cast<long long>(a) * b;
  const long long half = (c < 0 ? -c : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const long long magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

std::wstring Format(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = platform::FormatWideV(format, args);
  va_end(args);
  return text;
}

int StrToInt(std::wstring_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && std::iswspace(static_cast<wint_t>(text[pos]))) {
    ++pos;
  }
  bool negative = false;
  if (pos < text.size() && (text[pos] == L'-' || text[pos] == L'+')) {
    negative = text[pos] == L'-';
    ++pos;
  }
  long long value = 0;
  for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
    value = value * 10 + (text[pos] - L'0');
    if (value > 0x7FFFFFFF) {
      value = 0x7FFFFFFF;
    }
  }
  return static_cast<int>(negative ? -value : value);
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) {
      return false;
    }
  }
  return true;
}

void SetFatalErrorHandler(FatalErrorHandler handler) {
  Handler() = handler ? std::move(handler) : FatalErrorHandler(ShowBoxAndExit);
}

void ReportFatalError(std::wstring_view title, std::wstring_view text, int exitCode) {
  Handler()(title, text, exitCode);
}

}  // namespace DuiLib
