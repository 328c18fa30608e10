#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CodePage, DoubleByteTextConvertsBothWays) {
  const std::string ansi = "A\xC4\xE3\xBA\xC3";  // "A你好"
  EXPECT_EQ(AnsiToUtf16(ansi), u"A\u4f60\u597d");
  EXPECT_EQ(Utf16ToAnsi(u"A\u4f60\u597d"), ansi);
  EXPECT_EQ(AnsiToUtf16(""), u"");
}

TEST(CodePage, BrokenBytesAreReplacedAndAnIncompleteEndDropped) {
  EXPECT_EQ(AnsiToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(AnsiToUtf16("ab\xC4"), u"ab");
}

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(Utf16ToAnsi(u"x\u0E01y"), "x?y");
  EXPECT_EQ(Utf16ToAnsi(std::u16string_view(u"\xD800z", 2)), "?z");
}

}  // namespace
}  // namespace platform
