// Window message ids shared between the device layer, the workers and the windows.
// Every message is posted; values are WM_USER + n as the windows have always used them.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t WM_USER = 0x0400;

namespace msg {
// UI framework -> window: a pop-up menu item was clicked.
inline constexpr std::uint32_t kMenuClick = WM_USER + 3;  // 1027
// Reply decoder -> main window (code 39: noise-threshold window): DSP parameter notification.
inline constexpr std::uint32_t kDspNotify = WM_USER + 210;  // 1234
// Reply decoder -> main window: MCU notification.
inline constexpr std::uint32_t kMcuNotify = WM_USER + 211;  // 1235
// Reply decoder -> main or scene window: scene names, current scene, save acknowledgement.
inline constexpr std::uint32_t kSceneNotify = WM_USER + 213;  // 1237
// Reply decoder -> scene window: delete acknowledgement.
inline constexpr std::uint32_t kSceneDeleteAck = WM_USER + 214;  // 1238
// Reply decoder -> main window: the unit refused the handshake.
inline constexpr std::uint32_t kHandshakeRefused = WM_USER + 215;  // 1239
// Worker -> main or forced-update window: unit rebooting after a factory reset.
inline constexpr std::uint32_t kUnitRebooting = WM_USER + 216;  // 1240
// Reply decoder -> auto-calibration window: calibration status and measurements.
inline constexpr std::uint32_t kAutoCalNotify = WM_USER + 217;  // 1241
// Read-all thread -> main window.
inline constexpr std::uint32_t kConnectFailed = WM_USER + 218;   // 1242
inline constexpr std::uint32_t kSynchronised = WM_USER + 219;    // 1243
inline constexpr std::uint32_t kDisconnect = WM_USER + 221;      // 1245
inline constexpr std::uint32_t kFirmwareTooOld = WM_USER + 224;  // 1248
// Reply decoder -> main window: KTV effect values.
inline constexpr std::uint32_t kKtvNotify = WM_USER + 222;  // 1246
// Upgrade worker -> update window.
inline constexpr std::uint32_t kUpgradeProgress = WM_USER + 231;      // 1255
inline constexpr std::uint32_t kUpgradeDone = WM_USER + 232;          // 1256
inline constexpr std::uint32_t kUpgradeFailed = WM_USER + 233;        // 1257
inline constexpr std::uint32_t kUpgradeLoadFailed = WM_USER + 234;    // 1258
inline constexpr std::uint32_t kUpgradeMcuStarted = WM_USER + 235;    // 1259
inline constexpr std::uint32_t kUpgradeFlashStarted = WM_USER + 236;  // 1260
// Auto-calibration window and thread.
inline constexpr std::uint32_t kAutoCalCompleted = WM_USER + 241;  // 1265
inline constexpr std::uint32_t kAutoCalFailed = WM_USER + 242;     // 1266
inline constexpr std::uint32_t kAutoCalStopped = WM_USER + 243;    // 1267
inline constexpr std::uint32_t kAutoCalProgress = WM_USER + 244;   // 1268
// Workers -> main or scene window: show and close the loading window.
inline constexpr std::uint32_t kLoadingOn = WM_USER + 250;   // 1274
inline constexpr std::uint32_t kLoadingOff = WM_USER + 251;  // 1275
}  // namespace msg

}  // namespace platform
