// The link's messages as bytes, and the receiving state machine over streams cut anywhere.
#include "device/tcp_framing.h"

#include <gtest/gtest.h>

#include <vector>

namespace device {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const LinkBytes& message) {
  return Bytes(message.View().begin(), message.View().end());
}

struct Decoded {
  LinkKind kind;
  Bytes payload;
  bool operator==(const Decoded&) const = default;
};

// Feeds `stream` in pieces of the given sizes (the last piece takes the rest).
std::vector<Decoded> DecodeInPieces(const Bytes& stream, const std::vector<std::size_t>& cuts,
                                    LinkDecoder::Result* last = nullptr) {
  LinkDecoder decoder;
  std::vector<Decoded> out;
  std::size_t at = 0;
  for (std::size_t piece = 0; at < stream.size(); ++piece) {
    const std::size_t size = piece < cuts.size() ? cuts[piece] : stream.size() - at;
    std::span<const std::uint8_t> rest(stream.data() + at, std::min(size, stream.size() - at));
    at += rest.size();
    while (!rest.empty()) {
      std::size_t used = 0;
      const auto result = decoder.Feed(rest, used);
      rest = rest.subspan(used);
      if (last != nullptr) {
        *last = result;
      }
      if (result == LinkDecoder::Result::Invalid) {
        return out;
      }
      if (result == LinkDecoder::Result::Message) {
        const auto payload = decoder.Last().Payload();
        out.push_back({decoder.Last().kind, Bytes(payload.begin(), payload.end())});
      }
    }
  }
  return out;
}

TEST(TcpFraming, MessagesAsBytes) {
  // kind 1, length 7, "VXRU", version 1, token "ab"
  EXPECT_EQ(Of(*EncodeHello("ab")), (Bytes{0x01, 0x07, 'V', 'X', 'R', 'U', 0x01, 'a', 'b'}));
  // kind 2, length 2, version 1, status 2 (wrong token)
  EXPECT_EQ(Of(EncodeWelcome(WelcomeStatus::TokenWrong)), (Bytes{0x02, 0x02, 0x01, 0x02}));
  // kind 3, length 8, product string, result -1, "TRZ" as UTF-16LE
  EXPECT_EQ(Of(EncodeDeviceString(DeviceStringId::Product, -1, L"TRZ")),
            (Bytes{0x03, 0x08, 0x01, 0xFF, 'T', 0, 'R', 0, 'Z', 0}));
  const Bytes report(kOutputReportSize, 0xAB);
  const Bytes output = Of(*EncodeLinkMessage(LinkKind::OutputReport, report));
  EXPECT_EQ(output.size(), 67u);
  EXPECT_EQ(output[0], 0x04);
  EXPECT_EQ(output[1], 65);

  EXPECT_TRUE(EncodeHello(std::string(kMaxLinkTokenLength, 't')).has_value());
  EXPECT_FALSE(EncodeHello(std::string(kMaxLinkTokenLength + 1, 't')).has_value());
  EXPECT_FALSE(EncodeLinkMessage(LinkKind::InputReport, Bytes(65, 0)).has_value());
  EXPECT_FALSE(EncodeLinkMessage(LinkKind::OutputReport, Bytes{}).has_value());
}

TEST(TcpFraming, PayloadsReadBackAndRefuseWhatTheyAreNot) {
  const auto hello = ParseHello(EncodeHello("s3cret")->View().subspan(kLinkHeaderSize));
  ASSERT_TRUE(hello.has_value());
  EXPECT_EQ(hello->version, kLinkProtocolVersion);
  EXPECT_EQ(hello->token, "s3cret");
  EXPECT_FALSE(ParseHello(Bytes{'V', 'X', 'R', 'X', 1}).has_value());

  EXPECT_FALSE(ParseWelcome(Bytes{1, 6}).has_value());  // no such status

  const std::wstring longName(40, L'n');
  const auto string = ParseDeviceString(
      EncodeDeviceString(DeviceStringId::Indexed1, -3, longName).View().subspan(2));
  ASSERT_TRUE(string.has_value());
  EXPECT_EQ(string->which, DeviceStringId::Indexed1);
  EXPECT_EQ(string->result, -3);
  EXPECT_EQ(string->text, longName.substr(0, kMaxLinkStringChars));
  EXPECT_FALSE(ParseDeviceString(Bytes{4, 0}).has_value());       // no fifth string
  EXPECT_FALSE(ParseDeviceString(Bytes{0, 0, 'a'}).has_value());  // half a character
}

TEST(TcpFraming, AStreamCutAnywhereGivesTheSameMessages) {
  Bytes stream;
  for (const LinkBytes& message :
       {*EncodeHello("tok"), EncodeWelcome(WelcomeStatus::Accepted),
        EncodeDeviceString(DeviceStringId::Manufacturer, 0, L"Tessamark"),
        *EncodeLinkMessage(LinkKind::InputReport, Bytes(64, 0x5A)),
        *EncodeLinkMessage(LinkKind::OutputReport, Bytes(65, 0xA5)),
        *EncodeLinkMessage(LinkKind::InputReport, Bytes{7})}) {
    stream.insert(stream.end(), message.View().begin(), message.View().end());
  }
  const auto whole = DecodeInPieces(stream, {});
  ASSERT_EQ(whole.size(), 6u);
  EXPECT_EQ(whole[3], (Decoded{LinkKind::InputReport, Bytes(64, 0x5A)}));
  EXPECT_EQ(whole[5], (Decoded{LinkKind::InputReport, Bytes{7}}));

  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    EXPECT_EQ(DecodeInPieces(stream, {cut}), whole) << "cut after byte " << cut;
  }
  EXPECT_EQ(DecodeInPieces(stream, std::vector<std::size_t>(stream.size(), 1)), whole);
}

struct BadHeader {
  const char* name;
  Bytes bytes;
  const char* fault;
};

class TcpFramingBadHeader : public ::testing::TestWithParam<BadHeader> {};

TEST_P(TcpFramingBadHeader, BreaksTheStreamForGood) {
  Bytes stream = GetParam().bytes;
  const LinkBytes good = EncodeWelcome(WelcomeStatus::Accepted);
  stream.insert(stream.end(), good.View().begin(), good.View().end());
  LinkDecoder decoder;
  std::size_t used = 0;
  EXPECT_EQ(decoder.Feed(stream, used), LinkDecoder::Result::Invalid);
  EXPECT_EQ(used, kLinkHeaderSize);  // nothing past the bad header is looked at
  EXPECT_NE(decoder.Fault().find(GetParam().fault), std::string_view::npos) << decoder.Fault();
  EXPECT_EQ(decoder.Feed(good.View(), used), LinkDecoder::Result::Invalid);
  EXPECT_EQ(used, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, TcpFramingBadHeader,
    ::testing::Values(BadHeader{"KindZero", {0x00, 0x01}, "unknown message kind 0"},
                      BadHeader{"KindSix", {0x06, 0x01}, "unknown message kind 6"},
                      BadHeader{"HttpRequest", {'G', 'E'}, "unknown message kind 71"},
                      BadHeader{"OutputOver65", {0x04, 66}, "length 66 (1..65 allowed)"},
                      BadHeader{"InputOver64", {0x05, 65}, "length 65 (1..64 allowed)"},
                      BadHeader{"LengthMax", {0x04, 0xFF}, "length 255"},
                      BadHeader{"Empty", {0x04, 0x00}, "length 0"},
                      BadHeader{"ShortHello", {0x01, 0x04}, "length 4 (5..65 allowed)"},
                      BadHeader{"LongWelcome", {0x02, 0x03}, "length 3 (2..2 allowed)"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace device
