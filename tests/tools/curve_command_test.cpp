// `vexaro-cli curve`: which channel objects are read (by the profile reader's rules), which are
// refused, and what is printed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "dsp_math/channel_curve.h"
#include "model/channel_curve.h"
#include "tests/platform/temp_folder.h"
#include "tools/cli/curve_command.h"

namespace cli {
namespace {

// A channel object as a scene profile holds it.
constexpr const char* kFullChannel =
    R"({"eqSize":2,"gain":-3.5,"mute":0,"delay":0.5,"phase":0,"bypass":256,)"
    R"("crossover":{"bpType":0,"hp":{"fs":80,"type":1,"slope":4,"bypass":0},)"
    R"("lp":{"fs":8000,"type":2,"slope":3,"bypass":1}},)"
    R"("eqArray":[{"freq":100,"eqFactor":5.8000001907348633,"eqGain":6,"enable":1},)"
    R"({"freq":3000,"eqFactor":0.7,"eqGain":-4.5,"enable":5}]})";

std::string Channel(const std::string& eqSize, const std::string& bands,
                    const std::string& hp = R"({"fs":80,"type":1,"slope":4,"bypass":0})") {
  return R"({"eqSize":)" + eqSize + R"(,"gain":0,"mute":0,"delay":0,"phase":0,"bypass":1,)" +
         R"("crossover":{"bpType":3,"hp":)" + hp +
         R"(,"lp":{"fs":8000,"type":2,"slope":4,"bypass":0}},"eqArray":[)" + bands + "]}";
}
const std::string kBand = R"({"freq":1000,"eqFactor":2,"eqGain":3,"enable":0})";

TEST(CurveCommand, ReadsChannelObjectsAsTheProfileReaderDoes) {
  std::string error;
  const auto full = ParseCurveChannel(kFullChannel, error);
  ASSERT_TRUE(full) << error;
  ASSERT_EQ(full->eqSize(), 2);
  EXPECT_EQ(full->Bands()[0].freq, 100);
  EXPECT_EQ(full->Bands()[0].eqFactor, 5.8f);
  EXPECT_EQ(full->Bands()[1].eqGain, -4.5f);
  EXPECT_EQ(full->Bands()[1].enable, 1);  // any non-zero value enables
  EXPECT_EQ(full->bypass, 0);             // only the low byte of "bypass" counts
  EXPECT_EQ(full->crossover.hp.fs(), 80);
  EXPECT_EQ(full->crossover.lp.type(), 2);
  EXPECT_EQ(full->crossover.lp.bypass(), 0);  // follows the slope, not the file's copy

  // Objects a profile may hold: a bypassed filter of an unknown type, a disabled band with Q 0 or
  // at 0 Hz, an eqSize with a fraction. Each gives a curve of real numbers.
  for (const std::string& text :
       {Channel("1", kBand, R"({"fs":80,"type":4,"slope":0,"bypass":1})"),
        Channel("1", R"({"freq":1000,"eqFactor":0,"eqGain":3,"enable":0})"),
        Channel("1", R"({"freq":0,"eqFactor":2,"eqGain":3,"enable":0})"), Channel("1.9", kBand)}) {
    const auto channel = ParseCurveChannel(text, error);
    ASSERT_TRUE(channel) << text << ": " << error;
    const model::CurveInput input = model::CurveInputOf(*channel);
    dsp_math::CurveArray grid{};
    dsp_math::CurveArray curve{};
    dsp_math::ComputeChannelCurve(input.Bands(), input.highPass, input.lowPass, input.eqBypass,
                                  grid, curve);
    EXPECT_TRUE(std::isfinite(curve[256])) << text;
  }
}

TEST(CurveCommand, RefusesWhatIsNoChannelObjectAndSaysWhere) {
  std::string band32 = kBand;
  for (int i = 1; i < 32; ++i) {
    band32 += "," + kBand;
  }
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "is not JSON"},
      {"{\"eqSize\":1,", "is not JSON"},
      {"[1,2]", "not a JSON object"},
      {Channel("2", kBand), "eqArray has 1 bands, but eqSize is 2"},
      {Channel("32", band32), "eqSize is 32, outside 1..31"},
      {Channel("0", ""), "eqSize is 0, outside 1..31"},
      {Channel("\"1\"", kBand), "eqSize is not a number"},
      {Channel("1e300", kBand), "eqSize is 1e+300, outside"},
      {R"({"eqSize":1,"gain":0,"mute":0,"delay":0,"phase":0,"bypass":0,"eqArray":[]})",
       "crossover is missing"},
      {Channel("1", kBand, "[]"), "crossover.hp is not an object"},
      {Channel("1", kBand, R"({"fs":80,"type":1,"bypass":0})"), "crossover.hp.slope is missing"},
      {Channel("1", "7"), "eqArray[0] is not an object"},
      {Channel("1", R"({"freq":100,"eqFactor":1,"eqGain":1e39,"enable":1})"),
       "eqArray[0].eqGain is 1e+39, too large for a 32-bit real"},
      {Channel("1", R"({"freq":100,"eqFactor":1,"eqGain":null,"enable":1})"),
       "eqArray[0].eqGain is not a number"},
  };
  for (const auto& [text, message] : cases) {
    std::string error;
    EXPECT_FALSE(ParseCurveChannel(text, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << text << " -> " << error;
  }
}

struct CommandRun {
  int exitCode = 0;
  std::string out;
  std::string err;
};

CommandRun RunCurve(const std::vector<std::string>& args, bool json = false) {
  std::ostringstream out;
  std::ostringstream err;
  CliContext context{nullptr, nullptr, 0, out, err, json};
  const int code = RunCurveCommand(context, args);
  return {code, out.str(), err.str()};
}

TEST(CurveCommand, PrintsTheCurveOfAFileOrRefusesIt) {
  const platform::testing::TempFolder folder("vexaro_curve_test_");
  const std::filesystem::path& dir = folder.path();
  const auto good = dir / "channel.json";
  const auto bad = dir / "bad.json";
  std::ofstream(good) << kFullChannel;
  std::ofstream(bad) << R"({"eqSize":40})";

  const CommandRun run = RunCurve({good.string()});
  EXPECT_EQ(run.exitCode, kExitOk) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  std::vector<std::string> all;
  while (std::getline(lines, line)) {
    all.push_back(line);
  }
  ASSERT_EQ(all.size(), 512u);
  EXPECT_EQ(all.front().substr(0, 7), "1.0199 ");
  EXPECT_EQ(all.back().substr(0, 11), "48000.0000 ");
  // Each line is the grid point and the channel's curve there, rounded to the printed decimals.
  std::string error;
  const auto channel = ParseCurveChannel(kFullChannel, error);
  ASSERT_TRUE(channel);
  const model::CurveInput input = model::CurveInputOf(*channel);
  dsp_math::CurveArray grid{};
  dsp_math::CurveArray curve{};
  dsp_math::ComputeChannelCurve(input.Bands(), input.highPass, input.lowPass, input.eqBypass, grid,
                                curve);
  const std::regex format(R"(-?\d+\.\d{4} -?\d+\.\d{6})");
  for (std::size_t k = 0; k < all.size(); ++k) {
    ASSERT_TRUE(std::regex_match(all[k], format)) << all[k];
    std::istringstream fields(all[k]);
    double frequency = 0.0;
    double db = 0.0;
    fields >> frequency >> db;
    EXPECT_NEAR(frequency, grid[k], 0.5e-4);
    EXPECT_NEAR(db, curve[k], 0.5e-6);
  }
  // With --json: one object with both arrays on one line.
  const CommandRun json = RunCurve({good.string()}, true);
  EXPECT_EQ(json.exitCode, kExitOk);
  EXPECT_TRUE(json.out.starts_with("{\"frequency\":[1.01"));
  EXPECT_NE(json.out.find("],\"db\":["), std::string::npos);
  EXPECT_EQ(json.out.find('\n'), json.out.size() - 1);

  for (const auto& args : std::vector<std::vector<std::string>>{
           {bad.string()}, {(dir / "missing.json").string()}, {dir.string()}, {}}) {
    const CommandRun refused = RunCurve(args);
    EXPECT_NE(refused.exitCode, kExitOk);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_FALSE(refused.err.empty());
  }
}

}  // namespace
}  // namespace cli
