#include "zyn/collections/zynParameterSharedList.h"

#include "zyn/collections/zynParameterArray_internal.h"
#include "zyn/core/zynParameterError.h"

ZYN_DEFINE_TYPE(zynParameterSharedList, zynParameterArray)

namespace {

// Returns 1 for the empty key or a lone index key.
int is_position_key(const zynParameterKey& key) {
  return key.empty() || (key.type() == PT_ARRAY && key.remainder_str().empty());
}

}  // namespace

zynParameterSharedList::zynParameterSharedList(zynParameterPtr element_type)
    : m_element_type(element_type.copy()) {}

zynParameterSharedList::zynParameterSharedList(const zynParameterSharedList& other)
    : zynParameterArray(other, zynCopyBaseOnly), m_element_type(other.m_element_type.copy()) {
  zynParameterSharedList::operator=(other);
}

zynParameterSharedList::~zynParameterSharedList() { drop_all(); }

zynParameter* zynParameterSharedList::create_new() const { return new zynParameterSharedList(*this); }

zynParameterSharedList& zynParameterSharedList::operator=(const zynParameterSharedList& other) {
  if (this != &other) {
    // "other" may be held only by one of our elements: keep our elements
    // alive until its pointers have been taken.
    std::vector<zynParameterPtr> shared;
    shared.reserve(static_cast<size_t>(other.size()));
    for (int i = 0; i < other.size(); ++i) shared.push_back(other.element(i));
    std::vector<zynParameterPtr> old;
    for (int i = size() - 1; i >= 0; --i) old.push_back(take_element(i));
    for (zynParameterPtr& p : shared) insert_element(-1, std::move(p));
    zynParameter::operator=(other);
  }
  return *this;
}

void zynParameterSharedList::copy_value_from(const zynParameter& other) {
  if (const zynParameterSharedList* source = ut_dynamic_cast(&other)) operator=(*source);
}

const zynParameterPtr zynParameterSharedList::operator[](const zynParameterKey& key) const {
  return zynParameterArray::operator[](key);
}

zynParameterPtr zynParameterSharedList::operator[](const zynParameterKey& key) {
  int i = 0;
  if (key.type() == PT_ARRAY && zyn_parse_index(key.first(), i) && (i == -1 || i == size())) {
    zynParameterPtr grown = add(zynParameterKey(i, utString()), zynParameterPtr());
    if (grown->is_error() || key.remainder_str().empty()) return grown;
    return (*grown)[key.remainder()];
  }
  return zynParameterArray::operator[](key);
}

int zynParameterSharedList::type_check(zynParameterPtr value) const {
  zynParameterType t = get_type(*value);
  return t == PT_ERROR || t == get_type(*m_element_type);
}

int zynParameterSharedList::parent_check(zynParameterPtr value) const {
  return get_type(*value) == PT_ERROR || value->parent() != nullptr;
}

zynParameterPtr zynParameterSharedList::add(const zynParameterKey& key, zynParameterPtr value) {
  if (!is_position_key(key)) return zynParameterError::create(PS_ERR_NAME);
  if (is_locked()) return zynParameterError::create(PS_ERR_UNKNOWN);
  int n = size();
  int i = n;
  if (!key.empty() && (!zyn_parse_index(key.first(), i) || i < -1 || i > n))
    return zynParameterError::create(PS_ERR_NAME);
  if (!type_check(value) || !parent_check(value)) return zynParameterError::create(PS_ERR_UNKNOWN);
  if (value->is_error()) value = m_element_type.copy();
  insert_element(i, value);
  return value;
}

zynParameterPtr zynParameterSharedList::remove(const zynParameterKey& key) {
  if (!is_position_key(key)) return zynParameterError::create(PS_ERR_NAME);
  if (is_locked()) return zynParameterError::create(PS_ERR_UNKNOWN);
  int i = 0;
  if (!zyn_parse_index(key.first(), i) || i < 0 || i >= size()) return zynParameterError::create(PS_ERR_NAME);
  return take_element(i);
}

void zynParameterSharedList::remove_all() {
  if (is_locked()) return;
  drop_all();
}
