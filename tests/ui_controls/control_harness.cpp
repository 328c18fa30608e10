#include "tests/ui_controls/control_harness.h"
#include "tests/ui_controls/test_skin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "ui/framework/image_cache.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_thread.h"

namespace ui_test {

namespace {

// The application object every test needs, alive from before the first test to after the last
// (ending it at static destruction would outlive Qt's own globals).
class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    mApp = std::make_unique<QApplication>(mArgc, mArgv);
    DuiLib::EnableUiThreadChecks(true);
  }
  void TearDown() override { mApp.reset(); }

 private:
  int mArgc = 1;
  char mName[32] = "ui_controls_tests";
  char* mArgv[2] = {mName, nullptr};
  std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

int DpiForScale(int scale) {
  return scale * DuiLib::kDefaultDpi / 100;
}

Harness::Harness(int scale) {
  manager.SetDPI(DpiForScale(scale));
  manager.AddNotifier(this);
}

Harness::~Harness() {
  manager.RemoveNotifier(this);
}

void Harness::Attach(DuiLib::CControlUI& control, int width, int height) {
  control.SetManager(&manager, nullptr);
  control.SetPos(DuiLib::RECT{0, 0, width, height});
}

int Harness::Count(std::wstring_view type) const {
  return static_cast<int>(std::count(notes.begin(), notes.end(), type));
}

QImage Render(DuiLib::CControlUI& control, int margin, QRgb backdrop) {
  const QSize size = control.GetWidget()->size();
  QImage image(size.width() + 2 * margin, size.height(), QImage::Format_ARGB32);
  image.fill(backdrop);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(margin, 0);
  control.DoPaint(painter);
  return image;
}

void Press(DuiLib::CControlUI& control, QPoint point) {
  QTest::mousePress(control.GetWidget(), Qt::LeftButton, Qt::NoModifier, point);
}

void DragTo(DuiLib::CControlUI& control, QPoint point) {
  QTest::mouseMove(control.GetWidget(), point);
}

void Release(DuiLib::CControlUI& control, QPoint point) {
  QTest::mouseRelease(control.GetWidget(), Qt::LeftButton, Qt::NoModifier, point);
}

void Hover(DuiLib::CControlUI& control, QPoint point) {
  QWidget* widget = control.GetWidget();
  QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

void UseTestSkin() {
  auto* resources = DuiLib::CResourceManager::GetInstance();
  resources->Reset();
  resources->SetResourceZip(test_skin::EmbeddedArchive(), test_skin::ArchivePassword());
  DuiLib::ClearSkinImages();
}

}  // namespace ui_test
