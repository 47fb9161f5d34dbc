// Call lists: a host subscribes functions with its own client data; the
// library applies the list with a reason and a data object, which calls every
// subscriber in the order of subscription. The parameter proxy broadcasts
// copies of entity data this way.
#pragma once

#include <vector>

#include "zyn/zynExport.h"

// Why a call list is applied.
enum coCallReason : int {
  coCallNone = 0,    // no particular reason
  coCallCopy = 1,    // a value was copied from another object
  coCallModify = 2,  // a value changed
  coCallDelete = 3   // an object is going away
};

// Base of the data objects handed to subscribers; a subscriber that knows
// the reason casts the data to the matching derived class.
class ZYN_EXPORT coCBData {
 public:
  coCBData() = default;
  coCBData(const coCBData&) = default;
  coCBData& operator=(const coCBData&) = default;
  virtual ~coCBData() = default;
};

// A subscriber: called with the reason, the data passed to apply and the
// client data given at subscription.
using coCallFunction = void (*)(coCallReason reason, void* data, void* client);

class ZYN_EXPORT coCallList {
 public:
  // Subscribes "fn" with "client". A null function is ignored. The same pair
  // may be subscribed more than once and is then called once per subscription.
  void add(coCallFunction fn, void* client = nullptr);

  // Removes the first subscription of "fn" with "client". Returns non-zero
  // when there was one.
  int remove(coCallFunction fn, void* client = nullptr);

  // Calls every subscriber in order with "reason" and "data". Subscriptions
  // added or removed by a subscriber take effect from the next apply.
  void apply(coCallReason reason, void* data) const;

  // Forgets every subscriber.
  void sender_clear() { m_calls.clear(); }

  int size() const { return static_cast<int>(m_calls.size()); }

 private:
  struct Call {
    coCallFunction fn;
    void* client;
  };
  std::vector<Call> m_calls;
};

// The sending end of a call list: the list plus a switch that lets its owner
// stop broadcasts for a while. Enabled from construction.
class ZYN_EXPORT coSender {
 public:
  coCallList& call_list() { return m_list; }
  const coCallList& call_list() const { return m_list; }

  int is_enabled() const { return m_enabled; }
  void set_enabled(int enabled) { m_enabled = enabled != 0; }

  // Applies the call list with "reason" and "data" while enabled. Returns
  // non-zero when the list was applied.
  int send(coCallReason reason, void* data) const;

 private:
  coCallList m_list;
  int m_enabled = 1;
};
