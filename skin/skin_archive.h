// The program's skin: the encrypted archive packed from skin/ at build time.
//   CResourceManager::GetInstance()->SetResourceZip(skin::EmbeddedArchive(),
//                                                   skin::ArchivePassword());
#pragma once

#include <cstdint>
#include <span>

namespace skin {

std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();

}  // namespace skin
