// Settings as the program keeps them (the model), turned into the unit's own form: what a unit
// holding them answers. Values pass through the wire's resolution on the way: Q in hundredths,
// band gain in tenths of a dB, delay in microseconds, trim in whole dB. Values outside the
// model's limits are brought inside them first, so the result is always a state a unit can hold.
#pragma once

#include "model/parameter_model.h"
#include "model/scene_record.h"
#include "sim/unit_state.h"

namespace sim {

SceneState SceneStateFromRecord(const model::SceneRecord& record);

// One band in the unit's form: Q in hundredths, gain in tenths of a dB, each brought within the
// model's limits first.
BandState BandStateFrom(const model::EqBand& band);

// A whole unit's tuning: the working scene with the unit-wide values its record carries (input
// source, main and subwoofer volume, mute, input threshold), the ten stored scenes and their names
// (an empty name is an erased slot). The rest (karaoke values, power-off delay, input channels,
// calibration) is as the unit leaves the factory.
UnitState UnitStateFromModel(const model::ParameterModel& model);

}  // namespace sim
