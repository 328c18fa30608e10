#include "model/delay_units.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "model/limits.h"

namespace model {
namespace {

std::string Printf(const char* format, auto value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Truncation toward zero that saturates instead of overflowing (and reads NaN as 0).
int TruncateToInt(double value) {
  if (!(value > INT_MIN && value < INT_MAX)) {
    return value >= INT_MAX ? INT_MAX : (value <= INT_MIN ? INT_MIN : 0);
  }
  return static_cast<int>(value);
}

int RoundToInt(double value) {
  return TruncateToInt(std::round(value));
}

}  // namespace

double MsToCentimetres(double ms) {
  return ms * kDelayCentimetres.max / kDelayMs.max;
}

double MsToInches(double ms) {
  return ms * kDelayInches.max / kDelayMs.max;
}

int DelayToMicroseconds(double ms) {
  return TruncateToInt(ms * 1000.0);
}

std::string FormatDelay(double ms, DelayUnit unit) {
  const double wholeMicrosecondsAsMs = DelayToMicroseconds(ms) / 1000.0;
  switch (unit) {
    case DelayUnit::Centimetres:
      return Printf("%d cm", RoundToInt(MsToCentimetres(wholeMicrosecondsAsMs)));
    case DelayUnit::Inches:
      return Printf("%d in", RoundToInt(MsToInches(wholeMicrosecondsAsMs)));
    case DelayUnit::Milliseconds:
      break;
  }
  return Printf("%.3f ms", ms);
}

double DelayMsFromUnits(double value, DelayUnit unit) {
  switch (unit) {
    case DelayUnit::Centimetres: {
      const double cm = std::trunc(RealRange{0.0, double(kDelayCentimetres.max)}.Clamp(value));
      return cm * kDelayMs.max / kDelayCentimetres.max;
    }
    case DelayUnit::Inches: {
      const double inches = std::trunc(RealRange{0.0, double(kDelayInches.max)}.Clamp(value));
      return inches * kDelayMs.max / kDelayInches.max;
    }
    case DelayUnit::Milliseconds:
      break;
  }
  return kDelayMs.Clamp(value);
}

}  // namespace model
