#include "sim/virtual_unit_transport.h"

#include <algorithm>
#include <utility>

namespace sim {

VirtualUnitTransport::VirtualUnitTransport(std::shared_ptr<VirtualUnit> unit)
    : mUnit(std::move(unit)) {}

int VirtualUnitTransport::Init() {
  return 0;
}

bool VirtualUnitTransport::Open(std::uint16_t vendor, std::uint16_t product) {
  if (vendor != device::kUnitVendorId || product != device::kUnitProductId ||
      !mUnit->IsPluggedIn()) {
    return false;
  }
  std::lock_guard lock(mMutex);
  mOpen = true;
  mConnection = std::stop_source();
  return true;
}

std::stop_token VirtualUnitTransport::Connection() const {
  std::lock_guard lock(mMutex);
  if (!mOpen) {
    std::stop_source closed;
    closed.request_stop();
    return closed.get_token();
  }
  return mConnection.get_token();
}

int VirtualUnitTransport::CopyString(const std::wstring& text, wchar_t* buffer,
                                     std::size_t capacity) const {
  if (Connection().stop_requested() || capacity == 0) {
    return -1;
  }
  const std::size_t count = std::min(text.size(), capacity - 1);
  std::copy_n(text.begin(), count, buffer);
  buffer[count] = L'\0';
  return 0;
}

int VirtualUnitTransport::GetManufacturerString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(mUnit->Identity().manufacturer, buffer, capacity);
}

int VirtualUnitTransport::GetProductString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(mUnit->Identity().product, buffer, capacity);
}

int VirtualUnitTransport::GetSerialNumberString(wchar_t* buffer, std::size_t capacity) {
  return CopyString(mUnit->Identity().serialNumber, buffer, capacity);
}

int VirtualUnitTransport::GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) {
  return index == 1 ? CopyString(mUnit->Identity().product, buffer, capacity) : -1;
}

int VirtualUnitTransport::SetNonBlocking(bool) {
  return Connection().stop_requested() ? -1 : 0;
}

int VirtualUnitTransport::Write(const std::uint8_t* data, std::size_t length) {
  if (Connection().stop_requested()) {
    return -1;
  }
  return mUnit->WriteReport(std::span(data, length));
}

int VirtualUnitTransport::ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
  return mUnit->ReadReport(std::span(buffer, length), timeoutMs, Connection());
}

void VirtualUnitTransport::Close() {
  std::lock_guard lock(mMutex);
  mOpen = false;
  mConnection.request_stop();
}

std::string VirtualUnitTransport::Error() {
  if (!mUnit->IsPluggedIn()) {
    return "device unplugged";
  }
  return Connection().stop_requested() ? "device closed" : "Success";
}

}  // namespace sim
