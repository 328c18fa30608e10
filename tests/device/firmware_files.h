// Image files made for the tests: a maker-like header and trailer, a byte pattern, and the
// combined layout.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <vector>

#include "device/firmware_image.h"
#include "device/mcu_protocol.h"
#include "device/value_encoding.h"

namespace device::testing {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::array<std::uint8_t, kImageHeaderBytes> kTestHeader{0x12, 0x34, 0x56, 0x78};
inline constexpr std::array<std::uint8_t, kImageTrailerBytes> kTestTrailer{0xA1, 0xB2, 0xC3, 0xD4};

// `size` bytes in which neighbouring positions differ, so a misplaced chunk shows.
inline Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  return bytes;
}

inline Bytes ImageFile(std::uint8_t type, const Bytes& image, std::uint8_t model = kUnitModel) {
  return BuildImageFile(type, model, kTestHeader, image, kTestTrailer);
}

// Head, the count of `sizes`, the sizes (32-bit big-endian), then the blocks as given.
inline Bytes MergedFile(std::array<std::uint8_t, 2> head,
                        std::initializer_list<std::uint32_t> sizes,
                        std::initializer_list<Bytes> blocks) {
  Bytes file{head[0], head[1], static_cast<std::uint8_t>(sizes.size())};
  for (std::uint32_t size : sizes) {
    PutU32(file, size);
  }
  for (const Bytes& block : blocks) {
    file.insert(file.end(), block.begin(), block.end());
  }
  return file;
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace device::testing
