// Shared steps of the parameter encoders: building the record, the range rule and the hand-over
// to DspDevice::Submit (which owns the syncMode rule).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/value_encoding.h"

namespace device {

class DspDevice;

// Hands one command to the device. A payload longer than a frame carries is logged and dropped.
// Returns Submit's result: queued, or for an immediate command whether a reply arrived.
bool SubmitCommand(DspDevice& device, std::uint8_t group, std::uint8_t command, std::uint8_t op,
                   Bytes payload, bool syncMode, int timeoutMs);
// The same with the usual 10 s reply wait.
bool SubmitCommand(DspDevice& device, std::uint8_t group, std::uint8_t command, std::uint8_t op,
                   Bytes payload, bool syncMode);

// Appends one encoded group per index first..last, taking element k of `values` for first + k.
// Nothing is appended when last < first. Returns false (after logging under `name`) when the
// values do not cover the range, so that no caller array is read past its end.
// Logs that `have` values cannot cover first..last; returns false.
bool LogShortRange(const char* name, std::size_t have, int first, int last);

template <typename T, typename Encode>
bool AppendRange(Bytes& payload, const char* name, int first, int last, std::span<const T> values,
                 Encode encode) {
  if (last < first) {
    return true;
  }
  const auto count = static_cast<std::size_t>(last - first) + 1;
  if (values.size() < count) {
    return LogShortRange(name, values.size(), first, last);
  }
  for (std::size_t k = 0; k < count; ++k) {
    encode(payload, first + static_cast<int>(k), values[k]);
  }
  return true;
}

}  // namespace device
