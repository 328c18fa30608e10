// A poster that keeps messages in a queue instead of handing them to windows.
// Used by the command-line programs (which have no windows) and by the tests of every layer.
// Only windows that were opened with OpenWindow receive messages; a message for any other
// window is dropped and its record freed, as with a window that no longer exists.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "platform/post_message.h"

namespace platform {

class QueuedPoster : public MessagePoster {
 public:
  void OpenWindow(WindowHandle window);
  void CloseWindow(WindowHandle window);

  void Post(PostedMessage message) override;

  // The oldest message, waiting at most `timeout` for one to arrive.
  std::optional<PostedMessage> WaitNext(std::chrono::milliseconds timeout);
  // Every message queued so far, oldest first.
  std::vector<PostedMessage> TakeAll();
  // Counts messages that were dropped because their window was not open.
  std::size_t DroppedCount() const;

 private:
  // Guards every member below.
  mutable std::mutex mMutex;
  std::condition_variable mArrived;
  std::set<WindowHandle> mOpenWindows;
  std::deque<PostedMessage> mMessages;
  std::size_t mDropped = 0;
};

}  // namespace platform
