// HidTransport over a VirtualUnit in the same process. The unit is shared so that a test or a
// program can turn its knobs while DspDevice talks to it.
//
// Like hidapi over hidraw: opening takes a fresh handle on the unit, an unplug ends that handle
// until the transport is opened again, and indexed strings cannot be read (kStringNotSupported).
#pragma once

#include <memory>
#include <mutex>
#include <stop_token>

#include "device/hid_transport.h"
#include "sim/virtual_unit.h"

namespace sim {

class VirtualUnitTransport : public device::HidTransport {
 public:
  explicit VirtualUnitTransport(std::shared_ptr<VirtualUnit> unit);
  ~VirtualUnitTransport() override;
  VirtualUnitTransport(const VirtualUnitTransport&) = delete;
  VirtualUnitTransport& operator=(const VirtualUnitTransport&) = delete;

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
  bool IsVirtualUnit() const override { return true; }
  // One entry for each other connection open on the same virtual unit.
  std::vector<std::string> OtherHolders() override;

 private:
  // The current connection: the unit's handle, and a stop token stopped when closed.
  struct Connection {
    VirtualUnit::HandleId handle = VirtualUnit::kNoHandle;
    std::stop_token stop;

    bool Usable(const VirtualUnit& unit) const {
      return !stop.stop_requested() && unit.IsHandleAlive(handle);
    }
  };
  Connection Current() const;
  int CopyString(const std::wstring& text, wchar_t* buffer, std::size_t capacity) const;

  const std::shared_ptr<VirtualUnit> mUnit;
  // Guards mHandle and mStop.
  mutable std::mutex mMutex;
  VirtualUnit::HandleId mHandle = VirtualUnit::kNoHandle;
  std::stop_source mStop;
};

}  // namespace sim
