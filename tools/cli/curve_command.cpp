#include "tools/cli/curve_command.h"

#include <cJSON.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "dsp_math/crossover_design.h"

namespace cli {
namespace {

// The most bands any output channel has.
constexpr int kMaxBands = 31;
// A channel object is a few kilobytes; anything far larger is not one.
constexpr std::streamsize kMaxFileBytes = 1 << 20;

using JsonPtr = std::unique_ptr<cJSON, decltype(&cJSON_Delete)>;

// Reads the members of one JSON object, recording the first problem with the key's path.
class ObjectReader {
 public:
  ObjectReader(const cJSON* object, std::string path, std::string& error)
      : object_(object), path_(std::move(path)), error_(error) {}

  bool ok() const { return error_.empty(); }

  const cJSON* Object(const char* key) {
    const cJSON* item = Member(key);
    if (item != nullptr && !cJSON_IsObject(item)) {
      Fail(key, "is not an object");
      return nullptr;
    }
    return item;
  }

  const cJSON* Array(const char* key) {
    const cJSON* item = Member(key);
    if (item != nullptr && !cJSON_IsArray(item)) {
      Fail(key, "is not an array");
      return nullptr;
    }
    return item;
  }

  // An integer field: the fraction is dropped toward zero, as the profile reader does; values
  // outside [lo, hi] are refused.
  int Integer(const char* key, double lo = INT_MIN, double hi = INT_MAX) {
    const double value = Number(key);
    if (ok() && !(std::trunc(value) >= lo && std::trunc(value) <= hi)) {
      Fail(key, "is out of range (" + Format(lo) + ".." + Format(hi) + ")");
    }
    return ok() ? static_cast<int>(std::trunc(value)) : 0;
  }

  // A 32-bit real field.
  float Real(const char* key) {
    const double value = Number(key);
    if (ok() && std::abs(value) > FLT_MAX) {
      Fail(key, "does not fit a 32-bit real");
    }
    return ok() ? static_cast<float>(value) : 0.0f;
  }

  void Fail(const char* key, const std::string& what) {
    if (ok()) {
      error_ = path_ + key + " " + what;
    }
  }

 private:
  static std::string Format(double v) { return std::to_string(static_cast<long long>(v)); }

  const cJSON* Member(const char* key) {
    if (!ok()) {
      return nullptr;
    }
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object_, key);
    if (item == nullptr) {
      Fail(key, "is missing");
    }
    return item;
  }

  double Number(const char* key) {
    const cJSON* item = Member(key);
    if (item == nullptr) {
      return 0.0;
    }
    if (!cJSON_IsNumber(item)) {
      Fail(key, "is not a number");
      return 0.0;
    }
    return item->valuedouble;
  }

  const cJSON* object_;
  std::string path_;
  std::string& error_;
};

dsp_math::CurveFilter ReadFilter(const cJSON* object, const std::string& path, std::string& error) {
  ObjectReader reader(object, path, error);
  dsp_math::CurveFilter filter;
  filter.fs = reader.Integer("fs");
  // Other family codes would design undamped sections whose curve has no meaning.
  filter.type =
      reader.Integer("type", dsp_math::kCrossoverSingleSection, dsp_math::kCrossoverBessel);
  filter.slope = reader.Integer("slope");
  filter.bypass = reader.Integer("bypass");
  return filter;
}

dsp_math::CurveBand ReadBand(const cJSON* object, const std::string& path, std::string& error) {
  ObjectReader reader(object, path, error);
  dsp_math::CurveBand band;
  // A centre at 0 Hz, at or above Nyquist, or a Q of 0 or below has no defined response.
  band.freq = reader.Integer("freq", 1, dsp_math::kSampleRate / 2 - 1);
  band.eqFactor = reader.Real("eqFactor");
  if (reader.ok() && !(band.eqFactor > 0.0f)) {
    reader.Fail("eqFactor", "must be above 0");
  }
  band.eqGain = reader.Real("eqGain");
  band.enable = reader.Integer("enable") != 0 ? 1 : 0;
  return band;
}

}  // namespace

std::optional<CurveChannel> ParseCurveChannel(std::string_view text, std::string& error) {
  error.clear();
  const JsonPtr root(cJSON_ParseWithLength(text.data(), text.size()), cJSON_Delete);
  if (!root) {
    error = "not JSON";
    return std::nullopt;
  }
  if (!cJSON_IsObject(root.get())) {
    error = "not a channel object";
    return std::nullopt;
  }

  ObjectReader channelReader(root.get(), "", error);
  CurveChannel channel;
  const int eqSize = channelReader.Integer("eqSize", 1, kMaxBands);
  // The channel's bypass is a byte; any non-zero value bypasses its EQ.
  channel.eqBypass = (channelReader.Integer("bypass") & 0xFF) != 0;
  const cJSON* crossover = channelReader.Object("crossover");
  const cJSON* eqArray = channelReader.Array("eqArray");
  if (!channelReader.ok()) {
    return std::nullopt;
  }
  if (cJSON_GetArraySize(eqArray) != eqSize) {
    error = "eqArray has " + std::to_string(cJSON_GetArraySize(eqArray)) + " bands but eqSize is " +
            std::to_string(eqSize);
    return std::nullopt;
  }

  ObjectReader crossoverReader(crossover, "crossover.", error);
  const cJSON* hp = crossoverReader.Object("hp");
  const cJSON* lp = crossoverReader.Object("lp");
  if (!crossoverReader.ok()) {
    return std::nullopt;
  }
  channel.highPass = ReadFilter(hp, "crossover.hp.", error);
  if (!error.empty()) {
    return std::nullopt;
  }
  channel.lowPass = ReadFilter(lp, "crossover.lp.", error);
  if (!error.empty()) {
    return std::nullopt;
  }

  int index = 0;
  const cJSON* item = nullptr;
  cJSON_ArrayForEach(item, eqArray) {
    const std::string path = "eqArray[" + std::to_string(index++) + "]";
    if (!cJSON_IsObject(item)) {
      error = path + " is not an object";
      return std::nullopt;
    }
    channel.bands.push_back(ReadBand(item, path + ".", error));
    if (!error.empty()) {
      return std::nullopt;
    }
  }
  return channel;
}

void WriteCurve(std::ostream& out, const dsp_math::CurveArray& grid,
                const dsp_math::CurveArray& curve) {
  char line[96];
  for (std::size_t k = 0; k < grid.size(); ++k) {
    std::snprintf(line, sizeof line, "%.4f %.6f\n", grid[k], curve[k]);
    out << line;
  }
}

int RunCurveCommand(CliContext& context, CommandArgs args) {
  if (args.size() != 1) {
    context.err << "vexaro-cli: usage: curve FILE.json\n";
    return kExitUsage;
  }
  const std::string& path = args[0];
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    context.err << "vexaro-cli: cannot open '" << path << "'\n";
    return kExitFailure;
  }
  std::string text;
  text.resize(static_cast<std::size_t>(kMaxFileBytes) + 1);
  file.read(text.data(), kMaxFileBytes + 1);
  if (file.bad()) {
    context.err << "vexaro-cli: cannot read '" << path << "'\n";
    return kExitFailure;
  }
  if (file.gcount() > kMaxFileBytes) {
    context.err << "vexaro-cli: '" << path << "' is too large for a channel object\n";
    return kExitFailure;
  }
  text.resize(static_cast<std::size_t>(file.gcount()));

  std::string error;
  const auto channel = ParseCurveChannel(text, error);
  if (!channel) {
    context.err << "vexaro-cli: '" << path << "' is not a channel object: " << error << '\n';
    return kExitFailure;
  }
  dsp_math::CurveArray grid{};
  dsp_math::CurveArray curve{};
  dsp_math::ComputeChannelCurve(channel->bands, channel->highPass, channel->lowPass,
                                channel->eqBypass, grid, curve);
  WriteCurve(context.out, grid, curve);
  return kExitOk;
}

}  // namespace cli
