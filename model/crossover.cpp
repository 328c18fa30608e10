#include "model/crossover.h"

#include "model/limits.h"

namespace model {

CrossoverFilter::CrossoverFilter(std::int32_t fs, std::int32_t type, std::int32_t slope) {
  SetFs(fs);
  SetType(type);
  SetSlope(slope);
}

void CrossoverFilter::SetFs(std::int32_t fs) {
  mFs = kCrossoverFrequencyHz.Contains(fs) ? fs : kCrossoverFrequencyHz.min;
}

void CrossoverFilter::SetType(std::int32_t type) {
  mType = kCrossoverType.Contains(type) ? type : kCrossoverType.min;
}

void CrossoverFilter::SetSlope(std::int32_t slope) {
  mSlope = slope < 0 ? 0 : slope;
  mBypass = slope <= 0 ? 1 : 0;
}

}  // namespace model
