#include "zyn/core/zynParameterWatch.h"

namespace {

utStringcoSet& watch_set() {
  static utStringcoSet set;
  return set;
}

int g_enabled = 1;

}  // namespace

void zynParameterWatch::add_watch(const utString& text) { watch_set().insert(text); }

void zynParameterWatch::clear() { watch_set().clear(); }

// The empty-set test comes first: watched() sits on paths the host may call
// for every change, and usually nothing is watched.
int zynParameterWatch::watched(const zynParameterKey& key) {
  const utStringcoSet& set = watch_set();
  if (!g_enabled || set.empty()) return 0;
  return set.count(key.str()) || set.count(key.first()) || set.count(key.last()) ? 1 : 0;
}

void zynParameterWatch::enable(int on) { g_enabled = on ? 1 : 0; }

int zynParameterWatch::enabled() { return g_enabled; }
