#include "zyn/core/zynParameterPtr.h"

#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterError.h"

zynParameterPtr::zynParameterPtr(zynParameter* p) {
  m_ptr = p;
  if (p) p->add_reference();
}

zynParameterPtr::zynParameterPtr(coPrfExtern, zynParameter* p) {
  m_ptr = p;
  m_external = true;
}

zynParameterPtr::zynParameterPtr(coPrfExtern, const zynParameter* p)
    : zynParameterPtr(coPrfExternal, const_cast<zynParameter*>(p)) {}

zynParameterPtr::zynParameterPtr(const zynParameterPtr& other) {
  m_ptr = other.m_ptr;
  m_external = other.m_external;
  if (m_ptr && !m_external) m_ptr->add_reference();
}

zynParameterPtr::zynParameterPtr(zynParameterPtr&& other) noexcept {
  m_ptr = other.m_ptr;
  m_external = other.m_external;
  other.m_ptr = nullptr;
  other.m_external = false;
}

zynParameterPtr& zynParameterPtr::operator=(const zynParameterPtr& other) {
  if (this != &other) {
    zynParameterPtr keep(other);  // "other" may be owned by what we release
    *this = std::move(keep);
  }
  return *this;
}

zynParameterPtr& zynParameterPtr::operator=(zynParameterPtr&& other) noexcept {
  if (this != &other) {
    zynParameter* old = m_ptr;
    bool old_external = m_external;
    m_ptr = other.m_ptr;
    m_external = other.m_external;
    other.m_ptr = nullptr;
    other.m_external = false;
    if (old && !old_external && old->release_reference() == 0) delete old;
  }
  return *this;
}

zynParameterPtr::~zynParameterPtr() { release(); }

void zynParameterPtr::release() {
  zynParameter* old = m_ptr;
  bool old_external = m_external;
  m_ptr = nullptr;
  m_external = false;
  if (old && !old_external && old->release_reference() == 0) delete old;
}

void zynParameterPtr::become_unknown_error() const {
  zynParameterPtr error = zynParameterError::create(PS_ERR_UNKNOWN);
  m_ptr = error.m_ptr;
  m_external = false;
  m_ptr->add_reference();
}

zynParameter* zynParameterPtr::par() const { return pointer()->get_ref(); }

zynParameterPtr zynParameterPtr::copy() const { return zynParameterPtr(pointer()->create_new()); }

zynParameterPtr zynParameterPtr::operator[](const zynParameterKey& key) const {
  const zynParameter& held = *pointer();
  return held[key];
}

int zynParameterPtr::unique() const { return m_ptr && !m_external && m_ptr->reference_count() == 1; }

int operator==(const zynParameterPtr& a, const zynParameterPtr& b) {
  if (a.pointer() == b.pointer()) return 1;
  const zynParameter& l = *a;
  const zynParameter& r = *b;
  return zynParameter::get_type(l) == zynParameter::get_type(r) && l.is_error() &&
         zynParameter::get_subtype(l) == zynParameter::get_subtype(r) &&
         zynParameter::get_subtype(l) == PS_ERR_UNKNOWN;
}

unsigned int co_hash(const zynParameterPtr& p) {
  const void* address = p.pointer();
  return co_hash(&address, static_cast<int>(sizeof address));
}
