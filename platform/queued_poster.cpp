#include "platform/queued_poster.h"

#include <utility>

namespace platform {

void QueuedPoster::OpenWindow(WindowHandle window) {
  std::lock_guard lock(mMutex);
  mOpenWindows.insert(window);
}

void QueuedPoster::CloseWindow(WindowHandle window) {
  std::lock_guard lock(mMutex);
  mOpenWindows.erase(window);
}

void QueuedPoster::Post(PostedMessage message) {
  {
    std::lock_guard lock(mMutex);
    if (!mOpenWindows.contains(message.window)) {
      ++mDropped;
      return;  // the record is freed with `message`
    }
    mMessages.push_back(std::move(message));
  }
  mArrived.notify_all();
}

std::optional<PostedMessage> QueuedPoster::WaitNext(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mMutex);
  if (!mArrived.wait_for(lock, timeout, [this] { return !mMessages.empty(); })) {
    return std::nullopt;
  }
  PostedMessage message = std::move(mMessages.front());
  mMessages.pop_front();
  return message;
}

std::vector<PostedMessage> QueuedPoster::TakeAll() {
  std::lock_guard lock(mMutex);
  std::vector<PostedMessage> all;
  all.reserve(mMessages.size());
  for (auto& message : mMessages) {
    all.push_back(std::move(message));
  }
  mMessages.clear();
  return all;
}

std::size_t QueuedPoster::DroppedCount() const {
  std::lock_guard lock(mMutex);
  return mDropped;
}

}  // namespace platform
