// Owning handles and a small builder over cJSON trees, shared by the profile writer and reader.
#pragma once

#include <cJSON.h>

#include <memory>

namespace profiles {

struct JsonDeleter {
  void operator()(cJSON* item) const { cJSON_Delete(item); }
};
using JsonPtr = std::unique_ptr<cJSON, JsonDeleter>;

// Adds members to objects and elements to arrays. The keys must outlive the tree (the profile
// keys are literals, so they are not copied). When cJSON cannot allocate, the builder remembers
// it and every later call does nothing, so a tree is printed only when it is complete.
class JsonBuilder {
 public:
  bool ok() const { return mOk; }

  // Members of an object.
  cJSON* Object(cJSON* object, const char* key) {
    return Attach(object, key, cJSON_CreateObject());
  }
  cJSON* Array(cJSON* object, const char* key) { return Attach(object, key, cJSON_CreateArray()); }
  void Number(cJSON* object, const char* key, double value) {
    Attach(object, key, cJSON_CreateNumber(value));
  }
  void String(cJSON* object, const char* key, const char* value) {
    Attach(object, key, cJSON_CreateString(value));
  }
  void Bool(cJSON* object, const char* key, bool value) {
    Attach(object, key, cJSON_CreateBool(value));
  }

  // Elements of an array.
  cJSON* Object(cJSON* array) { return Attach(array, nullptr, cJSON_CreateObject()); }
  cJSON* Array(cJSON* array) { return Attach(array, nullptr, cJSON_CreateArray()); }
  void Number(cJSON* array, double value) { Attach(array, nullptr, cJSON_CreateNumber(value)); }
  void String(cJSON* array, const char* value) {
    Attach(array, nullptr, cJSON_CreateString(value));
  }

 private:
  cJSON* Attach(cJSON* parent, const char* key, cJSON* item) {
    const bool attached = mOk && parent != nullptr && item != nullptr &&
                          (key != nullptr ? cJSON_AddItemToObjectCS(parent, key, item)
                                          : cJSON_AddItemToArray(parent, item));
    if (!attached) {
      cJSON_Delete(item);
      mOk = false;
      return nullptr;
    }
    return item;
  }

  bool mOk = true;
};

}  // namespace profiles
