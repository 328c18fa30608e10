// The receive ring: bytes of received reports in arrival order, waiting for the frame parser.
// Both indexes wrap at the ring's size; the ring is empty when they are equal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

inline constexpr std::size_t kReceiveRingSize = 1024;

class ReceiveRing {
 public:
  bool Empty() const { return mRead == mWrite; }
  void Push(std::uint8_t byte) {
    mBytes[mWrite] = byte;
    mWrite = (mWrite + 1) % kReceiveRingSize;
  }
  std::uint8_t Pop() {
    const std::uint8_t byte = mBytes[mRead];
    mRead = (mRead + 1) % kReceiveRingSize;
    return byte;
  }

 private:
  std::array<std::uint8_t, kReceiveRingSize> mBytes{};
  std::size_t mWrite = 0;
  std::size_t mRead = 0;
};

}  // namespace device
