// What the unit's parameter commands can address. The reply decoders drop anything outside these
// bounds, so a faulty or hostile reply never makes a window or the model index past its storage.
#pragma once

namespace device {

inline constexpr int kStoredScenes = 10;        // scene numbers 1..10; 0 is the working scene
inline constexpr int kSourceCount = 7;          // input sources 0..6
inline constexpr int kMaxBandsPerChannel = 31;  // band slots of an output or input channel
inline constexpr int kMixInputSlots = 8;        // input channels of a source's mix table
inline constexpr int kSpectrumPoints = 121;     // points of a measured response
inline constexpr int kSceneNameBytes = 16;
// Link replies carry one byte per pair of outputs.
inline constexpr int kLinkPairBytes = 4;

}  // namespace device
