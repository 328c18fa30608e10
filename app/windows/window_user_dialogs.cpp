#include "app/windows/window_user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "app/windows/msg_check_box_wnd.h"
#include "app/windows/msg_wnd.h"
#include "app/windows/name_msg_wnd.h"

namespace ui {

namespace {

QString ToQString(const std::wstring& text) {
  return QString::fromStdWString(text);
}

std::optional<std::filesystem::path> RunFileDialog(QFileDialog::AcceptMode mode,
                                                   const std::vector<model::FileFilter>& filters,
                                                   const std::wstring& defaultExtension) {
  QFileDialog dialog(nullptr, QString(), QDir::currentPath(),
                     ToQString(FileDialogFilterText(filters)));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  if (!defaultExtension.empty()) {
    dialog.setDefaultSuffix(ToQString(defaultExtension));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return std::filesystem::path(dialog.selectedFiles().front().toStdWString());
}

}  // namespace

std::wstring FileDialogFilterText(const std::vector<model::FileFilter>& filters) {
  std::wstring text;
  for (const model::FileFilter& filter : filters) {
    std::wstring words = filter.description;
    if (words.ends_with(L')')) {
      if (const auto open = words.rfind(L'('); open != std::wstring::npos) {
        words.erase(open);
      }
    }
    while (!words.empty() && words.back() == L' ') {
      words.pop_back();
    }
    std::wstring patterns = filter.patterns;
    std::replace(patterns.begin(), patterns.end(), L';', L' ');
    if (!text.empty()) {
      text += L";;";
    }
    text += words + L" (" + patterns + L")";
  }
  return text;
}

WindowUserDialogs::WindowUserDialogs(DuiLib::HWND owner) : mOwner(owner) {}

int WindowUserDialogs::MessageBox(const std::wstring& title, const std::wstring& text,
                                  const std::array<std::wstring, 3>& buttons, int count) {
  return CMsgWnd::MessageBox(mOwner, title, text, buttons, count);
}

int WindowUserDialogs::QuestionBox(const std::wstring& title, const std::wstring& text) {
  return CMsgWnd::QuestionBox(mOwner, title, text);
}

int WindowUserDialogs::CheckOptionBox(const std::wstring& title, const std::wstring& text,
                                      const std::array<std::wstring, 2>& options) {
  return CMsgCheckBoxWnd::Show(mOwner, title, text, options);
}

int WindowUserDialogs::NameEntry(std::wstring& name, std::size_t capacity) {
  return CNameMsgWnd::Show(mOwner, name, capacity);
}

std::optional<std::filesystem::path> WindowUserDialogs::OpenFileName(
    const std::vector<model::FileFilter>& filters) {
  return RunFileDialog(QFileDialog::AcceptOpen, filters, {});
}

std::optional<std::filesystem::path> WindowUserDialogs::SaveFileName(
    const std::vector<model::FileFilter>& filters, const std::wstring& defaultExtension) {
  return RunFileDialog(QFileDialog::AcceptSave, filters, defaultExtension);
}

}  // namespace ui
