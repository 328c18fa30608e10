// Thread-safe posting of window messages.
//
// Decoders and workers never touch windows: they post a message id, a wParam and either a plain
// value or an owned record. The UI framework installs the poster that reaches real windows at
// start-up; tests install a recording one. A message that cannot be delivered (no poster, or a
// window that no longer exists) is dropped and its record freed with it.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Opaque window identity; 0 means "no window".
using WindowHandle = std::uintptr_t;

// Base of every record carried by a posted message. Receivers know the concrete type from the
// message id and wParam; ownership travels with the message.
struct NotificationRecord {
  virtual ~NotificationRecord() = default;
};
using RecordPtr = std::unique_ptr<NotificationRecord>;

struct PostedMessage {
  WindowHandle window = 0;
  std::uint32_t id = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t value = 0;  // the plain lParam when no record is carried
  RecordPtr record;
};

class MessagePoster {
 public:
  virtual ~MessagePoster() = default;
  // Called from any thread. Must not block on the receiver.
  virtual void Post(PostedMessage message) = 0;
};

// Installs the process-wide poster (null removes it). Safe against concurrent posting.
void InstallPoster(std::shared_ptr<MessagePoster> poster);

// Posts to `window`; returns false when the message was dropped (no window, no poster).
bool PostMessage(WindowHandle window, std::uint32_t id, std::uintptr_t wParam,
                 std::intptr_t value = 0);
bool PostMessage(WindowHandle window, std::uint32_t id, std::uintptr_t wParam, RecordPtr record);

// Typed helper for the receiving side: the record as T, or null when it is absent or another type.
template <typename T>
const T* RecordAs(const PostedMessage& message) {
  return dynamic_cast<const T*>(message.record.get());
}

}  // namespace platform
