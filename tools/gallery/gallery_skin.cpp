#include "tools/gallery/gallery_skin.h"

#include "skin/skin_archive.h"
#include "ui/framework/resource_manager.h"

namespace gallery {

bool LoadSkin() {
  DuiLib::CResourceManager& resources = *DuiLib::CResourceManager::GetInstance();
  return resources.SetResourceZip(skin::EmbeddedArchive(), skin::ArchivePassword()) &&
         resources.LoadResource() && resources.AddLanguage(L"cn_zh", L"lan/lan_cn.xml") &&
         resources.AddLanguage(L"en", L"lan/lan_en.xml");
}

}  // namespace gallery
