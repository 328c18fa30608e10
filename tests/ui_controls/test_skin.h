// The tests' own skin archive (tests/ui_controls/skin): "image/state.png", 20 x 10 pixels, red on
// the left half and blue on the right; "image/logo.png", plain green.
#pragma once

#include <cstdint>
#include <span>

namespace test_skin {
std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();
}  // namespace test_skin

namespace ui_test {
// Makes the test skin the resource archive and forgets cached images.
void UseTestSkin();
}  // namespace ui_test
