#include "zyn/core/zynParameterUpdateTrack.h"

#include "zyn/core/zynParameter.h"

int32_t zynParameterUpdateTrack::s_count = 0;

unsigned int co_hash_pointer(const void* p) { return co_hash(&p, static_cast<int>(sizeof p)); }

unsigned int co_hash(const zynParameterCoSetAdapter& a) { return co_hash_pointer(a.pointer()); }

zynParameterCoSetAdaptercoSet& zynParameterUpdateTrack::changed() {
  static zynParameterCoSetAdaptercoSet set;
  return set;
}

zynParameterUpdateTrack::zynParameterUpdateTrack() {
  // The outermost tracker starts a session of its own: nothing collected
  // before it may be reported in it.
  if (s_count <= 0) {
    s_count = 0;
    changed().clear();
  }
  ++s_count;
}

zynParameterUpdateTrack::~zynParameterUpdateTrack() {
  if (--s_count <= 0) {
    s_count = 0;
    changed().clear();
  }
}

void zynParameterUpdateTrack::track_parameter(zynParameter* p) {
  if (in_use() && p) changed().insert(p);
}

void zynParameterUpdateTrack::untrack_parameter(zynParameter* p) {
  if (in_use()) changed().erase(p);
}

int zynParameterUpdateTrack::in_use() { return s_count != 0; }

void zynParameterUpdateTrack::reset() { changed().clear(); }

void zynParameterUpdateTrack::cleanup_list() {
  if (!in_use()) return;
  zynParameterCoSetAdaptercoSet& set = changed();
  for (auto it = set.begin(); it != set.end();) {
    if (it->pointer()->is_error())
      it = set.erase(it);
    else
      ++it;
  }
}

void zynParameterUpdateTrack::copy_list_into(zynParameterCoSetAdaptercoSet& out) { out = changed(); }

zynParameterCoSetAdaptercoIterator zynParameterUpdateTrack::get_changed_params_list() {
  return zynParameterCoSetAdaptercoIterator(changed());
}

int zynParameterUpdateTrack::get_list_size() { return static_cast<int>(changed().size()); }
