#include "model/parameter_model.h"

#include <memory>
#include <tuple>

#include <gtest/gtest.h>

namespace model {
namespace {

TEST(ParameterModel, SceneNumbersAddressWorkingAndStoredScenes) {
  auto model = std::make_unique<ParameterModel>();
  EXPECT_EQ(model->SceneByNumber(0), &model->workingScene);
  EXPECT_EQ(model->SceneByNumber(1), &model->storedScenes[0]);
  EXPECT_EQ(model->SceneByNumber(10), &model->storedScenes[9]);
  EXPECT_EQ(model->SceneByNumber(11), nullptr);
  EXPECT_EQ(model->SceneByNumber(-1), nullptr);
  EXPECT_EQ(model->SceneByNumber(255), nullptr);
}

TEST(ParameterModel, StartsWithoutUnitNamesOrPendingWork) {
  const auto model = std::make_unique<ParameterModel>();
  EXPECT_FALSE(model->IsUnitIdentified());
  for (const SceneName& name : model->sceneNames) {
    EXPECT_TRUE(IsEmptySceneName(name));
  }
  EXPECT_EQ(model->pendingSceneName, SceneNameBytes{});
  EXPECT_EQ(model->upgradeInProgress, 0);
  EXPECT_EQ(model->storedScenes[4].outputs, model->workingScene.outputs);
}

TEST(ParameterModel, FirmwareBelowFifteenPointSixIsTooOld) {
  auto model = std::make_unique<ParameterModel>();
  SceneRecord& unit = model->workingScene;
  unit.modelNumber = 23;
  EXPECT_TRUE(model->IsAcceptedUnit());
  for (const auto& [master, slave, tooOld] :
       {std::tuple{14, 9, true}, {15, 5, true}, {15, 6, false}, {16, 0, false}}) {
    unit.masterVersion = master;
    unit.slaveVersion = slave;
    EXPECT_EQ(model->IsFirmwareTooOld(), tooOld) << master << "." << slave;
  }
  unit.modelNumber = 22;
  EXPECT_FALSE(model->IsAcceptedUnit());
}

TEST(SceneNames, AreCutToEightCodeUnits) {
  const SceneName name = MakeSceneName(u"Highway drive");
  EXPECT_EQ(SceneNameText(name), u"Highway ");
  EXPECT_EQ(SceneNameText(MakeSceneName(u"Jazz")), u"Jazz");
  EXPECT_TRUE(IsEmptySceneName(MakeSceneName(u"")));
}

TEST(SceneNames, TravelAsUtf16LittleEndianBytes) {
  const SceneName name = MakeSceneName(u"A\u4e2d");
  const SceneNameBytes bytes = SceneNameToUtf16Le(name);
  EXPECT_EQ(bytes[0], 0x41);
  EXPECT_EQ(bytes[1], 0x00);
  EXPECT_EQ(bytes[2], 0x2D);
  EXPECT_EQ(bytes[3], 0x4E);
  EXPECT_EQ(bytes[4], 0x00);
  EXPECT_EQ(SceneNameFromUtf16Le(bytes), name);
}

}  // namespace
}  // namespace model
