// Standard Base64 (alphabet A-Z a-z 0-9 + /, "=" padding), as the whole-unit profile keeps the
// scene names.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace profiles {

std::string EncodeBase64(std::span<const std::uint8_t> bytes);

// Decodes `text` into `out`, which is zero-filled first; bytes beyond its size are dropped.
// Decoding ends at the first "="; characters outside the alphabet are skipped. Never fails: a
// name that cannot be decoded leaves zeros.
void DecodeBase64(std::string_view text, std::span<std::uint8_t> out);

}  // namespace profiles
