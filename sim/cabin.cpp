#include "sim/cabin.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/speaker_role.h"
#include "sim/response_points.h"

namespace sim {

namespace {

enum class Kind { Tweeter, Midrange, Woofer, MidTweeter, MidWoofer, Full, CentreMid, Subwoofer };

// A kind of speaker as it sounds in this car, before its place is taken into account.
struct KindSound {
  double lowHz;
  double highHz;
  int highOrder;
  double tiltDbPerOctave;
  std::vector<CabinFeature> features;
  double levelDb;  // at one metre
  int sizeInches;
  double distanceOffsetM;  // tweeters sit up on the dash, woofers low in the doors
};

KindSound SoundOf(Kind kind) {
  switch (kind) {
    case Kind::Tweeter:
      return {2500, 20000, 2, -0.9, {{4500, 4.5, 3}, {8000, -5, 4}, {12500, 3.5, 3}}, 3, 1, 0.06};
    case Kind::Midrange:
      return {250, 7000, 2, -0.5, {{600, 4, 2.5}, {1500, -6, 3}, {3500, 4, 3}}, 1, 3, 0.02};
    case Kind::Woofer:
      return {45, 1200, 2, -0.6, {{80, 5.5, 1}, {220, 5, 3}, {450, -5.5, 2.5}}, -1, 6, -0.03};
    case Kind::MidTweeter:
      return {
          250, 20000, 2,   -0.8, {{700, 4, 2}, {2200, -6, 3}, {5000, 4.5, 3}, {9500, -4.5, 3.5}},
          1.5, 4,     0.04};
    case Kind::MidWoofer:
      return {45,
              7000,
              2,
              -0.6,
              {{75, 5, 1}, {190, 5, 3}, {480, -6, 2.5}, {1800, 3.5, 2.5}, {3800, -4, 3}},
              -0.5,
              6,
              -0.02};
    case Kind::Full:
      return {
          45,
          20000,
          2,
          -0.7,
          {{70, 5, 1}, {180, 5, 3}, {420, -6, 2.5}, {1600, 3.5, 2}, {3200, -5, 3}, {7000, 4, 4}},
          0,
          6,
          0.0};
    case Kind::CentreMid:
      return {200, 8000, 2, -0.4, {{400, 4, 2}, {1100, -5, 3}, {2800, 3.5, 3}}, 0.5, 4, 0.0};
    case Kind::Subwoofer:
      // Cabin gain lifts the bottom octave: a steep falling tilt.
      return {22, 180, 4, -1.5, {{95, 4.5, 3}, {140, -5, 3}}, 4, 10, 0.0};
  }
  return {};
}

// Where a group of roles sits: distance from the driver's ears and what that place adds.
struct Place {
  double distanceM;
  std::vector<CabinFeature> features;
};

Place PlaceOf(model::RoleGroup group) {
  switch (group) {
    case model::RoleGroup::FrontLeft:
      return {0.75, {{900, 3, 3}}};  // door panel close to the ear
    case model::RoleGroup::FrontRight:
      return {1.35, {{1250, -4, 3}}};  // reflection off the far side window
    case model::RoleGroup::RearLeft:
      return {1.2, {{120, 4, 2.5}}};  // parcel shelf boom
    case model::RoleGroup::RearRight:
      return {1.6, {{120, 4, 2.5}}};
    case model::RoleGroup::Centre:
      return {0.98, {{2000, -3.5, 3}}};  // windscreen reflection
    case model::RoleGroup::Subwoofer:
      return {1.95, {}};  // in the boot
  }
  return {};
}

Kind KindOf(int role, const model::RoleInfo& info) {
  constexpr int kCentreMidRole = 20;
  if (info.group == model::RoleGroup::Subwoofer) {
    return Kind::Subwoofer;
  }
  if (role == kCentreMidRole) {
    return Kind::CentreMid;
  }
  switch (info.coverageMask) {
    case 4:
      return Kind::Tweeter;
    case 2:
      return Kind::Midrange;
    case 1:
      return Kind::Woofer;
    case 6:
      return Kind::MidTweeter;
    case 3:
      return Kind::MidWoofer;
    default:
      return Kind::Full;
  }
}

// Roles whose speaker was wired the wrong way round.
constexpr int kReversedRoles[] = {9, 15};

constexpr double kCornerFactor = 1.5;  // the working range ends 1.5 times inside the corners
constexpr double kCorrectionLowHz = 60.0;
constexpr double kCorrectionHighHz = 16000.0;
constexpr double kRippleDb = 0.3;
constexpr double kFineRippleDb = 0.15;

}  // namespace

std::optional<CabinSpeaker> CabinSpeakerOf(int role) {
  if (role <= model::kRoleEmpty || role >= model::kRoleCount) {
    return std::nullopt;
  }
  const model::RoleInfo& info = model::RoleInfoOf(role);
  const KindSound sound = SoundOf(KindOf(role, info));
  const Place place = PlaceOf(info.group);

  // Each role differs a little from its kind: the cabin's modes fall a few per cent apart and
  // are a little stronger or weaker from one seat position to the next.
  const double frequencyScale = 1.0 + 0.03 * ((role * 7) % 5 - 2);
  const double gainScale = 1.0 + 0.05 * ((role * 3) % 5 - 2);

  CabinSpeaker speaker;
  speaker.lowHz = sound.lowHz;
  speaker.highHz = sound.highHz;
  speaker.highOrder = sound.highOrder;
  speaker.tiltDbPerOctave = sound.tiltDbPerOctave;
  for (const CabinFeature& feature : sound.features) {
    speaker.features.push_back(
        {feature.freqHz * frequencyScale, feature.gainDb * gainScale, feature.q});
  }
  for (const CabinFeature& feature : place.features) {
    if (feature.freqHz > sound.lowHz && feature.freqHz < sound.highHz) {
      speaker.features.push_back(feature);
    }
  }
  speaker.distanceM = place.distanceM + sound.distanceOffsetM;
  // Sound falls by 6 dB per doubling of distance.
  speaker.levelDb = sound.levelDb - 20.0 * std::log10(speaker.distanceM);
  speaker.reversed = std::ranges::find(kReversedRoles, role) != std::end(kReversedRoles);
  speaker.sizeInches = sound.sizeInches;
  speaker.noiseDb = 34 + role % 5;
  speaker.ripplePhase = role * 0.7;
  return speaker;
}

CorrectionRange CorrectionRangeOf(const CabinSpeaker& speaker) {
  return {std::max(kCorrectionLowHz, speaker.lowHz), std::min(kCorrectionHighHz, speaker.highHz)};
}

std::vector<double> CabinResponse(const CabinSpeaker& speaker,
                                  std::span<const double> frequencies) {
  ResponsePoints points(frequencies);
  std::vector<double> response(points.Count(), 0.0);
  points.AddHighPass(speaker.lowHz / kCornerFactor, speaker.lowOrder, response);
  points.AddLowPass(speaker.highHz * kCornerFactor, speaker.highOrder, response);
  for (const CabinFeature& feature : speaker.features) {
    points.AddPeaking(feature.freqHz, feature.gainDb, feature.q, response);
  }
  const double pivotHz = std::sqrt(speaker.lowHz * speaker.highHz);
  for (std::size_t k = 0; k < response.size(); ++k) {
    const double octaves = std::log2(points.Frequency(k) / pivotHz);
    const double twoPi = 2.0 * std::numbers::pi;
    response[k] += speaker.tiltDbPerOctave * octaves +
                   kRippleDb * std::sin(twoPi * 3.0 * octaves + speaker.ripplePhase) +
                   kFineRippleDb * std::sin(twoPi * 7.3 * octaves + 2.0 * speaker.ripplePhase);
  }
  return response;
}

}  // namespace sim
