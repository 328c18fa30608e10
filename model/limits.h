// Counts, value ranges and display formats of the sound parameters.
//
// Every rule about how far a value may go lives here once; the editing operations, the command
// encoders, the command-line program and the windows refer to these names instead of repeating
// numbers.
#pragma once

#include <cstdint>

#include "device/firmware_version.h"

namespace model {

// A closed range of whole numbers.
struct IntRange {
  int min = 0;
  int max = 0;

  constexpr bool Contains(int value) const { return value >= min && value <= max; }
  constexpr int Clamp(int value) const { return value < min ? min : (value > max ? max : value); }
};

// A closed range of real numbers.
struct RealRange {
  double min = 0.0;
  double max = 0.0;

  constexpr bool Contains(double value) const { return value >= min && value <= max; }
  // A value that is not a number goes to the bottom of the range.
  constexpr double Clamp(double value) const {
    return !(value >= min) ? min : (value > max ? max : value);
  }
};

// ---- Counts -------------------------------------------------------------------------------

inline constexpr int kOutputCount = 8;         // output channels 0..7, shown 1..8
inline constexpr int kSixOutputCount = 6;      // the six-output variant of the data
inline constexpr int kSourceCount = 7;         // input sources 0..6
inline constexpr int kMixInputSlots = 8;       // input rows of the mix arrays per source
inline constexpr int kStoredSceneCount = 10;   // stored scenes 1..10; scene 0 is the working one
inline constexpr int kMaxBands = 31;           // bands of outputs 0..5
inline constexpr int kSmallBands = 11;         // bands of outputs 6 and 7
inline constexpr int kFullBandOutputs = 6;     // outputs 0..5 carry kMaxBands bands
inline constexpr int kRoleCount = 25;          // speaker roles 0..24
inline constexpr int kCurvePoints = 512;       // points of every response curve
inline constexpr int kKaraokeValueCount = 10;  // KTV effect values
inline constexpr int kSceneNameUnits = 8;      // UTF-16 code units of a scene name
inline constexpr int kSceneNameBytes = 16;     // bytes of a scene name buffer

// Number of bands of an output: outputs 0..5 have 31, the others 11.
constexpr int BandCountOfOutput(int output) {
  return output < kFullBandOutputs ? kMaxBands : kSmallBands;
}

// How many bands output `output` can hold: at least one, at most its band storage.
constexpr IntRange BandCountRange(int output) {
  return {1, BandCountOfOutput(output)};
}

// Outputs 0..5 and 6..7 form the two halves inside which channels can be linked.
constexpr bool InSameLinkHalf(int a, int b) {
  return (a < kFullBandOutputs) == (b < kFullBandOutputs);
}

// ---- Indices into the model's storage ------------------------------------------------------

// An output channel (the selected channel, a link partner).
inline constexpr IntRange kOutputIndex{0, kOutputCount - 1};
// A speaker role: a row of the role table.
inline constexpr IntRange kRoleIndex{0, kRoleCount - 1};
// The link partner of an output: another output, or none.
inline constexpr int kNoLinkPartner = -1;
inline constexpr IntRange kLinkPartner{kNoLinkPartner, kOutputCount - 1};

// ---- Input sources --------------------------------------------------------------------------

// Source 2 is routed with 2 input channels, source 5 with 4; every other source has none. The
// count decides which routing boxes, mix rows and noise meters exist.
constexpr int InputsPerSource(int source) {
  switch (source) {
    case 2:
      return 2;
    case 5:
      return 4;
    default:
      return 0;
  }
}

// Highest input-routing bit of a mask: bits 0..5 stand for inputs 1..6.
inline constexpr int kRoutingBits = 6;
inline constexpr IntRange kMixLevel{0, 100};
inline constexpr int kDefaultMixLevel = 100;

// ---- Equaliser bands ------------------------------------------------------------------------

inline constexpr IntRange kBandFrequencyHz{20, 20000};
inline constexpr int kBandFrequencyStepHz = 1;
inline constexpr const char* kBandFrequencyFormat = "%d";

inline constexpr RealRange kBandQ{0.5, 9.0};
inline constexpr double kBandQStep = 0.05;
inline constexpr const char* kBandQFormat = "%.2f";

// What the curve editor plots and the band command can carry (the gain travels offset by +18 dB).
inline constexpr RealRange kBandGainDb{-18.0, 12.0};
inline constexpr IntRange kBandGainSliderTenths{-180, 120};
inline constexpr double kBandGainStepDb = 0.1;
inline constexpr const char* kBandGainFormat = "%.1f";

inline constexpr float kDefaultBandQ = 5.8f;

// ---- Crossover --------------------------------------------------------------------------------

inline constexpr IntRange kCrossoverFrequencyHz{20, 20000};
inline constexpr int kCrossoverFrequencyStepHz = 1;
inline constexpr const char* kCrossoverFrequencyFormat = "%dHz";
// 1 Butterworth, 2 Linkwitz-Riley, 3 Bessel.
inline constexpr IntRange kCrossoverType{1, 3};
// Filter order; 0 switches the filter off, each step adds 6 dB/octave.
inline constexpr IntRange kCrossoverSlope{0, 8};

// ---- Trim, delay, volume, threshold ---------------------------------------------------------

inline constexpr IntRange kTrimDb{-60, 0};  // the bottom value is shown as "off"
inline constexpr IntRange kTrimSliderTenths{-600, 0};
inline constexpr int kTrimStepDb = 1;
inline constexpr const char* kTrimFormat = "%ddB";

inline constexpr RealRange kDelayMs{0.0, 15.0};
// The same span in the two other display units: 15 ms of sound travel 519 cm, or 204 inches.
inline constexpr IntRange kDelayCentimetres{0, 519};
inline constexpr IntRange kDelayInches{0, 204};
inline constexpr IntRange kDelaySliderMicroseconds{0, 15000};
inline constexpr int kDelayStepMicroseconds = 21;

// The main volume command carries 6 minus the volume, so the top never exceeds 6; the bottom is
// shown as "off".
inline constexpr IntRange kMainVolumeDb{-60, 6};
inline constexpr int kMainVolumeStepDb = 1;
inline constexpr const char* kMainVolumeFormat = "%ddB";
inline constexpr int kDefaultMainVolumeDb = -5;
// Language key shown instead of the number at the bottom of the trim and main volume sliders.
inline constexpr const char* kOffTextKey = "${off}";

inline constexpr int kDefaultInputThresholdDb = -60;

// ---- Unit identity ----------------------------------------------------------------------------

inline constexpr int kNoUnit = -1;         // model number while no unit is identified
inline constexpr int kAcceptedModel = 23;  // the only model code this tool talks to
// Firmware older than the images built into the program (15.6) must be upgraded before use.
inline constexpr int kMinMasterVersion = device::kBuiltInFirmwareVersion.master;
inline constexpr int kMinSlaveVersion = device::kBuiltInFirmwareVersion.slave;

}  // namespace model
