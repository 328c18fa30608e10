// A model with every setting away from its default, for tests and benchmarks of the profiles.
#pragma once

#include <memory>

#include "model/parameter_model.h"

namespace profiles::testing {

// A model whose working scene, stored scenes and names all differ from the defaults and from
// each other, with reals that are not whole numbers and names outside ASCII.
std::unique_ptr<model::ParameterModel> TuningModel();

}  // namespace profiles::testing
