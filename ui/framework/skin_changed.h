// Process-wide skin-change notification: receivers subscribe, anyone may broadcast.
#pragma once

#include <string>

#include "ui/framework/ui_types.h"

namespace DuiLib {

struct SkinChangedParam {
  bool bColor = false;  // true: use bkcolor; false: use bgimage
  DWORD bkcolor = 0;
  std::wstring bgimage;
};

// A receiver leaves the observer by itself when it is destroyed.
class SkinChangedReceiver {
 public:
  virtual ~SkinChangedReceiver();
  virtual bool Receive(SkinChangedParam param) = 0;
};

class SkinChangedObserver {
 public:
  static void AddReceiver(SkinChangedReceiver* receiver);
  static void RemoveReceiver(SkinChangedReceiver* receiver);
  // Whether `receiver` is among the receivers now.
  static bool IsSubscribed(const SkinChangedReceiver* receiver);
  // Delivers `param` to every receiver, in subscription order (UI thread).
  static void Broadcast(const SkinChangedParam& param);
};

}  // namespace DuiLib
