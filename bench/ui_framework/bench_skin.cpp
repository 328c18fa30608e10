#include "bench/ui_framework/bench_skin.h"

#include "ui/framework/container.h"
#include "ui/framework/resource_manager.h"

namespace uibench {

void LoadBenchSkin() {
  auto* resources = DuiLib::CResourceManager::GetInstance();
  resources->Reset();
  resources->SetResourceZip(benchskin::EmbeddedArchive(), benchskin::ArchivePassword());
  resources->LoadResource();
}

int CountControls(DuiLib::CControlUI* control) {
  int count = 1;
  if (auto* container = dynamic_cast<DuiLib::CContainerUI*>(control)) {
    for (int i = 0; i < container->GetCount(); ++i) {
      count += CountControls(container->GetItemAt(i));
    }
  }
  return count;
}

}  // namespace uibench
