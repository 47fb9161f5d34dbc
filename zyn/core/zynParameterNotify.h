// Change notification: the guard objects that switch a behaviour off (or
// on) while they live, and the notifications a parameter runs when it is
// read, modified or destroyed. Guards count in process-wide integers, so
// they nest; they belong to the one thread that works on the parameters and
// are meant to live on the stack for the length of an operation.
#pragma once

#include <cstdint>

#include "zyn/zynExport.h"

class zynParameter;

// While one lives, modify callbacks of the host are not called. Activity
// caches are still invalidated and changes still tracked.
class ZYN_EXPORT zynBlockParUpdateCallbacks {
 public:
  zynBlockParUpdateCallbacks() { ++s_count; }
  ~zynBlockParUpdateCallbacks() { --s_count; }
  zynBlockParUpdateCallbacks(const zynBlockParUpdateCallbacks&) = delete;
  zynBlockParUpdateCallbacks& operator=(const zynBlockParUpdateCallbacks&) = delete;
  static int block_parameter_update_callbacks() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// While one lives, is_locked() answers 0 everywhere, so locked parameters
// can be set (for example while loading a saved tree).
class ZYN_EXPORT zynParameterNoLock {
 public:
  zynParameterNoLock() { ++s_count; }
  ~zynParameterNoLock() { --s_count; }
  zynParameterNoLock(const zynParameterNoLock&) = delete;
  zynParameterNoLock& operator=(const zynParameterNoLock&) = delete;
  static int no_lock() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// While one lives, the XML export writes references instead of following them.
class ZYN_EXPORT zynParameterNoRefExpand {
 public:
  zynParameterNoRefExpand() { ++s_count; }
  ~zynParameterNoRefExpand() { --s_count; }
  zynParameterNoRefExpand(const zynParameterNoRefExpand&) = delete;
  zynParameterNoRefExpand& operator=(const zynParameterNoRefExpand&) = delete;
  // Returns 1 when no guard lives.
  static int expand() { return s_count == 0; }

 private:
  static int32_t s_count;
};

// While one lives, the change being made comes from the host's user
// interface. The library itself never reads it; hosts do in their callbacks.
class ZYN_EXPORT zynParameterSetFromGui {
 public:
  zynParameterSetFromGui() { ++s_count; }
  ~zynParameterSetFromGui() { --s_count; }
  zynParameterSetFromGui(const zynParameterSetFromGui&) = delete;
  zynParameterSetFromGui& operator=(const zynParameterSetFromGui&) = delete;
  static int from_gui() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// The notifications of one parameter, reached through zynParameter's
// onmodify_callback, onread_callback and destructor.
class ZYN_EXPORT zynParameterNotify {
 public:
  // Marks the activity of "p"'s dependents stale, then, unless a
  // zynBlockParUpdateCallbacks guard lives, finds the nearest parameter from
  // "p" up the parent links that has a modify callback and calls it once
  // with that parameter (not with "p"). Tracking the change is the setter's
  // business: it knows whether the value text changed.
  static void modified(zynParameter* p);
  // Finds the nearest parameter from "p" up the parent links that has a read
  // callback and calls it with that parameter. No guard blocks reads.
  static void read(const zynParameter* p);
  // Forgets "p" in every tracking structure; called while "p" is destroyed.
  static void parameter_destroyed(const zynParameter* p);
};
