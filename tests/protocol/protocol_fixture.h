// A DspDevice talking to the virtual unit in process, posting to four recording windows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "device/dsp_device.h"
#include "platform/queued_poster.h"
#include "platform/window_messages.h"
#include "sim/virtual_unit.h"
#include "sim/virtual_unit_transport.h"

namespace device::testing {

inline constexpr platform::WindowHandle kMainWindow = 11;
inline constexpr platform::WindowHandle kSceneWindow = 12;
inline constexpr platform::WindowHandle kAutoCalWindow = 13;
inline constexpr platform::WindowHandle kToolWindow = 14;

using Bytes = std::vector<std::uint8_t>;

// Keeps every output report on its way to the unit, to check whole frames, and the time-out of
// every read.
class RecordingTransport : public sim::VirtualUnitTransport {
 public:
  using VirtualUnitTransport::VirtualUnitTransport;

  int Write(const std::uint8_t* data, std::size_t length) override {
    {
      std::lock_guard lock(mMutex);
      mFrames.emplace_back(data, data + length);
    }
    return VirtualUnitTransport::Write(data, length);
  }
  Bytes LastFrame() const {
    std::lock_guard lock(mMutex);
    return mFrames.empty() ? Bytes{} : mFrames.back();
  }
  int ReadTimeout(std::uint8_t* buffer, std::size_t length, int timeoutMs) override {
    {
      std::lock_guard lock(mMutex);
      mReadTimeouts.push_back(timeoutMs);
    }
    return VirtualUnitTransport::ReadTimeout(buffer, length, timeoutMs);
  }
  std::vector<int> ReadTimeouts() const {
    std::lock_guard lock(mMutex);
    return mReadTimeouts;
  }

 private:
  mutable std::mutex mMutex;  // guards mFrames and mReadTimeouts
  std::vector<Bytes> mFrames;
  std::vector<int> mReadTimeouts;
};

class ProtocolFixture : public ::testing::Test {
 protected:
  ProtocolFixture() : ProtocolFixture(sim::FactoryUnitState()) {}
  // A virtual unit holding `state` instead of the factory settings.
  explicit ProtocolFixture(sim::UnitState state)
      : unit(std::make_shared<sim::VirtualUnit>(sim::UnitIdentity{}, std::move(state))) {
    for (auto window : {kMainWindow, kSceneWindow, kAutoCalWindow, kToolWindow}) {
      poster->OpenWindow(window);
    }
    platform::InstallPoster(poster);
    auto transportOwned = std::make_unique<RecordingTransport>(unit);
    transport = transportOwned.get();
    device = std::make_unique<DspDevice>(std::move(transportOwned));
    device->SetWindow(DspDevice::WindowRole::Main, kMainWindow);
    device->SetWindow(DspDevice::WindowRole::Scene, kSceneWindow);
    device->SetWindow(DspDevice::WindowRole::AutoCal, kAutoCalWindow);
    device->SetWindow(DspDevice::WindowRole::Tool, kToolWindow);
    device->OpenHIDDevice();
  }
  ~ProtocolFixture() override {
    device.reset();
    platform::InstallPoster(nullptr);
  }

  // The payload of the last command the unit received.
  Bytes LastPayload() const {
    const auto commands = unit->ReceivedCommands();
    return commands.empty() ? Bytes{} : commands.back().payload;
  }

  // Hands one reply body to the decoders, as the frame parser does.
  void Dispatch(std::uint8_t group, const Bytes& body) { device->DispatchReply(group, body); }

  // Every message posted so far whose id and wParam match, in order; the others stay for later.
  std::vector<platform::PostedMessage> Take(std::uint32_t id, std::uintptr_t code) {
    for (auto& message : poster->TakeAll()) {
      mUntaken.push_back(std::move(message));
    }
    std::vector<platform::PostedMessage> matching;
    std::vector<platform::PostedMessage> rest;
    for (auto& message : mUntaken) {
      auto& target = message.id == id && message.wParam == code ? matching : rest;
      target.push_back(std::move(message));
    }
    mUntaken = std::move(rest);
    return matching;
  }

  // The records of the matching messages, as T.
  template <typename T>
  std::vector<T> Records(std::uint32_t id, std::uintptr_t code) {
    std::vector<T> records;
    for (const auto& message : Take(id, code)) {
      if (const T* record = platform::RecordAs<T>(message)) {
        records.push_back(*record);
      }
    }
    return records;
  }

  std::shared_ptr<sim::VirtualUnit> unit;
  std::shared_ptr<platform::QueuedPoster> poster = std::make_shared<platform::QueuedPoster>();
  RecordingTransport* transport = nullptr;
  std::unique_ptr<DspDevice> device;

 private:
  std::vector<platform::PostedMessage> mUntaken;
};

}  // namespace device::testing
