// The settings a virtual unit changed, carried back into the model it was given: the way back
// of UnitStateFromModel, for a unit kept in a profile file.
#pragma once

#include "model/parameter_model.h"
#include "sim/unit_state.h"

namespace sim {

// Writes into `model` each setting in which the unit's state `now` differs from `before` (the
// state UnitStateFromModel gave the unit for `model`), as the program reads that setting from the
// unit. Every setting the unit left alone keeps its value in the model exactly, including what the
// unit cannot hold at all (band enable flags, band counts, the selected channel, the overlaid
// curves) and values finer than the unit's resolution.
void ApplyUnitChanges(const UnitState& before, const UnitState& now, model::ParameterModel& model);

}  // namespace sim
