#include "model/output_channel.h"

namespace model {

namespace {

constexpr IntRange kBandStorage{1, kMaxBands};

}  // namespace

OutputChannel::OutputChannel(int eqSize) : mEqSize(kBandStorage.Clamp(eqSize)) {
  ResetBands();
}

void OutputChannel::SetEqSize(int eqSize) {
  mEqSize = kBandStorage.Clamp(eqSize);
}

void OutputChannel::ResetBands() {
  for (int index = 0; index < kMaxBands; ++index) {
    mBands[static_cast<std::size_t>(index)] = DefaultBand(index);
  }
}

}  // namespace model
