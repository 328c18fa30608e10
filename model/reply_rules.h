// How each notification decoded from the unit's replies changes the model.
//
// These are the model half of the main window's notification handlers; the window then refreshes
// its controls from the model, and the command-line program uses the same rules without any
// window. A notification that names a scene, output, band, source or input outside the model's
// storage, carries a record of the wrong kind, or has a code without a model rule changes
// nothing.
//
// Each rule also writes the handler's log line with the code ("ReadDspValueCallback 0x%02x",
// "ReadMcuValueCallback 0x%02x", "ReadSenceValueCallback 0x%02x") and the log lines that belong
// to the model change itself, so callers do not log them again.
#pragma once

#include <cstdint>

#include "model/parameter_model.h"
#include "platform/post_message.h"

namespace model {

// What a notification changed.
struct ModelChange {
  // The scene the change belongs to: 0 the working scene, 1..10 a stored scene (for a scene name,
  // the stored scene it names); -1 when nothing changed. Controls follow only the working scene.
  int scene = -1;
  // The output the change concerns, or -1 when it is not about one output.
  int channel = -1;
  // Unlocking the speaker roles ended the channel link, which the unit must be told
  // (link off, no pairs).
  bool linkCleared = false;

  static ModelChange OfWorkingScene() { return ModelChange{.scene = 0}; }

  bool Changed() const { return scene >= 0; }
  bool ChangedWorkingScene() const { return scene == 0; }
};

// Parameter notification (DSP reply code; `value` is the plain lParam of the codes that carry a
// value instead of a record).
ModelChange ApplyDspNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value,
                                 const platform::NotificationRecord* record);
// MCU notification: unit identity, flash version, power-off delay.
ModelChange ApplyMcuNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value,
                                 const platform::NotificationRecord* record);
// Scene notification to the main window: the names of the stored scenes.
ModelChange ApplySceneNotification(ParameterModel& model, std::uintptr_t code,
                                   const platform::NotificationRecord* record);
// KTV notification: one karaoke value of the working scene.
ModelChange ApplyKtvNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value);

// Routes a posted notification to the rule of its message; other messages change nothing.
ModelChange ApplyNotification(ParameterModel& model, const platform::PostedMessage& message);

}  // namespace model
