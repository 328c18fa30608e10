// Wide formatting with the texts' meaning of "%s" and "%c" (wide arguments), long results, and a
// narrow argument that cannot be converted.
#include "platform/wide_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Spelling {
  const wchar_t* written;
  const wchar_t* glibc;
};

class GlibcSpelling : public testing::TestWithParam<Spelling> {};

TEST_P(GlibcSpelling, StringAndCharacterConversionsAreRewrittenOthersKept) {
  EXPECT_EQ(platform::ToGlibcWideFormat(GetParam().written), GetParam().glibc);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GlibcSpelling,
    testing::Values(Spelling{L"Load scene %d \"%s\"", L"Load scene %d \"%ls\""},
                    Spelling{L"%-8s|%5.2s|%c", L"%-8ls|%5.2ls|%lc"},
                    Spelling{L"%ls %lc", L"%ls %lc"},            // already wide
                    Spelling{L"%hs %hc %S %C", L"%s %c %s %c"},  // narrow arguments
                    Spelling{L"100%% %s", L"100%% %ls"},
                    Spelling{L"%*d %.*f %lld %zu", L"%*d %.*f %lld %zu"},
                    Spelling{L"%2$s %1$d", L"%2$ls %1$d"}, Spelling{L"ends with %", L"ends with %"},
                    Spelling{L"ends with %l", L"ends with %l"}));

struct Named {
  const wchar_t* name;
};

class NonAsciiNames : public testing::TestWithParam<Named> {};

TEST_P(NonAsciiNames, AWideNameArrivesWhole) {
  const std::wstring name = GetParam().name;
  EXPECT_EQ(platform::FormatWide(L"Load scene %d \"%s\"", 3, name.c_str()),
            L"Load scene 3 \"" + name + L"\"");
  EXPECT_EQ(platform::FormatWide(L"要载入场景 %d“%s”吗？", 10, name.c_str()),
            L"要载入场景 10“" + name + L"”吗？");
  EXPECT_EQ(platform::FormatWide(L"[%c]", name[0]), std::wstring(L"[") + name[0] + L"]");
}

INSTANTIATE_TEST_SUITE_P(Names, NonAsciiNames,
                         testing::Values(Named{L"Rock"}, Named{L"中文"}, Named{L"été"},
                                         Named{L"\U0001F3B5 bass"}));

TEST(WideFormat, LongResultsAreWhole) {
  const std::wstring longName(5000, L'é');
  const std::wstring text = platform::FormatWide(L"<%s>", longName.c_str());
  EXPECT_EQ(text, L"<" + longName + L">");
}

TEST(WideFormat, AnUnconvertibleNarrowArgumentKeepsWhatCameBefore) {
  // In the C locale a byte above 0x7F is no character: the text stops there instead of being
  // taken for an overflow and coming back empty.
  const std::wstring text = platform::FormatWide(L"scene %d %hs", 4, "\xe9t\xe9");
  EXPECT_EQ(text, L"scene 4 ");
  EXPECT_EQ(platform::FormatWide(L"%hs=%d", "plain", 5), L"plain=5");
}

}  // namespace
