// The unit's reports over TCP: messages, their encoding, and a receiving state machine that takes a
// byte stream cut anywhere. Pure functions, no I/O.
//
// Every message is a kind byte, a length byte and `length` payload bytes, 1 to 65:
//   Hello         client -> server, the first message: "VXRU", protocol version, access token
//                 (0 to 60 bytes, empty when the client has none)
//   Welcome       server -> client, the answer to Hello: protocol version, status (WelcomeStatus)
//   DeviceString  server -> client, four of them after an accepting Welcome: which string,
//                 the unit's result for it (signed byte), the text as UTF-16LE code units
//   OutputReport  client -> server: one output report for the unit (1 to 65 bytes)
//   InputReport   server -> client: one input report from the unit (1 to 64 bytes)
// Another kind, a length outside the kind's range or a first message that is no Hello ends the
// connection.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/hid_transport.h"

namespace device {

inline constexpr std::uint8_t kLinkProtocolVersion = 1;
inline constexpr std::size_t kLinkHeaderSize = 2;
inline constexpr std::size_t kMaxLinkPayload = kOutputReportSize;
inline constexpr std::size_t kMaxLinkMessage = kLinkHeaderSize + kMaxLinkPayload;
inline constexpr std::array<std::uint8_t, 4> kLinkHelloMagic{'V', 'X', 'R', 'U'};
// What is left of a Hello for the token after the magic and the version byte.
inline constexpr std::size_t kMaxLinkTokenLength = kMaxLinkPayload - kLinkHelloMagic.size() - 1;
// Characters of a device string that fit a DeviceString message; longer ones are cut.
inline constexpr std::size_t kMaxLinkStringChars = (kMaxLinkPayload - 2) / 2;

enum class LinkKind : std::uint8_t {
  Hello = 1,
  Welcome = 2,
  DeviceString = 3,
  OutputReport = 4,
  InputReport = 5,
};

enum class WelcomeStatus : std::uint8_t {
  Accepted = 0,
  TokenMissing = 1,
  TokenWrong = 2,
  Busy = 3,
  VersionUnsupported = 4,
  NoUnit = 5,
};

// Why the server refused, in words both sides show and log; "accepted" for Accepted.
std::string_view WelcomeStatusText(WelcomeStatus status);

enum class DeviceStringId : std::uint8_t { Manufacturer = 0, Product, SerialNumber, Indexed1 };
inline constexpr std::size_t kDeviceStringCount = 4;

// One message as bytes on the wire.
struct LinkBytes {
  std::array<std::uint8_t, kMaxLinkMessage> bytes{};
  std::size_t size = 0;
  std::span<const std::uint8_t> View() const { return {bytes.data(), size}; }
};

// Nullopt when the payload's length is outside the kind's range.
std::optional<LinkBytes> EncodeLinkMessage(LinkKind kind, std::span<const std::uint8_t> payload);
// Nullopt when the token is longer than kMaxLinkTokenLength.
std::optional<LinkBytes> EncodeHello(std::string_view token);
LinkBytes EncodeWelcome(WelcomeStatus status);
// The text is cut at kMaxLinkStringChars.
LinkBytes EncodeDeviceString(DeviceStringId which, int result, std::wstring_view text);

struct Hello {
  std::uint8_t version = 0;
  std::string token;
};
struct Welcome {
  std::uint8_t version = 0;
  WelcomeStatus status = WelcomeStatus::Accepted;
};
struct DeviceString {
  DeviceStringId which = DeviceStringId::Manufacturer;
  int result = 0;
  std::wstring text;
};

// The payloads of the messages above; nullopt when the payload is not one (a Hello without the
// magic, an unknown status or string).
std::optional<Hello> ParseHello(std::span<const std::uint8_t> payload);
std::optional<Welcome> ParseWelcome(std::span<const std::uint8_t> payload);
std::optional<DeviceString> ParseDeviceString(std::span<const std::uint8_t> payload);

struct LinkMessage {
  LinkKind kind = LinkKind::Hello;
  std::uint8_t length = 0;
  std::array<std::uint8_t, kMaxLinkPayload> payload{};
  std::span<const std::uint8_t> Payload() const { return {payload.data(), length}; }
};

// Reassembles messages from a byte stream that arrives in pieces of any size. Holds at most one
// message; an invalid header breaks the stream for good.
class LinkDecoder {
 public:
  enum class Result { NeedMore, Message, Invalid };

  // Takes bytes from the front of `bytes` until a message is complete (Message: Last() holds it
  // until the next call) or every byte is taken (NeedMore); `consumed` says how many were taken.
  // Invalid once a header names an unknown kind or a length outside the kind's range, and on
  // every later call.
  Result Feed(std::span<const std::uint8_t> bytes, std::size_t& consumed);

  const LinkMessage& Last() const { return mMessage; }
  // True between the first byte of a message and its last.
  bool InsideMessage() const { return mHave > 0; }
  bool Broken() const { return mBroken; }
  // What broke the stream, for the log; empty while it is whole.
  std::string_view Fault() const { return mFault; }

 private:
  std::array<std::uint8_t, kLinkHeaderSize> mHeader{};
  LinkMessage mMessage;
  // Bytes of the current message received so far, header included.
  std::size_t mHave = 0;
  bool mBroken = false;
  std::string mFault;
};

}  // namespace device
