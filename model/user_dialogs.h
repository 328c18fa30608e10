// The questions the model asks the user, without any window library.
//
// EqualizerManager and its helpers talk to the user only through this interface: the program
// implements it with the real dialogs (app/windows), tests implement it with scripted answers.
// Every text is either a language key such as L"${tips}" or a finished text (for example a key's
// text formatted with numbers); keys are looked up by the implementation.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace model {

// One entry of a file dialog's type list: L"场景配置文件(*.spf)" / L"*.spf". Several patterns
// are separated by semicolons (L"a.bin;b.bin").
struct FileFilter {
  std::wstring description;
  std::wstring patterns;
};

class UserDialogs {
 public:
  // Close codes shared by every dialog.
  static constexpr int kClosed = 0;   // cancel, or the close button
  static constexpr int kConfirm = 1;  // the confirm button
  static constexpr int kThird = 2;    // the third button of a three-button message box

  virtual ~UserDialogs() = default;

  // Message box with `count` buttons (1 to 3): confirm, cancel, third. An empty title or text
  // keeps the dialog's own. Returns kConfirm, kClosed or kThird.
  virtual int MessageBox(const std::wstring& title, const std::wstring& text,
                         const std::array<std::wstring, 3>& buttons, int count) = 0;

  // Yes/no question with the dialog's own confirm and cancel buttons; kConfirm means yes.
  virtual int QuestionBox(const std::wstring& title, const std::wstring& text) = 0;

  // Two exclusive options. Returns 0 when cancelled, 1 for the first option, 2 for the second.
  virtual int CheckOptionBox(const std::wstring& title, const std::wstring& text,
                             const std::array<std::wstring, 2>& options) = 0;

  // Name entry pre-filled with `name`. On confirm the entered text, cut to `capacity` UTF-16
  // code units, replaces `name` and kConfirm is returned; otherwise `name` is left alone.
  virtual int NameEntry(std::wstring& name, std::size_t capacity) = 0;

  // File dialogs starting in the current directory; nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> OpenFileName(
      const std::vector<FileFilter>& filters) = 0;
  // `defaultExtension` (without the dot) is appended when the typed name has none.
  virtual std::optional<std::filesystem::path> SaveFileName(
      const std::vector<FileFilter>& filters, const std::wstring& defaultExtension) = 0;
};

}  // namespace model
