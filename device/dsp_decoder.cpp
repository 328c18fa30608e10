// Group 1 replies: DSP parameters to the main window (input noise to the tool window),
// auto-calibration status and measurements to the auto-calibration window.
//
// A reply about a range becomes one message per channel or band, in ascending order. Entries
// whose index lies past the unit's outputs, past a record's room or past the bytes the reply
// carried are left out; a scene number beyond the stored scenes drops the whole reply.

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "device/byte_reader.h"
#include "device/calibration_codes.h"
#include "device/dsp_device.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "device/protocol_limits.h"
#include "device/reply_decoders.h"
#include "device/value_encoding.h"
#include "platform/debug_log.h"
#include "platform/window_messages.h"

namespace device {

namespace {

using Role = DspDevice::WindowRole;

// Offsets shared by the scene-addressed replies: scene, source, first, last, then entries.
constexpr std::size_t kSceneByte = 2;
constexpr std::size_t kSourceByte = 3;
constexpr std::size_t kRangeFirstByte = 4;
constexpr std::size_t kRangeLastByte = 5;
constexpr std::size_t kRangeEntriesByte = 6;
// Band replies: scene, source, channel, first band, last band, then 6 bytes per band.
constexpr std::size_t kBandChannelByte = 4;
constexpr std::size_t kBandFirstByte = 5;
constexpr std::size_t kBandLastByte = 6;
constexpr std::size_t kBandEntriesByte = 7;
// Auto-calibration replies: first, last, entries.
constexpr std::size_t kIrcFirstByte = 2;
constexpr std::size_t kIrcLastByte = 3;
constexpr std::size_t kIrcEntriesByte = 4;
constexpr std::size_t kFilterEntryBytes = 8;

class DspReply {
 public:
  DspReply(DspDevice& device, std::span<const std::uint8_t> body) : mDevice(device), mView(body) {}

  void Decode();

 private:
  void Post(Role role, std::uint32_t message, platform::RecordPtr record) const {
    platform::PostMessage(mDevice.Window(role), message, mView.At(kReplyCodeByte),
                          std::move(record));
  }
  void PostMain(platform::RecordPtr record) const {
    Post(Role::Main, platform::msg::kDspNotify, std::move(record));
  }
  void PostAutoCal(platform::RecordPtr record) const {
    Post(Role::AutoCal, platform::msg::kAutoCalNotify, std::move(record));
  }
  void PostValue(int value) const {
    platform::PostMessage(mDevice.Window(Role::Main), platform::msg::kDspNotify,
                          mView.At(kReplyCodeByte), value);
  }

  int Byte(std::size_t offset) const { return mView.At(offset); }
  int Signed(std::size_t offset) const { return SignedByte(mView.At(offset)); }
  // The scene of a scene-addressed reply, or -1 when the reply is too short or names a scene
  // the unit does not have.
  int Scene() const {
    const int scene = Byte(kSceneByte);
    return mView.Has(kSceneByte) && scene <= kStoredScenes ? scene : -1;
  }

  // One record per channel of a scene-addressed range reply (scene, source, first, last,
  // entries of `stride` bytes); `fill` reads the entry at its offset into the record.
  template <typename Record, typename Fill>
  void PostSceneChannels(int channelLimit, std::size_t stride, Fill fill) const {
    const int scene = Scene();
    if (scene < 0) {
      return;
    }
    mView.ForEachInRange(Byte(kRangeFirstByte), Byte(kRangeLastByte), channelLimit,
                         kRangeEntriesByte, stride, [&](int channel, std::size_t at) {
                           auto record = std::make_unique<Record>();
                           record->scene = scene;
                           record->channel = channel;
                           fill(*record, at);
                           PostMain(std::move(record));
                         });
  }
  // The same for the auto-calibration measurements (first, last, entries), to that window.
  template <typename Record, typename Fill>
  void PostIrcChannels(std::size_t stride, Fill fill) const {
    mView.ForEachInRange(Byte(kIrcFirstByte), Byte(kIrcLastByte), mDevice.OutputCount(),
                         kIrcEntriesByte, stride, [&](int channel, std::size_t at) {
                           auto record = std::make_unique<Record>();
                           record->channel = channel;
                           fill(*record, at);
                           PostAutoCal(std::move(record));
                         });
  }

  void DecodeSourceConfig() const;
  void DecodeValue() const;
  void DecodeFilters() const;
  void DecodeBands(int channelLimit) const;
  void DecodeDelays() const;
  void DecodeTrims() const;
  void DecodeChannelBytes(bool isSigned, int channelLimit) const;
  void DecodeMix() const;
  void DecodeLink() const;
  void DecodeLock() const;
  void DecodeIrcStatus() const;
  void DecodeIrcDistances() const;
  void DecodeIrcTrims() const;
  void DecodeIrcBytes(bool isSigned) const;
  void DecodeIrcEq() const;
  void DecodeIrcSpectrum() const;
  void DecodeInputChannels() const;
  void DecodeInputMixTrim() const;
  void DecodeInputNoise() const;

  DspDevice& mDevice;
  ByteReader mView;
};

void DspReply::Decode() {
  if (!mView.Has(kReplyOpByte)) {
    return;
  }
  const std::uint8_t code = mView.At(kReplyCodeByte);
  if (code == dsp::kChType && mView.At(kReplyOpByte) == kOpAck) {
    DebugLogA("DSP_CH_TYPE OP_ACK\n");
    return;
  }
  if (code == dsp::kPeqReset) {
    // The first payload byte is the scene in a reply, the status in an acknowledgement.
    if (mView.At(kReplyOpByte) == kOpAck) {
      DebugLogA("DSP_EQ_RESET OP=0x%x, status =0x%02x, \n", mView.At(kReplyOpByte),
                Byte(kReplyPayloadByte));
    } else {
      DebugLogA("DSP_EQ_RESET OP=0x%x, scene =%d, \n", mView.At(kReplyOpByte), Byte(kSceneByte));
    }
    return;
  }
  if (mView.At(kReplyOpByte) != kOpReply) {
    return;
  }
  const int outputs = mDevice.OutputCount();
  switch (code) {
    case dsp::kSourceConfig:
      return DecodeSourceConfig();
    case dsp::kSource:
    case dsp::kMainVolume:
    case dsp::kSubVolume:
    case dsp::kMuteAll:
    case dsp::kInputThreshold:
    case dsp::kRemoteChannel:
      return DecodeValue();
    case dsp::kFilter:
      return DecodeFilters();
    case dsp::kEq:
      return DecodeBands(outputs);
    case dsp::kInputEq:
      return DecodeBands(kRecordChannelSlots);
    case dsp::kDelay:
      return DecodeDelays();
    case dsp::kTrim:
      return DecodeTrims();
    case dsp::kMuteCh:
    case dsp::kChType:
    case dsp::kPeqBypass:
      return DecodeChannelBytes(false, outputs);
    case dsp::kPhase:
      return DecodeChannelBytes(true, outputs);
    case dsp::kInputPhase:
      return DecodeChannelBytes(true, kRecordChannelSlots);
    case dsp::kMix:
      return DecodeMix();
    case dsp::kChLink:
    case dsp::kTrimLink:
    case dsp::kDelayLink:
      return DecodeLink();
    case dsp::kChLock:
      return DecodeLock();
    case dsp::kIrc:
      return DecodeIrcStatus();
    case dsp::kIrcDistance:
      return DecodeIrcDistances();
    case dsp::kIrcTrim:
      return DecodeIrcTrims();
    case dsp::kIrcSpkSize:
    case dsp::kIrcSpkLevel:
    case dsp::kIrcNoiseLevel:
      return DecodeIrcBytes(false);
    case dsp::kIrcSpkPhase:
      return DecodeIrcBytes(true);
    case dsp::kIrcEq:
      return DecodeIrcEq();
    case dsp::kIrcSpectrum:
      return DecodeIrcSpectrum();
    case dsp::kInputTrim:
    case dsp::kInputMute:
      return DecodeInputChannels();
    case dsp::kInputMixTrim:
      return DecodeInputMixTrim();
    case dsp::kInputNoise:
      return DecodeInputNoise();
    default:
      return;
  }
}

void DspReply::DecodeSourceConfig() const {
  const int count = Byte(kReplyPayloadByte);
  DebugLogA("DSP_SOURCE_CONFIG update total source=%d -->", count);
  mView.ForEachInRange(0, count - 1, count, kReplyPayloadByte + 1, 1,
                       [&](int, std::size_t offset) { DebugLogA(" 0x%02x", Byte(offset)); });
  DebugLogA("\n");
}

// Codes that carry one value instead of a record.
void DspReply::DecodeValue() const {
  const std::uint8_t code = mView.At(kReplyCodeByte);
  if (code == dsp::kRemoteChannel) {
    if (mView.Has(kReplyPayloadByte, 2)) {
      PostValue(BigEndian16(mView.At(2), mView.At(3)));
    }
    return;
  }
  if (!mView.Has(kReplyPayloadByte)) {
    return;
  }
  const bool isSigned =
      code == dsp::kMainVolume || code == dsp::kSubVolume || code == dsp::kInputThreshold;
  PostValue(isSigned ? Signed(kReplyPayloadByte) : Byte(kReplyPayloadByte));
}

void DspReply::DecodeFilters() const {
  PostSceneChannels<FilterRecord>(mDevice.OutputCount(), kFilterEntryBytes,
                                  [&](FilterRecord& record, std::size_t at) {
                                    record.hpType = Byte(at);
                                    record.hpFreq = BigEndian16(mView.At(at + 1), mView.At(at + 2));
                                    record.hpSlope = Byte(at + 3);
                                    record.lpType = Byte(at + 4);
                                    record.lpFreq = BigEndian16(mView.At(at + 5), mView.At(at + 6));
                                    record.lpSlope = Byte(at + 7);
                                  });
}

void DspReply::DecodeBands(int channelLimit) const {
  const int scene = Scene();
  const int channel = Byte(kBandChannelByte);
  if (scene < 0 || !mView.Has(kBandLastByte) || channel >= channelLimit) {
    return;
  }
  mView.ForEachInRange(Byte(kBandFirstByte), Byte(kBandLastByte), kMaxBandsPerChannel,
                       kBandEntriesByte, kEqBandBytes, [&](int band, std::size_t at) {
                         const EqBandValue value = ReadEqBand(mView.Slice<kEqBandBytes>(at));
                         auto record = std::make_unique<EqRecord>();
                         record->scene = scene;
                         record->channel = channel;
                         record->band = band;
                         record->freq = value.freqHz;
                         record->q = value.q;
                         record->gain = value.gainDb;
                         PostMain(std::move(record));
                       });
}

void DspReply::DecodeDelays() const {
  PostSceneChannels<DelayRecord>(mDevice.OutputCount(), kDelayBytes,
                                 [&](DelayRecord& record, std::size_t at) {
                                   record.delay = ReadDelay(mView.Slice<kDelayBytes>(at));
                                 });
}

void DspReply::DecodeTrims() const {
  PostSceneChannels<TrimRecord>(mDevice.OutputCount(), 1, [&](TrimRecord& record, std::size_t at) {
    record.trim = static_cast<float>(Signed(at));
  });
}

// Mute, phase, speaker type, EQ bypass and input phase: one byte per channel.
void DspReply::DecodeChannelBytes(bool isSigned, int channelLimit) const {
  PostSceneChannels<ChannelValueRecord>(channelLimit, 1,
                                        [&](ChannelValueRecord& record, std::size_t at) {
                                          record.value = isSigned ? Signed(at) : Byte(at);
                                        });
}

void DspReply::DecodeMix() const {
  const int scene = Scene();
  const int source = Byte(kSourceByte);
  if (scene < 0 || !mView.Has(kSourceByte) || source >= kSourceCount) {
    return;
  }
  // Units with more than 8 inputs report two bytes per mask.
  const bool wideMasks = mDevice.InputCount() > 8;
  mView.ForEachInRange(Byte(kRangeFirstByte), Byte(kRangeLastByte), mDevice.OutputCount(),
                       kRangeEntriesByte, wideMasks ? 2 : 1, [&](int output, std::size_t at) {
                         auto record = std::make_unique<MixRecord>();
                         record->scene = scene;
                         record->source = source;
                         record->output = output;
                         record->mask =
                             wideMasks ? BigEndian16(mView.At(at), mView.At(at + 1)) : Byte(at);
                         PostMain(std::move(record));
                       });
}

void DspReply::DecodeLink() const {
  constexpr std::size_t kLinkByte = 3;
  constexpr std::size_t kPairsByte = 4;
  const int scene = Scene();
  const auto pairBytes = static_cast<std::size_t>(mDevice.OutputCount() / 2);
  if (scene < 0 || pairBytes > kLinkPairBytes || !mView.Has(kPairsByte, pairBytes)) {
    return;
  }
  auto record = std::make_unique<LinkRecord>();
  record->scene = scene;
  record->link = Byte(kLinkByte);
  for (std::size_t i = 0; i < pairBytes; ++i) {
    record->pairs[i] = mView.At(kPairsByte + i);
  }
  PostMain(std::move(record));
}

void DspReply::DecodeLock() const {
  constexpr std::size_t kLockByte = 3;
  const int scene = Scene();
  if (scene < 0 || !mView.Has(kLockByte)) {
    return;
  }
  auto record = std::make_unique<LockRecord>();
  record->scene = scene;
  record->lock = Byte(kLockByte);
  PostMain(std::move(record));
}

// ---- Auto calibration ----------------------------------------------------------------------

constexpr std::array<const char*, irc::kStatusCount> kIrcStatusNames{
    "IRC_RET_START_TEST",       "IRC_RET_SPK_STATUS_TEST",    "IRC_RET_LEVEL_TEST",
    "IRC_RET_DELAY_TEST",       "IRC_RET_TRIM_TEST",          "IRC_RET_EQ_TEST",
    "IRC_RET_SPEAKER_RTA_TEST", "IRC_RET_SPEAKER_RTA_UPDATE", "IRC_RET_EQ_DATA_UPDATE",
    "IRC_RET_TEST_DATA_UPDATE", "IRC_RET_TEST_DONE",          "IRC_RET_TEST_FAIL->",
    "IRC_RET_TEST_EXIT"};
constexpr std::array<const char*, irc::kFailureCount> kIrcFailureNames{
    "IRC_FAIL_NO_VAR", "IRC_FAIL_NO_MIC", "IRC_FAIL_NO_SPEAKER",
    "IRC_FAIL_DELAY",  "IRC_FAIL_TRIM",   "IRC_FAIL_EQ"};

void DspReply::DecodeIrcStatus() const {
  if (!mView.Has(irc::kStatusProgressByte)) {
    return;
  }
  const int status = Byte(irc::kStatusByte);
  const int progress = Byte(irc::kStatusProgressByte);
  DebugLogA("DSP_IRC_CTRL Update Status = 0x%x, progress = %d\n", status, progress);
  if (status >= static_cast<int>(kIrcStatusNames.size())) {
    return;
  }
  DebugLogA("%s", kIrcStatusNames[static_cast<std::size_t>(status)]);
  int value = progress;
  if (status == irc::kStatusRtaUpdate || status == irc::kStatusEqUpdate) {
    value = Byte(irc::kStatusChannelByte);
  } else if (status == irc::kStatusFail) {
    const int failure = Byte(irc::kStatusFailureByte);
    if (!mView.Has(irc::kStatusFailureByte) ||
        failure >= static_cast<int>(kIrcFailureNames.size())) {
      DebugLogA("unknown failure %d\n", failure);
      return;
    }
    DebugLogA("%s", kIrcFailureNames[static_cast<std::size_t>(failure)]);
    value = failure;
  }
  DebugLogA("\n");
  platform::PostMessage(mDevice.Window(Role::AutoCal), platform::msg::kAutoCalNotify,
                        static_cast<std::uintptr_t>(status), value);
}

void DspReply::DecodeIrcDistances() const {
  PostIrcChannels<IrcDistanceRecord>(2, [&](IrcDistanceRecord& record, std::size_t at) {
    record.distance = Byte(at) + Byte(at + 1) / 100.0f;
  });
}

void DspReply::DecodeIrcTrims() const {
  PostIrcChannels<IrcTrimRecord>(1, [&](IrcTrimRecord& record, std::size_t at) {
    record.trim = static_cast<float>(Byte(at));
  });
}

// Speaker size, phase, level and noise level: one byte per channel.
void DspReply::DecodeIrcBytes(bool isSigned) const {
  PostIrcChannels<IrcChannelValueRecord>(1, [&](IrcChannelValueRecord& record, std::size_t at) {
    record.value = isSigned ? Signed(at) : Byte(at);
  });
}

// Measured bands: channel, first band, last band, entries from byte 5.
constexpr std::size_t kIrcBandChannelByte = 2;
constexpr std::size_t kIrcBandFirstByte = 3;
constexpr std::size_t kIrcBandLastByte = 4;
constexpr std::size_t kIrcBandEntriesByte = 5;
constexpr std::size_t kSpectrumEntryBytes = 5;

void DspReply::DecodeIrcEq() const {
  const int channel = Byte(kIrcBandChannelByte);
  if (!mView.Has(kIrcBandLastByte) || channel >= mDevice.OutputCount()) {
    return;
  }
  mView.ForEachInRange(Byte(kIrcBandFirstByte), Byte(kIrcBandLastByte), kMaxBandsPerChannel,
                       kIrcBandEntriesByte, kEqBandBytes, [&](int band, std::size_t at) {
                         const EqBandValue value = ReadEqBand(mView.Slice<kEqBandBytes>(at));
                         auto record = std::make_unique<IrcEqRecord>();
                         record->channel = channel;
                         record->band = band;
                         record->freq = value.freqHz;
                         record->q = value.q;
                         record->gain = value.gainDb;
                         PostAutoCal(std::move(record));
                       });
}

void DspReply::DecodeIrcSpectrum() const {
  const int channel = Byte(kIrcBandChannelByte);
  if (!mView.Has(kIrcBandLastByte) || channel >= mDevice.OutputCount()) {
    return;
  }
  mView.ForEachInRange(
      Byte(kIrcBandFirstByte), Byte(kIrcBandLastByte), kSpectrumPoints, kIrcBandEntriesByte,
      kSpectrumEntryBytes, [&](int point, std::size_t at) {
        auto record = std::make_unique<IrcSpectrumRecord>();
        record->channel = channel;
        record->band = point;
        record->freq = BigEndian16(mView.At(at), mView.At(at + 1)) + Byte(at + 2) / 100.0f;
        record->gain = static_cast<float>(Signed(at + 3)) + Signed(at + 4) / 100.0f;
        PostAutoCal(std::move(record));
      });
}

// ---- Whole-range records of the input channels --------------------------------------------

// Input trims and mutes: one record, values indexed by absolute channel.
void DspReply::DecodeInputChannels() const {
  const int scene = Scene();
  if (scene < 0 || !mView.Has(kRangeLastByte)) {
    return;
  }
  auto record = std::make_unique<InputChannelsRecord>();
  int last = -1;
  mView.ForEachInRange(Byte(kRangeFirstByte), Byte(kRangeLastByte), kRecordChannelSlots,
                       kRangeEntriesByte, 1, [&](int channel, std::size_t at) {
                         record->values[static_cast<std::size_t>(channel)] = mView.At(at);
                         last = channel;
                       });
  if (last < 0) {
    return;
  }
  record->scene = scene;
  record->source = Byte(kSourceByte);
  record->chX = Byte(kRangeFirstByte);
  record->chY = last;  // the part that was in range
  PostMain(std::move(record));
}

void DspReply::DecodeInputMixTrim() const {
  constexpr std::size_t kInChannelByte = 4;
  constexpr std::size_t kOutFirstByte = 5;
  constexpr std::size_t kOutLastByte = 6;
  constexpr std::size_t kTrimsByte = 7;
  const int scene = Scene();
  const int source = Byte(kSourceByte);
  const int inCh = Byte(kInChannelByte);
  if (scene < 0 || !mView.Has(kOutLastByte) || source >= kSourceCount || inCh >= kMixInputSlots) {
    return;
  }
  const int first = Byte(kOutFirstByte);
  const int limit = std::min(mDevice.OutputCount(), first + kRecordChannelSlots);
  auto record = std::make_unique<InputMixTrimRecord>();
  int last = -1;
  mView.ForEachInRange(first, Byte(kOutLastByte), limit, kTrimsByte, 1,
                       [&](int output, std::size_t at) {
                         record->trims[static_cast<std::size_t>(output - first)] = mView.At(at);
                         last = output;
                       });
  if (last < 0) {
    return;
  }
  record->scene = scene;
  record->source = source;
  record->inCh = inCh;
  record->outX = first;
  record->outY = last;
  PostMain(std::move(record));
}

void DspReply::DecodeInputNoise() const {
  constexpr float kNoiseOffsetDb = 100.0f;
  auto record = std::make_unique<InputNoiseRecord>();
  int last = -1;
  mView.ForEachInRange(Byte(kIrcFirstByte), Byte(kIrcLastByte), kRecordChannelSlots,
                       kIrcEntriesByte, 2, [&](int channel, std::size_t at) {
                         const float level = Byte(at) - kNoiseOffsetDb + Byte(at + 1) / 10.0f;
                         record->levels[static_cast<std::size_t>(channel)] = level;
                         last = channel;
                       });
  if (last < 0) {
    return;
  }
  record->chX = Byte(kIrcFirstByte);
  record->chY = last;
  Post(Role::Tool, platform::msg::kDspNotify, std::move(record));
}

}  // namespace

void DecodeDspReply(DspDevice& device, std::span<const std::uint8_t> body) {
  DspReply(device, body).Decode();
}

}  // namespace device
