// HidTransport over hidapi's hidraw backend: the real unit.
//
// hidapi does not make one device safe for concurrent calls (each call rewrites the device's
// error text) nor for hid_close during a pending read. So every call on the device takes a turn,
// reads wait in short slices and look for a close between them, and Close waits until the call
// in progress has left before it releases the device.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>

#include "device/hid_transport.h"

struct hid_device_;

namespace device {

class HidapiTransport : public HidTransport {
 public:
  HidapiTransport() = default;
  ~HidapiTransport() override;
  HidapiTransport(const HidapiTransport&) = delete;
  HidapiTransport& operator=(const HidapiTransport&) = delete;

  int Init() override;
  bool Open(std::uint16_t vendor, std::uint16_t product) override;
  int GetManufacturerString(wchar_t* buffer, std::size_t capacity) override;
  int GetProductString(wchar_t* buffer, std::size_t capacity) override;
  int GetSerialNumberString(wchar_t* buffer, std::size_t capacity) override;
  int GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) override;
  int SetNonBlocking(bool nonBlocking) override;
  int Write(const std::uint8_t* data, std::size_t length) override;
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override;
  void Close() override;
  std::string Error() override;
  // Other processes with the unit's hidraw node open.
  std::vector<std::string> OtherHolders() override;

 private:
  enum class Turn { Normal, Priority };
  // Waits for the device to be free and claims it; null when it is closed or closing.
  hid_device_* Acquire(Turn turn);
  void Release();
  // Runs `call` on the device in its own turn; `failure` when the device is not open.
  template <typename Call>
  int WithDevice(Turn turn, int failure, Call call);

  // Guards every member below.
  std::mutex mMutex;
  // Signalled whenever mInCall, mClosing or mDevice change.
  std::condition_variable mChanged;
  hid_device_* mDevice = nullptr;
  // The hidraw node of the open device.
  std::string mPath;
  bool mInCall = false;
  bool mClosing = false;
  // Writers waiting for a turn; a reader between two slices lets them go first.
  int mWaitingWriters = 0;
  std::string mLastError;
};

}  // namespace device
