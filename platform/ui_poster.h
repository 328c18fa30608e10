// The message poster that reaches real windows: Post may be called from any thread; `deliver`
// runs later on the UI thread, in the order the messages were posted. Messages still queued when
// the poster goes away are dropped and their records freed.
#pragma once

#include <functional>
#include <memory>

#include "platform/post_message.h"

namespace platform {

class UiThreadPoster : public MessagePoster {
 public:
  using Deliver = std::function<void(PostedMessage&)>;
  // Construct on the UI thread, after the application object exists.
  explicit UiThreadPoster(Deliver deliver);
  ~UiThreadPoster() override;

  void Post(PostedMessage message) override;

 private:
  class Receiver;
  Receiver* mReceiver;  // a QObject living on the UI thread; deleted through its event loop
};

}  // namespace platform
