// The worker's side of the command queue: records taken off the queue wait here, in issue order,
// until the worker sends them.
//
// A drag issues a command per mouse move (two with a linked pair), faster than a unit answering
// in 5-10 ms can take them; sent one by one, the unit would replay the whole drag long after the
// hand stopped. So a record that is superseded while it waits (a newer value of the same
// parameter, ParameterKeyOf, was issued after it) is skipped, and the newer one is sent in its own
// place. Skipping, rather than writing the newer value into the older record's place, keeps the
// frames sent a subsequence of those issued, in issue order: no value overtakes a command issued
// before it, so an action such as an EQ reset can never undo a value the page set after it.
//
// Only plain parameter sets are ever skipped, and only for a newer value of the same parameter
// issued with no other command in between that ParameterKeyOf does not know as a plain set: every
// such command (an action, a request) is sent, and it reaches the unit with every parameter at the
// value the page had when the command was issued. The newest value of every parameter is always
// sent, so the unit ends in the state the page shows.
//
// Used by the worker thread alone: the queue hands records over between threads, and everything
// here happens on the consumer's side, so enqueueing costs what it always did.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <unordered_map>

#include "device/command_record.h"
#include "device/parameter_key.h"

namespace device {

class PendingCommands {
 public:
  struct Taken {
    CommandRecord record;
    bool superseded = false;  // a newer value of its parameter waits behind it: do not send
  };

  // Appends one record taken off the queue; a waiting record it supersedes is marked.
  void Add(CommandRecord record);
  // Removes the oldest waiting record; nothing when none waits.
  std::optional<Taken> Take();
  bool Empty() const { return mWaiting.empty(); }

 private:
  struct Waiting {
    CommandRecord record;
    std::optional<ParameterKey> key;
    bool superseded = false;
  };

  // Records are numbered in issue order; mWaiting.front() has number mFirstNumber.
  std::deque<Waiting> mWaiting;
  std::uint64_t mFirstNumber = 0;
  // For each parameter, the number of its newest waiting record that a later value may still
  // supersede: issued after the last command that is no plain set, and not yet taken.
  std::unordered_map<ParameterKey, std::uint64_t> mNewest;
};

}  // namespace device
