// Untrusted bytes from the unit through the frame parser and every reply decoder.
//
// The first input byte picks the path: even, the rest arrives as 64-byte input reports through
// ReadHIDData (ring, parser, dispatch); odd, the second byte is a group and the rest a reply body
// handed straight to DispatchReply, so the decoders see bodies without a valid checksum too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"

namespace {

constexpr platform::WindowHandle kWindow = 1;

// Serves the input as consecutive input reports; a quiet unit once it is used up.
class ScriptedTransport : public device::HidTransport {
 public:
  explicit ScriptedTransport(std::span<const std::uint8_t> data) : mData(data) {}

  int Init() override { return 0; }
  bool Open(std::uint16_t, std::uint16_t) override { return true; }
  int GetManufacturerString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetProductString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetSerialNumberString(wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int GetIndexedString(int, wchar_t* buffer, std::size_t) override { return Empty(buffer); }
  int SetNonBlocking(bool) override { return 0; }
  int Write(const std::uint8_t*, std::size_t length) override { return static_cast<int>(length); }
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int) override {
    if (mData.empty()) {
      return 0;
    }
    const std::size_t count = std::min({length, device::kInputReportSize, mData.size()});
    std::fill_n(buffer, length, 0);
    std::copy_n(mData.begin(), count, buffer);
    mData = mData.subspan(count);
    return static_cast<int>(device::kInputReportSize);
  }
  void Close() override {}
  std::string Error() override { return {}; }

  bool Exhausted() const { return mData.empty(); }

 private:
  static int Empty(wchar_t* buffer) {
    buffer[0] = L'\0';
    return 0;
  }
  std::span<const std::uint8_t> mData;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) {
    return 0;
  }
  static const auto poster = [] {
    auto recording = std::make_shared<platform::QueuedPoster>();
    recording->OpenWindow(kWindow);
    platform::InstallPoster(recording);
    return recording;
  }();

  const std::span<const std::uint8_t> input(data, size);
  auto transport = std::make_unique<ScriptedTransport>(input.subspan(1));
  const ScriptedTransport& script = *transport;
  device::DspDevice unit(std::move(transport));
  for (auto role : {device::DspDevice::WindowRole::Main, device::DspDevice::WindowRole::Scene,
                    device::DspDevice::WindowRole::AutoCal, device::DspDevice::WindowRole::Tool}) {
    unit.SetWindow(role, kWindow);
  }
  unit.OpenHIDDevice();

  if (input[0] % 2 == 0) {
    while (!script.Exhausted()) {
      unit.ReadReply(0);
    }
  } else {
    const auto body = input.subspan(2, std::min(size - 2, device::kMaxReplyBody));
    unit.DispatchReply(input[1], body);
  }
  poster->TakeAll();
  return 0;
}
