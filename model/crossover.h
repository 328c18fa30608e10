// The high-pass and low-pass filters of an output.
#pragma once

#include <cstdint>

namespace model {

// One crossover filter. Every writer goes through the setters, which keep the values inside what
// the unit and the response computation understand.
class CrossoverFilter {
 public:
  // Cut-off 20 Hz, Butterworth, off.
  CrossoverFilter() = default;
  CrossoverFilter(std::int32_t fs, std::int32_t type, std::int32_t slope);

  std::int32_t fs() const { return mFs; }
  std::int32_t type() const { return mType; }
  std::int32_t slope() const { return mSlope; }
  // 1 when the filter is off (slope 0).
  std::int32_t bypass() const { return mBypass; }

  // Cut-off in Hz; anything outside 20..20000 stores 20.
  void SetFs(std::int32_t fs);
  // 1 Butterworth, 2 Linkwitz-Riley, 3 Bessel; anything else stores 1.
  void SetType(std::int32_t type);
  // Filter order; a negative slope stores 0, and a slope of 0 or less switches the filter off.
  void SetSlope(std::int32_t slope);

  friend bool operator==(const CrossoverFilter&, const CrossoverFilter&) = default;

 private:
  std::int32_t mFs = 20;
  std::int32_t mType = 1;
  std::int32_t mSlope = 0;
  std::int32_t mBypass = 1;
};

// Which of the two filters are active, as the unit numbers it.
enum BandPassType : std::int32_t {
  kBpNone = 0,
  kBpHighPass = 1,
  kBpLowPass = 2,
  kBpBoth = 3,
};

struct Crossover {
  // Set only when the crossover is rebuilt from a speaker role; the filter setters leave it alone.
  std::int32_t bpType = kBpNone;
  CrossoverFilter hp;
  CrossoverFilter lp;

  friend bool operator==(const Crossover&, const Crossover&) = default;
};

}  // namespace model
