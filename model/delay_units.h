// Delay values in the three units the output strip can show: milliseconds, centimetres, inches.
//
// The model always stores milliseconds. Centimetres and inches are the distance sound travels in
// that time, scaled so that the full 15 ms span is 519 cm or 204 in.
#pragma once

#include <string>

namespace model {

// Item order of the delay unit selector.
enum class DelayUnit { Milliseconds = 0, Centimetres = 1, Inches = 2 };

double MsToCentimetres(double ms);
double MsToInches(double ms);

// The delay as the unit's slider and commands see it: microseconds, truncated toward zero.
int DelayToMicroseconds(double ms);

// Display text of a delay: "%.3f ms", or the distance rounded to a whole "%d cm" / "%d in"
// (computed from the whole microseconds, so the text matches what the slider shows).
std::string FormatDelay(double ms, DelayUnit unit);

// Milliseconds for a value typed in `unit`: distances are limited to their span and truncated to
// whole centimetres or inches first; milliseconds are limited to 0..15.
double DelayMsFromUnits(double value, DelayUnit unit);

}  // namespace model
