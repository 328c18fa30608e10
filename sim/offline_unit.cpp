#include "sim/offline_unit.h"

#include <system_error>

#include "profiles/profile_files.h"
#include "sim/unit_changes.h"
#include "sim/unit_state_from_model.h"

namespace sim {

std::unique_ptr<OfflineUnit> OfflineUnit::Open(const std::filesystem::path& path,
                                               profiles::ReadResult& result) {
  std::unique_ptr<OfflineUnit> unit(new OfflineUnit);
  unit->mPath = path;
  unit->mSaved = std::make_unique<model::ParameterModel>();
  std::error_code code;
  unit->mWasCreated = !std::filesystem::exists(path, code) && !code;
  if (!unit->mWasCreated) {
    result = profiles::ReadWholeProfileFile(path, *unit->mSaved);
    if (!result.ok()) {
      return nullptr;
    }
  }
  result = {};
  unit->mSavedState = UnitStateFromModel(*unit->mSaved);
  unit->mUnit = std::make_shared<VirtualUnit>(UnitIdentity{}, unit->mSavedState);
  std::string error;
  if (unit->mWasCreated && !unit->Save(error)) {
    result = {profiles::ReadStatus::kCannotOpen, "", "cannot be created: " + error};
    return nullptr;
  }
  return unit;
}

bool OfflineUnit::Save(std::string& error) {
  const UnitState now = mUnit->State();
  auto updated = std::make_unique<model::ParameterModel>(*mSaved);
  ApplyUnitChanges(mSavedState, now, *updated);
  if (!profiles::WriteWholeProfileFile(mPath, *updated, error)) {
    return false;
  }
  mSaved = std::move(updated);
  mSavedState = now;
  return true;
}

}  // namespace sim
