// The unit named by --device.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "device/hid_transport.h"

namespace cli {

struct DeviceChoice {
  std::unique_ptr<device::HidTransport> transport;
  // Set for a unit kept in a file: writes what the unit holds back into the file. The program
  // calls it once, when it ends cleanly; false, with the reason, when the file was not written.
  std::function<bool(std::string& error)> saveOnExit;
  // No transport because the name is none of the known ones or malformed (a usage error).
  bool badName = false;
};

// "usb": the real unit; "sim": a fresh virtual unit in this process; "sim:demo": a virtual unit
// holding a tuned car; "sim:FILE.wpf": a virtual unit holding the settings of that whole-unit
// profile (a file that does not exist yet is created at the defaults), written back on a clean
// end; "tcp://HOST:PORT": a unit served by another process, which gets `token`. No transport
// (with `error` set) for anything else or for a file that is not a valid whole-unit profile.
DeviceChoice ChooseDevice(std::string_view name, std::string& error, std::string_view token = {});

}  // namespace cli
