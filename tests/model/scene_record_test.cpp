#include "model/scene_record.h"

#include <memory>

#include <gtest/gtest.h>

#include "model/eq_band.h"

namespace model {
namespace {

TEST(FreshSceneRecord, HoldsTheDefaultRolesAndTheirCrossovers) {
  const auto record = std::make_unique<SceneRecord>();
  EXPECT_EQ(record->outputs, (PerOutput<SpeakerRole>{6, 12, 15, 18, 19, 20, 22, 23}));

  const OutputChannel& centreTweeter = record->channels[4];
  EXPECT_EQ(centreTweeter.crossover.hp, CrossoverFilter(3400, 3, 2));
  EXPECT_EQ(centreTweeter.crossover.lp.bypass(), 1);
  EXPECT_EQ(centreTweeter.crossover.bpType, kBpHighPass);

  const OutputChannel& leftSubwoofer = record->channels[6];
  EXPECT_EQ(leftSubwoofer.crossover.lp, CrossoverFilter(55, 1, 4));
  EXPECT_EQ(leftSubwoofer.crossover.hp.bypass(), 1);
  ASSERT_EQ(leftSubwoofer.eqSize(), 11);
  EXPECT_EQ(leftSubwoofer.Bands().front().freq, 20);
  EXPECT_EQ(leftSubwoofer.Bands().back().freq, 200);

  for (const OutputChannel& channel : record->channels) {
    EXPECT_EQ(channel.bypass, 1);
  }
}

TEST(FreshSceneRecord, EveryOtherFieldStartsAtItsDefault) {
  const auto record = std::make_unique<SceneRecord>();
  EXPECT_EQ(record->modelNumber, -1);
  EXPECT_EQ(record->masterVersion, -1);
  EXPECT_EQ(record->slaveVersion, -1);
  EXPECT_EQ(record->mainVolume, -5);
  EXPECT_EQ(record->inputThreshold, -60);
  EXPECT_EQ(record->channelCount, 8);
  EXPECT_EQ(record->karaoke.micVolume, 60);
  EXPECT_EQ(record->karaoke.musicVolume, 60);
  for (int c = 0; c < kOutputCount; ++c) {
    EXPECT_EQ(record->linkOutputs[c], -1);
    EXPECT_EQ(record->channels[c].eqSize(), c < 6 ? 31 : 11);
    const auto bands = record->Bands(c);
    for (std::size_t b = 0; b < bands.size(); ++b) {
      EXPECT_EQ(bands[b], (EqBand{0.0f, 5.8f, kIsoBandFrequencies[b], 1}));
    }
  }
  EXPECT_EQ(record->inputs[0], (PerOutput<std::int32_t>{1, 2, 1, 2, 3, 3, 1, 2}));
  EXPECT_EQ(record->inputs[5], (PerOutput<std::int32_t>{1, 2, 4, 8, 3, 3, 1, 2}));
  EXPECT_EQ(record->inputs[6], record->inputs[0]);
  EXPECT_EQ(record->inputMixVolume[6][7][7], 100);
  EXPECT_EQ(record->routePhase[3][2][1], 0);
}

TEST(SceneRecordReset, RestoresEditedValuesButKeepsFlashVersionAndToneGains) {
  auto record = std::make_unique<SceneRecord>();
  record->modelNumber = 23;
  record->dspFlashVersion = {1, 2, 3, 4};
  record->karaoke = {.howling = 5, .micVolume = 7, .bassGain = -3, .trebleGain = 4};
  record->outputs[0] = 1;
  record->linkOutputs[0] = 1;
  record->channels[2].gain = -12.0f;
  record->Bands(2)[7].eqGain = 6.0f;
  record->inputMixVolume[2][1][3] = 20;

  record->ResetToDefaults();

  EXPECT_EQ(record->modelNumber, -1);
  EXPECT_EQ(record->dspFlashVersion, (std::array<std::int32_t, 4>{1, 2, 3, 4}));
  EXPECT_EQ(record->karaoke.howling, 0);
  EXPECT_EQ(record->karaoke.micVolume, 60);
  EXPECT_EQ(record->karaoke.bassGain, -3);
  EXPECT_EQ(record->karaoke.trebleGain, 4);
  EXPECT_EQ(record->outputs[0], 6);
  EXPECT_EQ(record->linkOutputs[0], -1);
  EXPECT_EQ(record->channels[2].gain, 0.0f);
  EXPECT_EQ(record->Bands(2)[7].eqGain, 0.0f);
  EXPECT_EQ(record->inputMixVolume[2][1][3], 100);
}

TEST(SceneRecordReset, SixOutputVariantUsesItsOwnRoles) {
  auto record = std::make_unique<SceneRecord>();
  record->SelectVariant(6);
  EXPECT_EQ(record->channelCount, 6);
  EXPECT_EQ(record->outputs, (PerOutput<SpeakerRole>{6, 12, 15, 18, 22, 23, 0, 0}));
  EXPECT_EQ(record->channels[4].crossover, DefaultCrossoverForRole(22));
  EXPECT_EQ(record->channels[7].crossover.bpType, kBpNone);
  // The six-output channels keep the band counts of their positions.
  EXPECT_EQ(record->channels[4].eqSize(), 31);

  record->SelectVariant(7);  // not a variant: eight outputs
  EXPECT_EQ(record->channelCount, 8);
  EXPECT_EQ(record->outputs[4], 19);
}

TEST(SceneRecordBands, IndexOutsideTheOutputsGivesOutputZero) {
  auto record = std::make_unique<SceneRecord>();
  record->Bands(0)[3].eqGain = 2.5f;
  EXPECT_EQ(record->Bands(8).data(), record->Bands(0).data());
  EXPECT_EQ(record->Bands(-1)[3].eqGain, 2.5f);
  EXPECT_EQ(record->Bands(7).size(), 11u);
}

TEST(CopiedSceneRecord, KeepsItsOwnBandStorage) {
  auto original = std::make_unique<SceneRecord>();
  original->Bands(1)[4].eqGain = 3.0f;
  original->Bands(7)[10].freq = 180;

  auto copy = std::make_unique<SceneRecord>(*original);
  EXPECT_EQ(copy->Bands(1)[4].eqGain, 3.0f);
  EXPECT_EQ(copy->Bands(7)[10].freq, 180);

  copy->Bands(1)[4].eqGain = -9.0f;
  copy->channels[7].Bands()[10].freq = 150;
  EXPECT_EQ(original->Bands(1)[4].eqGain, 3.0f);
  EXPECT_EQ(original->Bands(7)[10].freq, 180);

  // Every band list of the copy lies inside the copy itself.
  const auto* begin = reinterpret_cast<const char*>(copy.get());
  const auto* end = begin + sizeof(SceneRecord);
  for (int c = 0; c < kOutputCount; ++c) {
    const auto* bands = reinterpret_cast<const char*>(copy->Bands(c).data());
    EXPECT_TRUE(bands >= begin && bands < end) << "output " << c;
  }

  // Assignment into an existing record (a profile load into a stored scene) behaves the same.
  auto stored = std::make_unique<SceneRecord>();
  *stored = *copy;
  stored->Bands(1)[4].eqGain = 1.0f;
  EXPECT_EQ(copy->Bands(1)[4].eqGain, -9.0f);
}

}  // namespace
}  // namespace model
