#include "zyn/collections/zynParameterReading.h"

#include <ostream>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

// Returns an owning handle on "p" when something owns it already, else a
// non-owning one (a root on the stack).
zynParameterPtr hold(zynParameter* p) {
  return p->reference_count() > 0 ? zynParameterPtr(p) : zynParameterPtr(coPrfExternal, p);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const zynParameter& p) { return out << p.print(0); }

std::ostream& operator<<(std::ostream& out, const zynParameterPtr& p) { return out << *p; }

zynMemberRange::zynMemberRange(const zynParameterPtr& p) : m_holder(hold(p.par())) {
  static const zynParameterMapMembers none;
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(m_holder.pointer());
  m_members = map ? &map->members() : &none;
}

zynElementRange::zynElementRange(const zynParameterPtr& p)
    : m_holder(hold(p.par())), m_array(zynParameterArray::ut_dynamic_cast(m_holder.pointer())) {}

zynParameterPtr zynElementRange::iterator::operator*() const { return m_array->get_element(m_at); }

bool zynElementRange::iterator::operator==(const iterator& other) const {
  // The end is any position past the last element, so a shrinking array
  // ends the walk instead of reading past it.
  const auto past = [](const iterator& it) { return !it.m_array || it.m_at < 0 || it.m_at >= it.m_array->size(); };
  if (past(*this) || past(other)) return past(*this) && past(other);
  return m_array == other.m_array && m_at == other.m_at;
}

zynReading zyn_read_double(const zynParameterPtr& p) {
  zynParameterNotify::read(p.pointer());
  const zynParameterPtr value = zynParameter::evaluate(*p);
  if (value->is_error()) return {0.0, value};
  if (zynParameter::get_type(*value) != PT_NUMERIC) return {0.0, zynParameterError::create(PS_ERR_TYPE)};
  double v = value->get_double();
  const zynParameterNumeric* numeric = zynParameterNumeric::ut_dynamic_cast(p.par());
  if (numeric && !numeric->get_range().invalid()) numeric->get_range().clamp(v);
  return {v, zynParameterPtr()};
}
