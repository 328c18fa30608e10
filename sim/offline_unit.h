// A virtual unit kept in a whole-unit profile file, for tuning without the unit at hand
// (--device sim:FILE.wpf): the file's settings are the unit's, and what the unit holds when the
// program ends cleanly goes back into the file.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "model/parameter_model.h"
#include "profiles/profile_reader.h"
#include "sim/unit_state.h"
#include "sim/virtual_unit.h"

namespace sim {

class OfflineUnit {
 public:
  // The unit kept at `path`. A file that does not exist yet is created at once, holding the
  // model's defaults, so that a folder that cannot take it is found before any tuning is done.
  // Null, with the reader's result in `result`, when the file cannot be read or created or is not
  // a valid whole-unit profile of this unit.
  static std::unique_ptr<OfflineUnit> Open(const std::filesystem::path& path,
                                           profiles::ReadResult& result);

  const std::shared_ptr<VirtualUnit>& Unit() const { return mUnit; }
  const std::filesystem::path& Path() const { return mPath; }
  // True when Open created the file.
  bool WasCreated() const { return mWasCreated; }

  // Writes what the unit now holds into the file, replacing it in one step so that a crash or a
  // kill leaves the old file whole. Settings the unit did not change keep the file's values
  // exactly. False, with the reason in `error`, when the file could not be written.
  bool Save(std::string& error);

 private:
  OfflineUnit() = default;

  std::filesystem::path mPath;
  bool mWasCreated = false;
  // The settings last read from or written to the file, and the unit state they gave.
  std::unique_ptr<model::ParameterModel> mSaved;
  UnitState mSavedState;
  std::shared_ptr<VirtualUnit> mUnit;
};

}  // namespace sim
