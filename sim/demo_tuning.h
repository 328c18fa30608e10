// A virtual unit worth looking at: a car tuned the way an installer leaves it.
//
// A two-way front (a tweeter and a midwoofer per side) with a rear fill and a pair of subwoofer
// channels, time-aligned for the driver's seat of a left-hand-drive car. The working scene is the
// "Daily" tuning; four more stored scenes vary it, and the other slots are empty. Every value is
// one a real unit can hold: inside the model's limits, at the steps the controls set, speaker
// roles that do not conflict and pair up left with right, one trim for both subwoofer channels.
#pragma once

#include "model/parameter_model.h"
#include "sim/unit_state.h"

namespace sim {

// The stored scene the working scene was last loaded from.
inline constexpr int kDemoCurrentScene = 1;

// The tuning as the program would hold it after reading the unit; built once.
const model::ParameterModel& DemoTuning();

// The same tuning in the unit's own form: what `VirtualUnit(identity, DemoUnitState())` holds.
UnitState DemoUnitState();

}  // namespace sim
