// Change notification: the guard objects that switch behaviour off while
// they live, and the notifications a parameter runs when it is read,
// modified or destroyed.
#pragma once

#include <cstdint>

class zynParameter;

// While one lives, modify callbacks of the host are not called.
class zynBlockParUpdateCallbacks {
 public:
  zynBlockParUpdateCallbacks() { ++s_count; }
  ~zynBlockParUpdateCallbacks() { --s_count; }
  zynBlockParUpdateCallbacks(const zynBlockParUpdateCallbacks&) = delete;
  zynBlockParUpdateCallbacks& operator=(const zynBlockParUpdateCallbacks&) = delete;
  static int block_parameter_update_callbacks() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// While one lives, is_locked() answers 0 everywhere.
class zynParameterNoLock {
 public:
  zynParameterNoLock() { ++s_count; }
  ~zynParameterNoLock() { --s_count; }
  zynParameterNoLock(const zynParameterNoLock&) = delete;
  zynParameterNoLock& operator=(const zynParameterNoLock&) = delete;
  static int no_lock() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// While one lives, the XML export does not follow references.
class zynParameterNoRefExpand {
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

// While one lives, changes come from the host's user interface.
class zynParameterSetFromGui {
 public:
  zynParameterSetFromGui() { ++s_count; }
  ~zynParameterSetFromGui() { --s_count; }
  zynParameterSetFromGui(const zynParameterSetFromGui&) = delete;
  zynParameterSetFromGui& operator=(const zynParameterSetFromGui&) = delete;
  static int from_gui() { return s_count > 0; }

 private:
  static int32_t s_count;
};

// The notifications of one parameter; reached through zynParameter.
class zynParameterNotify {
 public:
  // Invalidates the activity of "p"'s dependents, records the change and
  // calls the nearest modify callback up the parent links.
  static void modified(zynParameter* p);
  // Calls the nearest read callback up the parent links.
  static void read(const zynParameter* p);
  // Forgets "p" in every tracking structure.
  static void parameter_destroyed(const zynParameter* p);
};
