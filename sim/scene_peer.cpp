// The unit's scene store (group 2): ten stored scenes with names beside the working scene.

#include <algorithm>

#include "device/byte_reader.h"
#include "device/parameter_codes.h"
#include "sim/peer_support.h"
#include "sim/virtual_unit.h"

namespace sim {

namespace {

using device::Bytes;
using device::LowByte;
namespace scene = device::scene;

constexpr std::size_t kProfileHeaderBytes = 4;  // scene, 16-bit offset, length
constexpr std::uint8_t kNoName = 0xFF;

bool IsStoredScene(int number) {
  return number >= 1 && number <= device::kStoredScenes;
}

std::size_t Slot(int number) {
  return static_cast<std::size_t>(number - 1);
}

}  // namespace

void VirtualUnit::HandleScene(const device::CommandRecord& command) {
  if (HandleUpgrade(command)) {
    return;
  }
  const device::ByteReader in(command.payload);
  const int number = in.At(0);
  const bool set = command.op == device::kOpSet;
  const bool get = command.op == device::kOpGet;
  auto reply = [&](const Bytes& body) { Reply(device::kGroupScene, body); };
  // Acknowledgements of the scene store carry the scene they are about.
  auto ack = [&](bool done) {
    Bytes body = AckBody(command.command, done ? device::kAckReady : device::kAckNotReady);
    body.push_back(LowByte(number));
    reply(body);
  };
  switch (command.command) {
    case scene::kSave:
      if (set) {
        const bool ok = IsStoredScene(number);
        // Without "immediately" the working scene is stored; with it, the edits already sent to
        // that scene number are committed as they are.
        if (ok && in.At(1) == 0) {
          mState.stored[Slot(number)] = mState.working;
        }
        ack(ok);
      }
      return;
    case scene::kRead:
      if (set) {
        const bool ok = IsStoredScene(number);
        if (ok && in.At(1) == scene::kLoadIntoWorking) {
          mState.working = mState.stored[Slot(number)];
          mState.currentScene = LowByte(number);
        } else if (ok && in.At(1) == scene::kPrepareForReading) {
          mState.preparedScene = number;
        }
        ack(ok);
      }
      return;
    case scene::kDelete:
      if (set) {
        const bool ok = IsStoredScene(number);
        if (ok) {
          mState.stored[Slot(number)] = FactoryScene();
          mState.names[Slot(number)].fill(kNoName);
        }
        ack(ok);
      }
      return;
    case scene::kName:
      if (!IsStoredScene(number)) {
        return ack(false);
      }
      if (set) {
        // scene, n, n name bytes; the rest of the 16 is cleared.
        auto& name = mState.names[Slot(number)];
        name.fill(0);
        const int length = std::min<int>(in.At(1), device::kSceneNameBytes);
        in.ForEachInRange(0, length - 1, length, 2, 1, [&](int i, std::size_t at) {
          name[static_cast<std::size_t>(i)] = in.At(at);
        });
        ack(true);
      } else if (get) {
        const auto& name = mState.names[Slot(number)];
        Bytes body(3 + name.size());
        body[0] = command.command;
        body[1] = device::kOpReply;
        body[2] = LowByte(number);
        std::copy(name.begin(), name.end(), body.begin() + 3);
        reply(body);
      }
      return;
    case scene::kProfile: {
      SceneState* target = SceneAt(mState, number);
      const int offset = device::BigEndian16(in.At(1), in.At(2));
      if (target == nullptr || !in.Has(0, kProfileHeaderBytes) || offset > kSceneProfileBytes) {
        return ack(false);
      }
      auto& bytes = target->profile;
      const int room = kSceneProfileBytes - offset;
      if (set) {
        const int length = std::min<int>(in.At(3), room);
        in.ForEachInRange(0, length - 1, length, kProfileHeaderBytes, 1,
                          [&](int i, std::size_t at) {
                            bytes[static_cast<std::size_t>(offset + i)] = in.At(at);
                          });
        ack(true);
      } else if (get) {
        const auto fits = static_cast<int>(device::kMaxReplyBody - 2 - kProfileHeaderBytes);
        const int length = std::max(0, std::min({static_cast<int>(in.At(3)), room, fits}));
        Bytes body{command.command, device::kOpReply, LowByte(number),
                   in.At(1),        in.At(2),         LowByte(length)};
        body.reserve(body.size() + static_cast<std::size_t>(length));
        body.insert(body.end(), bytes.begin() + offset, bytes.begin() + offset + length);
        reply(body);
      }
      return;
    }
    case scene::kRequest13:
      return ack(true);
    case scene::kCurrent:
      if (get) {
        reply({command.command, device::kOpReply, mState.currentScene});
      }
      return;
    default:
      return;
  }
}

}  // namespace sim
