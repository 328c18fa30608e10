// Attribute values, image descriptions and the small string helpers the windows use.
#include <gtest/gtest.h>

#include "ui/framework/attribute_parse.h"
#include "ui/framework/image_cache.h"
#include "ui/framework/ui_utils.h"

namespace {

using namespace DuiLib;

TEST(AttributeParse, ColoursRectsSizesAndFlags) {
  EXPECT_EQ(ParseColor(L"#FF102030"), 0xFF102030u);
  EXPECT_EQ(ParseColor(L"#80102030"), 0x80102030u);  // alpha kept
  EXPECT_EQ(ParseColor(L"#102030"), 0xFF102030u);    // six digits: opaque
  EXPECT_EQ(ParseColor(L"0xFF00FF00"), 0xFF00FF00u);
  EXPECT_EQ(ParseRect(L"1,2,3,4"), (RECT{1, 2, 3, 4}));
  EXPECT_EQ(ParseRect(L"5,-6"), (RECT{5, -6, 0, 0}));
  EXPECT_EQ(ParseRect(L""), (RECT{}));
  const SIZE size = ParseSize(L"420,210");
  EXPECT_EQ(size.cx, 420);
  EXPECT_EQ(size.cy, 210);
  EXPECT_TRUE(ParseBool(L"true"));
  EXPECT_TRUE(ParseBool(L"TRUE"));
  EXPECT_FALSE(ParseBool(L"yes"));
}

TEST(AttributeParse, ImageDescriptions) {
  const ImageDescription plain = ParseImageDescription(L"image/btn.png");
  EXPECT_EQ(plain.file, L"image/btn.png");
  EXPECT_EQ(plain.source, (RECT{}));
  const ImageDescription full =
      ParseImageDescription(L"file='image/btn.png' source='0,0,40,24' dest='4,4,20,20'");
  EXPECT_EQ(full.file, L"image/btn.png");
  EXPECT_EQ(full.source, (RECT{0, 0, 40, 24}));
  EXPECT_EQ(full.dest, (RECT{4, 4, 20, 20}));
  // An unterminated field is read as no field, never past the end.
  EXPECT_EQ(ParseImageDescription(L"file='x.png' source='0,0").source, (RECT{}));
}

TEST(StringHelpers, FormatIntAndCase) {
  EXPECT_EQ(Format(L"eq_freq_%d", 30), L"eq_freq_30");
  EXPECT_EQ(Format(L"%ls v%d.%d", L"TRZ62C", 15, 6), L"TRZ62C v15.6");
  const std::wstring longText(5000, L'x');
  EXPECT_EQ(Format(L"%ls", longText.c_str()).size(), 5000u);
  EXPECT_EQ(StrToInt(L"  -81dBu"), -81);
  EXPECT_EQ(StrToInt(L"+12"), 12);
  EXPECT_EQ(StrToInt(L"off"), 0);
  EXPECT_EQ(StrToInt(L"99999999999"), 0x7FFFFFFF);
  EXPECT_TRUE(EqualsNoCase(L"Confirm_Btn", L"confirm_btn"));
  EXPECT_FALSE(EqualsNoCase(L"confirm_btn", L"confirm_bt"));
  EXPECT_EQ(MulDiv(-77, 100, 96), -80);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

}  // namespace
