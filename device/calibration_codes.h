// Auto-calibration ("IRC") codes: what IRC_Ctrl and IRC_Sel_Test_Module carry, and what the
// status poll (IRC_Get) reports. The reply decoder, the virtual unit and the calibration window
// all read them from here.
#pragma once

#include <cstddef>

namespace device::irc {

// IRC_Ctrl's "on" byte.
inline constexpr int kCtrlStop = 0;    // end the run at once
inline constexpr int kCtrlStart = 1;   // start a run on the selected channels
inline constexpr int kCtrlApply = 2;   // keep the result of a finished run in the working scene
inline constexpr int kCtrlCancel = 3;  // throw the result away

// IRC_Sel_Test_Module bits: which parts of the calibration the run carries out.
inline constexpr int kModuleEq = 1 << 0;
inline constexpr int kModuleDelay = 1 << 1;
inline constexpr int kModulePhase = 1 << 2;
inline constexpr int kAllModules = kModuleEq | kModuleDelay | kModulePhase;

// Run statuses, in the order a run passes through them.
inline constexpr int kStatusStart = 0;
inline constexpr int kStatusSpeakerTest = 1;
inline constexpr int kStatusLevelTest = 2;
inline constexpr int kStatusDelayTest = 3;
inline constexpr int kStatusTrimTest = 4;
inline constexpr int kStatusEqTest = 5;
inline constexpr int kStatusRtaTest = 6;
inline constexpr int kStatusRtaUpdate = 7;  // a channel's measured response is ready
inline constexpr int kStatusEqUpdate = 8;   // a channel's correction is ready
inline constexpr int kStatusDataUpdate = 9;
inline constexpr int kStatusDone = 10;
inline constexpr int kStatusFail = 11;
inline constexpr int kStatusExit = 12;  // no run: stopped, applied, cancelled or never started
inline constexpr int kStatusCount = 13;

// Failure codes of status kStatusFail.
inline constexpr int kFailLevel = 0;
inline constexpr int kFailNoMic = 1;
inline constexpr int kFailNoSpeaker = 2;
inline constexpr int kFailDelay = 3;
inline constexpr int kFailTrim = 4;
inline constexpr int kFailEq = 5;
inline constexpr int kFailureCount = 6;

// Body bytes of the status reply.
inline constexpr std::size_t kStatusByte = 2;
inline constexpr std::size_t kStatusChannelByte = 3;  // statuses 7 and 8
inline constexpr std::size_t kStatusProgressByte = 5;
inline constexpr std::size_t kStatusFailureByte = 6;

inline constexpr int kFullProgress = 100;

// A measured response is fetched in requests of this many points (what one reply frame holds
// with room to spare), and a correction in requests of this many bands.
inline constexpr int kSpectrumPointsPerRequest = 9;
inline constexpr int kEqBandsPerRequest = 6;

}  // namespace device::irc
