// The skin archive, the resource index, image variants and the language tables.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <cstdint>
#include <span>

#include "tests/ui_framework/test_window.h"

namespace testskin {
std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();
}  // namespace testskin

namespace {

using DuiLib::CResourceManager;

class ResourceTest : public testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    uitest::LoadTestSkin();
  }
  void TearDown() override { uitest::LoadTestSkin(); }
  CResourceManager& Resources() { return *CResourceManager::GetInstance(); }
};

TEST_F(ResourceTest, ArchiveNeedsItsPassword) {
  // GIVEN the right password THEN a file reads; with a wrong or no password THEN nothing does.
  ASSERT_TRUE(Resources().ReadFile(L"xml\\res.xml").has_value());

  ASSERT_TRUE(Resources().SetResourceZip(testskin::EmbeddedArchive(), "wrong-password-abc"));
  EXPECT_FALSE(Resources().ReadFile(L"xml/res.xml").has_value());
  EXPECT_FALSE(Resources().ReadFile(L"lan/en.xml").has_value());

  ASSERT_TRUE(Resources().SetResourceZip(testskin::EmbeddedArchive(), ""));
  EXPECT_FALSE(Resources().ReadFile(L"xml/res.xml").has_value());
}

TEST_F(ResourceTest, ArchiveIsReallyEncrypted) {
  // The plain text of a layout must not appear in the packed bytes.
  const auto bytes = testskin::EmbeddedArchive();
  const std::string packed(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  EXPECT_EQ(packed.find("<Window"), std::string::npos);
  EXPECT_EQ(packed.find("ListLabelElement"), std::string::npos);
}

TEST_F(ResourceTest, NotAnArchiveIsRefused) {
  const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', ' ', 'z', 'i', 'p'};
  EXPECT_FALSE(Resources().SetResourceZip(junk, testskin::ArchivePassword()));
  EXPECT_FALSE(Resources().ReadFile(L"xml/res.xml").has_value());
}

TEST_F(ResourceTest, IndexFindsIdsAtAnyDepth) {
  EXPECT_EQ(Resources().GetXmlPath(L"XML_CONTROLS"), L"xml/controls.xml");
  EXPECT_EQ(Resources().GetXmlPath(L"XML_REPEAT"), L"xml/repeat.xml");  // nested two levels
  EXPECT_EQ(Resources().GetImagePath(L"dot"), L"image/dot.png");
  // Unknown ids are taken as paths.
  EXPECT_EQ(Resources().GetXmlPath(L"xml/menu.xml"), L"xml/menu.xml");
}

TEST_F(ResourceTest, ImageVariantPerScaleWithFallback) {
  // GIVEN "dot.png" and "dot@150.png" THEN 150 % reads the variant, 100 % and 200 % the base.
  EXPECT_EQ(Resources().ReadImage(L"dot", 150), "variant 150");
  EXPECT_EQ(Resources().ReadImage(L"dot", 100), "base image");
  EXPECT_EQ(Resources().ReadImage(L"image/dot.png", 200), "base image");
  EXPECT_FALSE(Resources().ReadImage(L"image/none.png", 100).has_value());
}

TEST_F(ResourceTest, LanguageSwitchMissingKeysAndLineBreaks) {
  EXPECT_EQ(Resources().GetText(L"${confirm}"), L"OK");
  ASSERT_TRUE(Resources().SelectLanguage(L"cn_zh"));
  EXPECT_EQ(Resources().GetText(L"${confirm}"), L"确定");
  EXPECT_EQ(Resources().GetLanguage(), L"cn_zh");
  // "{\n}" becomes a line break.
  EXPECT_EQ(Resources().GetText(L"${multi}"), L"第一行\n第二行");
  // A missing key is shown as the key; texts that are no key pass unchanged.
  EXPECT_EQ(Resources().GetText(L"${no_such_key}"), L"${no_such_key}");
  EXPECT_EQ(Resources().GetText(L"plain {\\n} text"), L"plain {\\n} text");
  // An unknown language is refused and the current one stays.
  EXPECT_FALSE(Resources().SelectLanguage(L"fr"));
  EXPECT_EQ(Resources().GetText(L"${tips}"), L"提示");
}

TEST_F(ResourceTest, AtMostTwoTables) {
  EXPECT_FALSE(Resources().AddLanguage(L"fr", L"lan/en.xml"));
  // Registering a known name again replaces its table.
  EXPECT_TRUE(Resources().AddLanguage(L"en", L"lan/cn.xml"));
  EXPECT_EQ(Resources().GetText(L"${confirm}"), L"确定");
  EXPECT_FALSE(Resources().AddLanguage(L"cn_zh", L"lan/none.xml"));
}

class FixedQuery : public DuiLib::IQueryControlText {
 public:
  std::wstring QueryControlText(std::wstring_view key) override {
    return key == L"${from_query}" ? L"supplied" : L"";
  }
};

TEST_F(ResourceTest, TextQueryCallbackFillsMissingKeys) {
  FixedQuery query;
  Resources().SetTextQueryInterface(&query);
  EXPECT_EQ(Resources().GetText(L"${from_query}"), L"supplied");
  EXPECT_EQ(Resources().GetText(L"${still_missing}"), L"${still_missing}");
  EXPECT_EQ(Resources().GetText(L"${confirm}"), L"OK");  // the table comes first
  Resources().SetTextQueryInterface(nullptr);
}

TEST_F(ResourceTest, LanguageSwitchShowsAtTheNextRepaint) {
  // GIVEN a window showing keys WHEN the language changes THEN labels, buttons and combo items
  // show the new texts without rebuilding the window.
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  auto* button = pm.FindControl(L"btn_ok");
  auto* combo = pm.FindControl<DuiLib::CComboUI>(L"combo");
  ASSERT_NE(button, nullptr);
  ASSERT_NE(combo, nullptr);
  ASSERT_TRUE(combo->SelectItem(0, false, false));
  EXPECT_EQ(button->GetText(), L"OK");
  EXPECT_EQ(button->GetRawText(), L"${confirm}");
  EXPECT_EQ(combo->GetText(), L"OK");

  Resources().SelectLanguage(L"cn_zh");
  pm.NeedUpdate();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pm.IsUpdateNeeded(); }, 5000));
  EXPECT_EQ(button->GetText(), L"确定");
  EXPECT_EQ(combo->GetText(), L"确定");
  auto* box = dynamic_cast<QComboBox*>(combo->GetWidget());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->itemText(0), QStringLiteral("确定"));
}

}  // namespace
