#include "sim/virtual_unit_transport.h"

#include <algorithm>
#include <utility>

namespace sim {

VirtualUnitTransport::VirtualUnitTransport(std::shared_ptr<VirtualUnit> unit)
    : mUnit(std::move(unit)) {}

VirtualUnitTransport::~VirtualUnitTransport() {
  Close();
}

int VirtualUnitTransport::Init() {
  return 0;
}

bool VirtualUnitTransport::Open(std::uint16_t vendor, std::uint16_t product) {
  if (vendor != device::kUnitVendorId || product != device::kUnitProductId) {
    return false;
  }
  const VirtualUnit::HandleId handle = mUnit->OpenHandle();
  if (handle == VirtualUnit::kNoHandle) {
    return false;
  }
  std::lock_guard lock(mMutex);
  mStop.request_stop();  // a reader of the handle this one replaces stops
  mUnit->CloseHandle(mHandle);
  mHandle = handle;
  mStop = std::stop_source();
  return true;
}

VirtualUnitTransport::Connection VirtualUnitTransport::Current() const {
  std::lock_guard lock(mMutex);
  return {mHandle, mStop.get_token()};
}

int VirtualUnitTransport::CopyString(const std::wstring& text, wchar_t* buffer,
                                     std::size_t capacity) const {
  if (!Current().Usable(*mUnit) || capacity == 0 || text.empty()) {
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

int VirtualUnitTransport::GetIndexedString(int, wchar_t*, std::size_t) {
  return device::kStringNotSupported;
}

int VirtualUnitTransport::SetNonBlocking(bool) {
  return Current().Usable(*mUnit) ? 0 : -1;
}

int VirtualUnitTransport::Write(const std::uint8_t* data, std::size_t length) {
  const Connection connection = Current();
  if (connection.stop.stop_requested()) {
    return -1;
  }
  return mUnit->WriteReport(connection.handle, std::span(data, length));
}

int VirtualUnitTransport::ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) {
  const Connection connection = Current();
  return mUnit->ReadReport(connection.handle, std::span(buffer, length), timeoutMs,
                           connection.stop);
}

void VirtualUnitTransport::Close() {
  std::lock_guard lock(mMutex);
  mUnit->CloseHandle(mHandle);
  mHandle = VirtualUnit::kNoHandle;
  mStop.request_stop();
}

std::vector<std::string> VirtualUnitTransport::OtherHolders() {
  const int others = mUnit->OtherOpenHandles(Current().handle);
  return std::vector<std::string>(static_cast<std::size_t>(std::max(others, 0)),
                                  "another connection to the virtual unit");
}

std::string VirtualUnitTransport::Error() {
  const Connection connection = Current();
  if (!mUnit->IsPluggedIn()) {
    return "device unplugged";
  }
  if (connection.stop.stop_requested() || connection.handle == VirtualUnit::kNoHandle) {
    return "device closed";
  }
  return mUnit->IsHandleAlive(connection.handle) ? "Success" : "device gone: open it again";
}

}  // namespace sim
