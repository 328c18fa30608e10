#include "platform/post_message.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

// Guards the installed poster; posting copies the pointer so the poster may be replaced while
// another thread is inside Post.
std::mutex gPosterMutex;
std::shared_ptr<MessagePoster> gPoster;

std::shared_ptr<MessagePoster> CurrentPoster() {
  std::lock_guard lock(gPosterMutex);
  return gPoster;
}

bool Deliver(PostedMessage message) {
  if (message.window == 0) {
    return false;
  }
  auto poster = CurrentPoster();
  if (!poster) {
    return false;
  }
  poster->Post(std::move(message));
  return true;
}

}  // namespace

void InstallPoster(std::shared_ptr<MessagePoster> poster) {
  std::lock_guard lock(gPosterMutex);
  gPoster = std::move(poster);
}

bool PostMessage(WindowHandle window, std::uint32_t id, std::uintptr_t wParam,
                 std::intptr_t value) {
  return Deliver(PostedMessage{window, id, wParam, value, nullptr});
}

bool PostMessage(WindowHandle window, std::uint32_t id, std::uintptr_t wParam, RecordPtr record) {
  return Deliver(PostedMessage{window, id, wParam, 0, std::move(record)});
}

}  // namespace platform
