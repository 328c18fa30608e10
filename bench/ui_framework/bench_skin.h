// The benchmarks' skin and helpers shared by the programs of this folder.
#pragma once

#include <cstdint>
#include <span>

#include "ui/framework/control.h"

namespace benchskin {
std::span<const std::uint8_t> EmbeddedArchive();
const char* ArchivePassword();
}  // namespace benchskin

namespace uibench {

// Opens the benchmark skin archive in the resource manager (again).
void LoadBenchSkin();
// The controls of a tree, its root included.
int CountControls(DuiLib::CControlUI* control);

}  // namespace uibench
