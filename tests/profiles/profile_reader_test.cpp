// What the profile readers accept, what they refuse with which message, and what a refusal
// leaves in the model.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/scene_rules.h"
#include "profiles/profile_files.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_writer.h"
#include "tests/profiles/profile_test_support.h"

namespace profiles {
namespace {

using testing::Edited;
using testing::KeyPath;

bool AllWithinStorage(const model::ParameterModel& model) {
  bool within = model::IsWithinStorage(model.workingScene);
  for (const model::SceneRecord& scene : model.storedScenes) {
    within = within && model::IsWithinStorage(scene);
  }
  return within;
}

std::string DefaultsText() {
  return SceneProfileText(model::SceneRecord{}).value();
}

TEST(ProfileReader, ProfilesSurviveARoundTripByteForByte) {
  const auto tuning = testing::TuningModel();
  const std::string whole = WholeProfileText(*tuning).value();
  auto loaded = std::make_unique<model::ParameterModel>();
  ASSERT_TRUE(ReadWholeProfile(whole, *loaded).ok());
  EXPECT_EQ(WholeProfileText(*loaded).value(), whole);
  EXPECT_EQ(loaded->sceneNames, tuning->sceneNames);
  EXPECT_EQ(loaded->storedScenes[9].channels[7], tuning->storedScenes[9].channels[7]);

  const std::string scene = SceneProfileText(tuning->storedScenes[4]).value();
  model::SceneRecord working;
  ASSERT_TRUE(ReadSceneProfile(scene, working).ok());
  EXPECT_EQ(SceneProfileText(working).value(), scene);
  EXPECT_EQ(working.channels[3], tuning->storedScenes[4].channels[3]);
}

TEST(ProfileReader, ReadsWhatIsWrittenInOtherSpellings) {
  const std::string text = DefaultsText();
  const std::vector<std::pair<std::string, KeyPath>> accepted = {
      {"23.9", {"model"}},                                // whole numbers drop their fraction
      {"-0", {"channels", 0, "delay"}},                   // negative zero
      {"4", {"channels", 0, "crossover", "hp", "type"}},  // the setter stores 1
      {"0", {"channels", 0, "eqArray", 0, "eqFactor"}},
      {"7", {"channels", 0, "eqArray", 0, "enable"}},
      {"256", {"channels", 0, "bypass"}},  // only the low byte is kept
      {"[1,2]", {"model_name"}},           // never read
  };
  for (const auto& [value, path] : accepted) {
    model::SceneRecord scene;
    const ReadResult result = ReadSceneProfile(Edited(text, path, value), scene);
    EXPECT_TRUE(result.ok()) << value << ": " << result.Describe();
  }
  // A whole number beyond the 32-bit range is held at its end (cJSON would print 1e309 as null,
  // so it is put into the text by hand).
  std::string huge = text;
  huge.replace(huge.find("\"mainVolume\":-5"), 15, "\"mainVolume\":1e309");
  model::SceneRecord scene;
  ASSERT_TRUE(ReadSceneProfile(huge, scene).ok());
  EXPECT_EQ(scene.mainVolume, 2147483647);
  ASSERT_TRUE(ReadSceneProfile(Edited(text, {"channels", 0, "bypass"}, "256"), scene).ok());
  EXPECT_EQ(scene.channels[0].bypass, 0);
  ASSERT_TRUE(
      ReadSceneProfile(Edited(text, {"channels", 0, "crossover", "hp", "type"}, "4"), scene).ok());
  EXPECT_EQ(scene.channels[0].crossover.hp.type(), 1);
  // A byte-order mark and trailing white space are tolerated, a second value is not.
  EXPECT_TRUE(ReadSceneProfile("\xEF\xBB\xBF" + text + " \r\n", scene).ok());
  EXPECT_EQ(ReadSceneProfile(text + "{}", scene).status, ReadStatus::kNotJson);
  // With duplicate keys the first one counts.
  EXPECT_TRUE(
      ReadSceneProfile(Edited(text, {"model"}, "22").replace(1, 0, "\"model\":23,"), scene).ok());
}

struct Refusal {
  ProfileKind kind;
  KeyPath path;
  std::string replacement;  // empty: the key or element is removed
  ReadStatus status;
  std::string where;   // the reported key path
  std::string reason;  // a part of the reported reason
};

class ProfileRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(ProfileRefusal, NamesTheKeyResetsTheWorkingRecordAndStaysWithinStorage) {
  const Refusal& refusal = GetParam();
  const auto tuning = testing::TuningModel();
  tuning->workingScene.modelNumber = 23;  // a connected unit
  auto target = std::make_unique<model::ParameterModel>(*tuning);
  ReadResult result;
  if (refusal.kind == ProfileKind::kScene) {
    const std::string text = DefaultsText();
    result =
        ReadSceneProfile(Edited(text, refusal.path, refusal.replacement), target->workingScene);
  } else {
    const std::string text = WholeProfileText(*std::make_unique<model::ParameterModel>()).value();
    result = ReadWholeProfile(Edited(text, refusal.path, refusal.replacement), *target);
  }
  EXPECT_EQ(result.status, refusal.status) << result.Describe();
  EXPECT_EQ(result.keyPath, refusal.where);
  EXPECT_NE(result.reason.find(refusal.reason), std::string::npos) << result.reason;
  EXPECT_EQ(ReadMessageKey(refusal.kind, result.status), refusal.status == ReadStatus::kOtherModel
                                                             ? L"${software_not_match}"
                                                             : L"${profile_load_error}");
  EXPECT_EQ(SceneProfileText(target->workingScene).value(), DefaultsText());
  EXPECT_EQ(target->workingScene.modelNumber, 23);
  EXPECT_TRUE(AllWithinStorage(*target));
}

using KS = ProfileKind;
constexpr ReadStatus kBad = ReadStatus::kBadStructure;

INSTANTIATE_TEST_SUITE_P(
    EveryLevel, ProfileRefusal,
    ::testing::Values(
        Refusal{KS::kScene, {"model"}, "22", ReadStatus::kOtherModel, "model", "is 22, not 23"},
        Refusal{KS::kWhole, {"model"}, "24", ReadStatus::kOtherModel, "model", "is 24"},
        Refusal{KS::kScene, {"model"}, "", kBad, "model", "is missing"},
        Refusal{KS::kScene, {"model"}, "\"23\"", kBad, "model", "is not a number"},
        Refusal{KS::kScene, {"subVolume"}, "null", kBad, "subVolume", "is not a number"},
        Refusal{KS::kScene, {"channels"}, "{}", kBad, "channels", "is not an array"},
        Refusal{KS::kScene, {"channels", 7}, "", kBad, "channels", "has 7 elements, not 8"},
        Refusal{KS::kScene, {"channels", 3}, "[]", kBad, "channels[3]", "is not an object"},
        Refusal{KS::kScene,
                {"channels", 0, "eqArray", 30},
                "",
                kBad,
                "channels[0].eqArray",
                "has 30 bands, but eqSize is 31"},
        Refusal{KS::kScene,
                {"channels", 0, "eqSize"},
                "32",
                kBad,
                "channels[0].eqSize",
                "is 32, outside 1..31"},
        Refusal{KS::kScene,
                {"channels", 6, "eqSize"},
                "31",
                kBad,
                "channels[6].eqSize",
                "outside 1..11"},
        Refusal{KS::kScene, {"channels", 2, "eqSize"}, "0", kBad, "channels[2].eqSize", "outside"},
        Refusal{KS::kScene,
                {"channels", 1, "delay"},
                "1e39",
                kBad,
                "channels[1].delay",
                "too large for a 32-bit real"},
        Refusal{KS::kScene,
                {"channels", 1, "crossover"},
                "",
                kBad,
                "channels[1].crossover",
                "is missing"},
        Refusal{KS::kScene,
                {"channels", 1, "crossover", "lp"},
                "[]",
                kBad,
                "channels[1].crossover.lp",
                "is not an object"},
        Refusal{KS::kScene,
                {"channels", 1, "crossover", "hp", "bypass"},
                "",
                kBad,
                "channels[1].crossover.hp.bypass",
                "is missing"},
        Refusal{KS::kScene,
                {"channels", 5, "eqArray", 4},
                "4",
                kBad,
                "channels[5].eqArray[4]",
                "is not an object"},
        Refusal{KS::kScene,
                {"channels", 5, "eqArray", 4, "eqGain"},
                "\"3\"",
                kBad,
                "channels[5].eqArray[4].eqGain",
                "is not a number"},
        Refusal{KS::kScene, {"inputs", 6}, "", kBad, "inputs", "has 6 elements, not 7"},
        Refusal{KS::kScene,
                {"inputs", 2},
                "[1,2,3,4,5,6,7,8,9]",
                kBad,
                "inputs[2]",
                "has 9 elements, not 8"},
        Refusal{KS::kScene, {"inputs", 2, 3}, "true", kBad, "inputs[2][3]", "is not a number"},
        Refusal{KS::kScene,
                {"inputMixVolume", 6, 7, 0},
                "",
                kBad,
                "inputMixVolume[6][7]",
                "has 7 elements"},
        Refusal{
            KS::kScene, {"inputMixVolume", 1}, "3", kBad, "inputMixVolume[1]", "is not an array"},
        Refusal{KS::kScene, {"outputs", 4}, "25", kBad, "outputs[4]", "is 25, outside 0..24"},
        Refusal{KS::kScene, {"outputs", 0}, "-1", kBad, "outputs[0]", "outside 0..24"},
        Refusal{KS::kScene, {"linkOutputs", 7}, "8", kBad, "linkOutputs[7]", "outside -1..7"},
        Refusal{KS::kScene, {"linkOutputs", 0}, "-2", kBad, "linkOutputs[0]", "outside -1..7"},
        Refusal{KS::kScene, {"showChEqualizer", 0}, "", kBad, "showChEqualizer", "has 7"},
        Refusal{KS::kScene, {"currChannel"}, "8", kBad, "currChannel", "outside 0..7"},
        Refusal{KS::kScene, {"lockMode"}, "", kBad, "lockMode", "is missing"},
        Refusal{KS::kScene, {"inputThreshold"}, "", kBad, "inputThreshold", "is missing"},
        Refusal{KS::kWhole, {"sceneName", 9}, "", kBad, "sceneName", "has 9 elements, not 10"},
        Refusal{KS::kWhole, {"sceneName", 3}, "17", kBad, "sceneName[3]", "is not a string"},
        Refusal{KS::kWhole, {"currentProfile"}, "", kBad, "currentProfile", "is missing"},
        Refusal{KS::kWhole,
                {"currentProfile", "channels", 7, "eqSize"},
                "12",
                kBad,
                "currentProfile.channels[7].eqSize",
                "outside 1..11"},
        Refusal{KS::kWhole,
                {"currentProfile", "inputThreshold"},
                "",
                kBad,
                "currentProfile.inputThreshold",
                "is missing"},
        Refusal{KS::kWhole, {"sceneArray", 9}, "[]", kBad, "sceneArray[9]", "is not an object"},
        Refusal{KS::kWhole, {"sceneArray"}, "[]", kBad, "sceneArray", "has 0 elements, not 10"},
        Refusal{KS::kWhole,
                {"sceneArray", 9, "currChannel"},
                "-1",
                kBad,
                "sceneArray[9].currChannel",
                "outside 0..7"}));

TEST(ProfileReader, TextThatIsNoProfileLeavesTheModelAlone) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::string valid = DefaultsText();
  std::string nanDelay = valid;
  nanDelay.replace(nanDelay.find("\"delay\":0"), 9, "\"delay\":NaN");
  const std::vector<std::string> notJson = {
      "", "{", "\xff", deep, nanDelay, valid.substr(0, valid.size() - 1), "{\"model\":23,}"};
  for (const std::string& text : notJson) {
    const auto tuning = testing::TuningModel();
    auto target = std::make_unique<model::ParameterModel>(*tuning);
    EXPECT_EQ(ReadSceneProfile(text, target->workingScene).status, ReadStatus::kNotJson);
    EXPECT_EQ(ReadWholeProfile(text, *target).status, ReadStatus::kNotJson);
    EXPECT_EQ(WholeProfileText(*target).value(), WholeProfileText(*tuning).value())
        << text.substr(0, 20);
  }
  EXPECT_EQ(ReadMessageKey(ProfileKind::kScene, ReadStatus::kNotJson), L"${profile_open_error}");
  EXPECT_EQ(ReadMessageKey(ProfileKind::kWhole, ReadStatus::kNotJson), L"${profile_load_error}");

  // JSON that is no object, or bytes that are no UTF-8 inside strings the reader never decodes.
  model::SceneRecord scene;
  EXPECT_EQ(ReadSceneProfile("[23]", scene).status, ReadStatus::kBadStructure);
  EXPECT_TRUE(ReadSceneProfile(Edited(valid, {"model_name"}, "\"\xff\xfe\xc0\""), scene).ok());
}

TEST(ProfileReader, AWholeProfileRefusedLateKeepsWhatItReadBefore) {
  auto target = std::make_unique<model::ParameterModel>();
  const auto tuning = testing::TuningModel();
  const std::string text =
      Edited(WholeProfileText(*tuning).value(), {"sceneArray", 5, "outputs", 2}, "99");
  EXPECT_EQ(ReadWholeProfile(text, *target).status, ReadStatus::kBadStructure);
  EXPECT_EQ(target->sceneNames, tuning->sceneNames);
  EXPECT_EQ(target->storedScenes[4].channels[0], tuning->storedScenes[4].channels[0]);
  EXPECT_EQ(target->storedScenes[5].outputs[1], tuning->storedScenes[5].outputs[1]);
  EXPECT_EQ(target->storedScenes[5].outputs[2], model::kDefaultRoles[2]);  // refused, not written
  EXPECT_TRUE(AllWithinStorage(*target));
}

}  // namespace
}  // namespace profiles
