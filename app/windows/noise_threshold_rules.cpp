#include "app/windows/noise_threshold_rules.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>

namespace ui {

namespace {

// The leading whole number of a text, as a C library string-to-integer conversion reads it:
// leading blanks, an optional sign, digits; anything else ends it. Saturates far outside any
// threshold instead of overflowing, so absurdly long input still lands on a range end.
int LeadingInteger(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
    negative = text[i] == L'-';
    ++i;
  }
  constexpr std::int64_t kLimit = 1000000;
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = std::min<std::int64_t>(value * 10 + (text[i] - L'0'), kLimit);
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace

int ThresholdFromText(std::wstring_view text, std::wstring_view offText) {
  if (text == offText) {
    return kInputThresholdOff;
  }
  return LeadingInteger(text);
}

int StepThreshold(int threshold, int delta) {
  return kInputThresholdDb.Clamp(threshold + delta);
}

int CommitThreshold(int threshold) {
  return kInputThresholdDb.Clamp(threshold);
}

std::wstring ThresholdText(int threshold, std::wstring_view offText) {
  if (threshold <= kInputThresholdOff) {
    return std::wstring(offText);
  }
  wchar_t text[32];
  std::swprintf(text, std::size(text), L"%ddBu", threshold);
  return text;
}

std::wstring NoiseLevelText(float levelDb) {
  wchar_t text[32];
  std::swprintf(text, std::size(text), L" %.1f", static_cast<double>(levelDb));
  return text;
}

}  // namespace ui
