// Diagnostic log: "save.log" in the current directory, switched on by the presence of
// "savelog.ini" at start-up. There are no levels; every line is also echoed to standard output.
// Both functions may be called from any thread. With no log file open a call is only counted.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

// Wide, printf-style ("%s" takes a wide string; see platform/wide_format.h). Written to the file
// as UTF-16LE without a byte-order mark.
// Output longer than 1023 characters is cut. Returns the characters written, 0 when inactive.
int DebugLog(const wchar_t* format, ...);
// Narrow, printf-style. Written as its bytes. Output longer than 1023 bytes is cut.
int DebugLogA(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace platform {

inline constexpr const char* kLogSwitchFile = "savelog.ini";
inline constexpr const char* kLogFile = "save.log";
inline constexpr std::size_t kLogLineCapacity = 1024;  // characters or bytes, terminator included

// Opens (truncating) `dir`/save.log when `dir`/savelog.ini exists. Returns whether logging is on.
bool StartDebugLog(const std::filesystem::path& dir = std::filesystem::current_path());
// Closes the log file; later calls are only counted.
void StopDebugLog();
bool IsDebugLogActive();
// How many calls have been made since the process started (logged or not).
long DebugLogCallCount();

// Local time as "year.month.day hour:minute:second:millisecond" ("%d.%02d.%02d %02d:%d:%d:%d").
std::string LogTimeStamp();

}  // namespace platform
