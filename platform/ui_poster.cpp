#include "platform/ui_poster.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <utility>

namespace platform {
namespace {

const QEvent::Type kPostedMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Carries one message through Qt's event queue; a message never delivered is freed with it.
class PostedMessageEvent : public QEvent {
 public:
  explicit PostedMessageEvent(PostedMessage message)
      : QEvent(kPostedMessageEvent), mMessage(std::move(message)) {}
  PostedMessage& Message() { return mMessage; }

 private:
  PostedMessage mMessage;
};

}  // namespace

class UiThreadPoster::Receiver : public QObject {
 public:
  explicit Receiver(Deliver deliver) : mDeliver(std::move(deliver)) {}

  bool event(QEvent* event) override {
    if (event->type() != kPostedMessageEvent) {
      return QObject::event(event);
    }
    mDeliver(static_cast<PostedMessageEvent*>(event)->Message());
    return true;
  }

 private:
  Deliver mDeliver;
};

UiThreadPoster::UiThreadPoster(Deliver deliver) : mReceiver(new Receiver(std::move(deliver))) {}

UiThreadPoster::~UiThreadPoster() {
  if (QCoreApplication::instance() == nullptr) {
    // No event loop left to hand the receiver to.
    delete mReceiver;
    return;
  }
  // The last reference may be dropped on a worker thread: let the UI thread delete the receiver,
  // which also drops the messages still queued for it.
  mReceiver->deleteLater();
}

void UiThreadPoster::Post(PostedMessage message) {
  QCoreApplication::postEvent(mReceiver, new PostedMessageEvent(std::move(message)));
}

}  // namespace platform
