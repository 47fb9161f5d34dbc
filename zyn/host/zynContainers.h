// Container typedefs used across the library: the companion container
// library's lists and tables expressed with the standard containers.
#pragma once

#include <list>
#include <memory>
#include <vector>

#include "zyn/host/utString.h"

// Doubly linked list that keeps insertion order.
template <class T>
using coDList = std::list<T>;

using utStringcoDList = std::list<utString>;

// Tag that marks a non-owning ("external") shared pointer.
enum coPrfExtern { coPrfExternal };

// Deleter of external pointers: never deletes the object.
struct coPrfExternalDeleter {
  template <class T>
  void operator()(T*) const noexcept {}
};
