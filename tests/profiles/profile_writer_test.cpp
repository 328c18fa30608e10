// The bytes of the two profile files, and what other JSON readers see in them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <cJSON.h>

#include "model/parameter_model.h"
#include "model/scene_name.h"
#include "profiles/base64.h"
#include "profiles/json_tree.h"
#include "profiles/profile_files.h"
#include "profiles/profile_reader.h"
#include "profiles/profile_writer.h"
#include "tests/platform/temp_folder.h"
#include "tests/profiles/profile_test_support.h"

namespace profiles {
namespace {

// The writer formats numbers itself; every one must come out as cJSON's own printer has it.
TEST(ProfileWriter, NumbersPrintAsCJsonPrintsThem) {
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                -60.0,
                                2147483647.0,
                                -2147483648.0,
                                1e15,
                                1e20,
                                -123456789012345.0,
                                5.8f,
                                -3.5f,
                                0.1,
                                std::nextafter(0.1, 1.0),  // 15 digits read back within epsilon
                                1.0 / 3.0,
                                1e-7,
                                4.9e-324,
                                1.7976931348623157e308,
                                std::nan(""),
                                HUGE_VAL};
  std::mt19937 random(13);
  std::uniform_int_distribution<std::uint32_t> bits;
  for (int i = 0; i < 20000; ++i) {
    const std::uint32_t pattern = bits(random);
    float single = 0.0f;
    std::memcpy(&single, &pattern, sizeof single);
    values.push_back(single);
    values.push_back(static_cast<float>(static_cast<std::int32_t>(pattern) % 40000) / 100.0f);
    values.push_back(static_cast<double>(static_cast<std::int32_t>(pattern)));
  }
  for (const double value : values) {
    cJSON* number = cJSON_CreateNumber(value);
    char* printed = cJSON_PrintUnformatted(number);
    EXPECT_EQ(JsonNumberText(value), printed) << std::hexfloat << value;
    cJSON_free(printed);
    cJSON_Delete(number);
  }
}

TEST(ProfileWriter, AFreshSceneProfileStartsAndEndsWithTheDefaults) {
  const model::SceneRecord fresh;
  const std::string text = SceneProfileText(fresh).value();
  EXPECT_TRUE(text.starts_with(
      R"({"model":23,"model_name":"TRZ62C","mainVolume":-5,"subVolume":0,"mainVolumeMute":0,)"
      R"("channels":[{"eqSize":31,"gain":0,"mute":0,"delay":0,"phase":0,"bypass":1,)"
      R"("crossover":{"bpType":0,)"))
      << text.substr(0, 200);
  EXPECT_TRUE(text.ends_with(R"("currChannel":0,"linkMode":0,"lockMode":0,"inputThreshold":-60})"))
      << text.substr(text.size() - 200);
  // A band as cJSON prints a 32-bit Q of 5.8; no white space anywhere.
  EXPECT_NE(text.find(R"({"freq":20,"eqFactor":5.8000001907348633,"eqGain":0,"enable":1})"),
            std::string::npos);
  EXPECT_EQ(text.find_first_of(" \n\t"), std::string::npos);
}

TEST(ProfileWriter, TrimIsSavedAsItIsAndLoadedInWholeDecibels) {
  model::SceneRecord scene;
  scene.channels[2].gain = -3.5f;
  const std::string text = SceneProfileText(scene).value();
  EXPECT_NE(text.find(R"("eqSize":31,"gain":-3.5,)"), std::string::npos);
  model::SceneRecord loaded;
  ASSERT_TRUE(ReadSceneProfile(text, loaded).ok());
  EXPECT_EQ(loaded.channels[2].gain, -3.0f);
}

TEST(ProfileWriter, SceneNamesAreBase64OfTheirSixteenUtf16Bytes) {
  auto named = std::make_unique<model::ParameterModel>();
  named->sceneNames[1] = model::MakeSceneName(u"Club");
  const std::string text = WholeProfileText(*named).value();
  EXPECT_NE(text.find(R"("sceneName":["AAAAAAAAAAAAAAAAAAAAAA==","QwBsAHUAYgAAAAAAAAAAAA==",)"),
            std::string::npos);
  EXPECT_EQ(EncodeBase64(std::array<std::uint8_t, 16>{}).size(), 24u);
  EXPECT_EQ(EncodeBase64(std::array<std::uint8_t, 1>{0xFF}), "/w==");
  EXPECT_EQ(EncodeBase64(std::array<std::uint8_t, 2>{0xFB, 0xEF}), "++8=");
}

TEST(ProfileWriter, Base64DecodingKeepsSixteenBytesAndSkipsStrayCharacters) {
  std::array<std::uint8_t, 16> out{};
  const std::array<std::pair<std::string, std::string>, 5> cases = {{
      {"QwBsAHUAYgA=", std::string("C\0l\0u\0b\0", 8)},
      {"Qw Bs\nAHUA YgA=", std::string("C\0l\0u\0b\0", 8)},  // white space is skipped
      {"QQ==QUFB", "A"},                                     // nothing after the padding
      {std::string(40, 'Q'), std::string("A\x04\x10") + "A\x04\x10" + "A\x04\x10" + "A\x04\x10" +
                                 "A\x04\x10" + "A"},  // 30 bytes cut to 16
      {"", ""},
  }};
  for (const auto& [text, expected] : cases) {
    DecodeBase64(text, out);
    std::string bytes(out.begin(), out.end());
    EXPECT_EQ(bytes, expected + std::string(16 - expected.size(), '\0')) << text;
  }
}

// Every leaf of a JSON text as "path value" lines, numbers with 17 significant digits.
std::string Leaves(const cJSON* item, const std::string& path) {
  std::string out;
  if (cJSON_IsObject(item) || cJSON_IsArray(item)) {
    int index = 0;
    for (const cJSON* child = item->child; child != nullptr; child = child->next, ++index) {
      out += Leaves(child, cJSON_IsObject(item) ? path + "/" + child->string
                                                : path + "/" + std::to_string(index));
    }
    return out;
  }
  char value[40];
  if (cJSON_IsString(item)) {
    return path + " " + item->valuestring + "\n";
  }
  std::snprintf(value, sizeof value, "%.17g", item->valuedouble);
  return path + " " + value + "\n";
}

TEST(ProfileWriter, PythonsJsonModuleReadsTheSameValues) {
  if (std::system("python3 -c 'import json' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 is not available";
  }
  const auto tuning = testing::TuningModel();
  const std::string text = WholeProfileText(*tuning).value();
  const platform::testing::TempFolder folder("vexaro_python_");
  const std::filesystem::path& dir = folder.path();
  std::ofstream(dir / "tuning.wpf", std::ios::binary) << text;
  const std::string script =
      "import json, sys\n"
      "def leaves(v, path):\n"
      "    if isinstance(v, dict):\n"
      "        for k, x in v.items(): leaves(x, path + '/' + k)\n"
      "    elif isinstance(v, list):\n"
      "        for i, x in enumerate(v): leaves(x, path + '/' + str(i))\n"
      "    elif isinstance(v, str): print(path, v)\n"
      "    else: print(path, '%.17g' % float(v))\n"
      "leaves(json.load(open(sys.argv[1], encoding='utf-8')), '')\n";
  std::ofstream(dir / "leaves.py") << script;
  const std::string command = "python3 " + (dir / "leaves.py").string() + " " +
                              (dir / "tuning.wpf").string() + " > " + (dir / "leaves.txt").string();
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string python = platform::testing::FileContents(dir / "leaves.txt");
  cJSON* root = cJSON_Parse(text.c_str());
  ASSERT_NE(root, nullptr);
  const std::string ours = Leaves(root, "");
  cJSON_Delete(root);
  EXPECT_EQ(python, ours);
  EXPECT_NE(ours.find("/sceneArray/9/channels/7/eqArray/0/eqFactor "), std::string::npos);
}

TEST(ProfileWriter, SaveNamesWithoutExtensionGetTheDialogsOne) {
  const std::wstring& sceneExtension = DialogOf(ProfileKind::kScene).saveExtension;
  EXPECT_EQ(sceneExtension, L"txt");
  EXPECT_EQ(DialogOf(ProfileKind::kWhole).saveExtension, L"wpf");
  EXPECT_EQ(DialogOf(ProfileKind::kScene).filters[0].patterns, L"*.spf");
  EXPECT_EQ(WithDefaultExtension("/home/me/golf", sceneExtension), "/home/me/golf.txt");
  EXPECT_EQ(WithDefaultExtension("golf.spf", sceneExtension), "golf.spf");
  EXPECT_EQ(WithDefaultExtension("my.car/golf", sceneExtension), "my.car/golf.txt");
  EXPECT_EQ(WithDefaultExtension(".golf", sceneExtension), ".golf.txt");
}

}  // namespace
}  // namespace profiles
