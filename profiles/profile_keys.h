// The keys and fixed values of the profile files, shared by the writer and the reader.
//
// Both formats are JSON objects whose keys come in the order the writer adds them; the reader
// looks each one up by name.
#pragma once

#include "model/limits.h"

namespace profiles {

// The model number both formats carry; a file with any other is for another unit.
inline constexpr int kProfileModel = model::kAcceptedModel;
inline constexpr const char* kProfileModelName = "TRZ62C";

namespace key {

// Top level of both formats.
inline constexpr const char* kModel = "model";
inline constexpr const char* kModelName = "model_name";
inline constexpr const char* kMainVolume = "mainVolume";
inline constexpr const char* kSubVolume = "subVolume";
inline constexpr const char* kMainVolumeMute = "mainVolumeMute";

// Whole-unit profile only.
inline constexpr const char* kSceneName = "sceneName";
inline constexpr const char* kCurrentProfile = "currentProfile";
inline constexpr const char* kSceneArray = "sceneArray";

// The settings of one scene.
inline constexpr const char* kChannels = "channels";
inline constexpr const char* kInputs = "inputs";
inline constexpr const char* kInputMixVolume = "inputMixVolume";
inline constexpr const char* kOutputs = "outputs";
inline constexpr const char* kLinkOutputs = "linkOutputs";
inline constexpr const char* kShowChEqualizer = "showChEqualizer";
inline constexpr const char* kCurrChannel = "currChannel";
inline constexpr const char* kLinkMode = "linkMode";
inline constexpr const char* kLockMode = "lockMode";
inline constexpr const char* kInputThreshold = "inputThreshold";

// One channel object.
inline constexpr const char* kEqSize = "eqSize";
inline constexpr const char* kGain = "gain";
inline constexpr const char* kMute = "mute";
inline constexpr const char* kDelay = "delay";
inline constexpr const char* kPhase = "phase";
inline constexpr const char* kBypass = "bypass";
inline constexpr const char* kCrossover = "crossover";
inline constexpr const char* kEqArray = "eqArray";

// The crossover and its two filters ("bypass" as above).
inline constexpr const char* kBpType = "bpType";
inline constexpr const char* kHighPass = "hp";
inline constexpr const char* kLowPass = "lp";
inline constexpr const char* kFs = "fs";
inline constexpr const char* kType = "type";
inline constexpr const char* kSlope = "slope";

// One band object.
inline constexpr const char* kFreq = "freq";
inline constexpr const char* kEqFactor = "eqFactor";
inline constexpr const char* kEqGain = "eqGain";
inline constexpr const char* kEnable = "enable";

}  // namespace key
}  // namespace profiles
