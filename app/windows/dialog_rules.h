// Rules of the small dialogs that do not need a window: which buttons a message box shows, what
// the check-option box answers, how a typed name is cut to its buffer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

// Close codes of the small dialogs.
inline constexpr int kCloseCancel = 0;   // "cancel_btn", "closebtn"
inline constexpr int kCloseConfirm = 1;  // "confirm_btn"
inline constexpr int kCloseThird = 2;    // "third_btn"

struct MessageButtons {
  bool cancel = false;
  bool third = false;
};
// The confirm button is always shown; cancel from two buttons on, the third from three on.
MessageButtons MessageButtonsFor(int count);

// What the check-option box's confirm button answers: 1 for the first option, 2 for the second,
// nothing (the box stays open) when neither is selected.
std::optional<int> CheckOptionAnswer(bool firstSelected, bool secondSelected);

// `name` cut to at most `capacity` UTF-16 code units (the unit of the names' buffers); a
// character outside the basic plane takes two units and is never split.
std::wstring CutToUtf16Units(std::wstring_view name, std::size_t capacity);

}  // namespace ui
