#include "zyn/collections/zynParameterVector.h"

#include "zyn/collections/zynParameterArray_internal.h"
#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynCollectionHooks_internal.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"

ZYN_DEFINE_TYPE(zynParameterVector, zynParameterArray)

int zyn_find_access_name(const utString& names, const utString& name, int limit) {
  size_t start = 0;
  for (int i = 0; i < limit && start <= names.size(); ++i) {
    size_t comma = names.find(',', start);
    size_t end = comma == utString::npos ? names.size() : comma;
    if (end > start && end - start == name.size() &&
        ut_case_compare(names.substr(start, end - start), name) == 0)
      return i;
    if (comma == utString::npos) break;
    start = comma + 1;
  }
  return -1;
}

int zyn_count_access_names(const utString& names) {
  if (names.empty()) return 0;
  int n = 1;
  for (char c : names)
    if (c == ',') ++n;
  return n;
}

zynParameterVector::zynParameterVector() = default;

zynParameterVector::zynParameterVector(int n, zynParameterPtr prototype) {
  for (int i = 0; i < n; ++i) zynParameterArray::add(zynParameterKey(), prototype.copy());
}

zynParameterVector::zynParameterVector(const zynParameterVector& other)
    : zynParameterArray(other), m_access_type(other.m_access_type), m_access_names(other.m_access_names) {}

zynParameterVector::zynParameterVector(const zynParameterVector& other, zynBaseOnly)
    : zynParameterArray(other, zynCopyBaseOnly),
      m_access_type(other.m_access_type),
      m_access_names(other.m_access_names) {}

zynParameterVector& zynParameterVector::operator=(const zynParameterVector& other) {
  if (this != &other) {
    zynParameterArray::operator=(other);
    m_access_type = other.m_access_type;
    m_access_names = other.m_access_names;
    m_keys.release();  // never shared: it follows this vector's own names
  }
  return *this;
}

zynParameterVector::~zynParameterVector() = default;

zynParameter* zynParameterVector::create_new() const { return new zynParameterVector(*this); }

void zynParameterVector::reset() {
  const zynParameterImpl& record = impl();
  const utString& first = record.get(zynParameterImpl::DEFAULT_VALUE);
  if (first.empty()) {
    for (int i = 0; i < size(); ++i) element(i)->reset();
    return;
  }
  const utString& second = record.get(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS);
  const utString text = zyn_units_are_metric() || second.empty() ? first : second;
  set_string(zynEvaluator::localize(text));
}

void zynParameterVector::set_string(const utString& text) {
  if (is_locked()) return;
  zynEvaluator evaluator(this);
  zynParameterPtr result = evaluator.evaluate(text);
  const zynParameterArray* values = zynParameterArray::ut_dynamic_cast(result.pointer());
  int n = size();
  if (!values || values->size() != n || n < 1) return;
  for (int i = 0; i < n; ++i) element(i)->copy_value_from(*values->get_element(i));
}

void zynParameterVector::set_defaults(const utString& metric, const utString& imperial) {
  zynParameterImpl& record = impl();
  record.set(zynParameterImpl::DEFAULT_VALUE, metric);
  record.set(zynParameterImpl::DEFAULT_VALUE_SECOND_UNITS, imperial != metric ? imperial : utString());
}

void zynParameterVector::copy_value_from(const zynParameter& other) {
  const zynParameterArray* source = zynParameterArray::ut_dynamic_cast(&other);
  int n = size();
  if (!source || source == this || source->size() != n || n == 0) return;
  const zynParameter& first = *element(0);
  const utTypeID& kind = first.ut_dynamic_type();
  for (int i = 0; i < n; ++i) {
    zynParameterPtr e = source->get_element(i);
    if (!e->ut_is_kind_of(kind) && !(first.is_ref() && zyn_is_entity(e))) return;
  }
  for (int i = 0; i < n; ++i) {
    zynParameterPtr value = source->get_element(i);
    const zynParameterPtr& component = element(i);
    if (component->is_ref() && zyn_is_root(*value) && !value->is_ref()) value = zyn_make_root_reference(*value);
    component->copy_value_from(*value);
  }
}

const zynParameterPtr zynParameterVector::operator[](const zynParameterKey& key) const {
  if (is_keys(key)) return get_keys();
  return zynParameterArray::operator[](apply_accessors(key));
}

zynParameterPtr zynParameterVector::operator[](const zynParameterKey& key) {
  if (is_keys(key)) return get_keys();
  return zynParameterArray::operator[](apply_accessors(key));
}

zynParameterPtr zynParameterVector::add(const zynParameterKey&, zynParameterPtr p) {
  p.release();
  return zynParameterError::create(PS_ERR_TYPE);
}

zynParameterPtr zynParameterVector::remove(const zynParameterKey&) { return zynParameterError::create(PS_ERR_TYPE); }

void zynParameterVector::set_access_type(zynParameterVectorAccessType t) {
  zyn_eval_note_change();  // element names change
  m_access_type = t;
  switch (t) {
    case PVA_NONE: m_access_names.clear(); break;
    case PVA_XYZ: m_access_names = "X,Y,Z"; break;
    case PVA_ORDINAL: m_access_names = "First,Second,Third,Fourth,Fifth,Sixth,Seventh,Eighth,Ninth,Tenth"; break;
    case PVA_PLANES: m_access_names = "XY,YZ,ZX"; break;
    case PVA_RGB: m_access_names = "R,G,B"; break;
    default: return;  // named by text, or unknown: the names stay
  }
  m_keys.release();
}

void zynParameterVector::set_access_type(const utString& names) {
  zyn_eval_note_change();
  m_access_type = PVA_NAMED;
  m_access_names = names;
  m_keys.release();
}

zynParameterKey zynParameterVector::apply_accessors(const zynParameterKey& key) const {
  if (key.type() != PT_MAP || m_access_names.empty()) return key;
  int i = zyn_find_access_name(m_access_names, key.first(), size());
  return i < 0 ? key : zynParameterKey(i, key.remainder_str());
}

int zynParameterVector::is_keys(const zynParameterKey& key) const {
  return key.type() == PT_MAP && !m_access_names.empty() && key.first() == "_keys";
}

zynParameterPtr zynParameterVector::get_keys() const {
  if (!m_keys.is_null() && !m_keys->is_error()) return m_keys;
  zynParameterPtr keys(new zynParameterList(zyn_create_string(utString())));
  const zynParameterKey append(-1, utString());
  size_t start = 0;
  for (int taken = 0; taken < size() && start <= m_access_names.size(); ++taken) {
    size_t comma = m_access_names.find(',', start);
    size_t end = comma == utString::npos ? m_access_names.size() : comma;
    (*keys)[append]->set_string(m_access_names.substr(start, end - start));
    if (comma == utString::npos) break;
    start = comma + 1;
  }
  m_keys = keys;
  return keys;
}
