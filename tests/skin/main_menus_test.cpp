// The main page's pop-up menus as the main window routes their items: the role menu holds every
// speaker role under its group with the role table's labels, the option, scene and advance menus
// hold the items the click table names (two of them hidden), and every picture the page's layouts
// and menus name is in the skin.
#include <QString>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/speaker_role.h"
#include "tests/skin/main_page_window.h"
#include "ui/framework/attribute_parse.h"
#include "ui/framework/resource_manager.h"
#include "ui/framework/xml_node.h"

namespace {

using DuiLib::XmlNode;
using skin_test::ToUtf8;

std::optional<XmlNode> ReadLayout(std::wstring_view id) {
  const auto* resources = DuiLib::CResourceManager::GetInstance();
  const std::wstring path = resources->GetXmlPath(id);
  const auto content = resources->ReadFile(path);
  if (!content) {
    ADD_FAILURE() << ToUtf8(path) << " is not in the skin";
    return std::nullopt;
  }
  std::wstring error;
  auto root = DuiLib::ParseXml(*content, path, error);
  if (!root) {
    ADD_FAILURE() << ToUtf8(error);
  }
  return root;
}

// A menu item with the names of the sub-menus above it, outermost first.
struct MenuItem {
  const XmlNode* node;
  std::vector<std::wstring> path;
  bool leaf;
};

void CollectItems(const XmlNode& menu, std::vector<std::wstring>& path,
                  std::map<std::wstring, MenuItem>& into, int& duplicates) {
  for (const XmlNode& child : menu.children) {
    if (child.tag != L"MenuElement") {
      continue;
    }
    const std::wstring name(child.Attribute(L"name"));
    duplicates += into.contains(name) ? 1 : 0;
    into[name] = MenuItem{&child, path, child.children.empty()};
    path.push_back(name);
    CollectItems(child, path, into, duplicates);
    path.pop_back();
  }
}

std::map<std::wstring, MenuItem> MenuItems(const XmlNode& menu) {
  std::map<std::wstring, MenuItem> items;
  std::vector<std::wstring> path;
  int duplicates = 0;
  CollectItems(menu, path, items, duplicates);
  EXPECT_EQ(duplicates, 0);
  return items;
}

std::wstring Wide(std::string_view text) {
  return std::wstring(text.begin(), text.end());
}

// The sub-menus a role's item lies in, by the role's group.
std::vector<std::wstring> GroupPath(model::RoleGroup group) {
  switch (group) {
    case model::RoleGroup::FrontLeft:
      return {L"output_menu_front", L"output_menu_front_left"};
    case model::RoleGroup::FrontRight:
      return {L"output_menu_front", L"output_menu_front_right"};
    case model::RoleGroup::RearLeft:
      return {L"output_menu_rear", L"output_menu_rear_left"};
    case model::RoleGroup::RearRight:
      return {L"output_menu_rear", L"output_menu_rear_right"};
    case model::RoleGroup::Centre:
      return {L"output_menu_center"};
    case model::RoleGroup::Subwoofer:
      return {L"output_menu_subwoof"};
  }
  return {};
}

TEST(MainMenus, TheRoleMenuHoldsEveryRoleUnderItsGroupWithItsLabel) {
  const auto menu = ReadLayout(L"xml/output_menu.xml");
  ASSERT_TRUE(menu);
  const auto items = MenuItems(*menu);
  for (int role = 0; role < model::kRoleCount; ++role) {
    const model::RoleInfo& info = model::RoleInfoOf(role);
    const auto found = items.find(Wide(info.itemName));
    ASSERT_NE(found, items.end()) << info.itemName;
    const MenuItem& item = found->second;
    EXPECT_TRUE(item.leaf) << info.itemName;
    EXPECT_EQ(item.node->Attribute(L"text"), Wide(info.menuLabel)) << info.itemName;
    // No role is the empty item at the top.
    const auto path =
        role == model::kRoleEmpty ? std::vector<std::wstring>{} : GroupPath(info.group);
    EXPECT_EQ(item.path, path) << info.itemName;
  }
  for (const model::RoleMenuGroup& group : model::kRoleMenuGroups) {
    const auto found = items.find(Wide(group.itemName));
    ASSERT_NE(found, items.end()) << group.itemName;
    EXPECT_FALSE(found->second.leaf) << group.itemName;
    EXPECT_EQ(found->second.node->Attribute(L"text"), Wide(group.menuLabel)) << group.itemName;
  }
  // Every item the user can choose is a role, so the click table's prefix test sends it on.
  for (const auto& [name, item] : items) {
    if (item.leaf) {
      EXPECT_GE(model::RoleFromItemName(ToUtf8(name)), 0) << ToUtf8(name);
    }
  }
}

struct MenuRow {
  const wchar_t* layout;
  const wchar_t* prefix;
  std::vector<std::wstring> shown;
  std::vector<std::wstring> hidden;
};

class MainMenuItems : public testing::TestWithParam<MenuRow> {};

TEST_P(MainMenuItems, HoldTheItemsTheClickTableNames) {
  const MenuRow& row = GetParam();
  const auto menu = ReadLayout(row.layout);
  ASSERT_TRUE(menu);
  const auto items = MenuItems(*menu);
  std::set<std::wstring> expected;
  for (const auto* list : {&row.shown, &row.hidden}) {
    for (const std::wstring& name : *list) {
      expected.insert(name);
      const auto found = items.find(name);
      ASSERT_NE(found, items.end()) << ToUtf8(name);
      const std::wstring_view visible = found->second.node->Attribute(L"visible");
      EXPECT_EQ(visible.empty() || DuiLib::ParseBool(visible), list == &row.shown) << ToUtf8(name);
      EXPECT_FALSE(found->second.node->Attribute(L"text").empty()) << ToUtf8(name);
    }
  }
  for (const auto& [name, item] : items) {
    EXPECT_TRUE(expected.contains(name)) << ToUtf8(name) << " is an item nobody handles";
    EXPECT_TRUE(name.starts_with(row.prefix)) << ToUtf8(name);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Menus, MainMenuItems,
    testing::Values(
        MenuRow{L"xml/option_menu.xml",
                L"option_item_",
                {L"option_item_firmware_upgrade", L"option_item_reset_default",
                 L"option_item_about", L"option_item_language"},
                {}},
        MenuRow{L"xml/scene_menu.xml",
                L"scene_item_",
                {L"scene_item_load_scene", L"scene_item_saveas_scene", L"scene_item_delete_scene",
                 L"scene_item_load_file", L"scene_item_save_file", L"scene_item_load_whole",
                 L"scene_item_save_whole"},
                {}},
        MenuRow{L"xml/advance_menu.xml",
                L"advance_item_",
                {L"advance_item_autocal", L"advance_item_mixer", L"advance_item_noise_threshold"},
                {L"advance_item_poweroff_delay", L"advance_item_ktv"}}));

// ---- Pictures -----------------------------------------------------------------------------------

// The file of an image attribute: a plain name, or the file='...' field of a description.
std::wstring ImageFile(std::wstring_view value) {
  const std::wstring_view key = L"file='";
  if (const std::size_t at = value.find(key); at != std::wstring_view::npos) {
    const std::size_t start = at + key.size();
    return std::wstring(value.substr(start, value.find(L'\'', start) - start));
  }
  return std::wstring(value);
}

// The images named by `node` and its children; inside a <Repeat> "%d" takes each of its values.
void CollectImages(const XmlNode& node, int index, std::set<std::wstring>& into) {
  if (node.tag == L"Repeat") {
    const int last = DuiLib::ParseInt(node.Attribute(L"to"));
    for (int value = DuiLib::ParseInt(node.Attribute(L"from")); value <= last; ++value) {
      for (const XmlNode& child : node.children) {
        CollectImages(child, value, into);
      }
    }
    return;
  }
  for (const auto& [name, value] : node.attributes) {
    if (name.ends_with(L"image") || name == L"icon" || name == L"curvelogo") {
      into.insert(skin_test::Indexed(ImageFile(value), index));
    }
  }
  for (const XmlNode& child : node.children) {
    CollectImages(child, index, into);
  }
}

TEST(MainPictures, EveryPictureTheMainPageNamesIsInTheSkin) {
  std::set<std::wstring> images{L"right.png"};
  for (const wchar_t* layout :
       {L"XML_MAIN", L"xml/channel_settings_mixer.xml", L"xml/car_speakers.xml",
        L"xml/option_menu.xml", L"xml/scene_menu.xml", L"xml/advance_menu.xml",
        L"xml/output_menu.xml"}) {
    if (const auto root = ReadLayout(layout)) {
      CollectImages(*root, 0, images);
    }
  }
  // Buttons, toggles, sliders, the car, 24 speakers, menu icons: far more than a handful.
  ASSERT_GT(images.size(), 40u);
  const auto* resources = DuiLib::CResourceManager::GetInstance();
  for (const std::wstring& image : images) {
    ASSERT_FALSE(image.empty());
    const std::wstring path = resources->GetImagePath(image);
    EXPECT_TRUE(resources->ReadFile(path).has_value())
        << ToUtf8(image) << " (" << ToUtf8(path) << ") is not in the skin";
  }
}

}  // namespace
