// Owning handles and a small builder over cJSON trees, shared by the profile writer and reader.
#pragma once

#include <cJSON.h>

#include <memory>
#include <string>

namespace profiles {

// The text cJSON prints for a number: "null" for one that is not finite, else 15 significant
// digits ("%1.15g") when they read back as the same double (within a relative DBL_EPSILON), or
// else 17 ("%1.17g"). cJSON finds it
// with sprintf and sscanf, which make up most of the time a whole-unit profile takes to print;
// this gives the same characters with std::to_chars, several times faster. The builder hands
// cJSON its numbers in this form, so the printed bytes stay those of cJSON.
std::string JsonNumberText(double value);

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
    Attach(object, key, cJSON_CreateRaw(JsonNumberText(value).c_str()));
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
  void Number(cJSON* array, double value) {
    Attach(array, nullptr, cJSON_CreateRaw(JsonNumberText(value).c_str()));
  }
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
