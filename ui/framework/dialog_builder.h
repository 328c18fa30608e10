// Builds controls from a layout file of the skin (see skin/README.md for the language).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/framework/control.h"

namespace DuiLib {

class CPaintManagerUI;

// Creates the controls of tags the framework does not know (custom controls).
class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  // The control for `tag`, or null when the tag is not one of the window's own.
  virtual std::unique_ptr<CControlUI> CreateControl(std::wstring_view tag) = 0;
};

class CDialogBuilder {
 public:
  // Builds the layout `xml` (an id of the resource index, or a path in the skin). The layout's
  // fonts, declared size and caption go to `manager`. Returns the root control, or null when the
  // file is missing or not a valid layout (GetError says why).
  std::unique_ptr<CControlUI> Create(std::wstring_view xml, IDialogBuilderCallback* callback,
                                     CPaintManagerUI* manager);
  const std::wstring& GetError() const { return mError; }

 private:
  std::wstring mError;
};

}  // namespace DuiLib
