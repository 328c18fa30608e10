// The car the virtual unit calibrates: how the speaker of each role sounds at the listening
// position (the driver's seat of a left-hand-drive car). Every role has its own speaker, fixed,
// so that runs are repeatable: a working range it plays in, a tilt across that range, a few
// resonances and dips of the cabin, a level and a distance that follow from where it sits, and
// the polarity it was wired with.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace sim {

// One resonance (gain above 0) or dip of the cabin, shaped like a peaking band.
struct CabinFeature {
  double freqHz = 0.0;
  double gainDb = 0.0;
  double q = 1.0;
};

struct CabinSpeaker {
  // The speaker plays evenly from lowHz to highHz and rolls off outside with these orders.
  double lowHz = 0.0;
  double highHz = 0.0;
  int lowOrder = 2;
  int highOrder = 2;
  // Slope of its response across the working range, dB per octave, pivoting at the range's
  // geometric centre.
  double tiltDbPerOctave = 0.0;
  std::vector<CabinFeature> features;
  // Level at the listening position against the unit's reference, and distance to it.
  double levelDb = 0.0;
  double distanceM = 0.0;
  bool reversed = false;  // wired with reversed polarity
  int sizeInches = 0;
  int noiseDb = 0;  // background noise the microphone hears while measuring it (dB SPL)
  // Where the small ripple of a real measurement falls; differs from speaker to speaker.
  double ripplePhase = 0.0;
};

// The speaker of `role` in the simulated car; none for role 0 (no speaker) and unknown roles.
std::optional<CabinSpeaker> CabinSpeakerOf(int role);

// The range over which a calibration evens the speaker out: its working range within
// 60 Hz..16 kHz.
struct CorrectionRange {
  double lowHz = 0.0;
  double highHz = 0.0;

  bool Contains(double hz) const { return hz >= lowHz && hz <= highHz; }
};
CorrectionRange CorrectionRangeOf(const CabinSpeaker& speaker);

// The speaker's response at the listening position (dB, 0 at its level), at each frequency.
std::vector<double> CabinResponse(const CabinSpeaker& speaker, std::span<const double> frequencies);

}  // namespace sim
