#include "model/parameter_model.h"

namespace model {

SceneRecord* ParameterModel::SceneByNumber(int scene) {
  if (scene == 0) {
    return &workingScene;
  }
  if (scene >= 1 && scene <= kStoredSceneCount) {
    return &storedScenes[static_cast<std::size_t>(scene - 1)];
  }
  return nullptr;
}

const SceneRecord* ParameterModel::SceneByNumber(int scene) const {
  return const_cast<ParameterModel*>(this)->SceneByNumber(scene);
}

bool ParameterModel::IsFirmwareTooOld() const {
  const SceneRecord& unit = workingScene;
  return unit.masterVersion < kMinMasterVersion ||
         (unit.masterVersion == kMinMasterVersion && unit.slaveVersion < kMinSlaveVersion);
}

}  // namespace model
