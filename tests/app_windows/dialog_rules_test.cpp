// The rules of the small dialogs that need no window: threshold stepping and reading typed text,
// the texts of the threshold edit and the meters, name cutting and the about window's version
// lines. The windows' own tests cover button counts, the check-option answer and typed limits.
#include <gtest/gtest.h>

#include "app/windows/about_texts.h"
#include "app/windows/dialog_rules.h"
#include "app/windows/noise_threshold_rules.h"

namespace {

constexpr std::wstring_view kOff = L"OFF";

TEST(NoiseThresholdRules, SteppingStopsAtBothEndsOfTheRange) {
  EXPECT_EQ(ui::StepThreshold(-40, +1), -40);
  EXPECT_EQ(ui::StepThreshold(-41, +1), -40);
  EXPECT_EQ(ui::StepThreshold(-81, -1), -81);
  EXPECT_EQ(ui::StepThreshold(-80, -1), -81);
  EXPECT_EQ(ui::StepThreshold(-60, -1), -61);
  // The step applies to the typed number before the clamp: -100 stepped up is still off.
  EXPECT_EQ(ui::StepThreshold(-100, +1), -81);
  EXPECT_EQ(ui::StepThreshold(-20, -1), -40);
}

TEST(NoiseThresholdRules, TypedValuesAreReadLikeTheEditShowsThem) {
  EXPECT_EQ(ui::ThresholdFromText(L"-60dBu", kOff), -60);
  EXPECT_EQ(ui::ThresholdFromText(L"  -55", kOff), -55);
  EXPECT_EQ(ui::ThresholdFromText(kOff, kOff), ui::kInputThresholdOff);
  EXPECT_EQ(ui::ThresholdFromText(L"", kOff), 0);
  EXPECT_EQ(ui::ThresholdFromText(L"abc", kOff), 0);
  // Absurdly long numbers saturate instead of overflowing, and still land on a range end.
  EXPECT_EQ(ui::CommitThreshold(ui::ThresholdFromText(L"-99999999999999999999", kOff)), -81);
  EXPECT_EQ(ui::CommitThreshold(ui::ThresholdFromText(L"99999999999999999999", kOff)), -40);
  EXPECT_EQ(ui::StepThreshold(ui::ThresholdFromText(L"99999999999999999999", kOff), 1), -40);
}

TEST(NoiseThresholdRules, TextsOfTheEditAndTheMeters) {
  EXPECT_EQ(ui::ThresholdText(-60, kOff), L"-60dBu");
  EXPECT_EQ(ui::ThresholdText(-40, kOff), L"-40dBu");
  EXPECT_EQ(ui::ThresholdText(-80, kOff), L"-80dBu");
  EXPECT_EQ(ui::ThresholdText(-81, kOff), kOff);
  EXPECT_EQ(ui::ThresholdText(-95, kOff), kOff);  // a stored value below the range shows off
  EXPECT_EQ(ui::NoiseLevelText(-72.46f), L" -72.5");
  EXPECT_EQ(ui::NoiseLevelText(0.0f), L" 0.0");
}

TEST(NameEntryRules, NamesAreCutToTheirBufferWithoutSplittingACharacter) {
  EXPECT_EQ(ui::CutToUtf16Units(L"Concert hall", 8), L"Concert ");
  EXPECT_EQ(ui::CutToUtf16Units(L"家庭影院模式一二三", 8), L"家庭影院模式一二");
  EXPECT_EQ(ui::CutToUtf16Units(L"short", 8), L"short");
  // U+1F3B5 needs two UTF-16 units: with one unit left it is dropped, not halved.
  EXPECT_EQ(ui::CutToUtf16Units(L"ABCDEFG\U0001F3B5", 8), L"ABCDEFG");
  EXPECT_EQ(ui::CutToUtf16Units(L"ABCDEF\U0001F3B5", 8), L"ABCDEF\U0001F3B5");
  EXPECT_EQ(ui::CutToUtf16Units(L"abc", 0), L"");
}

TEST(AboutTexts, VersionLinesWithAndWithoutAUnit) {
  EXPECT_EQ(ui::FirmwareVersionText(-1, L"firmware", 15, 6), L"TRZ62C");
  EXPECT_EQ(ui::FirmwareVersionText(23, L"firmware", 16, 2), L"TRZ62C firmware v16.2");
  EXPECT_EQ(ui::SoftwareVersionText(L"Software"), L"Software v6.7.13");
  EXPECT_EQ(ui::InnerFirmwareVersionText(L"内置固件"), L"内置固件 v15.6");
}

}  // namespace
