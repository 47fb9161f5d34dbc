#include "zyn/host/zynCallList.h"

void coCallList::add(coCallFunction fn, void* client) {
  if (fn) m_calls.push_back(Call{fn, client});
}

int coCallList::remove(coCallFunction fn, void* client) {
  for (auto it = m_calls.begin(); it != m_calls.end(); ++it) {
    if (it->fn == fn && it->client == client) {
      m_calls.erase(it);
      return 1;
    }
  }
  return 0;
}

void coCallList::apply(coCallReason reason, void* data) const {
  // A subscriber may change the list, or destroy its owner's other
  // subscriptions, while it runs; the walk goes over a snapshot.
  const std::vector<Call> calls = m_calls;
  for (const Call& call : calls) call.fn(reason, data, call.client);
}

int coSender::send(coCallReason reason, void* data) const {
  if (!m_enabled) return 0;
  m_list.apply(reason, data);
  return 1;
}
