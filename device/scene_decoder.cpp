// Group 2 replies: save and delete acknowledgements to the scene window, scene names and the
// current scene id to the main window. The flash-upgrade acknowledgements of this group go to
// the upgrade.

#include <memory>

#include "device/byte_reader.h"
#include "device/command_record.h"
#include "device/dsp_device.h"
#include "device/firmware_upgrade.h"
#include "device/parameter_codes.h"
#include "device/protocol_limits.h"
#include "device/reply_decoders.h"
#include "device/scene_records.h"
#include "platform/debug_log.h"
#include "platform/window_messages.h"

namespace device {

namespace {

using Role = DspDevice::WindowRole;

constexpr std::size_t kStatusByte = 2;
constexpr std::size_t kAckSceneByte = 3;
constexpr std::size_t kNameSceneByte = 2;
constexpr std::size_t kNameByte = 3;

void DecodeAck(DspDevice& device, const ByteReader& view, std::uint32_t message) {
  if (view.At(kReplyOpByte) != kOpAck || !view.Has(kAckSceneByte) ||
      view.At(kStatusByte) != kAckReady) {
    return;
  }
  platform::PostMessage(device.Window(Role::Scene), message, view.At(kAckSceneByte), 0);
}

void DecodeName(DspDevice& device, const ByteReader& view) {
  const int sceneNumber = view.At(kNameSceneByte);
  // Only scenes 1..10 have names; anything else would index past the names.
  if (view.At(kReplyOpByte) != kOpReply || !view.Has(kNameByte, kSceneNameBytes) ||
      sceneNumber < 1 || sceneNumber > kStoredScenes) {
    return;
  }
  auto record = std::make_unique<SceneNameRecord>();
  record->index = sceneNumber - 1;
  DebugLogA("scene_name->index(%d), name -->> ", record->index);
  for (std::size_t i = 0; i < kSceneNameBytes; ++i) {
    record->name[i] = view.At(kNameByte + i);
    DebugLogA("%02x ", record->name[i]);
  }
  DebugLogA("\n");
  if (IsErasedName(record->name)) {
    record->name.fill(0);
  }
  platform::PostMessage(device.Window(Role::Main), platform::msg::kSceneNotify, scene::kName,
                        std::move(record));
}

void DecodeCurrentScene(DspDevice& device, const ByteReader& view) {
  if (view.At(kReplyOpByte) != kOpReply || !view.Has(kReplyPayloadByte)) {
    return;
  }
  const int id = view.At(kReplyPayloadByte);
  DebugLogA("current scene id = %d, \n", id);
  platform::PostMessage(device.Window(Role::Main), platform::msg::kSceneNotify, scene::kCurrent,
                        id);
}

}  // namespace

void DecodeSceneReply(DspDevice& device, std::span<const std::uint8_t> body) {
  const ByteReader view(body);
  if (!view.Has(kReplyOpByte)) {
    return;
  }
  const std::uint8_t code = view.At(kReplyCodeByte);
  if (view.At(kReplyOpByte) == kOpAck && view.Has(kStatusByte) &&
      FirmwareUpgrade::IsUpgradeCode(kGroupScene, code)) {
    device.OnUpgradeAcknowledgement(kGroupScene, code, view.At(kStatusByte));
    return;
  }
  switch (code) {
    case scene::kSave:
      return DecodeAck(device, view, platform::msg::kSceneNotify);
    case scene::kDelete:
      return DecodeAck(device, view, platform::msg::kSceneDeleteAck);
    case scene::kName:
      return DecodeName(device, view);
    case scene::kCurrent:
      return DecodeCurrentScene(device, view);
    default:
      return;
  }
}

}  // namespace device
