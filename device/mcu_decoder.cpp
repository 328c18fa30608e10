#include "device/mcu_decoder.h"

#include <algorithm>
#include <memory>
#include <string>

#include "device/dsp_device.h"
#include "device/firmware_upgrade.h"
#include "device/mcu_records.h"
#include "device/parameter_codes.h"
#include "platform/debug_log.h"
#include "platform/window_messages.h"

namespace device {
namespace {

// Positions inside a reply body.
constexpr std::size_t kCodeByte = 0;
constexpr std::size_t kOpByte = 1;
constexpr std::size_t kFirstPayloadByte = 2;

// `count` bytes from `offset`, cut to what the body holds.
std::span<const std::uint8_t> Field(std::span<const std::uint8_t> body, std::size_t offset,
                                    std::size_t count) {
  if (offset >= body.size()) {
    return {};
  }
  return body.subspan(offset, std::min(count, body.size() - offset));
}

bool HasBytes(std::span<const std::uint8_t> body, std::size_t count, std::uint8_t code) {
  if (body.size() >= count) {
    return true;
  }
  DebugLogA("MCU reply 0x%02x too short (%zu bytes), ignored\n", code, body.size());
  return false;
}

void Post(DspDevice& device, std::uint8_t code, platform::RecordPtr record) {
  platform::PostMessage(device.Window(DspDevice::WindowRole::Main), platform::msg::kMcuNotify, code,
                        std::move(record));
}

std::string Printable(std::span<const std::uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// Body: code, op, status, model, master version, slave version.
void DecodeHandshake(DspDevice& device, std::span<const std::uint8_t> body) {
  constexpr std::size_t kStatus = 2, kModel = 3, kMaster = 4, kSlave = 5;
  if (!HasBytes(body, kStatus + 1, kMcuHandshake)) {
    return;
  }
  if (body[kStatus] == kHandshakeRefusal) {
    device.SetHandshakeOk(false);
    platform::PostMessage(device.Window(DspDevice::WindowRole::Main),
                          platform::msg::kHandshakeRefused, 0, 0);
    // Counted once posted: the handshake may be waiting on another thread for this.
    device.NoteHandshakeReply();
    return;
  }
  if (!HasBytes(body, kSlave + 1, kMcuHandshake)) {
    return;
  }
  device.SetHandshakeOk(true);
  device.SetUnitModel(body[kModel]);
  auto record = std::make_unique<HandshakeRecord>();
  record->model = body[kModel];
  record->masterVersion = body[kMaster];
  record->slaveVersion = body[kSlave];
  DebugLogA("model = %d, master verion = %d, slave verion = %d\n", body[kModel], body[kMaster],
            body[kSlave]);
  Post(device, kMcuHandshake, std::move(record));
  device.NoteHandshakeReply();
}

void DecodeFlashVersion(DspDevice& device, std::span<const std::uint8_t> body) {
  DebugLogA("MCU_GET_DSPFLASH_VER\n");
  if (!HasBytes(body, kFirstPayloadByte + kFlashVersionBytes, kMcuFlashVersion)) {
    return;
  }
  auto record = std::make_unique<FlashVersionRecord>();
  std::copy_n(body.begin() + kFirstPayloadByte, kFlashVersionBytes, record->version.begin());
  DebugLogA("flashver = %02d%02d%02d%02d\n", record->version[0], record->version[1],
            record->version[2], record->version[3]);
  Post(device, kMcuFlashVersion, std::move(record));
}

void DecodeBootloaderVersion(DspDevice& device, std::span<const std::uint8_t> body) {
  if (HasBytes(body, kFirstPayloadByte + 1, kMcuBootloaderVersion)) {
    device.SetBootloaderVersion(body[kFirstPayloadByte]);
  }
}

// Body: code, op, n, n password bytes, m, m remark bytes. Each part is cut to the record's room
// and to what the body holds; the remark's position follows the length the unit gave.
void DecodePassword(DspDevice& device, std::span<const std::uint8_t> body) {
  if (!HasBytes(body, kFirstPayloadByte + 1, kMcuPassword)) {
    return;
  }
  auto record = std::make_unique<PasswordRecord>();
  const std::size_t passwordLength = body[kFirstPayloadByte];
  const auto password =
      Field(body, kFirstPayloadByte + 1, std::min(passwordLength, kMaxPasswordBytes));
  std::copy(password.begin(), password.end(), record->password.begin());
  record->passwordLength = static_cast<std::uint32_t>(password.size());

  const std::size_t remarkAt = kFirstPayloadByte + 1 + passwordLength;
  const auto remarkLength = Field(body, remarkAt, 1);
  if (!remarkLength.empty()) {
    const auto remark =
        Field(body, remarkAt + 1, std::min<std::size_t>(remarkLength[0], kMaxRemarkBytes));
    std::copy(remark.begin(), remark.end(), record->remark.begin());
    record->remarkLength = static_cast<std::uint32_t>(remark.size());
  }
  DebugLogA("password->len(%d),  pwd-->> %s\n", static_cast<int>(record->passwordLength),
            Printable(password).c_str());
  DebugLogA("password->remark_len(%d),  -->> %s\n", static_cast<int>(record->remarkLength),
            Printable(std::span(record->remark).first(record->remarkLength)).c_str());
  Post(device, kMcuPassword, std::move(record));
}

// Body: code, op, n, n bytes of text; cut at 16 bytes.
void DecodeMcuText(DspDevice& device, std::span<const std::uint8_t> body) {
  if (!HasBytes(body, kFirstPayloadByte + 1, kMcuText)) {
    return;
  }
  auto record = std::make_unique<McuTextRecord>();
  const auto text = Field(body, kFirstPayloadByte + 1,
                          std::min<std::size_t>(body[kFirstPayloadByte], kMaxMcuTextBytes));
  std::copy(text.begin(), text.end(), record->text.begin());
  record->length = static_cast<std::uint8_t>(text.size());
  Post(device, kMcuText, std::move(record));
}

// Body: code, op, power-off delay in ms (16-bit); posted as a plain value.
void DecodePowerOffDelay(DspDevice& device, std::span<const std::uint8_t> body) {
  if (HasBytes(body, kFirstPayloadByte + 2, kMcuPowerOffDelay)) {
    platform::PostMessage(device.Window(DspDevice::WindowRole::Main), platform::msg::kMcuNotify,
                          kMcuPowerOffDelay,
                          body[kFirstPayloadByte] * 256 + body[kFirstPayloadByte + 1]);
  }
}

}  // namespace

void DecodeMcuReply(DspDevice& device, std::span<const std::uint8_t> body) {
  if (body.size() <= kOpByte) {
    return;
  }
  const std::uint8_t code = body[kCodeByte];
  if (code == kMcuHandshake) {
    DebugLogA("\nMCU_HANDSHAKE\n");
  }
  if (body[kOpByte] == kOpAck && body.size() > kFirstPayloadByte &&
      FirmwareUpgrade::IsUpgradeCode(kGroupMcu, code)) {
    device.OnUpgradeAcknowledgement(kGroupMcu, code, body[kFirstPayloadByte]);
    return;
  }
  if (body[kOpByte] != kOpReply) {
    return;
  }
  switch (code) {
    case kMcuHandshake:
      DecodeHandshake(device, body);
      break;
    case kMcuFlashVersion:
      DecodeFlashVersion(device, body);
      break;
    case kMcuBootloaderVersion:
      DecodeBootloaderVersion(device, body);
      break;
    case kMcuPassword:
      DecodePassword(device, body);
      break;
    case kMcuText:
      DecodeMcuText(device, body);
      break;
    case kMcuInit:
      DebugLogA("MCU INIT\n");
      break;
    case kMcuPowerOffDelay:
      DecodePowerOffDelay(device, body);
      break;
    default:
      break;  // code 31 (reply to PC_Connect) and unknown codes carry nothing for the PC
  }
}

}  // namespace device
