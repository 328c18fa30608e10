#include "profiles/base64.h"

#include <algorithm>
#include <array>

namespace profiles {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadding = '=';
constexpr int kNotInAlphabet = -1;

constexpr std::array<int, 256> kValueOf = [] {
  std::array<int, 256> values{};
  values.fill(kNotInAlphabet);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int>(i);
  }
  return values;
}();

}  // namespace

std::string EncodeBase64(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t at = 0; at < bytes.size(); at += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - at);
    std::uint32_t group = static_cast<std::uint32_t>(bytes[at]) << 16;
    if (count > 1) {
      group |= static_cast<std::uint32_t>(bytes[at + 1]) << 8;
    }
    if (count > 2) {
      group |= bytes[at + 2];
    }
    for (std::size_t digit = 0; digit < 4; ++digit) {
      text += digit <= count ? kAlphabet[group >> (18 - 6 * digit) & 0x3F] : kPadding;
    }
  }
  return text;
}

void DecodeBase64(std::string_view text, std::span<std::uint8_t> out) {
  std::ranges::fill(out, 0);
  if (out.empty()) {
    return;
  }
  std::uint32_t bits = 0;
  int bitCount = 0;
  std::size_t written = 0;
  for (const char c : text) {
    if (c == kPadding) {
      break;
    }
    const int value = kValueOf[static_cast<unsigned char>(c)];
    if (value == kNotInAlphabet) {
      continue;
    }
    bits = (bits << 6 | static_cast<std::uint32_t>(value)) & 0xFFFFFF;
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      out[written] = static_cast<std::uint8_t>(bits >> bitCount & 0xFF);
      if (++written == out.size()) {
        return;
      }
    }
  }
}

}  // namespace profiles
