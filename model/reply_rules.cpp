// Model rules of the MCU, scene-name and KTV notifications, and the routing by message.
#include "model/reply_rules.h"

#include <algorithm>

#include "device/ktv_records.h"
#include "device/mcu_protocol.h"
#include "device/mcu_records.h"
#include "device/parameter_codes.h"
#include "device/scene_records.h"
#include "platform/debug_log.h"
#include "platform/window_messages.h"

namespace model {
namespace {

// The karaoke field a KTV code writes, or null for an unknown code.
std::int32_t* KaraokeField(KaraokeValues& values, std::uintptr_t code) {
  namespace ktv = device::ktv;
  switch (code) {
    case ktv::kMicVolume:
      return &values.micVolume;
    case ktv::kMusicVolume:
      return &values.musicVolume;
    case ktv::kHowling:
      return &values.howling;
    case ktv::kEchoLevel:
      return &values.echoLevel;
    case ktv::kEchoDelay:
      return &values.echoDelay;
    case ktv::kReverbLevel:
      return &values.reverbLevel;
    case ktv::kReverbTime:
      return &values.reverbTime;
    case ktv::kVoiceChanger:
      return &values.voiceChanger;
    case ktv::kBassGain:
      return &values.bassGain;
    case ktv::kTrebleGain:
      return &values.trebleGain;
    default:
      return nullptr;
  }
}

}  // namespace

ModelChange ApplyMcuNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value,
                                 const platform::NotificationRecord* record) {
  DebugLogA("ReadMcuValueCallback 0x%02x\n", static_cast<unsigned>(code));
  SceneRecord& working = model.workingScene;
  switch (code) {
    case device::kMcuHandshake:
      if (const auto* r = dynamic_cast<const device::HandshakeRecord*>(record)) {
        working.modelNumber = static_cast<std::int32_t>(r->model);
        working.masterVersion = static_cast<std::int32_t>(r->masterVersion);
        working.slaveVersion = static_cast<std::int32_t>(r->slaveVersion);
        return ModelChange::OfWorkingScene();
      }
      break;
    case device::kMcuFlashVersion:
      if (const auto* r = dynamic_cast<const device::FlashVersionRecord*>(record)) {
        static_assert(std::tuple_size_v<decltype(r->version)> ==
                      std::tuple_size_v<decltype(working.dspFlashVersion)>);
        std::ranges::transform(r->version, working.dspFlashVersion.begin(),
                               [](std::uint32_t byte) { return static_cast<std::int32_t>(byte); });
        return ModelChange::OfWorkingScene();
      }
      break;
    case device::kMcuPowerOffDelay:
      working.powerOffDelay = static_cast<std::int32_t>(value);
      return ModelChange::OfWorkingScene();
    default:
      break;
  }
  return {};
}

ModelChange ApplySceneNotification(ParameterModel& model, std::uintptr_t code,
                                   const platform::NotificationRecord* record) {
  DebugLogA("ReadSenceValueCallback 0x%02x\n", static_cast<unsigned>(code));
  const auto* r = dynamic_cast<const device::SceneNameRecord*>(record);
  if (code != device::scene::kName || r == nullptr || r->index < 0 ||
      r->index >= kStoredSceneCount) {
    return {};
  }
  // The unit keeps names in the ANSI code page, zero-terminated unless all 16 bytes are used.
  model.sceneNames[static_cast<std::size_t>(r->index)] = SceneNameFromUnitBytes(r->name);
  return ModelChange{.scene = r->index + 1};
}

ModelChange ApplyKtvNotification(ParameterModel& model, std::uintptr_t code, std::intptr_t value) {
  DebugLogA("ReadDspValueCallback 0x%02x\n", static_cast<unsigned>(code));
  std::int32_t* field = KaraokeField(model.workingScene.karaoke, code);
  if (field == nullptr) {
    return {};
  }
  *field = static_cast<std::int32_t>(value);
  return ModelChange::OfWorkingScene();
}

ModelChange ApplyNotification(ParameterModel& model, const platform::PostedMessage& message) {
  switch (message.id) {
    case platform::msg::kDspNotify:
      return ApplyDspNotification(model, message.wParam, message.value, message.record.get());
    case platform::msg::kMcuNotify:
      return ApplyMcuNotification(model, message.wParam, message.value, message.record.get());
    case platform::msg::kSceneNotify:
      return ApplySceneNotification(model, message.wParam, message.record.get());
    case platform::msg::kKtvNotify:
      return ApplyKtvNotification(model, message.wParam, message.value);
    default:
      return {};
  }
}

}  // namespace model
