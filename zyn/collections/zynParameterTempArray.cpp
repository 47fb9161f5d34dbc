#include "zyn/collections/zynParameterTempArray.h"

#include "zyn/collections/zynParameterArray_internal.h"
#include "zyn/core/zynParameterError.h"

ZYN_DEFINE_TYPE(zynParameterTempArray, zynParameterVector)

namespace {

zynParameterPtr invalid_name() { return zynParameterError::create(PS_ERR_NAME); }

// Removes the name at "position" from the ","-separated "names".
void erase_name(utString& names, int position) {
  size_t start = 0;
  for (int i = 0; i < position; ++i) {
    size_t comma = names.find(',', start);
    if (comma == utString::npos) return;
    start = comma + 1;
  }
  size_t comma = names.find(',', start);
  if (comma != utString::npos) names.erase(start, comma - start + 1);
  else names.erase(start == 0 ? 0 : start - 1);  // the last name takes its "," with it
}

}  // namespace

zynParameterTempArray::zynParameterTempArray() = default;

zynParameterTempArray::zynParameterTempArray(const zynParameterTempArray& other)
    : zynParameterVector(other, zynCopyBaseOnly) {
  for (int i = 0; i < other.size(); ++i) insert_element(-1, other.element(i));
}

zynParameterTempArray::~zynParameterTempArray() = default;

zynParameter* zynParameterTempArray::create_new() const { return new zynParameterTempArray(*this); }

void zynParameterTempArray::copy_value_from(const zynParameter& other) {
  zynParameterArray::copy_value_from(other);
}

zynParameterPtr zynParameterTempArray::add(const zynParameterKey& key, zynParameterPtr p) {
  p.pointer();  // a null pointer is held as the error value it stands for
  int n = size();
  if (key.empty()) {
    insert_element(n, p);
    return p;
  }
  int i = 0;
  if (zyn_parse_index(key.first(), i)) {
    if (!m_access_names.empty() || i < -1 || i > n) return invalid_name();
    insert_element(i, p);
    return p;
  }
  // Only a well-formed member name may become a name: the names are kept as
  // one ","-separated text, which an unparsable key could break apart.
  if (key.type() != PT_MAP) return invalid_name();
  const utString& name = key.first();
  int count = zyn_count_access_names(m_access_names);
  if (count != n || zyn_find_access_name(m_access_names, name, count) >= 0) return invalid_name();
  zynParameterPtr keys = get_keys();  // made from the names so far, before this one joins
  if (!m_access_names.empty()) m_access_names += ",";
  m_access_names += name;
  (*keys)[zynParameterKey(-1, utString())]->set_string(name);
  insert_element(n, p);
  return p;
}

zynParameterPtr zynParameterTempArray::remove(const zynParameterKey& key) {
  int i = 0;
  if (zyn_parse_index(key.first(), i)) {
    if (!m_access_names.empty() || i < 0 || i >= size()) return invalid_name();
    return take_owned_element(i);
  }
  if (m_access_names.empty()) return invalid_name();
  int position = zyn_find_access_name(m_access_names, key.first(), zyn_count_access_names(m_access_names));
  if (position < 0 || position >= size()) return invalid_name();
  zynParameterPtr keys = get_keys();
  zynParameterPtr removed = take_owned_element(position);
  // The name goes by position, so the names stay aligned with the elements
  // whatever letter case the key was written in.
  if (position < keys->size()) keys->remove(zynParameterKey(position, utString()));
  erase_name(m_access_names, position);
  return removed;
}

void zynParameterTempArray::remove_all() {
  m_access_names.clear();
  if (!m_keys.is_null()) m_keys->remove_all();
  unlink_all();  // only elements adopted by copy_value_from point here
  drop_all();
}
