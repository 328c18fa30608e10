// The receiving side of the network link: an arbitrary byte stream, cut at arbitrary points,
// through the message decoder and the payload parsers. Besides not crashing, the pieces must not
// matter: the stream fed whole and fed in pieces gives the same messages and the same end.
//
// The first input byte seeds the sizes of the pieces; the rest is the stream.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/tcp_framing.h"

namespace {

struct Outcome {
  std::vector<std::vector<std::uint8_t>> messages;  // kind, then payload
  bool broken = false;
  std::string fault;
  bool operator==(const Outcome&) const = default;
};

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

// Runs the payload through the parser of its kind, as the client and the server do.
void Parse(const device::LinkMessage& message) {
  Check(message.length >= 1 && message.length <= device::kMaxLinkPayload);
  switch (message.kind) {
    case device::LinkKind::Hello:
      if (const auto hello = device::ParseHello(message.Payload())) {
        Check(hello->token.size() <= device::kMaxLinkTokenLength);
      }
      break;
    case device::LinkKind::Welcome:
      if (const auto welcome = device::ParseWelcome(message.Payload())) {
        Check(!device::WelcomeStatusText(welcome->status).empty());
      }
      break;
    case device::LinkKind::DeviceString:
      if (const auto string = device::ParseDeviceString(message.Payload())) {
        Check(string->text.size() <= device::kMaxLinkStringChars);
      }
      break;
    case device::LinkKind::OutputReport:
    case device::LinkKind::InputReport:
      break;
  }
}

template <typename NextPiece>
Outcome Decode(std::span<const std::uint8_t> stream, NextPiece nextPiece) {
  device::LinkDecoder decoder;
  Outcome outcome;
  while (!stream.empty() && !outcome.broken) {
    auto piece = stream.first(nextPiece(stream.size()));
    stream = stream.subspan(piece.size());
    while (!piece.empty()) {
      std::size_t used = 0;
      const auto result = decoder.Feed(piece, used);
      Check(used <= piece.size());
      piece = piece.subspan(used);
      if (result == device::LinkDecoder::Result::Invalid) {
        outcome.broken = true;
        outcome.fault = std::string(decoder.Fault());
        break;
      }
      if (result == device::LinkDecoder::Result::Message) {
        const device::LinkMessage& message = decoder.Last();
        Parse(message);
        std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(message.kind)};
        bytes.insert(bytes.end(), message.Payload().begin(), message.Payload().end());
        outcome.messages.push_back(std::move(bytes));
      } else {
        Check(piece.empty());  // NeedMore takes every byte
      }
    }
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) {
    return 0;
  }
  const std::span<const std::uint8_t> stream(data + 1, size - 1);
  std::uint32_t state = 0x9E3779B9u ^ (data[0] * 0x01000193u) ^ 1u;
  auto random = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  const Outcome whole = Decode(stream, [](std::size_t rest) { return rest; });
  const Outcome pieces = Decode(stream, [&](std::size_t rest) {
    return 1 + random() % std::min<std::size_t>(rest, device::kMaxLinkMessage + 3);
  });
  Check(whole == pieces);
  return 0;
}
