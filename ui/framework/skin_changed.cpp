#include "ui/framework/skin_changed.h"

#include <algorithm>
#include <vector>

namespace DuiLib {
namespace {

std::vector<SkinChangedReceiver*>& Receivers() {
  static std::vector<SkinChangedReceiver*> receivers;
  return receivers;
}

}  // namespace

SkinChangedReceiver::~SkinChangedReceiver() {
  SkinChangedObserver::RemoveReceiver(this);
}

void SkinChangedObserver::AddReceiver(SkinChangedReceiver* receiver) {
  auto& receivers = Receivers();
  if (std::find(receivers.begin(), receivers.end(), receiver) == receivers.end()) {
    receivers.push_back(receiver);
  }
}

void SkinChangedObserver::RemoveReceiver(SkinChangedReceiver* receiver) {
  std::erase(Receivers(), receiver);
}

bool SkinChangedObserver::IsSubscribed(const SkinChangedReceiver* receiver) {
  const auto& receivers = Receivers();
  return std::find(receivers.begin(), receivers.end(), receiver) != receivers.end();
}

void SkinChangedObserver::Broadcast(const SkinChangedParam& param) {
  // A receiver may unsubscribe while being told.
  const std::vector<SkinChangedReceiver*> receivers = Receivers();
  for (SkinChangedReceiver* receiver : receivers) {
    receiver->Receive(param);
  }
}

}  // namespace DuiLib
