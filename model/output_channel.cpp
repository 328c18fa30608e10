#include "model/output_channel.h"

namespace model {

OutputChannel::OutputChannel(int eqSize) : mEqSize(IntRange{1, kMaxBands}.Clamp(eqSize)) {
  ResetBands();
}

void OutputChannel::ResetBands() {
  for (int index = 0; index < kMaxBands; ++index) {
    mBands[static_cast<std::size_t>(index)] = DefaultBand(index);
  }
}

}  // namespace model
