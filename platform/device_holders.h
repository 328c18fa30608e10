// Which other programs hold a device node open (Linux: the links in /proc/PID/fd).
//
// hidraw lets any number of programs open the unit at once, and two programs talking to it at
// the same time mix their replies. Before a firmware upgrade the program makes sure it is alone.
// Processes of other users are seen only where /proc lets this one look.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct ProcessInfo {
  int pid = 0;
  std::string name;  // the process's command name, empty if unknown
};

// The processes other than this one with a descriptor open on the file `node`.
std::vector<ProcessInfo> ProcessesHolding(const std::filesystem::path& node);
// "pid 1234 (vexaro)".
std::string DescribeProcess(const ProcessInfo& process);

}  // namespace platform
