#include "device/hidapi_transport.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <chrono>
#include <cwchar>

#include "platform/device_holders.h"

namespace device {
namespace {

// A read holds the device for at most this long at a time, which bounds how long a close or a
// concurrent write waits for it.
constexpr int kReadSliceMs = 20;

std::string Narrow(const wchar_t* text) {
  if (text == nullptr) {
    return {};
  }
  std::string out;
  for (; *text != L'\0'; ++text) {
    out += (*text >= 0x20 && *text < 0x7F) ? static_cast<char>(*text) : '?';
  }
  return out;
}

}  // namespace

HidapiTransport::~HidapiTransport() {
  Close();
}

int HidapiTransport::Init() {
  return hid_init();
}

bool HidapiTransport::Open(std::uint16_t vendor, std::uint16_t product) {
  Close();
  // The first device with these ids, as hid_open takes it, keeping its node.
  std::string path;
  if (hid_device_info* devices = hid_enumerate(vendor, product)) {
    path = devices->path != nullptr ? devices->path : "";
    hid_free_enumeration(devices);
  }
  hid_device* device = path.empty() ? nullptr : hid_open_path(path.c_str());
  std::lock_guard lock(mMutex);
  if (device == nullptr) {
    mLastError = path.empty() ? "no device" : Narrow(hid_error(nullptr));
    return false;
  }
  mDevice = device;
  mPath = path;
  mChanged.notify_all();
  return true;
}

hid_device* HidapiTransport::Acquire(Turn turn) {
  std::unique_lock lock(mMutex);
  if (turn == Turn::Priority) {
    ++mWaitingWriters;
  }
  mChanged.wait(lock, [&] {
    return mDevice == nullptr || mClosing ||
           (!mInCall && (turn == Turn::Priority || mWaitingWriters == 0));
  });
  if (turn == Turn::Priority) {
    --mWaitingWriters;
  }
  if (mDevice == nullptr || mClosing) {
    return nullptr;
  }
  mInCall = true;
  return mDevice;
}

void HidapiTransport::Release() {
  {
    std::lock_guard lock(mMutex);
    mInCall = false;
  }
  mChanged.notify_all();
}

template <typename Call>
int HidapiTransport::WithDevice(Turn turn, int failure, Call call) {
  hid_device* device = Acquire(turn);
  if (device == nullptr) {
    return failure;
  }
  const int result = call(device);
  Release();
  return result;
}

int HidapiTransport::GetManufacturerString(wchar_t* buffer, std::size_t capacity) {
  return WithDevice(Turn::Normal, -1, [&](hid_device* device) {
    return hid_get_manufacturer_string(device, buffer, capacity);
  });
}

int HidapiTransport::GetProductString(wchar_t* buffer, std::size_t capacity) {
  return WithDevice(Turn::Normal, -1, [&](hid_device* device) {
    return hid_get_product_string(device, buffer, capacity);
  });
}

int HidapiTransport::GetSerialNumberString(wchar_t* buffer, std::size_t capacity) {
  return WithDevice(Turn::Normal, -1, [&](hid_device* device) {
    return hid_get_serial_number_string(device, buffer, capacity);
  });
}

int HidapiTransport::GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) {
  return WithDevice(Turn::Normal, -1, [&](hid_device* device) {
    const int result = hid_get_indexed_string(device, index, buffer, capacity);
    // The hidraw backend answers every indexed string with this error.
    const wchar_t* error = result < 0 ? hid_error(device) : nullptr;
    if (error != nullptr && std::wcsstr(error, L"not supported") != nullptr) {
      return kStringNotSupported;
    }
    return result;
  });
}

int HidapiTransport::SetNonBlocking(bool nonBlocking) {
  return WithDevice(Turn::Normal, -1, [&](hid_device* device) {
    return hid_set_nonblocking(device, nonBlocking ? 1 : 0);
  });
}

int HidapiTransport::Write(const std::uint8_t* data, std::size_t length) {
  return WithDevice(Turn::Priority, -1, [&](hid_device* device) {
    const int written = hid_write(device, data, length);
    if (written < 0) {
      // Taken now: the next call on the device overwrites the error text.
      const std::string error = Narrow(hid_error(device));
      std::lock_guard lock(mMutex);
      mLastError = error;
    }
    return written;
  });
}

int HidapiTransport::ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    int slice = kReadSliceMs;
    if (timeoutMs >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      slice = static_cast<int>(std::clamp<long long>(left, 0, kReadSliceMs));
    }
    const int result = WithDevice(Turn::Normal, -1, [&](hid_device* device) {
      const int read = hid_read_timeout(device, buffer, length, slice);
      if (read < 0) {
        const std::string error = Narrow(hid_error(device));
        std::lock_guard lock(mMutex);
        mLastError = error;
      }
      return read;
    });
    if (result != 0 || (timeoutMs >= 0 && Clock::now() >= deadline)) {
      return result;
    }
  }
}

void HidapiTransport::Close() {
  std::unique_lock lock(mMutex);
  mChanged.wait(lock, [this] { return !mClosing; });
  if (mDevice == nullptr) {
    return;
  }
  mClosing = true;
  mChanged.notify_all();
  mChanged.wait(lock, [this] { return !mInCall; });
  hid_close(mDevice);
  mDevice = nullptr;
  mClosing = false;
  mChanged.notify_all();
}

std::vector<std::string> HidapiTransport::OtherHolders() {
  std::string path;
  {
    std::lock_guard lock(mMutex);
    if (mDevice == nullptr) {
      return {};
    }
    path = mPath;
  }
  std::vector<std::string> holders;
  for (const auto& process : platform::ProcessesHolding(path)) {
    holders.push_back(platform::DescribeProcess(process));
  }
  return holders;
}

std::string HidapiTransport::Error() {
  std::lock_guard lock(mMutex);
  return mLastError;
}

}  // namespace device
