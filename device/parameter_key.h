// Which queued commands set one parameter to a value, and which parameter that is.
//
// The worker sends only the newest waiting value of a parameter (see PendingCommands). That is
// sound only for a plain "set this parameter to this value": the parameter is named by the
// command and the leading payload bytes (scene, source, channel, band ...), the rest is the value,
// and a later value of the same parameter makes the earlier one irrelevant. Everything else keeps
// every frame: actions (EQ reset, link and lock with their pair lists, calibration, scene and MCU
// commands), requests, and commands whose bytes only the unit understands. The table of plain
// sets, with the payload bytes that name each one's parameter, is in parameter_key.cpp.
#pragma once

#include <cstdint>
#include <optional>

#include "device/command_record.h"

namespace device {

// Group, command and the payload bytes naming the parameter, packed into one number; equal keys
// mean the same parameter.
using ParameterKey = std::uint64_t;

// The parameter `record` sets, or nothing when it is no plain set of one parameter (or its payload
// is too short to name one).
std::optional<ParameterKey> ParameterKeyOf(const CommandRecord& record);

}  // namespace device
