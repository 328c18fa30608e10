// Display constants of the curve controls. The frequency and Q limits are the same numbers the
// parameter model enforces (model/limits.h); they are repeated here because the controls sit below
// the model in the layering and cannot include it.
#pragma once

#include <array>
#include <cstdint>

namespace ui {

inline constexpr int kLowestFrequencyHz = 20;
inline constexpr int kHighestFrequencyHz = 20000;
inline constexpr double kLowestQ = 0.5;
inline constexpr double kHighestQ = 9.0;

// Length of every response curve and of a measured response.
inline constexpr int kCurvePoints = 512;
inline constexpr int kResponsePoints = 121;
inline constexpr int kMaxCurveChannels = 8;
inline constexpr int kMaxEqualizerBands = 31;

// The vertical lines of both curve displays; the last one (20000) is the right edge and is not
// drawn.
inline constexpr std::array<int, 28> kFrequencyGridLines = {
    20,  30,  40,  50,   60,   70,   80,   90,   100,  200,  300,  400,  500,   600,
    700, 800, 900, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};

inline constexpr std::uint32_t kFrameColor = 0xFF444444;
inline constexpr std::uint32_t kDefaultLabelColor = 0xFF444444;

}  // namespace ui
