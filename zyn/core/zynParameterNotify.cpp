#include "zyn/core/zynParameterNotify.h"

#include <utility>

#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterUpdateTrack.h"
#include "zyn/expr/zynEvalMemo_internal.h"

int32_t zynBlockParUpdateCallbacks::s_count = 0;
int32_t zynParameterNoLock::s_count = 0;
int32_t zynParameterNoRefExpand::s_count = 0;
int32_t zynParameterSetFromGui::s_count = 0;

// The host learns which subtree changed from the parameter it gets: the one
// that holds the callback. The guard is read at every step of the climb.
void zynParameterNotify::modified(zynParameter* p) {
  zyn_eval_memo_values_changed();
  if (p->m_side) p->invalidate_dependents();  // most have no dependents: no call then
  if (!zynParameter::s_modify_callbacks_set) return;
  for (zynParameter* q = p; q; q = q->parent()) {
    if (zynBlockParUpdateCallbacks::block_parameter_update_callbacks()) return;
    if (q->m_side && q->m_side->onmodify) {
      q->m_side->onmodify(q);
      return;
    }
  }
}

void zynParameterNotify::read(const zynParameter* p) {
  for (const zynParameter* q = p; q; q = q->parent()) {
    if (q->m_side && q->m_side->onread) {
      q->m_side->onread(q);
      return;
    }
  }
}

// The tracker's set holds raw pointers; a destroyed parameter must leave it
// before its address can be reused.
void zynParameterNotify::parameter_destroyed(const zynParameter* p) {
  zyn_eval_memo_forget(p);
  zynParameterUpdateTrack::untrack_parameter(const_cast<zynParameter*>(p));
}

void zynParameter::onmodify_callback() { zynParameterNotify::modified(this); }
void zynParameter::call_onread_callback() const { zynParameterNotify::read(this); }

bool zynParameter::s_read_callbacks_set = false;
bool zynParameter::s_modify_callbacks_set = false;

zynParameterOnRead zynParameter::exchange_onread_callback(zynParameterOnRead fn) {
  if (fn) s_read_callbacks_set = zyn_eval_read_callbacks = true;
  zyn_eval_note_change();
  if (!m_side && !fn) return nullptr;
  std::swap(fn, side().onread);
  return fn;
}
