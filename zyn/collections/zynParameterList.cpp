#include "zyn/collections/zynParameterList.h"

#include <utility>

#include "zyn/collections/zynCollectionHooks_internal.h"
#include "zyn/collections/zynParameterArray_internal.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameter_internal.h"

ZYN_DEFINE_TYPE(zynParameterList, zynParameterArray)

zynParameterList::zynParameterList(zynParameterPtr element_type) : m_element_type(element_type.copy()) {}

zynParameterList::zynParameterList(const zynParameterList& other)
    : zynParameterArray(other), m_element_type(other.m_element_type.copy()) {}

zynParameterList& zynParameterList::operator=(const zynParameterList& other) {
  if (this != &other) {
    m_element_type = other.m_element_type.copy();
    zynParameterArray::operator=(other);
  }
  return *this;
}

zynParameterList::~zynParameterList() = default;

zynParameter* zynParameterList::create_new() const { return new zynParameterList(*this); }

void zynParameterList::set_int(int n) {
  if (n == 0) {
    remove_all();
    return;
  }
  int c = size();
  for (; c < n; ++c)
    if (add(zynParameterKey(c, utString()), zynParameterPtr())->is_error()) return;  // locked
  // A negative length empties the list; a lock stops the removal.
  while (c > n && c > 0) {
    --c;
    if (remove(zynParameterKey(c, utString()))->is_error()) return;
  }
}

std::vector<zynParameterPtr> zynParameterList::converted_numbers(const zynParameterArray& source) const {
  std::vector<zynParameterPtr> fresh;
  zynParameterPtr like = zyn_make_numeric_like(*m_element_type);
  if (like.is_null()) return clone_elements(source);
  fresh.reserve(static_cast<size_t>(source.size()));
  for (int i = 0; i < source.size(); ++i) {
    zynParameterPtr number = like.copy();
    number->set_double(source.get_element(i)->get_double());
    fresh.push_back(std::move(number));
  }
  return fresh;
}

void zynParameterList::copy_value_from(const zynParameter& other) {
  const zynParameterArray* source = zynParameterArray::ut_dynamic_cast(&other);
  if (!source || source == this) return;
  const zynParameter& prototype = *m_element_type;
  const utTypeID& kind = prototype.ut_dynamic_type();
  int n = source->size();
  for (int i = 0; i < n; ++i) {
    zynParameterPtr e = source->get_element(i);
    if (!e->ut_is_kind_of(kind) && !(prototype.is_ref() && zyn_is_entity(e))) return;
  }
  if (n > 0 && zyn_is_numeric(prototype) &&
      get_subtype(*source->get_element(0)) != get_subtype(prototype)) {
    adopt_all(converted_numbers(*source));
    return;
  }
  if (n > 0 && prototype.is_ref()) {
    std::vector<zynParameterPtr> fresh;
    fresh.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      zynParameterPtr e = source->get_element(i);
      fresh.push_back(zyn_is_root(*e) && !e->is_ref() ? zyn_make_root_reference(*e) : e.copy());
    }
    adopt_all(std::move(fresh));
    return;
  }
  adopt_all(clone_elements(*source));
}

const zynParameterPtr zynParameterList::operator[](const zynParameterKey& key) const {
  return zynParameterArray::operator[](key);
}

zynParameterPtr zynParameterList::operator[](const zynParameterKey& key) {
  int i = 0;
  if (key.type() == PT_ARRAY && zyn_parse_index(key.first(), i) && (i == -1 || i == size())) {
    zynParameterPtr grown = add(zynParameterKey(i, utString()), zynParameterPtr());
    if (grown->is_error() || key.remainder_str().empty()) return grown;
    return (*grown)[key.remainder()];
  }
  return zynParameterArray::operator[](key);
}

zynParameterPtr zynParameterList::add(const zynParameterKey& key, zynParameterPtr value) {
  const zynParameter& prototype = *m_element_type;
  bool has_value = !value.is_null() && !value->is_error();
  if (has_value && zyn_is_open_map(prototype)) return zynParameterArray::add(key, value.copy());
  zynParameterPtr element = m_element_type.copy();
  zynParameterPtr added = zynParameterArray::add(key, element);
  if (!added->is_error() && has_value && zyn_is_scalar(prototype)) element->copy_value_from(*value);
  return added;
}

zynParameterPtr zyn_create_string_list(const std::vector<utString>& texts) {
  zynParameterPtr list(new zynParameterList(zyn_create_string(utString())));
  const zynParameterKey append(-1, utString());
  for (const utString& text : texts) (*list)[append]->set_string(text);
  return list;
}
