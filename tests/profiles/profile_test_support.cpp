#include "tests/profiles/profile_test_support.h"

#include <cJSON.h>
#include <gtest/gtest.h>

namespace profiles::testing {
namespace {

const cJSON* Step(const cJSON* item, const PathStep& step) {
  if (const auto* key = std::get_if<std::string>(&step)) {
    return cJSON_GetObjectItemCaseSensitive(item, key->c_str());
  }
  return cJSON_GetArrayItem(item, std::get<int>(step));
}

}  // namespace

std::string Edited(std::string_view text, const KeyPath& path, std::string_view replacement) {
  cJSON* root = cJSON_ParseWithLength(text.data(), text.size());
  EXPECT_NE(root, nullptr);
  cJSON* parent = root;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    parent = const_cast<cJSON*>(Step(parent, path[i]));
    EXPECT_NE(parent, nullptr) << "step " << i;
  }
  const PathStep& last = path.back();
  const auto* key = std::get_if<std::string>(&last);
  if (replacement.empty()) {
    if (key != nullptr) {
      cJSON_DeleteItemFromObjectCaseSensitive(parent, key->c_str());
    } else {
      cJSON_DeleteItemFromArray(parent, std::get<int>(last));
    }
  } else {
    cJSON* value = cJSON_ParseWithLength(replacement.data(), replacement.size());
    EXPECT_NE(value, nullptr) << replacement;
    if (key != nullptr) {
      cJSON_ReplaceItemInObjectCaseSensitive(parent, key->c_str(), value);
    } else {
      cJSON_ReplaceItemInArray(parent, std::get<int>(last), value);
    }
  }
  char* printed = cJSON_PrintUnformatted(root);
  std::string result(printed);
  cJSON_free(printed);
  cJSON_Delete(root);
  return result;
}

}  // namespace profiles::testing
