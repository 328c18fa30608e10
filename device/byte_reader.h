// Bounds-checked reading of a reply body or a command payload: nothing is ever read past the
// bytes the frame actually carried.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace device {

// Reply body layout shared by every group: reply code, op, then the payload.
inline constexpr std::size_t kReplyCodeByte = 0;
inline constexpr std::size_t kReplyOpByte = 1;
inline constexpr std::size_t kReplyPayloadByte = 2;

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : mBytes(bytes) {}

  // True when the body holds `count` bytes from `offset` on.
  bool Has(std::size_t offset, std::size_t count = 1) const {
    return offset <= mBytes.size() && count <= mBytes.size() - offset;
  }
  // The byte at `offset`, or 0 past the end (callers check Has first where it matters).
  std::uint8_t At(std::size_t offset) const { return Has(offset) ? mBytes[offset] : 0; }
  template <std::size_t N>
  std::span<const std::uint8_t, N> Slice(std::size_t offset) const {
    return mBytes.subspan(offset).template first<N>();
  }

  // Visits index first + k for k = 0, 1, ... as long as the `stride` bytes of entry k (at
  // base + stride * k) lie inside the body and the index stays below `limit`. Nothing is
  // visited when last < first. visit(index, entryOffset).
  template <typename Visit>
  void ForEachInRange(int first, int last, int limit, std::size_t base, std::size_t stride,
                      Visit visit) const {
    for (int index = first; index <= last && index < limit; ++index) {
      const std::size_t offset = base + stride * static_cast<std::size_t>(index - first);
      if (!Has(offset, stride)) {
        return;
      }
      visit(index, offset);
    }
  }

 private:
  std::span<const std::uint8_t> mBytes;
};

}  // namespace device
