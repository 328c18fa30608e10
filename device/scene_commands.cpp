#include "device/scene_commands.h"

#include <algorithm>
#include <utility>

#include "device/command_builder.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/parameter_codes.h"
#include "device/protocol_limits.h"
#include "platform/debug_log.h"

namespace device {

namespace {

// Storing and loading a scene writes the unit's flash, which takes longer than a parameter.
constexpr int kSceneTimeoutMs = 20000;
// scene, 16-bit offset and length leave this much of a frame for the data.
constexpr std::size_t kMaxSceneProfileData = kMaxPayload - 4;

bool SendScene(DspDevice& device, std::uint8_t command, std::uint8_t op, Bytes payload,
               int timeoutMs = kSceneTimeoutMs) {
  return SubmitCommand(device, kGroupScene, command, op, std::move(payload), true, timeoutMs);
}

}  // namespace

bool SaveScene(DspDevice& device, int scene, int immediately) {
  DebugLogA("SaveScene scene(%d) immediately=%d\n", scene, immediately);
  return SendScene(device, scene::kSave, kOpSet, {LowByte(scene), LowByte(immediately)});
}

bool ReadScene(DspDevice& device, int from, int to) {
  DebugLogA("ReadScene from scene(%d) to scene(%d)\n", from, to);
  return SendScene(device, scene::kRead, kOpSet, {LowByte(from), LowByte(to)});
}

bool DeleteScene(DspDevice& device, int scene) {
  DebugLogA("DeleteScene scene(%d)\n", scene);
  return SendScene(device, scene::kDelete, kOpSet, {LowByte(scene)});
}

bool SetSceneName(DspDevice& device, int scene, std::span<const std::uint8_t> name, int length) {
  // Never read past the caller's buffer, whatever length it claims.
  const auto count = static_cast<std::size_t>(
      std::clamp(length, 0, static_cast<int>(std::min<std::size_t>(name.size(), kSceneNameBytes))));
  DebugLogA("SetSceneName scene(%d), len(%d), (name)%.*s\n", scene, length, static_cast<int>(count),
            reinterpret_cast<const char*>(name.data()));
  Bytes payload{LowByte(scene), LowByte(static_cast<int>(count))};
  payload.insert(payload.end(), name.begin(), name.begin() + static_cast<std::ptrdiff_t>(count));
  return SendScene(device, scene::kName, kOpSet, std::move(payload), kReplyTimeoutMs);
}

bool SetSceneProfile(DspDevice& device, int scene, int startOffset,
                     std::span<const std::uint8_t> data) {
  DebugLogA("SetSceneProfile scene(%d), start(%d), len(%zu)\n", scene, startOffset, data.size());
  if (data.size() > kMaxSceneProfileData) {
    DebugLogA("SetSceneProfile: more than %zu bytes, not sent\n", kMaxSceneProfileData);
    return false;
  }
  Bytes payload{LowByte(scene)};
  PutU16(payload, startOffset);
  payload.push_back(LowByte(static_cast<int>(data.size())));
  payload.insert(payload.end(), data.begin(), data.end());
  return SendScene(device, scene::kProfile, kOpSet, std::move(payload));
}

bool Get_Scene_Name(DspDevice& device, int scene) {
  DebugLogA("Get_Scene_Name: scene(%d)\n", scene);
  return SendScene(device, scene::kName, kOpGet, {LowByte(scene)}, kReplyTimeoutMs);
}

bool GetSceneProfile(DspDevice& device, int scene, int startOffset, int length) {
  DebugLogA("GetSceneProfile scene(%d), start(%d), len(%d)\n", scene, startOffset, length);
  Bytes payload{LowByte(scene)};
  PutU16(payload, startOffset);
  payload.push_back(LowByte(length));
  return SendScene(device, scene::kProfile, kOpGet, std::move(payload));
}

bool Get_Current_Scene(DspDevice& device) {
  DebugLogA("Get_Current_Scene\n");
  return SendScene(device, scene::kCurrent, kOpGet, {}, kReplyTimeoutMs);
}

bool Scene_Cmd13_Request(DspDevice& device, int value) {
  DebugLogA("Scene_Cmd13_Request: value(%d)\n", value);
  return SendScene(device, scene::kRequest13, kOpGet, {LowByte(value)}, kReplyTimeoutMs);
}

}  // namespace device
