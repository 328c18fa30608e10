// A scripted HidTransport for the device tests. The test keeps the FakeLink; the DspDevice owns
// the transport. Reads take queued reports or errors in order and otherwise wait, like a quiet
// unit, until a report is queued, the time-out passes or the transport is closed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/hid_transport.h"

namespace device::testing {

using Bytes = std::vector<std::uint8_t>;

class FakeLink {
 public:
  // Scripting.
  bool openSucceeds = true;
  int failingStrings = 0;  // how many of the four string reads fail, counted from the first
  bool indexedStringSupported = true;  // false: as over hidraw
  std::atomic<bool> readsFail{false};  // every read fails at once, as on a vanished handle

  void QueueReport(Bytes bytes) {
    bytes.resize(kInputReportSize, 0);
    Push(Result{std::move(bytes), 0});
  }
  void QueueError() { Push(Result{{}, -1}); }

  // Observation.
  std::vector<Bytes> Writes() const {
    std::lock_guard lock(mMutex);
    return mWrites;
  }
  bool WaitForWrites(std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mMutex);
    return mChanged.wait_for(lock, timeout, [&] { return mWrites.size() >= count; });
  }
  bool WaitForReader(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    std::unique_lock lock(mMutex);
    return mChanged.wait_for(lock, timeout, [&] { return mReaders > 0; });
  }
  bool OverlappingWrites() const {
    std::lock_guard lock(mMutex);
    return mOverlap;
  }
  int Closes() const {
    std::lock_guard lock(mMutex);
    return mCloses;
  }
  int ReadAttempts() const {
    std::lock_guard lock(mMutex);
    return static_cast<int>(mReadTimeouts.size());
  }
  // The time-out each read was given, in order.
  std::vector<int> ReadTimeouts() const {
    std::lock_guard lock(mMutex);
    return mReadTimeouts;
  }

 private:
  friend class FakeTransport;
  struct Result {
    Bytes bytes;
    int error = 0;
  };

  void Push(Result result) {
    {
      std::lock_guard lock(mMutex);
      mResults.push_back(std::move(result));
    }
    mChanged.notify_all();
  }

  mutable std::mutex mMutex;
  std::condition_variable mChanged;
  std::deque<Result> mResults;
  std::vector<Bytes> mWrites;
  bool mOpen = false;
  int mReaders = 0;
  int mWriters = 0;
  bool mOverlap = false;
  int mCloses = 0;
  int mStringReads = 0;
  std::vector<int> mReadTimeouts;
};

class FakeTransport : public HidTransport {
 public:
  explicit FakeTransport(std::shared_ptr<FakeLink> link) : mLink(std::move(link)) {}

  int Init() override { return 0; }
  bool Open(std::uint16_t, std::uint16_t) override {
    std::lock_guard lock(mLink->mMutex);
    mLink->mOpen = mLink->openSucceeds;
    mLink->mStringReads = 0;
    return mLink->mOpen;
  }
  int GetManufacturerString(wchar_t* buffer, std::size_t capacity) override {
    return String(L"Maker", buffer, capacity);
  }
  int GetProductString(wchar_t* buffer, std::size_t capacity) override {
    return String(L"Unit", buffer, capacity);
  }
  int GetSerialNumberString(wchar_t* buffer, std::size_t capacity) override {
    return String(L"42", buffer, capacity);
  }
  int GetIndexedString(int, wchar_t* buffer, std::size_t capacity) override {
    if (!mLink->indexedStringSupported) {
      return kStringNotSupported;
    }
    return String(L"Indexed", buffer, capacity);
  }
  int SetNonBlocking(bool) override { return 0; }

  int Write(const std::uint8_t* data, std::size_t length) override {
    {
      std::lock_guard lock(mLink->mMutex);
      if (!mLink->mOpen) {
        return -1;
      }
      mLink->mOverlap = mLink->mOverlap || mLink->mWriters > 0;
      ++mLink->mWriters;
    }
    // Gives a second writer the chance to run into this one.
    std::this_thread::yield();
    {
      std::lock_guard lock(mLink->mMutex);
      --mLink->mWriters;
      mLink->mWrites.emplace_back(data, data + length);
    }
    mLink->mChanged.notify_all();
    return static_cast<int>(length);
  }

  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override {
    std::unique_lock lock(mLink->mMutex);
    mLink->mReadTimeouts.push_back(timeoutMs);
    if (mLink->readsFail) {
      return -1;
    }
    ++mLink->mReaders;
    mLink->mChanged.notify_all();
    const auto ready = [&] { return !mLink->mOpen || !mLink->mResults.empty(); };
    if (timeoutMs < 0) {
      mLink->mChanged.wait(lock, ready);
    } else {
      mLink->mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    --mLink->mReaders;
    if (!mLink->mOpen) {
      return -1;
    }
    if (mLink->mResults.empty()) {
      return 0;
    }
    FakeLink::Result result = std::move(mLink->mResults.front());
    mLink->mResults.pop_front();
    if (result.error != 0) {
      return result.error;
    }
    const std::size_t count = std::min(length, result.bytes.size());
    std::copy_n(result.bytes.begin(), count, buffer);
    return static_cast<int>(count);
  }

  void Close() override {
    {
      std::lock_guard lock(mLink->mMutex);
      mLink->mOpen = false;
      ++mLink->mCloses;
    }
    mLink->mChanged.notify_all();
  }
  std::string Error() override { return "scripted error"; }

 private:
  int String(const wchar_t* text, wchar_t* buffer, std::size_t capacity) {
    std::lock_guard lock(mLink->mMutex);
    if (mLink->mStringReads++ < mLink->failingStrings) {
      return -1;
    }
    std::wcsncpy(buffer, text, capacity - 1);
    return 0;
  }

  std::shared_ptr<FakeLink> mLink;
};

}  // namespace device::testing
