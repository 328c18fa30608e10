// The skin of the gallery: the program's own embedded archive with both language tables.
#pragma once

namespace gallery {

// Opens the archive, reads the resource index and registers the Chinese ("cn_zh") and English
// ("en") tables. False when any of it fails.
bool LoadSkin();

}  // namespace gallery
