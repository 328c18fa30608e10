// Scene commands of group 2: save, load, delete and name the unit's stored scenes, and read
// them back. All are sent at once; each returns the result of its reply wait (true when a
// report arrived), the acknowledgements themselves reach the scene window as posted messages.
#pragma once

#include <cstdint>
#include <span>

namespace device {

class DspDevice;

// Stores scene `scene` (1..10); `immediately` 1 commits edits already sent to that scene number,
// 0 stores the working scene under it.
bool SaveScene(DspDevice& device, int scene, int immediately);
// `to` 0 loads stored scene `from` into the working scene; 255 prepares it for get requests.
bool ReadScene(DspDevice& device, int from, int to);
bool DeleteScene(DspDevice& device, int scene);
// Sends the first `length` bytes of `name` (at most 16 reach the wire).
bool SetSceneName(DspDevice& device, int scene, std::span<const std::uint8_t> name, int length);
// Raw bytes of a stored scene, at most 53 per frame.
bool SetSceneProfile(DspDevice& device, int scene, int startOffset,
                     std::span<const std::uint8_t> data);

bool Get_Scene_Name(DspDevice& device, int scene);
bool GetSceneProfile(DspDevice& device, int scene, int startOffset, int length);
bool Get_Current_Scene(DspDevice& device);
// Request 13 carries one byte whose meaning only the unit knows.
bool Scene_Cmd13_Request(DspDevice& device, int value);

}  // namespace device
