#include "device/frame.h"

#include <algorithm>
#include <numeric>

namespace device {
namespace {

// Offsets inside a command frame.
constexpr std::size_t kReportIdOffset = 0;
constexpr std::size_t kLengthOffset = 3;
constexpr std::size_t kGroupOffset = 4;
constexpr std::size_t kCommandOffset = 5;
constexpr std::size_t kOpOffset = 6;
constexpr std::size_t kPayloadOffset = 7;

// Parser states before the data bytes.
enum ParserState : std::uint8_t { kWaitSync1, kWaitSync2, kWaitLength, kWaitGroup, kFirstData };
// A frame still incomplete when the parser reaches this state is too long for any report.
constexpr std::uint8_t kStateBound = kFirstData + kMaxReplyBody;

}  // namespace

std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
  const unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
  return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

std::optional<CommandFrame> BuildCommandFrame(std::uint8_t group, std::uint8_t command,
                                              std::uint8_t op,
                                              std::span<const std::uint8_t> payload) {
  if (payload.size() > kMaxPayload) {
    return std::nullopt;
  }
  CommandFrame frame{};
  frame[kReportIdOffset] = 0x00;
  frame[1] = kFrameSync1;
  frame[2] = kFrameSync2;
  frame[kLengthOffset] = static_cast<std::uint8_t>(payload.size() + kFrameHeaderLength);
  frame[kGroupOffset] = group;
  frame[kCommandOffset] = command;
  frame[kOpOffset] = op;
  std::copy(payload.begin(), payload.end(), frame.begin() + kPayloadOffset);
  const std::size_t checksumOffset = kPayloadOffset + payload.size();
  frame[checksumOffset] =
      FrameChecksum(std::span(frame).subspan(kLengthOffset, checksumOffset - kLengthOffset));
  return frame;
}

std::optional<CommandRecord> ParseCommandFrame(std::span<const std::uint8_t> report) {
  if (report.size() < kPayloadOffset + 1 || report[1] != kFrameSync1 || report[2] != kFrameSync2) {
    return std::nullopt;
  }
  const std::size_t length = report[kLengthOffset];
  // LEN counts the bytes from group to the end of the payload; the checksum follows them.
  if (length < kFrameHeaderLength || length - kFrameHeaderLength > kMaxPayload ||
      kLengthOffset + length + 2 > report.size()) {
    return std::nullopt;
  }
  const auto checked = report.subspan(kLengthOffset, length + 2);
  if (std::accumulate(checked.begin(), checked.end(), 0u) % 256 != 0) {
    return std::nullopt;
  }
  const auto payload = report.subspan(kPayloadOffset, length - kFrameHeaderLength);
  return CommandRecord{report[kGroupOffset], report[kCommandOffset], report[kOpOffset],
                       std::vector<std::uint8_t>(payload.begin(), payload.end())};
}

std::optional<std::vector<std::uint8_t>> BuildReplyFrame(std::uint8_t group,
                                                         std::span<const std::uint8_t> body) {
  if (body.size() > kMaxReplyBody) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> frame{kFrameSync1, kFrameSync2,
                                  static_cast<std::uint8_t>(body.size() + 1), group};
  frame.insert(frame.end(), body.begin(), body.end());
  frame.push_back(FrameChecksum(std::span(frame).subspan(2)));
  return frame;
}

bool FrameParser::Feed(std::uint8_t byte) {
  switch (mState) {
    case kWaitSync1:
      if (byte == kFrameSync1) {
        mState = kWaitSync2;
      }
      return false;
    case kWaitSync2:
      // Anything else keeps the parser waiting for 0x55.
      if (byte == kFrameSync2) {
        mState = kWaitLength;
      }
      return false;
    case kWaitLength:
      mLength = byte;
      mState = kWaitGroup;
      return false;
    case kWaitGroup:
      mGroup = byte;
      mState = kFirstData;
      return false;
    default:
      break;
  }
  // The checksum test comes before the bound test, so the longest accepted frame has LEN = 61.
  if (mState == mLength + kWaitGroup) {
    mState = kWaitSync1;
    const auto data = Body();
    const unsigned sum = std::accumulate(data.begin(), data.end(), 0u) + mLength + mGroup;
    return static_cast<std::uint8_t>(sum + byte) == 0;
  }
  if (mState >= kStateBound) {
    mState = kWaitSync1;
    return false;
  }
  mData[mState - kFirstData] = byte;
  ++mState;
  return false;
}

std::span<const std::uint8_t> FrameParser::Body() const {
  // While a frame completes, LEN - 1 data bytes have been stored (LEN >= 1 there).
  const std::size_t length = mLength == 0 ? 0 : std::min<std::size_t>(mLength - 1, kMaxReplyBody);
  return std::span(mData).first(length);
}

}  // namespace device
