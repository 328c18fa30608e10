// Records posted by the DSP reply decoder (group 1). The message's wParam is the reply code; the
// receiving window owns the record. Fields are in the order the windows read them; every record
// starts zero-filled.
#pragma once

#include <array>
#include <cstdint>

#include "device/protocol_limits.h"
#include "platform/post_message.h"

namespace device {

// Room of the records that carry one slot per input channel, indexed by absolute channel.
inline constexpr int kRecordChannelSlots = 16;

// Code 5: both crossover filters of one output.
struct FilterRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t channel = 0;
  std::int32_t hpType = 0;
  std::int32_t hpFreq = 0;
  std::int32_t hpSlope = 0;
  std::int32_t lpType = 0;
  std::int32_t lpFreq = 0;
  std::int32_t lpSlope = 0;
};

// Code 6 (output channel) and 35 (input channel): one equaliser band.
struct EqRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t channel = 0;
  std::int32_t band = 0;
  std::int32_t freq = 0;  // Hz
  float q = 0.0f;
  float gain = 0.0f;  // dB
};

// Code 7.
struct DelayRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t channel = 0;
  float delay = 0.0f;  // ms
};

// Code 8.
struct TrimRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t channel = 0;
  float trim = 0.0f;  // dB
};

// Codes 9 (mute), 10 (phase), 13 (speaker type), 18 (EQ bypass) and 34 (input phase): one
// whole-number setting of one channel.
struct ChannelValueRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t channel = 0;
  std::int32_t value = 0;
};

// Code 11: which inputs feed one output under one source.
struct MixRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t source = 0;
  std::int32_t output = 0;
  std::int32_t mask = 0;
};

// Codes 14 (channel link), 48 (trim link), 49 (delay link).
struct LinkRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t link = 0;
  std::array<std::uint8_t, kLinkPairBytes> pairs{};
};

// Code 15.
struct LockRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t lock = 0;
};

// Codes 32 (input trims) and 33 (input mutes): one record for the whole range.
struct InputChannelsRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t source = 0;
  std::int32_t chX = 0;
  std::int32_t chY = 0;
  std::array<std::uint8_t, kRecordChannelSlots> values{};  // indexed by absolute channel
};

// Code 36: mix levels of one input into a range of outputs.
struct InputMixTrimRecord : platform::NotificationRecord {
  std::int32_t scene = 0;
  std::int32_t source = 0;
  std::int32_t inCh = 0;
  std::int32_t outX = 0;
  std::int32_t outY = 0;
  std::array<std::uint8_t, kRecordChannelSlots> trims{};  // element 0 belongs to outX
};

// Code 39: measured noise of a range of inputs, posted to the tool window.
struct InputNoiseRecord : platform::NotificationRecord {
  std::int32_t chX = 0;
  std::int32_t chY = 0;
  std::array<float, kRecordChannelSlots> levels{};  // dB, indexed by absolute channel
};

// ---- Auto calibration (message to the auto-calibration window) ------------------------------

// Code 20.
struct IrcDistanceRecord : platform::NotificationRecord {
  std::int32_t channel = 0;
  float distance = 0.0f;
};

// Code 21: the unit's trim byte, carried as a float.
struct IrcTrimRecord : platform::NotificationRecord {
  std::int32_t channel = 0;
  float trim = 0.0f;
};

// Codes 23 (speaker size), 24 (speaker phase), 25 (speaker level), 27 (noise level).
struct IrcChannelValueRecord : platform::NotificationRecord {
  std::int32_t channel = 0;
  std::int32_t value = 0;
};

// Code 22: one band of the computed correction.
struct IrcEqRecord : platform::NotificationRecord {
  std::int32_t channel = 0;
  std::int32_t band = 0;
  std::int32_t freq = 0;
  float q = 0.0f;
  float gain = 0.0f;
};

// Code 26: one point of the measured response.
struct IrcSpectrumRecord : platform::NotificationRecord {
  std::int32_t channel = 0;
  std::int32_t band = 0;
  float freq = 0.0f;
  float gain = 0.0f;
};

}  // namespace device
