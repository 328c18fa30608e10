// The unit's DSP (group 1): every parameter set is applied to the addressed scene and
// acknowledged; every get is answered from the state in the reply layout the PC decodes.

#include <algorithm>
#include <cmath>
#include <functional>
#include <span>
#include <utility>

#include "device/byte_reader.h"
#include "device/calibration_codes.h"
#include "device/dsp_commands.h"
#include "device/parameter_codes.h"
#include "model/limits.h"
#include "sim/calibration_run.h"
#include "sim/peer_support.h"
#include "sim/virtual_unit.h"

namespace sim {

namespace {

using device::ByteReader;
using device::Bytes;
using device::LowByte;
namespace dsp = device::dsp;

// Payload offsets of the range commands: scene, source, first, last, entries.
constexpr std::size_t kScene = 0;
constexpr std::size_t kSource = 1;
constexpr std::size_t kFirst = 2;
constexpr std::size_t kLast = 3;
constexpr std::size_t kEntries = 4;
// Band commands: scene, source, channel, first band, last band, entries.
constexpr std::size_t kBandChannel = 2;
constexpr std::size_t kBandFirst = 3;
constexpr std::size_t kBandLast = 4;
constexpr std::size_t kFilterEntryBytes = 8;

// Reply body offsets of the range answers: code, op, scene, source, first, last.
constexpr std::size_t kReplyLast = 5;
constexpr std::size_t kReplyBandLast = 6;
// Auto-calibration answers: code, op, first, last.
constexpr std::size_t kIrcReplyLast = 3;
constexpr std::size_t kIrcReplyBandLast = 4;
constexpr std::size_t kSpectrumEntryBytes = 5;

constexpr float kNoiseOffsetDb = 100.0f;

// A distance as whole metres and hundredths.
void PutHundredths(Bytes& out, double value) {
  const auto hundredths = static_cast<int>(std::lround(std::clamp(value, 0.0, 255.99) * 100.0));
  out.push_back(LowByte(hundredths / 100));
  out.push_back(LowByte(hundredths % 100));
}

// A point of a measured response: the frequency in whole Hz (16-bit) and hundredths, the level
// in whole dB and hundredths, both signed, so that -3.47 dB travels as -3 and -47.
void PutSpectrumPoint(Bytes& out, double freqHz, double levelDb) {
  const auto freq = static_cast<int>(std::lround(std::clamp(freqHz, 0.0, 65535.99) * 100.0));
  device::PutU16(out, freq / 100);
  out.push_back(LowByte(freq % 100));
  const auto level = static_cast<int>(std::lround(std::clamp(levelDb, -127.99, 127.99) * 100.0));
  out.push_back(LowByte(level / 100));
  out.push_back(LowByte(level % 100));
}

class DspPeer {
 public:
  using ReplyFn = std::function<void(std::span<const std::uint8_t>)>;

  DspPeer(UnitState& state, CalibrationRun& calibration, const CalibrationKnobs& knobs,
          const device::CommandRecord& command, ReplyFn reply)
      : mState(state),
        mCalibration(calibration),
        mKnobs(knobs),
        mCommand(command),
        mIn(command.payload),
        mReply(std::move(reply)) {}

  void Handle() {
    if (mCommand.op == device::kOpSet) {
      Reply(AckBody(mCommand.command, Set() ? device::kAckReady : device::kAckNotReady));
    } else if (mCommand.op == device::kOpGet) {
      Get();
    }
  }

 private:
  int In(std::size_t offset) const { return mIn.At(offset); }
  SceneState* Scene() const { return SceneAt(mState, In(kScene)); }
  void Reply(const Bytes& body) const { mReply(body); }
  Bytes Header() const { return {mCommand.command, device::kOpReply}; }

  bool Set();
  bool SetCalibration();
  bool SetOutputs(SceneState& scene);
  bool SetInputs(SceneState& scene);
  bool SetBands(BandBank& bands, std::size_t at);
  void SetLink(LinkState& link) const;
  void Get();
  void GetOutputs(const SceneState& scene);
  void GetInputs(const SceneState& scene);
  void GetCalibration();
  template <typename Channels>
  void GetBands(const Channels& channels);

  // Applies fn(index, entryOffset) to every entry of a set's range that lies in the payload.
  template <typename Fn>
  void ForEachEntry(std::size_t firstAt, std::size_t entriesAt, std::size_t stride, int limit,
                    Fn fn) const {
    mIn.ForEachInRange(In(firstAt), In(firstAt + 1), limit, entriesAt, stride, fn);
  }

  UnitState& mState;
  CalibrationRun& mCalibration;
  const CalibrationKnobs& mKnobs;
  const device::CommandRecord& mCommand;
  ByteReader mIn;
  ReplyFn mReply;
};

bool DspPeer::Set() {
  const auto& p = mCommand.payload;
  if (p.empty()) {
    return false;
  }
  const int first = In(0);
  switch (mCommand.command) {
    case dsp::kSource:
      mState.sourceId = LowByte(first);
      return true;
    case dsp::kMainVolume:
      // Taken as a code (6 minus the volume), kept and reported in dB.
      mState.mainVolume =
          static_cast<std::int8_t>(device::VolumeFromCode(device::SignedByte(p[0])));
      return true;
    case dsp::kSubVolume:
      mState.subVolume = static_cast<std::int8_t>(p[0]);
      return true;
    case dsp::kMuteAll:
      mState.mute = p[0];
      return true;
    case dsp::kIrc:
      return SetCalibration();
    case dsp::kIrcTestMic:
      // The unit's own test microphone; the virtual one has only the one microphone.
      return true;
    case dsp::kIrcTestModule:
      mCalibration.SelectModules(p[0]);
      return true;
    case dsp::kInputThreshold:
      mState.inputThreshold = static_cast<std::int8_t>(p[0]);
      return true;
    case dsp::kRemoteChannel:
      if (!mIn.Has(0, 2)) {
        return false;
      }
      mState.remoteSelection = static_cast<std::uint16_t>(device::BigEndian16(p[0], p[1]));
      return true;
    case dsp::kCommand51:
      mState.command51 = p[0];
      return true;
    default:
      break;
  }
  SceneState* scene = Scene();
  if (scene == nullptr) {
    return false;
  }
  return SetOutputs(*scene) || SetInputs(*scene);
}

// IRC_Ctrl: on, channels (16-bit), target effect.
bool DspPeer::SetCalibration() {
  const auto& p = mCommand.payload;
  if (!mIn.Has(0, 4)) {
    return false;
  }
  switch (p[0]) {
    case device::irc::kCtrlStop:
      mCalibration.Stop();
      return true;
    case device::irc::kCtrlStart:
      mCalibration.Start(mState.working, device::BigEndian16(p[1], p[2]), p[3], mKnobs.failure,
                         CalibrationRun::Clock::now());
      return true;
    case device::irc::kCtrlApply:
      return mCalibration.Apply(mState.working);
    case device::irc::kCtrlCancel:
      mCalibration.Cancel();
      return true;
    default:
      return false;
  }
}

bool DspPeer::SetOutputs(SceneState& scene) {
  auto& outputs = scene.outputs;
  const auto& p = mCommand.payload;
  auto eachOutput = [&](std::size_t stride, auto fn) {
    ForEachEntry(kFirst, kEntries, stride, kOutputs, [&](int index, std::size_t at) {
      fn(outputs[static_cast<std::size_t>(index)], at);
    });
    return true;
  };
  switch (mCommand.command) {
    case dsp::kFilter: {
      const int channel = In(2);
      if (!mIn.Has(0, kFilterEntryBytes) || channel >= kOutputs) {
        return false;
      }
      OutputState& output = outputs[static_cast<std::size_t>(channel)];
      FilterState& filter = In(3) == device::kHighPassFilter ? output.hp : output.lp;
      filter = {p[4], static_cast<std::uint16_t>(device::BigEndian16(p[5], p[6])), p[7]};
      return true;
    }
    case dsp::kEq: {
      const int channel = In(2);
      const int band = In(3);
      if (!mIn.Has(0, 4 + device::kEqBandBytes) || channel >= kOutputs ||
          band >= device::kMaxBandsPerChannel) {
        return false;
      }
      outputs[static_cast<std::size_t>(channel)].bands[static_cast<std::size_t>(band)] =
          BandFromCommand(mIn.Slice<device::kEqBandBytes>(4));
      return true;
    }
    case dsp::kDelay:
      return eachOutput(device::kDelayBytes, [&](OutputState& output, std::size_t at) {
        SetDelayFromCommand(output, mIn.Slice<device::kDelayBytes>(at));
      });
    case dsp::kTrim:
      // Taken as an attenuation, kept and reported as the trim.
      return eachOutput(1, [&](OutputState& output, std::size_t at) {
        output.trim = TrimFromAttenuation(p[at]);
      });
    case dsp::kMuteCh:
      return eachOutput(1, [&](OutputState& output, std::size_t at) { output.mute = p[at]; });
    case dsp::kPhase:
      return eachOutput(1, [&](OutputState& output, std::size_t at) {
        output.phase = static_cast<std::int8_t>(p[at]);
      });
    case dsp::kChType:
      return eachOutput(1, [&](OutputState& output, std::size_t at) { output.role = p[at]; });
    case dsp::kPeqBypass:
      return eachOutput(1, [&](OutputState& output, std::size_t at) { output.eqBypass = p[at]; });
    case dsp::kMix: {
      const int source = In(kSource);
      if (source >= device::kSourceCount) {
        return false;
      }
      auto& masks = scene.masks[static_cast<std::size_t>(source)];
      ForEachEntry(kFirst, kEntries, 1, kOutputs, [&](int output, std::size_t at) {
        masks[static_cast<std::size_t>(output)] = p[at];
      });
      return true;
    }
    case dsp::kRemap: {
      const int source = In(kSource);
      const int output = In(2);
      if (source >= device::kSourceCount || output >= kOutputs) {
        return false;
      }
      scene.remap[static_cast<std::size_t>(source)][static_cast<std::size_t>(output)].assign(
          p.begin() + std::min<std::ptrdiff_t>(3, static_cast<std::ptrdiff_t>(p.size())), p.end());
      return true;
    }
    case dsp::kChLink:
      SetLink(scene.channelLink);
      return true;
    case dsp::kTrimLink:
      SetLink(scene.trimLink);
      return true;
    case dsp::kDelayLink:
      SetLink(scene.delayLink);
      return true;
    case dsp::kChLock:
      scene.lock = LowByte(In(1));
      return true;
    case dsp::kDspBypass:
      if (In(kSource) >= device::kSourceCount) {
        return false;
      }
      scene.dspBypass[static_cast<std::size_t>(In(kSource))] = LowByte(In(2));
      return true;
    case dsp::kPeqReset: {
      // scene, source, count, channels: those channels' bands go back to the factory values.
      const int count = In(2);
      mIn.ForEachInRange(0, count - 1, count, 3, 1, [&](int, std::size_t at) {
        if (p[at] < kOutputs) {
          outputs[p[at]].bands = FactoryBands();
        }
      });
      return true;
    }
    default:
      return false;
  }
}

bool DspPeer::SetInputs(SceneState& scene) {
  auto& inputs = scene.inputs;
  const auto& p = mCommand.payload;
  auto eachInput = [&](auto fn) {
    ForEachEntry(kFirst, kEntries, 1, kInputChannels, [&](int index, std::size_t at) {
      fn(inputs[static_cast<std::size_t>(index)], p[at]);
    });
    return true;
  };
  const int source = In(kSource);
  switch (mCommand.command) {
    case dsp::kInputTrim:
      return eachInput(
          [](InputState& input, std::uint8_t v) { input.trim = static_cast<std::int8_t>(v); });
    case dsp::kInputMute:
      return eachInput([](InputState& input, std::uint8_t v) { input.mute = v; });
    case dsp::kInputPhase:
      return eachInput(
          [](InputState& input, std::uint8_t v) { input.phase = static_cast<std::int8_t>(v); });
    case dsp::kInputEq: {
      const int channel = In(kBandChannel);
      if (channel >= kInputChannels) {
        return false;
      }
      return SetBands(inputs[static_cast<std::size_t>(channel)].bands, kBandFirst);
    }
    case dsp::kInputMixTrim: {
      // scene, source, input, first output, last output, one level per output.
      const int input = In(2);
      if (source >= device::kSourceCount || input >= device::kMixInputSlots) {
        return false;
      }
      auto& levels =
          scene.mixLevels[static_cast<std::size_t>(source)][static_cast<std::size_t>(input)];
      ForEachEntry(3, 5, 1, kOutputs, [&](int output, std::size_t at) {
        levels[static_cast<std::size_t>(output)] = static_cast<std::int8_t>(p[at]);
      });
      return true;
    }
    case dsp::kOutputMixTrim: {
      // scene, source, first input, last input, output, one level per input.
      const int output = In(4);
      if (source >= device::kSourceCount || output >= kOutputs) {
        return false;
      }
      auto& bySource = scene.mixLevels[static_cast<std::size_t>(source)];
      ForEachEntry(kFirst, 5, 1, device::kMixInputSlots, [&](int input, std::size_t at) {
        bySource[static_cast<std::size_t>(input)][static_cast<std::size_t>(output)] =
            static_cast<std::int8_t>(p[at]);
      });
      return true;
    }
    default:
      return false;
  }
}

// Bands from `at`: first band, last band, then the 6 bytes of each.
bool DspPeer::SetBands(BandBank& bands, std::size_t at) {
  ForEachEntry(
      at, at + 2, device::kEqBandBytes, device::kMaxBandsPerChannel, [&](int band, std::size_t e) {
        bands[static_cast<std::size_t>(band)] = BandFromCommand(mIn.Slice<device::kEqBandBytes>(e));
      });
  return true;
}

// scene, link, pair count, then from and to of each pair; a pair marks its output pair linked.
void DspPeer::SetLink(LinkState& link) const {
  link.link = LowByte(In(1));
  link.pairs.fill(0);
  const int count = In(2);
  mIn.ForEachInRange(0, count - 1, count, 3, 2, [&](int, std::size_t at) {
    const int pair = In(at) / 2;
    if (pair < device::kLinkPairBytes && In(at) / 2 == In(at + 1) / 2) {
      link.pairs[static_cast<std::size_t>(pair)] = 1;
    }
  });
}

void DspPeer::Get() {
  Bytes body = Header();
  switch (mCommand.command) {
    case dsp::kSourceConfig:
      body.push_back(device::kSourceCount);
      for (int source = 0; source < device::kSourceCount; ++source) {
        body.push_back(LowByte(device::SourceId(source)));
      }
      return Reply(body);
    case dsp::kSource:
      body.push_back(mState.sourceId);
      return Reply(body);
    case dsp::kMainVolume:
      body.push_back(LowByte(mState.mainVolume));
      return Reply(body);
    case dsp::kSubVolume:
      body.push_back(LowByte(mState.subVolume));
      return Reply(body);
    case dsp::kMuteAll:
      body.push_back(mState.mute);
      return Reply(body);
    case dsp::kInputThreshold:
      body.push_back(LowByte(mState.inputThreshold));
      return Reply(body);
    case dsp::kRemoteChannel:
      device::PutU16(body, mState.remoteSelection);
      return Reply(body);
    case dsp::kInputNoise: {
      body.insert(body.end(), {LowByte(In(0)), LowByte(In(1))});
      return Reply(RangeReply(
          body, kIrcReplyLast, In(0), In(1), kInputChannels, 2, [&](Bytes& out, int channel) {
            const float raised =
                std::clamp(mState.inputNoiseDb[static_cast<std::size_t>(channel)] + kNoiseOffsetDb,
                           0.0f, 255.9f);
            const int whole = device::TruncSingle(raised);
            out.push_back(LowByte(whole));
            out.push_back(
                LowByte(device::TruncSingle((raised - static_cast<float>(whole)) * 10.0f + 0.05f)));
          }));
    }
    default:
      break;
  }
  if (mCommand.command >= dsp::kIrc && mCommand.command <= dsp::kIrcRta) {
    return GetCalibration();
  }
  const SceneState* scene = Scene();
  if (scene == nullptr || !IsReadable(mState, In(kScene))) {
    return Reply(AckBody(mCommand.command, device::kAckNotReady));
  }
  GetOutputs(*scene);
  GetInputs(*scene);
}

void DspPeer::GetOutputs(const SceneState& scene) {
  const auto& outputs = scene.outputs;
  Bytes body = Header();
  // scene, source, first, last, then one entry per output.
  auto outputRange = [&](std::size_t stride, auto put) {
    body.insert(body.end(), {LowByte(In(kScene)), LowByte(In(kSource)), LowByte(In(kFirst)),
                             LowByte(In(kLast))});
    Reply(RangeReply(
        body, kReplyLast, In(kFirst), In(kLast), kOutputs, stride,
        [&](Bytes& out, int index) { put(out, outputs[static_cast<std::size_t>(index)]); }));
  };
  auto putFilter = [](Bytes& out, const FilterState& filter) {
    out.push_back(filter.type);
    device::PutU16(out, filter.freq);
    out.push_back(filter.slope);
  };
  auto putLink = [&](const LinkState& link) {
    body.insert(body.end(), {LowByte(In(kScene)), link.link});
    body.insert(body.end(), link.pairs.begin(), link.pairs.end());
    Reply(body);
  };
  switch (mCommand.command) {
    case dsp::kFilter:
      return outputRange(kFilterEntryBytes, [&](Bytes& out, const OutputState& output) {
        putFilter(out, output.hp);
        putFilter(out, output.lp);
      });
    case dsp::kEq:
      return GetBands(outputs);
    case dsp::kDelay:
      return outputRange(device::kDelayBytes, [](Bytes& out, const OutputState& output) {
        out.push_back(output.delayMs);
        device::PutU16(out, output.delayThousandths);
      });
    case dsp::kTrim:
      return outputRange(1,
                         [](Bytes& out, const OutputState& o) { out.push_back(LowByte(o.trim)); });
    case dsp::kMuteCh:
      return outputRange(1, [](Bytes& out, const OutputState& o) { out.push_back(o.mute); });
    case dsp::kPhase:
      return outputRange(1,
                         [](Bytes& out, const OutputState& o) { out.push_back(LowByte(o.phase)); });
    case dsp::kChType:
      return outputRange(1, [](Bytes& out, const OutputState& o) { out.push_back(o.role); });
    case dsp::kPeqBypass:
      return outputRange(1, [](Bytes& out, const OutputState& o) { out.push_back(o.eqBypass); });
    case dsp::kMix: {
      const int source = In(kSource);
      if (source >= device::kSourceCount) {
        return Reply(AckBody(mCommand.command, device::kAckNotReady));
      }
      const auto& masks = scene.masks[static_cast<std::size_t>(source)];
      body.insert(body.end(),
                  {LowByte(In(kScene)), LowByte(source), LowByte(In(kFirst)), LowByte(In(kLast))});
      return Reply(RangeReply(
          body, kReplyLast, In(kFirst), In(kLast), kOutputs, 1,
          [&](Bytes& out, int o) { out.push_back(masks[static_cast<std::size_t>(o)]); }));
    }
    case dsp::kRemap: {
      const int source = In(kSource);
      const int output = In(2);
      if (source >= device::kSourceCount || output >= kOutputs) {
        return Reply(AckBody(mCommand.command, device::kAckNotReady));
      }
      const auto& inputs =
          scene.remap[static_cast<std::size_t>(source)][static_cast<std::size_t>(output)];
      body.insert(body.end(), {LowByte(In(kScene)), LowByte(source), LowByte(output),
                               LowByte(static_cast<int>(inputs.size()))});
      body.insert(body.end(), inputs.begin(), inputs.end());
      return Reply(body);
    }
    case dsp::kChLink:
      return putLink(scene.channelLink);
    case dsp::kTrimLink:
      return putLink(scene.trimLink);
    case dsp::kDelayLink:
      return putLink(scene.delayLink);
    case dsp::kChLock:
      body.insert(body.end(), {LowByte(In(kScene)), scene.lock});
      return Reply(body);
    case dsp::kDspBypass: {
      const int source = std::min(In(kSource), device::kSourceCount - 1);
      body.insert(body.end(), {LowByte(In(kScene)), LowByte(source),
                               scene.dspBypass[static_cast<std::size_t>(source)]});
      return Reply(body);
    }
    case dsp::kPeqReset:
      body.push_back(LowByte(In(kScene)));
      return Reply(body);
    default:
      return;
  }
}

void DspPeer::GetInputs(const SceneState& scene) {
  const auto& inputs = scene.inputs;
  Bytes body = Header();
  auto inputRange = [&](auto value) {
    body.insert(body.end(), {LowByte(In(kScene)), LowByte(In(kSource)), LowByte(In(kFirst)),
                             LowByte(In(kLast))});
    Reply(RangeReply(body, kReplyLast, In(kFirst), In(kLast), kInputChannels, 1,
                     [&](Bytes& out, int index) {
                       out.push_back(value(inputs[static_cast<std::size_t>(index)]));
                     }));
  };
  switch (mCommand.command) {
    case dsp::kInputTrim:
      return inputRange([](const InputState& i) { return LowByte(i.trim); });
    case dsp::kInputMute:
      return inputRange([](const InputState& i) { return i.mute; });
    case dsp::kInputPhase:
      return inputRange([](const InputState& i) { return LowByte(i.phase); });
    case dsp::kInputEq:
      return GetBands(inputs);
    case dsp::kInputMixTrim: {
      // scene, source, input, first output, last output, one level per output.
      const int source = In(kSource);
      const int input = In(2);
      if (source >= device::kSourceCount || input >= device::kMixInputSlots) {
        return Reply(AckBody(mCommand.command, device::kAckNotReady));
      }
      const auto& levels =
          scene.mixLevels[static_cast<std::size_t>(source)][static_cast<std::size_t>(input)];
      body.insert(body.end(), {LowByte(In(kScene)), LowByte(source), LowByte(input), LowByte(In(3)),
                               LowByte(In(4))});
      return Reply(RangeReply(body, 6, In(3), In(4), kOutputs, 1, [&](Bytes& out, int o) {
        out.push_back(LowByte(levels[static_cast<std::size_t>(o)]));
      }));
    }
    default:
      return;
  }
}

// Band replies: scene, source, channel, first band, last band, then 6 bytes per band.
template <typename Channels>
void DspPeer::GetBands(const Channels& channels) {
  const int channel = In(kBandChannel);
  if (channel >= static_cast<int>(channels.size())) {
    return Reply(AckBody(mCommand.command, device::kAckNotReady));
  }
  const BandBank& bands = channels[static_cast<std::size_t>(channel)].bands;
  Bytes body = Header();
  body.insert(body.end(), {LowByte(In(kScene)), LowByte(In(kSource)), LowByte(channel),
                           LowByte(In(kBandFirst)), LowByte(In(kBandLast))});
  Reply(RangeReply(body, kReplyBandLast, In(kBandFirst), In(kBandLast), device::kMaxBandsPerChannel,
                   device::kEqBandBytes, [&](Bytes& out, int band) {
                     PutBand(out, bands[static_cast<std::size_t>(band)]);
                   }));
}

// Auto-calibration status and measurements, as far as the run has produced them (zero before).
void DspPeer::GetCalibration() {
  Bytes body = Header();
  if (mCommand.command == dsp::kIrc) {
    const auto status = mCalibration.Poll(CalibrationRun::Clock::now(), mKnobs.pace);
    body.insert(body.end(), {status.status, status.channel, 0, status.progress, status.failure});
    return Reply(body);
  }
  const int first = In(0);
  if (mCommand.command == dsp::kIrcEq || mCommand.command == dsp::kIrcSpectrum) {
    // channel, first, last: only the channel's own bands or points are answered.
    const bool eq = mCommand.command == dsp::kIrcEq;
    if (first >= kOutputs) {
      return Reply(AckBody(mCommand.command, device::kAckNotReady));
    }
    const ChannelCalibration& channel = mCalibration.Channel(first);
    body.insert(body.end(), {LowByte(first), LowByte(In(1)), LowByte(In(2))});
    if (eq) {
      const BandBank bands = channel.correctionReady ? channel.correction : FactoryBands();
      return Reply(RangeReply(
          body, kIrcReplyBandLast, In(1), In(2), model::BandCountOfOutput(first),
          device::kEqBandBytes,
          [&](Bytes& out, int band) { PutBand(out, bands[static_cast<std::size_t>(band)]); }));
    }
    return Reply(RangeReply(body, kIrcReplyBandLast, In(1), In(2), device::kSpectrumPoints,
                            kSpectrumEntryBytes, [&](Bytes& out, int point) {
                              if (channel.spectrumReady) {
                                const auto at = static_cast<std::size_t>(point);
                                PutSpectrumPoint(out, SpectrumFrequencies()[at],
                                                 channel.spectrumDb[at]);
                              } else {
                                out.insert(out.end(), kSpectrumEntryBytes, 0);
                              }
                            }));
  }
  // One entry per channel from first to last: the distance in 2 bytes, the others in one.
  const std::size_t stride = mCommand.command == dsp::kIrcDistance ? 2 : 1;
  body.insert(body.end(), {LowByte(first), LowByte(In(1))});
  Reply(RangeReply(body, kIrcReplyLast, first, In(1), kOutputs, stride, [&](Bytes& out, int ch) {
    const ChannelCalibration& channel = mCalibration.Channel(ch);
    switch (mCommand.command) {
      case dsp::kIrcDistance:
        PutHundredths(out, channel.distanceM);
        break;
      case dsp::kIrcTrim:
        out.push_back(LowByte(channel.trimDb));
        break;
      case dsp::kIrcSpkSize:
        out.push_back(LowByte(channel.sizeInches));
        break;
      case dsp::kIrcSpkPhase:
        out.push_back(channel.reversed ? 1 : 0);
        break;
      case dsp::kIrcSpkLevel:
        out.push_back(LowByte(channel.levelDb));
        break;
      case dsp::kIrcNoiseLevel:
        out.push_back(LowByte(channel.noiseDb));
        break;
      default:
        out.push_back(0);
        break;
    }
  }));
}

}  // namespace

void VirtualUnit::HandleDsp(const device::CommandRecord& command) {
  DspPeer(mState, mCalibration, mCalibrationKnobs, command,
          [this](std::span<const std::uint8_t> body) { Reply(device::kGroupDsp, body); })
      .Handle();
}

void VirtualUnit::SetInputNoise(int channel, float levelDb) {
  std::lock_guard lock(mMutex);
  if (channel >= 0 && channel < kInputChannels) {
    mState.inputNoiseDb[static_cast<std::size_t>(channel)] = levelDb;
  }
}

UnitState VirtualUnit::State() const {
  std::lock_guard lock(mMutex);
  return mState;
}

}  // namespace sim
