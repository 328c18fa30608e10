// The transport named by --device.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "device/hid_transport.h"

namespace cli {

// "usb": the real unit; "sim": a fresh virtual unit in this process; "sim:demo": a virtual unit
// holding a tuned car; "tcp://HOST:PORT": a unit served by another process, which gets `token`.
// Null (with `error` set) for anything else.
std::unique_ptr<device::HidTransport> MakeTransport(std::string_view name, std::string& error,
                                                    std::string_view token = {});

}  // namespace cli
