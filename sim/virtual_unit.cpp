#include "sim/virtual_unit.h"

#include <algorithm>
#include <utility>

#include "device/frame.h"

namespace sim {

VirtualUnit::VirtualUnit(UnitIdentity identity, UnitState state)
    : mIdentity(std::move(identity)), mState(std::move(state)) {}

VirtualUnit::HandleId VirtualUnit::OpenHandle() {
  std::lock_guard lock(mMutex);
  if (!mPluggedIn) {
    return kNoHandle;
  }
  mReports.clear();
  mPendingFrames.clear();
  return ++mLastHandle;
}

bool VirtualUnit::IsHandleAlive(HandleId handle) const {
  std::lock_guard lock(mMutex);
  return HandleAlive(handle);
}

bool VirtualUnit::HandleAlive(HandleId handle) const {
  return mPluggedIn && handle != kNoHandle && handle >= mFirstLiveHandle && handle <= mLastHandle;
}

int VirtualUnit::WriteReport(HandleId handle, std::span<const std::uint8_t> report) {
  std::lock_guard lock(mMutex);
  if (!HandleAlive(handle)) {
    return -1;
  }
  // A report that is no command frame is taken and ignored, as the unit does.
  if (auto command = device::ParseCommandFrame(report)) {
    mReceived.push_back(*command);
    if (mDropReplies > 0) {
      --mDropReplies;
    } else {
      switch (command->group) {
        case device::kGroupDsp:
          HandleDsp(*command);
          break;
        case device::kGroupScene:
          HandleScene(*command);
          break;
        case device::kGroupMcu:
          HandleMcu(*command);
          break;
        case device::kGroupKtv:
          HandleKtv(*command);
          break;
        default:
          break;
      }
    }
    FlushReplies();
  }
  return static_cast<int>(report.size());
}

int VirtualUnit::ReadReport(HandleId handle, std::span<std::uint8_t> buffer, int timeoutMs,
                            std::stop_token stop) {
  std::unique_lock lock(mMutex);
  const bool unlimited = timeoutMs < 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    if (!HandleAlive(handle) || stop.stop_requested()) {
      return -1;
    }
    const auto now = Clock::now();
    if (!mReports.empty() && mReports.front().readyAt <= now) {
      const std::size_t count = std::min(buffer.size(), mReports.front().bytes.size());
      std::copy_n(mReports.front().bytes.begin(), count, buffer.begin());
      mReports.pop_front();
      return static_cast<int>(count);
    }
    if (!unlimited && now >= deadline) {
      return 0;
    }
    // Wake for the next report to become ready, the deadline, a new report, or a stop.
    auto wakeAt = unlimited ? Clock::time_point::max() : deadline;
    if (!mReports.empty()) {
      wakeAt = std::min(wakeAt, mReports.front().readyAt);
    }
    const std::size_t queued = mReports.size();
    auto changed = [&] { return !HandleAlive(handle) || mReports.size() != queued; };
    if (wakeAt == Clock::time_point::max()) {
      mChanged.wait(lock, stop, changed);
    } else {
      mChanged.wait_until(lock, stop, wakeAt, changed);
    }
  }
}

bool VirtualUnit::IsPluggedIn() const {
  std::lock_guard lock(mMutex);
  return mPluggedIn;
}

UnitIdentity VirtualUnit::Identity() const {
  std::lock_guard lock(mMutex);
  return mIdentity;
}

void VirtualUnit::SetReplyLatency(std::chrono::milliseconds latency) {
  std::lock_guard lock(mMutex);
  mLatency = latency;
}

void VirtualUnit::SetRefuseHandshake(bool refuse) {
  std::lock_guard lock(mMutex);
  mRefuseHandshake = refuse;
}

void VirtualUnit::SetSplitReplies(bool split) {
  std::lock_guard lock(mMutex);
  mSplitReplies = split;
}

void VirtualUnit::SetTwoFramesPerReport(bool pack) {
  std::lock_guard lock(mMutex);
  mTwoFramesPerReport = pack;
}

void VirtualUnit::CorruptNextChecksums(int count) {
  std::lock_guard lock(mMutex);
  mCorruptChecksums = count;
}

void VirtualUnit::DropNextReplies(int count) {
  std::lock_guard lock(mMutex);
  mDropReplies = count;
}

void VirtualUnit::SetAnswerPcConnect(bool answer) {
  std::lock_guard lock(mMutex);
  mAnswerPcConnect = answer;
}

void VirtualUnit::SetCalibrationPace(std::chrono::milliseconds pace) {
  std::lock_guard lock(mMutex);
  mCalibrationKnobs.pace = pace;
}

void VirtualUnit::SetCalibrationFailure(std::optional<int> failure) {
  std::lock_guard lock(mMutex);
  mCalibrationKnobs.failure = failure;
}

void VirtualUnit::Unplug() {
  std::lock_guard listeners(mListenerMutex);
  {
    std::lock_guard lock(mMutex);
    if (!mPluggedIn) {
      return;
    }
    mPluggedIn = false;
    mFirstLiveHandle = mLastHandle + 1;
    mReports.clear();
    mPendingFrames.clear();
  }
  mChanged.notify_all();
  NotifyPlugListeners(false);
}

void VirtualUnit::PlugIn() {
  std::lock_guard listeners(mListenerMutex);
  {
    std::lock_guard lock(mMutex);
    if (mPluggedIn) {
      return;
    }
    mPluggedIn = true;
  }
  NotifyPlugListeners(true);
}

int VirtualUnit::AddPlugListener(PlugListener listener) {
  std::lock_guard lock(mListenerMutex);
  mListeners.emplace_back(mNextListener, std::move(listener));
  return mNextListener++;
}

void VirtualUnit::RemovePlugListener(int id) {
  std::lock_guard lock(mListenerMutex);
  std::erase_if(mListeners, [id](const auto& entry) { return entry.first == id; });
}

void VirtualUnit::NotifyPlugListeners(bool pluggedIn) {
  std::vector<int> ids;
  for (const auto& entry : mListeners) {
    ids.push_back(entry.first);
  }
  for (int id : ids) {
    // A listener removed by an earlier one is skipped; each runs from a copy, so that it may
    // remove itself.
    const auto entry = std::ranges::find(mListeners, id, &std::pair<int, PlugListener>::first);
    if (entry != mListeners.end()) {
      const PlugListener listener = entry->second;
      listener(pluggedIn);
    }
  }
}

void VirtualUnit::Announce(std::uint8_t group, std::span<const std::uint8_t> body) {
  std::lock_guard lock(mMutex);
  Reply(group, body);
}

std::vector<device::CommandRecord> VirtualUnit::ReceivedCommands() const {
  std::lock_guard lock(mMutex);
  return mReceived;
}

bool VirtualUnit::WaitForState(const std::function<bool(const UnitState&)>& holds,
                               std::chrono::milliseconds timeout) {
  std::unique_lock lock(mMutex);
  return mChanged.wait_for(lock, timeout, [&] { return holds(mState); });
}

bool VirtualUnit::PcConnected() const {
  std::lock_guard lock(mMutex);
  return mPcConnected;
}

std::string VirtualUnit::Password() const {
  std::lock_guard lock(mMutex);
  return mPassword;
}

std::string VirtualUnit::Remark() const {
  std::lock_guard lock(mMutex);
  return mRemark;
}

void VirtualUnit::Reply(std::uint8_t group, std::span<const std::uint8_t> body) {
  auto frame = device::BuildReplyFrame(group, body);
  if (!frame) {
    return;
  }
  if (mCorruptChecksums > 0) {
    --mCorruptChecksums;
    frame->back() ^= 0xFF;
  }
  mPendingFrames.push_back(std::move(*frame));
}

void VirtualUnit::FlushReplies() {
  const auto readyAt = Clock::now() + mLatency;
  // Bytes go at the start of a report, or at its end where a frame continues in the next one.
  auto queue = [&](std::span<const std::uint8_t> bytes, bool atEnd = false) {
    QueuedReport report{{}, readyAt};
    const std::size_t count = std::min(bytes.size(), report.bytes.size());
    std::copy_n(bytes.begin(), count,
                report.bytes.begin() + (atEnd ? report.bytes.size() - count : 0));
    mReports.push_back(report);
  };
  while (!mPendingFrames.empty()) {
    std::vector<std::uint8_t> bytes = std::move(mPendingFrames.front());
    mPendingFrames.pop_front();
    if (mSplitReplies) {
      const std::size_t half = bytes.size() / 2;
      queue(std::span(bytes).first(half), true);
      queue(std::span(bytes).subspan(half));
      continue;
    }
    if (mTwoFramesPerReport && !mPendingFrames.empty() &&
        bytes.size() + mPendingFrames.front().size() <= device::kInputReportSize) {
      bytes.insert(bytes.end(), mPendingFrames.front().begin(), mPendingFrames.front().end());
      mPendingFrames.pop_front();
    }
    // A frame longer than one report continues in the next.
    for (std::size_t at = 0; at < bytes.size(); at += device::kInputReportSize) {
      queue(std::span(bytes).subspan(at, std::min(device::kInputReportSize, bytes.size() - at)));
    }
  }
  mChanged.notify_all();
}

}  // namespace sim
