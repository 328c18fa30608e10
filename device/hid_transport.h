// The seam under DspDevice: one HID connection to the unit, reports in and out.
//
// Implementations: HidapiTransport (the real unit over hidraw), VirtualUnitTransport (the
// in-process virtual unit), TcpTransport (a unit served by another process over TCP). Every
// operation may be called from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace device {

// The unit's USB ids.
inline constexpr std::uint16_t kUnitVendorId = 0x0483;
inline constexpr std::uint16_t kUnitProductId = 0x5750;

// An output report is the report id 0x00 followed by 64 bytes; an input report is 64 bytes.
inline constexpr std::size_t kOutputReportSize = 65;
inline constexpr std::size_t kInputReportSize = 64;
// Room of the buffer the device strings are read into, in wide characters.
inline constexpr std::size_t kDeviceStringCapacity = 255;
// What a string read returns when the transport cannot read that kind of string at all (hidraw
// has no indexed strings): no fault of the device.
inline constexpr int kStringNotSupported = -2;

class HidTransport {
 public:
  virtual ~HidTransport() = default;

  // 0 on success.
  virtual int Init() = 0;
  // Opens the first device with these ids; false when there is none or it cannot be opened.
  virtual bool Open(std::uint16_t vendor, std::uint16_t product) = 0;

  // Device strings into `buffer` (room for `capacity` wide characters, terminated).
  // Negative on failure; kStringNotSupported when the transport has no way to read the string.
  virtual int GetManufacturerString(wchar_t* buffer, std::size_t capacity) = 0;
  virtual int GetProductString(wchar_t* buffer, std::size_t capacity) = 0;
  virtual int GetSerialNumberString(wchar_t* buffer, std::size_t capacity) = 0;
  virtual int GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) = 0;

  // 0 on success.
  virtual int SetNonBlocking(bool nonBlocking) = 0;

  // Writes one output report; the number of bytes written, negative on failure.
  virtual int Write(const std::uint8_t* data, std::size_t length) = 0;
  // Reads one input report, waiting at most `timeoutMs` (negative: no limit).
  // The number of bytes read, 0 when the time-out passed, negative on error or when closed.
  virtual int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) = 0;

  // Closes the device. Safe while another thread is inside ReadTimeout or Write: that call
  // returns promptly with an error and the device is released only after it has left.
  virtual void Close() = 0;

  // Text of the last error, for the log.
  virtual std::string Error() = 0;

  // `handler` is called once, on a thread of the transport, when an open connection ends by
  // itself: the network link to a unit in another process dropped. The program treats that as
  // an unplug. A real or in-process unit's removal is reported by the hot-plug watcher instead,
  // so those transports keep the handler unused. The handler must not wait for the transport:
  // it posts, or wakes a thread that closes it.
  virtual void SetLostHandler(std::function<void()> handler) { static_cast<void>(handler); }
  // True only for the in-process virtual unit (and transports that pass its reports on
  // unchanged). Demo firmware, made for the virtual unit, is sent to nothing else.
  virtual bool IsVirtualUnit() const { return false; }
  // Other programs that hold the open device, one description each ("pid 1234 (vexaro)");
  // empty when there are none or the transport cannot tell.
  virtual std::vector<std::string> OtherHolders() { return {}; }
};

}  // namespace device
