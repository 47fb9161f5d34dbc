#include "zyn/core/zynParameterNotify.h"

#include "zyn/core/zynParameter.h"

int32_t zynBlockParUpdateCallbacks::s_count = 0;
int32_t zynParameterNoLock::s_count = 0;
int32_t zynParameterNoRefExpand::s_count = 0;
int32_t zynParameterSetFromGui::s_count = 0;

void zynParameterNotify::modified(zynParameter* p) {
  p->invalidate_dependents();
  if (zynBlockParUpdateCallbacks::block_parameter_update_callbacks()) return;
  for (zynParameter* q = p; q; q = q->parent()) {
    if (q->m_onmodify) {
      q->m_onmodify(p);
      return;
    }
  }
}

void zynParameterNotify::read(const zynParameter* p) {
  for (const zynParameter* q = p; q; q = q->parent()) {
    if (q->m_onread) {
      q->m_onread(p);
      return;
    }
  }
}

void zynParameterNotify::parameter_destroyed(const zynParameter*) {}

void zynParameter::onmodify_callback() { zynParameterNotify::modified(this); }
void zynParameter::onread_callback() const { zynParameterNotify::read(this); }
