// Command and reply codes of the parameter groups. A get and its reply use the code of the set.
#pragma once

#include <cstdint>

namespace device {

// Group 1: DSP parameters and auto calibration.
namespace dsp {
inline constexpr std::uint8_t kSourceConfig = 0;
inline constexpr std::uint8_t kSource = 1;
inline constexpr std::uint8_t kMainVolume = 2;
inline constexpr std::uint8_t kSubVolume = 3;
inline constexpr std::uint8_t kMuteAll = 4;
inline constexpr std::uint8_t kFilter = 5;
inline constexpr std::uint8_t kEq = 6;
inline constexpr std::uint8_t kDelay = 7;
inline constexpr std::uint8_t kTrim = 8;
inline constexpr std::uint8_t kMuteCh = 9;
inline constexpr std::uint8_t kPhase = 10;
inline constexpr std::uint8_t kMix = 11;
inline constexpr std::uint8_t kRemap = 12;
inline constexpr std::uint8_t kChType = 13;
inline constexpr std::uint8_t kChLink = 14;
inline constexpr std::uint8_t kChLock = 15;
inline constexpr std::uint8_t kDspBypass = 16;
inline constexpr std::uint8_t kPeqReset = 17;
inline constexpr std::uint8_t kPeqBypass = 18;
inline constexpr std::uint8_t kIrc = 19;
inline constexpr std::uint8_t kIrcDistance = 20;
inline constexpr std::uint8_t kIrcTrim = 21;
inline constexpr std::uint8_t kIrcEq = 22;
inline constexpr std::uint8_t kIrcSpkSize = 23;
inline constexpr std::uint8_t kIrcSpkPhase = 24;
inline constexpr std::uint8_t kIrcSpkLevel = 25;
inline constexpr std::uint8_t kIrcSpectrum = 26;
inline constexpr std::uint8_t kIrcNoiseLevel = 27;
inline constexpr std::uint8_t kIrcRta = 28;
inline constexpr std::uint8_t kIrcTestMic = 29;
inline constexpr std::uint8_t kIrcTestModule = 30;
inline constexpr std::uint8_t kInputTrim = 32;
inline constexpr std::uint8_t kInputMute = 33;
inline constexpr std::uint8_t kInputPhase = 34;
inline constexpr std::uint8_t kInputEq = 35;
inline constexpr std::uint8_t kInputMixTrim = 36;
inline constexpr std::uint8_t kInputThreshold = 38;
inline constexpr std::uint8_t kInputNoise = 39;
inline constexpr std::uint8_t kOutputMixTrim = 40;
inline constexpr std::uint8_t kTrimLink = 48;
inline constexpr std::uint8_t kDelayLink = 49;
inline constexpr std::uint8_t kRemoteChannel = 50;
inline constexpr std::uint8_t kCommand51 = 51;
}  // namespace dsp

// Group 2: scenes.
namespace scene {
inline constexpr std::uint8_t kSave = 8;
inline constexpr std::uint8_t kRead = 9;
inline constexpr std::uint8_t kDelete = 10;
inline constexpr std::uint8_t kName = 11;
inline constexpr std::uint8_t kProfile = 12;
inline constexpr std::uint8_t kRequest13 = 13;
inline constexpr std::uint8_t kCurrent = 14;
// ReadScene's second argument: 0 loads "from" into the working scene, 255 prepares it for gets.
inline constexpr int kLoadIntoWorking = 0;
inline constexpr int kPrepareForReading = 255;
}  // namespace scene

// Group 7: karaoke effects, one code per value.
namespace ktv {
inline constexpr std::uint8_t kMicVolume = 1;
inline constexpr std::uint8_t kMusicVolume = 2;
inline constexpr std::uint8_t kHowling = 3;
inline constexpr std::uint8_t kEchoLevel = 4;
inline constexpr std::uint8_t kEchoDelay = 5;  // the one 16-bit value
inline constexpr std::uint8_t kReverbLevel = 6;
inline constexpr std::uint8_t kReverbTime = 7;
inline constexpr std::uint8_t kVoiceChanger = 8;
inline constexpr std::uint8_t kBassGain = 9;     // signed
inline constexpr std::uint8_t kTrebleGain = 10;  // signed
inline constexpr int kValueCount = 10;
}  // namespace ktv

// Group 3 actions (set) and the power-off delay (set and get).
inline constexpr std::uint8_t kMcuReboot = 143;
inline constexpr std::uint8_t kMcuFactoryDefault = 144;
inline constexpr std::uint8_t kMcuPowerOffDelay = 145;

}  // namespace device
