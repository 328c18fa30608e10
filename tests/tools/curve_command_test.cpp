// `vexaro-cli curve`: which channel objects are read, which are refused, and what is printed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tools/cli/curve_command.h"

namespace cli {
namespace {

// A channel object as a scene profile holds it, with keys the curve does not need.
constexpr const char* kFullChannel =
    R"({"eqSize":2,"gain":-3.5,"mute":0,"delay":0.5,"phase":0,"bypass":256,)"
    R"("crossover":{"bpType":0,"hp":{"fs":80,"type":1,"slope":4,"bypass":0},)"
    R"("lp":{"fs":8000,"type":2,"slope":3,"bypass":1}},)"
    R"("eqArray":[{"freq":100,"eqFactor":5.8000001907348633,"eqGain":6,"enable":1},)"
    R"({"freq":3000,"eqFactor":0.7,"eqGain":-4.5,"enable":5}]})";

// The smallest object the curve can be drawn from.
std::string Channel(const std::string& eqSize, const std::string& band,
                    const std::string& hp = R"({"fs":80,"type":1,"slope":4,"bypass":0})") {
  return R"({"eqSize":)" + eqSize + R"(,"bypass":1,"crossover":{"hp":)" + hp +
         R"(,"lp":{"fs":8000,"type":2,"slope":4,"bypass":0}},"eqArray":[)" + band + "]}";
}
const std::string kBand = R"({"freq":1000,"eqFactor":2,"eqGain":3,"enable":0})";

TEST(CurveCommand, ReadsTheChannelFieldsItNeeds) {
  std::string error;
  const auto full = ParseCurveChannel(kFullChannel, error);
  ASSERT_TRUE(full) << error;
  ASSERT_EQ(full->bands.size(), 2u);
  EXPECT_EQ(full->bands[0].freq, 100);
  EXPECT_EQ(full->bands[0].eqFactor, 5.8f);
  EXPECT_EQ(full->bands[1].eqGain, -4.5f);
  EXPECT_EQ(full->bands[1].enable, 1);  // any non-zero value enables
  EXPECT_FALSE(full->eqBypass);         // only the low byte of "bypass" counts
  EXPECT_EQ(full->highPass.fs, 80);
  EXPECT_EQ(full->highPass.slope, 4);
  EXPECT_EQ(full->lowPass.type, 2);
  EXPECT_EQ(full->lowPass.bypass, 1);

  const auto minimal = ParseCurveChannel(Channel("1.9", kBand), error);
  ASSERT_TRUE(minimal) << error;  // 1.9 reads as 1, as the profile reader truncates
  EXPECT_TRUE(minimal->eqBypass);
  EXPECT_EQ(minimal->bands[0].enable, 0);
}

TEST(CurveCommand, RefusesWhatIsNotADrawableChannelObject) {
  const std::string band31 = [] {
    std::string bands = kBand;
    for (int i = 1; i < 32; ++i) {
      bands += "," + kBand;
    }
    return bands;
  }();
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "not JSON"},
      {"{\"eqSize\":1,", "not JSON"},
      {"[1,2]", "not a channel object"},
      {Channel("2", kBand), "eqArray has 1 bands but eqSize is 2"},
      {Channel("32", band31), "eqSize is out of range (1..31)"},
      {Channel("0", ""), "eqSize is out of range"},
      {Channel("\"1\"", kBand), "eqSize is not a number"},
      {Channel("1e300", kBand), "eqSize is out of range"},
      {R"({"eqSize":1,"bypass":0,"eqArray":[]})", "crossover is missing"},
      {Channel("1", kBand, "[]"), "crossover.hp is not an object"},
      {Channel("1", kBand, R"({"fs":80,"type":7,"slope":4,"bypass":0})"),
       "crossover.hp.type is out of range (0..3)"},
      {Channel("1", kBand, R"({"fs":1e12,"type":1,"slope":4,"bypass":0})"),
       "crossover.hp.fs is out of range"},
      {Channel("1", kBand, R"({"fs":80,"type":1,"bypass":0})"), "crossover.hp.slope is missing"},
      {Channel("1", "7"), "eqArray[0] is not an object"},
      {Channel("1", R"({"freq":0,"eqFactor":2,"eqGain":3,"enable":1})"),
       "eqArray[0].freq is out of range (1..23999)"},
      {Channel("1", R"({"freq":100,"eqFactor":0,"eqGain":3,"enable":1})"),
       "eqArray[0].eqFactor must be above 0"},
      {Channel("1", R"({"freq":100,"eqFactor":1,"eqGain":1e39,"enable":1})"),
       "eqArray[0].eqGain does not fit a 32-bit real"},
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

CommandRun RunCurve(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  CliContext context{nullptr, nullptr, 0, out, err};
  const int code = RunCurveCommand(context, args);
  return {code, out.str(), err.str()};
}

TEST(CurveCommand, PrintsTheCurveOfAFileOrRefusesIt) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vexaro_curve_test_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
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
  dsp_math::CurveArray grid{};
  dsp_math::CurveArray curve{};
  dsp_math::ComputeChannelCurve(channel->bands, channel->highPass, channel->lowPass,
                                channel->eqBypass, grid, curve);
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

  for (const auto& args : std::vector<std::vector<std::string>>{
           {bad.string()}, {(dir / "missing.json").string()}, {dir.string()}, {}}) {
    const CommandRun refused = RunCurve(args);
    EXPECT_NE(refused.exitCode, kExitOk);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_FALSE(refused.err.empty());
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cli
