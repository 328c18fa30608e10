// vexaro-gallery: every dialog of the program, one after the other, for looking at them.
//
//   vexaro-gallery                     shows each dialog modally; close it to see the next
//   vexaro-gallery --screenshot DIR    renders each dialog at 100 %, 150 % and 200 % in Chinese
//                                      and in English to DIR/<dialog>_<language>_<scale>.png and
//                                      exits
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <string>

#include "tools/gallery/gallery_samples.h"
#include "tools/gallery/gallery_skin.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/ui_framework.h"

namespace {

using namespace DuiLib;

struct Language {
  const wchar_t* name;
  const char* tag;
};
constexpr Language kLanguages[] = {{L"cn_zh", "cn"}, {L"en", "en"}};
constexpr int kScales[] = {100, 150, 200};

// Puts `window` at `scale` percent, whatever the screen suggested, and lays it out again.
void ApplyScale(WindowImplBase& window, int scale) {
  CPaintManagerUI& manager = window.GetPaintManager();
  manager.SetDPI(MulDiv(scale, kDefaultDpi, 100));
  const SIZE size = manager.GetInitSize();
  window.SetWindowPos(0, 0, manager.Scale(size.cx), manager.Scale(size.cy));
  manager.NeedUpdate();
  manager.Relayout();
}

int Screenshots(const QString& dir) {
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
    return 1;
  }
  int failures = 0;
  for (const Language& language : kLanguages) {
    CResourceManager::GetInstance()->SelectLanguage(language.name);
    for (const int scale : kScales) {
      for (const gallery::Sample& sample : gallery::DialogSamples()) {
        const auto window = sample.open();
        if (!window) {
          std::fprintf(stderr, "%s: the window could not be created\n", sample.name.c_str());
          ++failures;
          continue;
        }
        ApplyScale(*window, scale);
        window->ShowWindow(true, false);
        // Lets posted messages (the sample levels) and the relayout take effect.
        QApplication::processEvents();
        QApplication::processEvents();
        QWidget* root = window->GetPaintManager().GetRoot()->GetWidget();
        const QString file = QStringLiteral("%1/%2_%3_%4.png")
                                 .arg(dir, QString::fromStdString(sample.name),
                                      QString::fromLatin1(language.tag), QString::number(scale));
        if (!root->window()->grab().save(file)) {
          std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
          ++failures;
        }
        window->Close(0);
      }
    }
  }
  return failures == 0 ? 0 : 1;
}

void ShowAll() {
  for (const gallery::Sample& sample : gallery::DialogSamples()) {
    if (const auto window = sample.open()) {
      window->ShowModal();
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InitUIFramework();
  if (!gallery::LoadSkin()) {
    std::fprintf(stderr, "the skin could not be loaded\n");
    return 1;
  }
  int result = 0;
  const QStringList args = QApplication::arguments();
  if (const qsizetype at = args.indexOf(QStringLiteral("--screenshot")); at >= 0) {
    if (at + 1 >= args.size()) {
      std::fprintf(stderr, "usage: vexaro-gallery [--screenshot DIR]\n");
      return 2;
    }
    result = Screenshots(args.at(at + 1));
  } else {
    CResourceManager::GetInstance()->SelectLanguage(L"cn_zh");
    ShowAll();
  }
  ShutdownUIFramework();
  return result;
}
