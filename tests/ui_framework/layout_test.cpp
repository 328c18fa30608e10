// Building windows from layouts: repeat and include, custom tags, scale, and the error path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "tests/ui_framework/test_window.h"

namespace {

using namespace DuiLib;

class LayoutTest : public testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
};

TEST_F(LayoutTest, TestLayoutsBuild) {
  for (const wchar_t* layout : {L"XML_CONTROLS", L"XML_REPEAT"}) {
    CDialogBuilder builder;
    CPaintManagerUI manager;
    EXPECT_NE(builder.Create(layout, nullptr, &manager), nullptr)
        << ToUtf8(layout) << ": " << ToUtf8(builder.GetError());
  }
}

TEST_F(LayoutTest, RepeatWritesEveryIndexedControl) {
  uitest::TestWindow window(L"XML_REPEAT");
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  for (int i = 0; i <= 30; ++i) {
    auto* edit = pm.FindControl<CEditUI>(Format(L"eq_freq_%d", i));
    ASSERT_NE(edit, nullptr) << i;
    EXPECT_EQ(edit->GetUserDataIndex(), i);
    EXPECT_EQ(pm.FindControl(Format(L"band_label_%d", i))->GetText(), std::to_wstring(i + 1));
  }
  EXPECT_EQ(pm.FindControl(L"eq_freq_31"), nullptr);
  // Nested repeats: "%d" is the inner value, "%{name±k}" any outer one.
  EXPECT_EQ(pm.FindControl(L"cell_1_0")->GetText(), L"0/0");
  EXPECT_EQ(pm.FindControl(L"cell_2_1")->GetText(), L"1/1");
  EXPECT_EQ(pm.FindControl(L"cell_3_0"), nullptr);
}

TEST_F(LayoutTest, IncludeInsertsFontsAndControls) {
  uitest::TestWindow window(L"XML_REPEAT");
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  auto* root = pm.FindControl<CContainerUI>(L"root");
  ASSERT_NE(root, nullptr);
  // Included twice: two labels named "included" at the end of the root.
  int included = 0;
  for (int i = 0; i < root->GetCount(); ++i) {
    included += root->GetItemAt(i)->GetName() == L"included" ? 1 : 0;
  }
  EXPECT_EQ(included, 2);
  // The included font file made font 3 (20 px at 100 %, bold) the default.
  const QFont font = pm.GetFont(-1);
  EXPECT_EQ(font.pixelSize(), pm.Scale(20));
  EXPECT_TRUE(font.bold());
}

TEST_F(LayoutTest, CustomTagsGoToCreateControl) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  auto* custom = window.GetPaintManager().FindControl(L"custom");
  ASSERT_NE(custom, nullptr);
  EXPECT_EQ(custom->GetClass(), L"Control");
}

TEST_F(LayoutTest, SizesFollowTheScale) {
  // GIVEN the layout's 100 % sizes WHEN the DPI is 144 THEN fixed sizes are 150 %.
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  auto& pm = window.GetPaintManager();
  EXPECT_EQ(pm.GetInitSize().cx, 400);
  EXPECT_EQ(pm.GetInitSize().cy, 300);
  pm.SetDPI(96);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pm.IsUpdateNeeded(); }, 5000));
  EXPECT_EQ(pm.FindControl(L"btn_ok")->GetPos().Width(), 80);
  pm.SetDPI(144);
  EXPECT_EQ(pm.GetScale(), 150);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pm.IsUpdateNeeded(); }, 5000));
  EXPECT_EQ(pm.FindControl(L"btn_ok")->GetPos().Width(), 120);
  EXPECT_EQ(pm.FindControl(L"slider")->GetPos().Height(), 30);
}

TEST_F(LayoutTest, DialogTakesTheDeclaredSizeAtItsScale) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  const int scale = window.GetPaintManager().GetScale();
  const RECT rc = window.GetWindowRect();
  EXPECT_EQ(rc.Width(), MulDiv(400, scale, 100));
  EXPECT_EQ(rc.Height(), MulDiv(300, scale, 100));
}

struct FatalCall {
  std::wstring title;
  std::wstring text;
  int exitCode = 0;
  int calls = 0;
};

class FatalErrorTest : public LayoutTest {
 protected:
  void SetUp() override {
    LayoutTest::SetUp();
    SetFatalErrorHandler([this](std::wstring_view title, std::wstring_view text, int code) {
      mCall.title = title;
      mCall.text = text;
      mCall.exitCode = code;
      ++mCall.calls;
    });
  }
  void TearDown() override { SetFatalErrorHandler(uitest::FailOnFatalError); }
  FatalCall mCall;
};

TEST_F(FatalErrorTest, MissingLayoutEndsTheProcessWithCodeOne) {
  // GIVEN a layout id whose file is not in the skin WHEN the window is created THEN the fatal
  // path runs with the "Duilib" box text and exit code 1, and Create reports failure.
  uitest::TestWindow window(L"XML_MISSING");
  EXPECT_EQ(window.Create(0, L"x", UI_WNDSTYLE_DIALOG, WS_EX_TOOLWINDOW), 0u);
  EXPECT_EQ(mCall.calls, 1);
  EXPECT_EQ(mCall.title, L"Duilib");
  EXPECT_EQ(mCall.text, L"加载资源文件失败：XML_MISSING");
  EXPECT_EQ(mCall.exitCode, 1);
  EXPECT_EQ(window.GetHWND(), 0u);
}

TEST_F(LayoutTest, MissingLayoutShowsTheBoxAndExitsWithCodeOne) {
  // The real path, in a child process: the box comes up (closed here by a timer, as a user
  // would) and the process ends with exit code 1.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetFatalErrorHandler(nullptr);
        QTimer::singleShot(0, [] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          const bool expected = box != nullptr && box->windowTitle() == QStringLiteral("Duilib") &&
                                box->text() == QStringLiteral("加载资源文件失败：XML_MISSING");
          if (!expected) {
            std::_Exit(2);  // not the box the user must see
          }
          box->close();
        });
        uitest::TestWindow window(L"XML_MISSING");
        window.Create(0, L"x", UI_WNDSTYLE_DIALOG, 0);
      },
      testing::ExitedWithCode(1), "");
}

TEST_F(FatalErrorTest, BrokenLayoutTakesTheSamePath) {
  uitest::TestWindow broken(L"XML_BROKEN");
  EXPECT_EQ(broken.Create(0, L"x", UI_WNDSTYLE_DIALOG, 0), 0u);
  uitest::TestWindow unknownId(L"NO_SUCH_ID");
  EXPECT_EQ(unknownId.Create(0, L"x", UI_WNDSTYLE_DIALOG, 0), 0u);
  EXPECT_EQ(mCall.calls, 2);
  EXPECT_EQ(mCall.text, L"加载资源文件失败：NO_SUCH_ID");
}

TEST_F(FatalErrorTest, IncludeLoopsAndRunawayRepeatsAreRefused) {
  // GIVEN a file that includes itself, and a repeat of two billion rows
  // THEN building stops with an error instead of running out of stack or memory.
  CDialogBuilder builder;
  CPaintManagerUI manager;
  EXPECT_EQ(builder.Create(L"xml/loop.xml", nullptr, &manager), nullptr);
  EXPECT_NE(builder.GetError().find(L"nested too deeply"), std::wstring::npos);
  EXPECT_EQ(builder.Create(L"xml/long_repeat.xml", nullptr, &manager), nullptr);
  EXPECT_NE(builder.GetError().find(L"too long"), std::wstring::npos);
  uitest::TestWindow window(L"xml/loop.xml");
  EXPECT_EQ(window.Create(0, L"x", UI_WNDSTYLE_DIALOG, 0), 0u);
  EXPECT_EQ(mCall.text, L"加载资源文件失败：xml/loop.xml");
}

TEST_F(FatalErrorTest, WithoutAnArchiveNoLayoutLoads) {
  CResourceManager::GetInstance()->Reset();
  uitest::TestWindow window;
  EXPECT_EQ(window.Create(0, L"x", UI_WNDSTYLE_DIALOG, 0), 0u);
  EXPECT_EQ(mCall.calls, 1);
  uitest::LoadTestSkin();
}

TEST_F(LayoutTest, BuilderReportsBrokenFilesAndSubLayoutsJoinAWindow) {
  uitest::TestWindow window;
  ASSERT_TRUE(window.Open());
  CDialogBuilder builder;
  EXPECT_EQ(builder.Create(L"XML_BROKEN", nullptr, nullptr), nullptr);
  EXPECT_NE(builder.GetError().find(L"xml/broken.xml"), std::wstring::npos);
  // A part built later joins a container of the window and is found by name.
  auto part = builder.Create(L"xml/part.xml", nullptr, nullptr);
  ASSERT_NE(part, nullptr);
  auto* root = window.GetPaintManager().FindControl<CContainerUI>(L"root");
  root->Add(std::move(part));
  EXPECT_NE(window.GetPaintManager().FindControl(L"included"), nullptr);
}

}  // namespace
