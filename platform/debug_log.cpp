#include "platform/debug_log.h"

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <memory>
#include <string>
#include <thread>

#include "platform/wide_format.h"

namespace {

// The busy flag serialises writers; it guards gFile, gWriteCounter and the console echo.
std::atomic_flag gBusy = ATOMIC_FLAG_INIT;
std::FILE* gFile = nullptr;
std::atomic<bool> gActive{false};
int gWriteCounter = 0;
std::atomic<long> gCallCount{0};

constexpr int kFlushEvery = 10;

class BusyGuard {
 public:
  BusyGuard() {
    while (gBusy.test_and_set(std::memory_order_acquire)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  ~BusyGuard() { gBusy.clear(std::memory_order_release); }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
};

// Flushes after every eleventh write, as the log has always done, so a crash loses little.
void CountWrite() {
  if (gWriteCounter > kFlushEvery) {
    std::fflush(gFile);
    gWriteCounter = 0;
  }
  ++gWriteCounter;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16Le(std::string& out, char32_t c) {
  auto unit = [&out](std::uint16_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  if (c >= 0x10000 && c <= 0x10FFFF) {
    c -= 0x10000;
    unit(static_cast<std::uint16_t>(0xD800 | (c >> 10)));
    unit(static_cast<std::uint16_t>(0xDC00 | (c & 0x3FF)));
  } else {
    unit(static_cast<std::uint16_t>(c > 0x10FFFF ? 0xFFFD : c));
  }
}

}  // namespace

int DebugLog(const wchar_t* format, ...) {
  gCallCount.fetch_add(1, std::memory_order_relaxed);
  if (!gActive.load(std::memory_order_acquire)) {
    return 0;
  }
  BusyGuard busy;
  if (gFile == nullptr) {
    return 0;
  }
  va_list args;
  va_start(args, format);
  std::wstring line = platform::FormatWideV(format, args);
  va_end(args);
  if (line.size() >= platform::kLogLineCapacity) {
    line.resize(platform::kLogLineCapacity - 1);
  }

  std::string utf16;
  std::string utf8;
  for (wchar_t c : line) {
    AppendUtf16Le(utf16, static_cast<char32_t>(c));
    AppendUtf8(utf8, static_cast<char32_t>(c));
  }
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fwrite(utf16.data(), 1, utf16.size(), gFile);
  CountWrite();
  return static_cast<int>(line.size());
}

int DebugLogA(const char* format, ...) {
  gCallCount.fetch_add(1, std::memory_order_relaxed);
  if (!gActive.load(std::memory_order_acquire)) {
    return 0;
  }
  BusyGuard busy;
  if (gFile == nullptr) {
    return 0;
  }
  char buffer[platform::kLogLineCapacity];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) {
    return 0;
  }
  std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1);
  std::fwrite(buffer, 1, length, stdout);
  std::fwrite(buffer, 1, length, gFile);
  CountWrite();
  return static_cast<int>(length);
}

namespace platform {

bool StartDebugLog(const std::filesystem::path& dir) {
  StopDebugLog();
  std::error_code error;
  if (!std::filesystem::exists(dir / kLogSwitchFile, error)) {
    return false;
  }
  BusyGuard busy;
  gFile = std::fopen((dir / kLogFile).c_str(), "wb");
  gWriteCounter = 0;
  gActive.store(gFile != nullptr, std::memory_order_release);
  return gFile != nullptr;
}

void StopDebugLog() {
  BusyGuard busy;
  gActive.store(false, std::memory_order_release);
  if (gFile != nullptr) {
    std::fclose(gFile);
    gFile = nullptr;
  }
  std::fflush(stdout);
}

bool IsDebugLogActive() {
  return gActive.load(std::memory_order_acquire);
}

long DebugLogCallCount() {
  return gCallCount.load(std::memory_order_relaxed);
}

std::string LogTimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%d.%02d.%02d %02d:%d:%d:%d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                static_cast<int>(millis));
  return text;
}

}  // namespace platform
