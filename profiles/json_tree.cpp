#include "profiles/json_tree.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace profiles {
namespace {

// Up to 15 digits a double holds every whole number exactly, and "%1.15g" prints it plainly.
constexpr double kPlainWholeLimit = 1e15;

// cJSON takes the 15-digit form when it reads back within a relative DBL_EPSILON, not only when
// it reads back exactly (so 0.10000000000000002 prints as 0.1).
bool CloseEnough(double a, double b) {
  return std::abs(a - b) <= std::max(std::abs(a), std::abs(b)) * DBL_EPSILON;
}

}  // namespace

std::string JsonNumberText(double value) {
  if (!std::isfinite(value)) {
    return "null";
  }
  char text[32];
  char* end = nullptr;
  // A whole number prints as its digits; negative zero keeps its sign, as "%g" does.
  if (value == std::trunc(value) && std::abs(value) < kPlainWholeLimit &&
      !(value == 0.0 && std::signbit(value))) {
    end = std::to_chars(text, text + sizeof text, static_cast<std::int64_t>(value)).ptr;
    return std::string(text, end);
  }
  end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
  double back = 0.0;
  // Near the largest double the 15 digits round past it, and cJSON's sscanf reads infinity.
  if (std::from_chars(text, end, back).ec == std::errc::result_out_of_range) {
    back = std::copysign(HUGE_VAL, value);
  }
  if (!CloseEnough(back, value)) {
    end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17).ptr;
  }
  return std::string(text, end);
}

}  // namespace profiles
