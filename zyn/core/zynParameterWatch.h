// A process-wide list of watched keys. Hosts add the key texts they want to
// follow (a whole path, or one member name) and ask whether a key is watched,
// for example to log or break on changes of chosen parameters.
#pragma once

#include <unordered_set>

#include "zyn/core/zynParameterKey.h"
#include "zyn/host/utString.h"
#include "zyn/host/zynContainers.h"


// Only static members; the watch set and its switch live until unload.
class ZYN_EXPORT zynParameterWatch {
 public:
  zynParameterWatch() = delete;

  // Adds "text" to the watch set (a key text or a single member name).
  static void add_watch(const utString& text);
  // Empties the watch set.
  static void clear();
  // Returns 1 when watching is enabled, the set is not empty and it holds
  // "key"'s canonical text, its first component or its last component.
  static int watched(const zynParameterKey& key);

  // Turns watching on (the default) or off; the set is kept either way.
  static void enable(int on);
  static int enabled();
};
