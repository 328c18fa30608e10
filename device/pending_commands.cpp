#include "device/pending_commands.h"

#include <utility>

namespace device {

void PendingCommands::Add(CommandRecord record) {
  const std::uint64_t number = mFirstNumber + mWaiting.size();
  const std::optional<ParameterKey> key = ParameterKeyOf(record);
  if (!key) {
    // Nothing issued after this command may stand in for a value issued before it.
    mNewest.clear();
  } else if (auto [newest, added] = mNewest.try_emplace(*key, number); !added) {
    mWaiting[newest->second - mFirstNumber].superseded = true;
    newest->second = number;
  }
  mWaiting.push_back({std::move(record), key, false});
}

std::optional<PendingCommands::Taken> PendingCommands::Take() {
  if (mWaiting.empty()) {
    return std::nullopt;
  }
  Waiting oldest = std::move(mWaiting.front());
  mWaiting.pop_front();
  const std::uint64_t number = mFirstNumber++;
  // Once sent, a value is on its way: a later one is sent after it, not instead of it.
  if (oldest.key) {
    if (auto newest = mNewest.find(*oldest.key);
        newest != mNewest.end() && newest->second == number) {
      mNewest.erase(newest);
    }
  }
  return Taken{std::move(oldest.record), oldest.superseded};
}

}  // namespace device
