// Scoped collection of the parameters whose values changed. While at least
// one zynParameterUpdateTrack lives, every scalar whose value text changes is
// recorded in one process-wide set; the host reads the set before the last
// tracker goes. Parameters leave the set when they are destroyed, so it never
// holds a dangling pointer while trackers live.
//
// Example:
//   {
//     zynParameterUpdateTrack track;
//     root->set_string(...);            // changes are recorded
//     for (auto it = zynParameterUpdateTrack::get_changed_params_list(); it; ++it)
//       refresh(*it);
//   }                                   // the set is emptied here
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_set>

#include "zyn/zynExport.h"

class zynParameter;

// A raw parameter pointer that can live in a hash set: compared and hashed by
// the identity of the parameter. It does not own the parameter.
class ZYN_EXPORT zynParameterCoSetAdapter {
 public:
  zynParameterCoSetAdapter() = default;
  zynParameterCoSetAdapter(zynParameter* p) : m_par(p) {}  // NOLINT: wraps pointers implicitly
  operator zynParameter*() const { return m_par; }          // NOLINT: unwraps implicitly
  zynParameter* pointer() const { return m_par; }

  bool operator==(const zynParameterCoSetAdapter& other) const { return m_par == other.m_par; }
  bool operator!=(const zynParameterCoSetAdapter& other) const { return m_par != other.m_par; }

 private:
  zynParameter* m_par = nullptr;
};

// Returns the hash of the address "p" (its bytes, not what it points to).
ZYN_EXPORT unsigned int co_hash_pointer(const void* p);
// Returns the hash of the wrapped pointer's address.
ZYN_EXPORT unsigned int co_hash(const zynParameterCoSetAdapter& a);

struct ZYN_EXPORT zynParameterCoSetAdapterHash {
  size_t operator()(const zynParameterCoSetAdapter& a) const { return co_hash(a); }
};

// A hash set of parameters by identity.
using zynParameterCoSetAdaptercoSet = std::unordered_set<zynParameterCoSetAdapter, zynParameterCoSetAdapterHash>;

// Walks a zynParameterCoSetAdaptercoSet from its start:
//   for (auto it = ...; it; ++it) use(*it);
// The set must not change during the walk.
class ZYN_EXPORT zynParameterCoSetAdaptercoIterator {
 public:
  explicit zynParameterCoSetAdaptercoIterator(const zynParameterCoSetAdaptercoSet& set)
      : m_at(set.begin()), m_end(set.end()) {}

  // Returns 1 while a parameter is current.
  explicit operator bool() const { return m_at != m_end; }
  // Returns the current parameter; only while one is current.
  zynParameter* operator*() const { return *m_at; }
  // Moves to the next parameter. Returns 0 once the walk has passed the end.
  int operator++() {
    if (m_at != m_end) ++m_at;
    return m_at != m_end;
  }

 private:
  zynParameterCoSetAdaptercoSet::const_iterator m_at;
  zynParameterCoSetAdaptercoSet::const_iterator m_end;
};

// A tracker has no state of its own: constructing one opens (or joins) the
// process-wide tracking, destroying the outermost one closes it and empties
// the set. Nested trackers share one set, so a change is reported from the
// construction of the outermost tracker to its destruction. Meant to live on
// the stack; not copyable.
class ZYN_EXPORT zynParameterUpdateTrack {
 public:
  // Empties the set when no other tracker lives, then joins the tracking.
  zynParameterUpdateTrack();
  // Leaves the tracking; the last tracker to go empties the set.
  ~zynParameterUpdateTrack();
  zynParameterUpdateTrack(const zynParameterUpdateTrack&) = delete;
  zynParameterUpdateTrack& operator=(const zynParameterUpdateTrack&) = delete;

  // Adds "p" to the set; nothing when no tracker lives or "p" is null.
  static void track_parameter(zynParameter* p);
  // Removes "p" from the set; nothing when no tracker lives.
  static void untrack_parameter(zynParameter* p);
  // Returns 1 while at least one tracker lives.
  static int in_use();
  // Empties the set without ending the tracking.
  static void reset();

  // The queries below are static, so they work through a tracker object or
  // the class alike.

  // Removes every parameter that reports is_error() from the set (only while
  // a tracker lives).
  static void cleanup_list();
  // Makes "out" a copy of the set. The pointers in "out" are not tracked:
  // they dangle once their parameters are destroyed.
  static void copy_list_into(zynParameterCoSetAdaptercoSet& out);
  // Returns a walk over the set from its start.
  static zynParameterCoSetAdaptercoIterator get_changed_params_list();
  // Returns the number of parameters in the set.
  static int get_list_size();

 private:
  static int32_t s_count;
  static zynParameterCoSetAdaptercoSet& changed();
};
