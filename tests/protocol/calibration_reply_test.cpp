// The measurements of an auto-calibration run: each request answered through the virtual unit
// with one record per channel, band or point for the calibration window, and replies carrying
// values decoded with their fractions and signs.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "device/dsp_commands_get.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "tests/protocol/protocol_fixture.h"

namespace device::testing {
namespace {

using platform::msg::kAutoCalNotify;

class CalibrationReplyTest : public ProtocolFixture {
 protected:
  // The record of the one message of `code`.
  template <typename T>
  T One(std::uint8_t code) {
    const auto records = Records<T>(kAutoCalNotify, code);
    EXPECT_EQ(records.size(), 1u) << "code " << int{code};
    return records.empty() ? T{} : records[0];
  }
};

TEST_F(CalibrationReplyTest, EachMeasurementIsAnsweredPerEntryToTheCalibrationWindow) {
  struct Case {
    std::uint8_t code;
    std::function<bool(DspDevice&)> get;
    std::size_t records;
  };
  const Case cases[] = {
      {dsp::kIrcDistance, [](DspDevice& d) { return IRC_Get_Distance(d, 2, 5); }, 4},
      {dsp::kIrcTrim, [](DspDevice& d) { return IRC_Get_Trim(d, 0, 7); }, 8},
      {dsp::kIrcSpkSize, [](DspDevice& d) { return IRC_Get_Spk_Size(d, 1, 1); }, 1},
      {dsp::kIrcSpkPhase, [](DspDevice& d) { return IRC_Get_Spk_Phase(d, 6, 7); }, 2},
      {dsp::kIrcSpkLevel, [](DspDevice& d) { return IRC_Get_Spk_Level(d, 0, 3); }, 4},
      {dsp::kIrcNoiseLevel, [](DspDevice& d) { return IRC_Get_Noise_Level(d, 0, 7); }, 8},
      {dsp::kIrcEq, [](DspDevice& d) { return IRC_Get_EQ(d, 3, 0, 4); }, 5},
      {dsp::kIrcSpectrum, [](DspDevice& d) { return IRC_Get_Spectrum(d, 3, 10, 14); }, 5},
      // The running analyser's levels are not decoded.
      {dsp::kIrcRta, [](DspDevice& d) { return IRC_Get_RTA(d, 0, 7); }, 0},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(c.get(*device)) << "code " << int{c.code};
    const auto messages = Take(kAutoCalNotify, c.code);
    EXPECT_EQ(messages.size(), c.records) << "code " << int{c.code};
    for (const auto& message : messages) {
      EXPECT_EQ(message.window, kAutoCalWindow);
      EXPECT_NE(message.record, nullptr);
    }
  }
  // The status of a unit that runs no calibration: "exit", progress 0.
  ASSERT_TRUE(IRC_Get(*device));
  const auto status = Take(kAutoCalNotify, 12);
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].value, 0);
}

TEST_F(CalibrationReplyTest, MeasuredValuesKeepTheirFractionsAndSigns) {
  //                                       first last  3.25 m   0.07 m
  Dispatch(kGroupDsp, {dsp::kIrcDistance, kOpReply, 6, 7, 3, 25, 0, 7});
  const auto distances = Records<IrcDistanceRecord>(kAutoCalNotify, dsp::kIrcDistance);
  ASSERT_EQ(distances.size(), 2u);
  EXPECT_EQ(distances[1].channel, 7);
  EXPECT_FLOAT_EQ(distances[0].distance, 3.25f);
  EXPECT_FLOAT_EQ(distances[1].distance, 0.07f);

  Dispatch(kGroupDsp, {dsp::kIrcTrim, kOpReply, 1, 1, 200});
  EXPECT_FLOAT_EQ(One<IrcTrimRecord>(dsp::kIrcTrim).trim, 200.0f);  // the trim byte is unsigned
  Dispatch(kGroupDsp, {dsp::kIrcSpkPhase, kOpReply, 2, 2, 0xB4});
  EXPECT_EQ(One<IrcChannelValueRecord>(dsp::kIrcSpkPhase).value, -76);
  Dispatch(kGroupDsp, {dsp::kIrcSpkLevel, kOpReply, 2, 2, 0xB4});
  EXPECT_EQ(One<IrcChannelValueRecord>(dsp::kIrcSpkLevel).value, 180);

  //                      channel first last  freq 100   Q 2.50  gain 24.5 - 18
  Dispatch(kGroupDsp, {dsp::kIrcEq, kOpReply, 3, 4, 4, 0x00, 0x64, 2, 50, 24, 5});
  const auto band = One<IrcEqRecord>(dsp::kIrcEq);
  EXPECT_EQ((std::array{band.channel, band.band, band.freq}), (std::array{3, 4, 100}));
  EXPECT_FLOAT_EQ(band.q, 2.5f);
  EXPECT_FLOAT_EQ(band.gain, 6.5f);

  //                            channel first last  1000 Hz .50  -6 dB  -.50
  Dispatch(kGroupDsp, {dsp::kIrcSpectrum, kOpReply, 2, 7, 7, 0x03, 0xE8, 50, 0xFA, 0xCE});
  const auto point = One<IrcSpectrumRecord>(dsp::kIrcSpectrum);
  EXPECT_EQ((std::array{point.channel, point.band}), (std::array{2, 7}));
  EXPECT_FLOAT_EQ(point.freq, 1000.5f);
  EXPECT_FLOAT_EQ(point.gain, -6.5f);
}

}  // namespace
}  // namespace device::testing
