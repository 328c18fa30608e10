#include "sim/virtual_unit.h"

#include <algorithm>
#include <utility>

#include "device/frame.h"

namespace sim {
namespace {

// How long a restarting unit waits for the PC to read its last answers before it leaves anyway.
constexpr std::chrono::milliseconds kLeaveGrace{200};

}  // namespace

VirtualUnit::VirtualUnit(UnitIdentity identity, UnitState state)
    : mIdentity(std::move(identity)), mState(std::move(state)) {}

VirtualUnit::HandleId VirtualUnit::OpenHandle() {
  std::lock_guard lock(mMutex);
  if (!mPluggedIn || mRestartPending) {
    return kNoHandle;
  }
  mReports.clear();
  mPendingFrames.clear();
  mOpenHandles.insert(++mLastHandle);
  return mLastHandle;
}

void VirtualUnit::CloseHandle(HandleId handle) {
  std::lock_guard lock(mMutex);
  mOpenHandles.erase(handle);
}

int VirtualUnit::OtherOpenHandles(HandleId handle) const {
  std::lock_guard lock(mMutex);
  return static_cast<int>(std::ranges::count_if(
      mOpenHandles, [&](HandleId open) { return open != handle && HandleAlive(open); }));
}

bool VirtualUnit::IsHandleAlive(HandleId handle) const {
  std::lock_guard lock(mMutex);
  return HandleAlive(handle);
}

bool VirtualUnit::HandleAlive(HandleId handle) const {
  return mPluggedIn && handle != kNoHandle && handle >= mFirstLiveHandle && handle <= mLastHandle;
}

int VirtualUnit::WriteReport(HandleId handle, std::span<const std::uint8_t> report) {
  {
    std::lock_guard lock(mMutex);
    if (!HandleAlive(handle)) {
      return -1;
    }
    const auto command = device::ParseCommandFrame(report);
    // A report that is no command frame is taken and ignored, as the unit does.
    if (!command) {
      return static_cast<int>(report.size());
    }
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
    if (!mVanishing) {
      FlushReplies();
      return static_cast<int>(report.size());
    }
    mVanishing = false;
  }
  // Gone while the report was on its way: the write fails and nothing is answered.
  Unplug();
  return -1;
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
      if (mRestartPending) {
        mChanged.notify_all();  // a restarting unit leaves once its answers are read
      }
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
    // Pulled by hand: a restart on its way is off, and the unit stays away until plugged in.
    mRestartPending = false;
    mBackAt.reset();
    if (!mPluggedIn) {
      return;
    }
    GoneLocked();
  }
  mChanged.notify_all();
  NotifyPlugListeners(false);
}

void VirtualUnit::PlugIn() {
  std::lock_guard listeners(mListenerMutex);
  {
    std::lock_guard lock(mMutex);
    mBackAt.reset();
    if (mPluggedIn) {
      return;
    }
    mPluggedIn = true;
  }
  mChanged.notify_all();
  NotifyPlugListeners(true);
}

void VirtualUnit::GoneLocked() {
  mPluggedIn = false;
  mFirstLiveHandle = mLastHandle + 1;
  mReports.clear();
  mPendingFrames.clear();
}

void VirtualUnit::ScheduleRestart(Restart restart) {
  mRestartPending = true;
  mRestart = restart;
  mLeaveBy = Clock::now() + kLeaveGrace;
  if (!mRestarts.joinable()) {
    mRestarts = std::jthread([this](std::stop_token stop) { RestartLoop(stop); });
  }
  mChanged.notify_all();
}

void VirtualUnit::RestartLoop(std::stop_token stop) {
  while (!stop.stop_requested()) {
    bool leave = false;
    {
      std::unique_lock lock(mMutex);
      const auto due = [&] {
        const auto now = Clock::now();
        return (mRestartPending && (mReports.empty() || now >= mLeaveBy)) ||
               (mBackAt && now >= *mBackAt);
      };
      while (!stop.stop_requested() && !due()) {
        auto wakeAt = Clock::time_point::max();
        if (mRestartPending) {
          wakeAt = mLeaveBy;
        }
        if (mBackAt) {
          wakeAt = std::min(wakeAt, *mBackAt);
        }
        if (wakeAt == Clock::time_point::max()) {
          mChanged.wait(lock, stop, [&] { return mRestartPending || mBackAt.has_value(); });
        } else {
          mChanged.wait_until(lock, stop, wakeAt, due);
        }
      }
      if (stop.stop_requested()) {
        return;
      }
      leave = mRestartPending;
    }
    // Outside the unit's lock: the plug listeners hear of it as of any unplug and replug.
    std::lock_guard listeners(mListenerMutex);
    bool changed = false;
    bool back = false;
    {
      std::lock_guard lock(mMutex);
      if (leave && mRestartPending) {
        mRestartPending = false;
        if (mRestart == Restart::Normal) {
          Install();
        }
        changed = mPluggedIn;
        GoneLocked();
        if (mReenumerationTime.count() >= 0) {
          mBackAt = Clock::now() + mReenumerationTime;
        }
      } else if (!leave && mBackAt && Clock::now() >= *mBackAt) {
        mBackAt.reset();
        changed = !mPluggedIn;
        mPluggedIn = true;
        back = true;
      }
    }
    if (changed) {
      mChanged.notify_all();
      NotifyPlugListeners(!leave);
    }
    if (back) {
      // Counted once the listeners know, so that a wait for the restart sees them told.
      std::lock_guard lock(mMutex);
      ++mRestartsDone;
      mChanged.notify_all();
    }
  }
}

void VirtualUnit::SetReenumerationTime(std::chrono::milliseconds away) {
  std::lock_guard lock(mMutex);
  mReenumerationTime = away;
}

void VirtualUnit::SetUpgradeNotReady(int count) {
  std::lock_guard lock(mMutex);
  mNotReadyChunks = count;
}

void VirtualUnit::UnplugAtChunk(int chunk) {
  std::lock_guard lock(mMutex);
  mUnplugAtChunk = chunk;
}

void VirtualUnit::SetRefuseUpgradeEnter(bool refuse) {
  std::lock_guard lock(mMutex);
  mRefuseEnter = refuse;
}

void VirtualUnit::SetRefuseUpgradeStart(bool refuse) {
  std::lock_guard lock(mMutex);
  mRefuseStart = refuse;
}

std::optional<UpgradeRecord> VirtualUnit::LastUpgrade() const {
  std::lock_guard lock(mMutex);
  return mUpgrade;
}

bool VirtualUnit::WaitForRestarts(int count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mMutex);
  return mChanged.wait_for(lock, timeout, [&] { return mRestartsDone >= count; });
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
