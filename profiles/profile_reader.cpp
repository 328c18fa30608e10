#include "profiles/profile_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/limits.h"
#include "model/scene_name.h"
#include "platform/debug_log.h"
#include "profiles/base64.h"
#include "profiles/json_tree.h"
#include "profiles/profile_keys.h"

namespace profiles {
namespace {

using model::IntRange;

constexpr IntRange kAnyWhole{std::numeric_limits<std::int32_t>::min(),
                             std::numeric_limits<std::int32_t>::max()};
// Editors on Windows may put a UTF-8 byte-order mark first; it is not part of the JSON.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The longest key path of a profile: sceneArray[9].inputMixVolume[6][7][7], or a band's key.
constexpr std::size_t kDeepestPath = 8;

// The stored scenes carry no input threshold of their own.
enum class Threshold { kWith, kWithout };

enum class Kind { kNumber, kString, kArray, kObject };

bool IsKind(const cJSON* item, Kind kind) {
  switch (kind) {
    case Kind::kNumber:
      return cJSON_IsNumber(item) != 0;
    case Kind::kString:
      return cJSON_IsString(item) != 0 && item->valuestring != nullptr;
    case Kind::kArray:
      return cJSON_IsArray(item) != 0;
    case Kind::kObject:
      return cJSON_IsObject(item) != 0;
  }
  return false;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kNumber:
      return "a number";
    case Kind::kString:
      return "a string";
    case Kind::kArray:
      return "an array";
    case Kind::kObject:
      return "an object";
  }
  return "";
}

// A JSON number as a whole number: the fraction dropped toward zero, values beyond the 32-bit
// range held at its ends.
std::int32_t WholeNumber(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  if (value >= static_cast<double>(kAnyWhole.max)) {
    return kAnyWhole.max;
  }
  if (value <= static_cast<double>(kAnyWhole.min)) {
    return kAnyWhole.min;
  }
  return static_cast<std::int32_t>(value);
}

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

// One JSON text, and nothing but white space after it; else null, with `result` saying so.
JsonPtr Parse(std::string_view text, ReadResult& result) {
  if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
  }
  const char* end = nullptr;
  JsonPtr root(cJSON_ParseWithLengthOpts(text.data(), text.size(), &end, false));
  if (root && end != nullptr &&
      text.substr(static_cast<std::size_t>(end - text.data())).find_first_not_of(" \t\r\n") ==
          std::string_view::npos) {
    return root;
  }
  result = {ReadStatus::kNotJson, "", "is not JSON"};
  return nullptr;
}

// Walks a parsed profile, writing each value into the model as soon as it is read, and records
// the first problem with the key path where it was found.
class Reader {
 public:
  explicit Reader(ReadResult& result) : mResult(result) { mPath.reserve(kDeepestPath); }

  void SceneProfile(const cJSON* root, model::SceneRecord& working) {
    RootObject(root) && ModelNumber(root) && Volumes(root, working) &&
        SceneSettings(root, working, Threshold::kWith);
  }

  void WholeProfile(const cJSON* root, model::ParameterModel& model) {
    RootObject(root) && ModelNumber(root) && Volumes(root, model.workingScene) &&
        SceneNames(root, model) && CurrentProfile(root, model.workingScene) &&
        SceneArray(root, model);
  }

  void ChannelObject(const cJSON* root, int output, model::OutputChannel& channel) {
    RootObject(root) && Channel(root, output, channel);
  }

 private:
  bool RootObject(const cJSON* root) {
    return IsKind(root, Kind::kObject) || Fail("the file is not a JSON object");
  }

  // "model": must be a number, and this unit's.
  bool ModelNumber(const cJSON* root) {
    const Step step(*this, key::kModel);
    const cJSON* item = Find(root, key::kModel, Kind::kNumber);
    if (item == nullptr) {
      return false;
    }
    if (WholeNumber(item->valuedouble) != kProfileModel) {
      mResult.status = ReadStatus::kOtherModel;
      mResult.keyPath = Path();
      mResult.reason =
          "is " + FormatNumber(item->valuedouble) + ", not " + std::to_string(kProfileModel);
      return false;
    }
    return true;
  }

  // The unit-wide values, which both formats keep at the top.
  bool Volumes(const cJSON* root, model::SceneRecord& working) {
    return Whole(root, key::kMainVolume, kAnyWhole, working.mainVolume) &&
           Whole(root, key::kSubVolume, kAnyWhole, working.subVolume) &&
           Whole(root, key::kMainVolumeMute, kAnyWhole, working.mainVolumeMute);
  }

  bool SceneNames(const cJSON* root, model::ParameterModel& model) {
    return Elements<model::kStoredSceneCount>(
        root, key::kSceneName, [&](const cJSON* item, std::size_t index) {
          if (!Is(item, Kind::kString)) {
            return false;
          }
          model::SceneNameBytes bytes{};
          DecodeBase64(item->valuestring, bytes);
          model.sceneNames[index] = model::SceneNameFromUtf16Le(bytes);
          return true;
        });
  }

  bool CurrentProfile(const cJSON* root, model::SceneRecord& working) {
    const Step step(*this, key::kCurrentProfile);
    const cJSON* object = Find(root, key::kCurrentProfile, Kind::kObject);
    return object != nullptr && SceneSettings(object, working, Threshold::kWith);
  }

  bool SceneArray(const cJSON* root, model::ParameterModel& model) {
    return Elements<model::kStoredSceneCount>(
        root, key::kSceneArray, [&](const cJSON* item, std::size_t index) {
          return Is(item, Kind::kObject) &&
                 SceneSettings(item, model.storedScenes[index], Threshold::kWithout);
        });
  }

  bool SceneSettings(const cJSON* object, model::SceneRecord& scene, Threshold threshold) {
    return Channels(object, scene) && Routing(object, scene) && MixLevels(object, scene) &&
           WholesMember(object, key::kOutputs, model::kRoleIndex, scene.outputs) &&
           WholesMember(object, key::kLinkOutputs, model::kLinkPartner, scene.linkOutputs) &&
           WholesMember(object, key::kShowChEqualizer, kAnyWhole, scene.showChEqualizer) &&
           Whole(object, key::kCurrChannel, model::kOutputIndex, scene.currChannel) &&
           Whole(object, key::kLinkMode, kAnyWhole, scene.linkMode) &&
           Whole(object, key::kLockMode, kAnyWhole, scene.lockMode) &&
           (threshold == Threshold::kWithout ||
            Whole(object, key::kInputThreshold, kAnyWhole, scene.inputThreshold));
  }

  bool Channels(const cJSON* object, model::SceneRecord& scene) {
    return Elements<model::kOutputCount>(
        object, key::kChannels, [&](const cJSON* item, std::size_t c) {
          return Is(item, Kind::kObject) && Channel(item, static_cast<int>(c), scene.channels[c]);
        });
  }

  bool Routing(const cJSON* object, model::SceneRecord& scene) {
    return Elements<model::kSourceCount>(object, key::kInputs,
                                         [&](const cJSON* masks, std::size_t source) {
                                           return Wholes(masks, kAnyWhole, scene.inputs[source]);
                                         });
  }

  bool MixLevels(const cJSON* object, model::SceneRecord& scene) {
    return Elements<model::kSourceCount>(
        object, key::kInputMixVolume, [&](const cJSON* inputs, std::size_t source) {
          return EachElement<model::kMixInputSlots>(
              inputs, [&](const cJSON* levels, std::size_t input) {
                return Wholes(levels, kAnyWhole, scene.inputMixVolume[source][input]);
              });
        });
  }

  bool Channel(const cJSON* object, int output, model::OutputChannel& channel) {
    std::int32_t value = 0;
    if (!Whole(object, key::kEqSize, model::BandCountRange(output), value)) {
      return false;
    }
    channel.SetEqSize(value);
    // The trim is kept in whole dB.
    if (!Whole(object, key::kGain, kAnyWhole, value)) {
      return false;
    }
    channel.gain = static_cast<float>(value);
    if (!Whole(object, key::kMute, kAnyWhole, channel.mute) ||
        !Real(object, key::kDelay, channel.delay) ||
        !Whole(object, key::kPhase, kAnyWhole, channel.phase) ||
        !Whole(object, key::kBypass, kAnyWhole, value)) {
      return false;
    }
    channel.bypass = static_cast<std::uint8_t>(value & 0xFF);
    return Crossover(object, channel.crossover) && Bands(object, channel);
  }

  // One step of the key path, taken back when the scope ends.
  struct PathStep {
    const char* key = nullptr;  // null for an array element
    std::size_t index = 0;
  };
  class Step {
   public:
    Step(Reader& reader, const char* key) : mReader(reader) { reader.mPath.push_back({key, 0}); }
    Step(Reader& reader, std::size_t index) : mReader(reader) {
      reader.mPath.push_back({nullptr, index});
    }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;
    ~Step() { mReader.mPath.pop_back(); }

   private:
    Reader& mReader;
  };

  std::string Path() const {
    std::string path;
    for (const PathStep& step : mPath) {
      if (step.key != nullptr) {
        path += path.empty() ? "" : ".";
        path += step.key;
      } else {
        path += "[" + std::to_string(step.index) + "]";
      }
    }
    return path;
  }

  // Records a structure error at the current path; always false.
  bool Fail(std::string reason) {
    if (mResult.ok()) {
      mResult.status = ReadStatus::kBadStructure;
      mResult.keyPath = Path();
      mResult.reason = std::move(reason);
    }
    return false;
  }

  bool Is(const cJSON* item, Kind kind) {
    return IsKind(item, kind) || Fail(std::string("is not ") + KindName(kind));
  }

  // Member `key` of `object` (the current path already ends with it), which must be of `kind`.
  const cJSON* Find(const cJSON* object, const char* key, Kind kind) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (item == nullptr) {
      Fail("is missing");
      return nullptr;
    }
    return Is(item, kind) ? item : nullptr;
  }

  bool StoreWhole(const cJSON* item, IntRange range, std::int32_t& out) {
    if (!Is(item, Kind::kNumber)) {
      return false;
    }
    const std::int32_t value = WholeNumber(item->valuedouble);
    if (!range.Contains(value)) {
      return Fail("is " + FormatNumber(item->valuedouble) + ", outside " +
                  std::to_string(range.min) + ".." + std::to_string(range.max));
    }
    out = value;
    return true;
  }

  bool Whole(const cJSON* object, const char* key, IntRange range, std::int32_t& out) {
    const Step step(*this, key);
    const cJSON* item = Find(object, key, Kind::kNumber);
    return item != nullptr && StoreWhole(item, range, out);
  }

  // A 32-bit real: a number too large for one would turn into infinity, which no file can hold.
  bool Real(const cJSON* object, const char* key, float& out) {
    const Step step(*this, key);
    const cJSON* item = Find(object, key, Kind::kNumber);
    if (item == nullptr) {
      return false;
    }
    const auto value = static_cast<float>(item->valuedouble);
    if (!std::isfinite(value)) {
      return Fail("is " + FormatNumber(item->valuedouble) + ", too large for a 32-bit real");
    }
    out = value;
    return true;
  }

  // `array` (the current path ends with it) must be an array of exactly N elements; each is
  // handed to `read` with its index on the path.
  template <std::size_t N, typename Read>
  bool EachElement(const cJSON* array, Read read) {
    if (!Is(array, Kind::kArray)) {
      return false;
    }
    const int count = cJSON_GetArraySize(array);
    if (count != static_cast<int>(N)) {
      return Fail("has " + std::to_string(count) + " elements, not " + std::to_string(N));
    }
    std::size_t index = 0;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
      const Step step(*this, index);
      if (!read(item, index)) {
        return false;
      }
      ++index;
    }
    return true;
  }

  template <std::size_t N, typename Read>
  bool Elements(const cJSON* object, const char* key, Read read) {
    const Step step(*this, key);
    const cJSON* array = Find(object, key, Kind::kArray);
    return array != nullptr && EachElement<N>(array, read);
  }

  template <std::size_t N>
  bool Wholes(const cJSON* array, IntRange range, std::array<std::int32_t, N>& out) {
    return EachElement<N>(array, [&](const cJSON* item, std::size_t index) {
      return StoreWhole(item, range, out[index]);
    });
  }

  template <std::size_t N>
  bool WholesMember(const cJSON* object, const char* key, IntRange range,
                    std::array<std::int32_t, N>& out) {
    const Step step(*this, key);
    const cJSON* array = Find(object, key, Kind::kArray);
    return array != nullptr && Wholes(array, range, out);
  }

  bool Filter(const cJSON* crossover, const char* key, model::CrossoverFilter& filter) {
    const Step step(*this, key);
    const cJSON* object = Find(crossover, key, Kind::kObject);
    std::int32_t value = 0;
    if (object == nullptr || !Whole(object, key::kFs, kAnyWhole, value)) {
      return false;
    }
    filter.SetFs(value);
    if (!Whole(object, key::kType, kAnyWhole, value)) {
      return false;
    }
    filter.SetType(value);
    if (!Whole(object, key::kSlope, kAnyWhole, value)) {
      return false;
    }
    filter.SetSlope(value);
    // The filter's bypass follows its slope; the file's copy must still be a number.
    return Whole(object, key::kBypass, kAnyWhole, value);
  }

  bool Crossover(const cJSON* channel, model::Crossover& crossover) {
    const Step step(*this, key::kCrossover);
    const cJSON* object = Find(channel, key::kCrossover, Kind::kObject);
    return object != nullptr && Whole(object, key::kBpType, kAnyWhole, crossover.bpType) &&
           Filter(object, key::kHighPass, crossover.hp) &&
           Filter(object, key::kLowPass, crossover.lp);
  }

  bool Band(const cJSON* object, model::EqBand& band) {
    std::int32_t enable = 0;
    if (!Whole(object, key::kFreq, kAnyWhole, band.freq) ||
        !Real(object, key::kEqFactor, band.eqFactor) || !Real(object, key::kEqGain, band.eqGain) ||
        !Whole(object, key::kEnable, kAnyWhole, enable)) {
      return false;
    }
    band.enable = enable != 0 ? 1 : 0;
    return true;
  }

  bool Bands(const cJSON* object, model::OutputChannel& channel) {
    const Step step(*this, key::kEqArray);
    const cJSON* array = Find(object, key::kEqArray, Kind::kArray);
    if (array == nullptr) {
      return false;
    }
    const int count = cJSON_GetArraySize(array);
    if (count != channel.eqSize()) {
      return Fail("has " + std::to_string(count) + " bands, but eqSize is " +
                  std::to_string(channel.eqSize()));
    }
    const auto bands = channel.Bands();
    std::size_t index = 0;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
      const Step element(*this, index);
      if (!Is(item, Kind::kObject) || !Band(item, bands[index])) {
        return false;
      }
      ++index;
    }
    return true;
  }

  ReadResult& mResult;
  std::vector<PathStep> mPath;
};

// A failed load leaves the working record at its defaults. The unit identity stays: it tells
// which unit is connected, and a file cannot change that.
void ResetSettings(model::SceneRecord& working) {
  const std::int32_t modelNumber = working.modelNumber;
  const std::int32_t masterVersion = working.masterVersion;
  const std::int32_t slaveVersion = working.slaveVersion;
  working.ResetToDefaults();
  working.modelNumber = modelNumber;
  working.masterVersion = masterVersion;
  working.slaveVersion = slaveVersion;
}

// Logs the outcome of a profile read that got past the parser and applies the reset rule.
void Finish(const ReadResult& result, model::SceneRecord& working) {
  switch (result.status) {
    case ReadStatus::kOk:
      DebugLogA("read profile file ok\n");
      break;
    case ReadStatus::kBadStructure:
      DebugLogA("read profile file error! error\n");
      [[fallthrough]];
    case ReadStatus::kOtherModel:
      DebugLogA("read profile file error! error1\n");
      ResetSettings(working);
      break;
    case ReadStatus::kCannotOpen:
    case ReadStatus::kNotJson:
      break;
  }
}

}  // namespace

std::string ReadResult::Describe() const {
  return keyPath.empty() ? reason : keyPath + " " + reason;
}

ReadResult ReadSceneProfile(std::string_view text, model::SceneRecord& working) {
  ReadResult result;
  if (const JsonPtr root = Parse(text, result)) {
    Reader(result).SceneProfile(root.get(), working);
    Finish(result, working);
  }
  return result;
}

ReadResult ReadWholeProfile(std::string_view text, model::ParameterModel& model) {
  ReadResult result;
  if (const JsonPtr root = Parse(text, result)) {
    Reader(result).WholeProfile(root.get(), model);
    Finish(result, model.workingScene);
  }
  return result;
}

ReadResult ReadChannelObject(std::string_view text, int output, model::OutputChannel& channel) {
  ReadResult result;
  if (const JsonPtr root = Parse(text, result)) {
    Reader(result).ChannelObject(root.get(), output, channel);
  }
  return result;
}

}  // namespace profiles
