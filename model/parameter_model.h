// Everything the tool knows about the unit's sound settings: the working scene, copies of the ten
// stored scenes and their names, and the state of the scene window's pending operation.
//
// The model is plain data plus rules, with no user interface and no device I/O; the main window
// and the command-line program both keep one. It is large (eleven full scene records with their
// curves), so keep it on the heap.
#pragma once

#include <array>
#include <cstdint>

#include "model/limits.h"
#include "model/scene_name.h"
#include "model/scene_record.h"

namespace model {

struct ParameterModel {
  // The settings the unit is playing now (scene 0), with the unit's identity in its leading
  // fields. The only record that editing touches.
  SceneRecord workingScene;
  // Stored scene n (1..10) is element n - 1.
  std::array<SceneRecord, kStoredSceneCount> storedScenes;
  // Name of stored scene n is element n - 1; all empty at start.
  std::array<SceneName, kStoredSceneCount> sceneNames{};
  // The stored scene the scene window chose for a load, save or delete.
  std::uint8_t selectedScene = 0;
  // The name the scene window supplied for a save, in the unit's encoding.
  SceneNameBytes pendingSceneName{};
  // Set while the built-in-image upgrade window is open.
  std::uint8_t upgradeInProgress = 0;

  // The record a scene number addresses: 0 the working scene, 1..10 a stored scene; null for any
  // other number.
  SceneRecord* SceneByNumber(int scene);
  const SceneRecord* SceneByNumber(int scene) const;

  bool IsUnitIdentified() const { return workingScene.modelNumber != kNoUnit; }
  // The identified unit is the model this tool talks to.
  bool IsAcceptedUnit() const { return workingScene.modelNumber == kAcceptedModel; }
  // The unit's firmware is older than 15.6 and must be upgraded before use.
  bool IsFirmwareTooOld() const;
};

}  // namespace model
