// The dialog interface of the model, answered by the real windows: the small dialogs over an owner
// window, and Qt's file dialogs.
#pragma once

#include "model/user_dialogs.h"
#include "ui/framework/ui_types.h"

namespace ui {

class WindowUserDialogs : public model::UserDialogs {
 public:
  // Every dialog is owned by `owner` (0: no owner).
  explicit WindowUserDialogs(DuiLib::HWND owner);

  int MessageBox(const std::wstring& title, const std::wstring& text,
                 const std::array<std::wstring, 3>& buttons, int count) override;
  int QuestionBox(const std::wstring& title, const std::wstring& text) override;
  int CheckOptionBox(const std::wstring& title, const std::wstring& text,
                     const std::array<std::wstring, 2>& options) override;
  int NameEntry(std::wstring& name, std::size_t capacity) override;
  std::optional<std::filesystem::path> OpenFileName(
      const std::vector<model::FileFilter>& filters) override;
  std::optional<std::filesystem::path> SaveFileName(const std::vector<model::FileFilter>& filters,
                                                    const std::wstring& defaultExtension) override;

 private:
  DuiLib::HWND mOwner;
};

// The type list of a file dialog in Qt's notation: one "description (pattern pattern)" per
// filter, separated by ";;". A description that already ends in a bracketed pattern list keeps
// only its words.
std::wstring FileDialogFilterText(const std::vector<model::FileFilter>& filters);

}  // namespace ui
