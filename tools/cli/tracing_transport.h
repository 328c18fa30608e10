// A HidTransport that prints every report passing through another one: "> " and the 65 bytes of
// each written report, "< " and the bytes of each report read, in lower-case hex.
#pragma once

#include <memory>
#include <mutex>
#include <ostream>
#include <utility>

#include "device/hid_transport.h"

namespace cli {

class TracingTransport : public device::HidTransport {
 public:
  TracingTransport(std::unique_ptr<device::HidTransport> inner, std::ostream& out);

  int Init() override { return mInner->Init(); }
  bool Open(std::uint16_t vendor, std::uint16_t product) override {
    return mInner->Open(vendor, product);
  }
  int GetManufacturerString(wchar_t* buffer, std::size_t capacity) override {
    return mInner->GetManufacturerString(buffer, capacity);
  }
  int GetProductString(wchar_t* buffer, std::size_t capacity) override {
    return mInner->GetProductString(buffer, capacity);
  }
  int GetSerialNumberString(wchar_t* buffer, std::size_t capacity) override {
    return mInner->GetSerialNumberString(buffer, capacity);
  }
  int GetIndexedString(int index, wchar_t* buffer, std::size_t capacity) override {
    return mInner->GetIndexedString(index, buffer, capacity);
  }
  int SetNonBlocking(bool nonBlocking) override { return mInner->SetNonBlocking(nonBlocking); }
  int Write(const std::uint8_t* data, std::size_t length) override;
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override;
  void Close() override { mInner->Close(); }
  std::string Error() override { return mInner->Error(); }
  void SetLostHandler(std::function<void()> handler) override {
    mInner->SetLostHandler(std::move(handler));
  }
  bool IsVirtualUnit() const override { return mInner->IsVirtualUnit(); }
  std::vector<std::string> OtherHolders() override { return mInner->OtherHolders(); }

 private:
  void Print(const char* prefix, const std::uint8_t* bytes, std::size_t count);

  const std::unique_ptr<device::HidTransport> mInner;
  // Guards mOut: reports may pass on several threads.
  std::mutex mMutex;
  std::ostream& mOut;
};

}  // namespace cli
