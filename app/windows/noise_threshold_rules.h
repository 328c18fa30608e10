// The input noise threshold as the noise threshold window edits it: stepping, clamping, and the
// texts of the threshold edit and of the level meters. Plain functions, so they are testable
// without windows.
#pragma once

#include <string>
#include <string_view>

#include "model/limits.h"

namespace ui {

// The threshold the window lets the user choose; the bottom value switches the gate off.
inline constexpr model::IntRange kInputThresholdDb{-81, -40};
inline constexpr int kInputThresholdOff = kInputThresholdDb.min;
// Level bars start at the bottom of their scale until the first measurement arrives.
inline constexpr int kNoiseLevelFloorDb = -100;
// Meters the window lays out; the current source decides how many are shown.
inline constexpr int kNoiseMeterCount = 6;

// The number an edit text stands for, before any clamping: kInputThresholdOff when the text is
// the "off" text, otherwise its leading whole number (0 when it has none).
int ThresholdFromText(std::wstring_view text, std::wstring_view offText);
// A typed or stepped value brought into the range: the step is applied first, then the clamp.
int StepThreshold(int threshold, int delta);
int CommitThreshold(int threshold);
// "%ddBu", or the "off" text at and below the bottom of the range.
std::wstring ThresholdText(int threshold, std::wstring_view offText);
// A measured level as the meters show it: " %.1f".
std::wstring NoiseLevelText(float levelDb);

}  // namespace ui
