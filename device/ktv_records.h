// The karaoke (group 7) replies carry a plain value: message kKtvNotify, wParam the effect code
// (parameter_codes.h, ktv::), lParam the value. There is no record type; this header names
// what a receiver needs.
#pragma once

#include "device/parameter_codes.h"
#include "platform/window_messages.h"
