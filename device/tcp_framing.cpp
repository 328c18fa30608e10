#include "device/tcp_framing.h"

#include <algorithm>

namespace device {
namespace {

struct LengthRange {
  std::size_t min;
  std::size_t max;
};

// The payload lengths each kind may carry; nullopt for a kind that does not exist.
std::optional<LengthRange> RangeOf(std::uint8_t kind) {
  switch (static_cast<LinkKind>(kind)) {
    case LinkKind::Hello:
      return LengthRange{kLinkHelloMagic.size() + 1, kMaxLinkPayload};
    case LinkKind::Welcome:
      return LengthRange{2, 2};
    case LinkKind::DeviceString:
      return LengthRange{2, kMaxLinkPayload};
    case LinkKind::OutputReport:
      return LengthRange{1, kOutputReportSize};
    case LinkKind::InputReport:
      return LengthRange{1, kInputReportSize};
  }
  return std::nullopt;
}

}  // namespace

std::string_view WelcomeStatusText(WelcomeStatus status) {
  switch (status) {
    case WelcomeStatus::Accepted:
      return "accepted";
    case WelcomeStatus::TokenMissing:
      return "no access token was sent, and the server needs one";
    case WelcomeStatus::TokenWrong:
      return "wrong access token";
    case WelcomeStatus::Busy:
      return "another client is connected to the unit";
    case WelcomeStatus::VersionUnsupported:
      return "the client speaks another protocol version";
    case WelcomeStatus::NoUnit:
      return "the server cannot open the unit";
  }
  return "refused";
}

std::optional<LinkBytes> EncodeLinkMessage(LinkKind kind, std::span<const std::uint8_t> payload) {
  const auto range = RangeOf(static_cast<std::uint8_t>(kind));
  if (!range || payload.size() < range->min || payload.size() > range->max) {
    return std::nullopt;
  }
  LinkBytes message;
  message.bytes[0] = static_cast<std::uint8_t>(kind);
  message.bytes[1] = static_cast<std::uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), message.bytes.begin() + kLinkHeaderSize);
  message.size = kLinkHeaderSize + payload.size();
  return message;
}

std::optional<LinkBytes> EncodeHello(std::string_view token) {
  if (token.size() > kMaxLinkTokenLength) {
    return std::nullopt;
  }
  std::array<std::uint8_t, kMaxLinkPayload> payload{};
  auto at = std::copy(kLinkHelloMagic.begin(), kLinkHelloMagic.end(), payload.begin());
  *at++ = kLinkProtocolVersion;
  at = std::copy(token.begin(), token.end(), at);
  return EncodeLinkMessage(
      LinkKind::Hello, std::span(payload).first(static_cast<std::size_t>(at - payload.begin())));
}

LinkBytes EncodeWelcome(WelcomeStatus status) {
  const std::uint8_t payload[] = {kLinkProtocolVersion, static_cast<std::uint8_t>(status)};
  return *EncodeLinkMessage(LinkKind::Welcome, payload);
}

LinkBytes EncodeDeviceString(DeviceStringId which, int result, std::wstring_view text) {
  std::array<std::uint8_t, kMaxLinkPayload> payload{};
  payload[0] = static_cast<std::uint8_t>(which);
  payload[1] = static_cast<std::uint8_t>(static_cast<std::int8_t>(std::clamp(result, -128, 127)));
  const std::size_t chars = std::min(text.size(), kMaxLinkStringChars);
  for (std::size_t i = 0; i < chars; ++i) {
    // Characters beyond 16 bits do not occur in a unit's strings; they are cut to 16 bits.
    const auto unit = static_cast<std::uint16_t>(text[i]);
    payload[2 + 2 * i] = static_cast<std::uint8_t>(unit & 0xFF);
    payload[3 + 2 * i] = static_cast<std::uint8_t>(unit >> 8);
  }
  return *EncodeLinkMessage(LinkKind::DeviceString, std::span(payload).first(2 + 2 * chars));
}

std::optional<Hello> ParseHello(std::span<const std::uint8_t> payload) {
  if (payload.size() <= kLinkHelloMagic.size() ||
      !std::equal(kLinkHelloMagic.begin(), kLinkHelloMagic.end(), payload.begin())) {
    return std::nullopt;
  }
  Hello hello;
  hello.version = payload[kLinkHelloMagic.size()];
  const auto token = payload.subspan(kLinkHelloMagic.size() + 1);
  hello.token.assign(token.begin(), token.end());
  return hello;
}

std::optional<Welcome> ParseWelcome(std::span<const std::uint8_t> payload) {
  if (payload.size() != 2 || payload[1] > static_cast<std::uint8_t>(WelcomeStatus::NoUnit)) {
    return std::nullopt;
  }
  return Welcome{payload[0], static_cast<WelcomeStatus>(payload[1])};
}

std::optional<DeviceString> ParseDeviceString(std::span<const std::uint8_t> payload) {
  if (payload.size() < 2 || payload.size() % 2 != 0 || payload[0] >= kDeviceStringCount) {
    return std::nullopt;
  }
  DeviceString string;
  string.which = static_cast<DeviceStringId>(payload[0]);
  string.result = static_cast<std::int8_t>(payload[1]);
  for (std::size_t i = 2; i < payload.size(); i += 2) {
    string.text += static_cast<wchar_t>(payload[i] | (payload[i + 1] << 8));
  }
  return string;
}

LinkDecoder::Result LinkDecoder::Feed(std::span<const std::uint8_t> bytes, std::size_t& consumed) {
  consumed = 0;
  if (mBroken) {
    return Result::Invalid;
  }
  while (consumed < bytes.size()) {
    if (mHave < kLinkHeaderSize) {
      mHeader[mHave++] = bytes[consumed++];
      if (mHave < kLinkHeaderSize) {
        continue;
      }
      const auto range = RangeOf(mHeader[0]);
      if (!range) {
        mBroken = true;
        mFault = "unknown message kind " + std::to_string(mHeader[0]);
        return Result::Invalid;
      }
      if (mHeader[1] < range->min || mHeader[1] > range->max) {
        mBroken = true;
        mFault = "message of kind " + std::to_string(mHeader[0]) + " with length " +
                 std::to_string(mHeader[1]) + " (" + std::to_string(range->min) + ".." +
                 std::to_string(range->max) + " allowed)";
        return Result::Invalid;
      }
      mMessage.kind = static_cast<LinkKind>(mHeader[0]);
      mMessage.length = mHeader[1];
      continue;  // every kind carries at least one payload byte
    }
    const std::size_t want = kLinkHeaderSize + mMessage.length - mHave;
    const std::size_t take = std::min(want, bytes.size() - consumed);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(consumed), take,
                mMessage.payload.begin() + static_cast<std::ptrdiff_t>(mHave - kLinkHeaderSize));
    consumed += take;
    mHave += take;
    if (mHave == kLinkHeaderSize + mMessage.length) {
      mHave = 0;
      return Result::Message;
    }
  }
  return Result::NeedMore;
}

}  // namespace device
