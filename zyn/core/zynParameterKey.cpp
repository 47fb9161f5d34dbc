// Placeholder parse: a name or an index, the rest unparsed. Replaced by the
// full key grammar.
#include "zyn/core/zynParameterKey.h"

zynParameterKeyImplPtr zynParameterKeyImpl::get_impl(const utString& text) {
  zynParameterKeyImplPtr impl(new zynParameterKeyImpl());
  impl->parse(text);
  return impl;
}

void zynParameterKeyImpl::initialize_synonyms(const utStringutStringcoTable&) {}

void zynParameterKeyImpl::parse(const utString& text) {
  size_t dot = text.find('.');
  m_first = text.substr(0, dot);
  m_remainder = dot == utString::npos ? utString() : text.substr(dot + 1);
  m_type = m_first.empty() ? PT_ERROR : PT_MAP;
}

const utString& zynParameterKeyImpl::str() const {
  if (!m_text_built) {
    m_text = m_remainder.empty() ? m_first : m_first + "." + m_remainder;
    m_text_built = true;
  }
  return m_text;
}

const utString& zynParameterKeyImpl::last() const { return m_first; }

zynParameterKey::zynParameterKey() : m_impl(zynParameterKeyImpl::get_impl(utString())) {}
zynParameterKey::zynParameterKey(const utString& text) : m_impl(zynParameterKeyImpl::get_impl(text)) {}
zynParameterKey::zynParameterKey(const char* text) : m_impl(zynParameterKeyImpl::get_impl(text ? text : "")) {}
zynParameterKey::zynParameterKey(int index, const utString& rest)
    : m_impl(zynParameterKeyImpl::get_impl(std::to_string(index) + (rest.empty() ? "" : "." + rest))) {
  m_impl->set_type(PT_ARRAY);
}
zynParameterType zynParameterKey::type() const { return m_impl->type(); }
const utString& zynParameterKey::first() const { return m_impl->first(); }
const utString& zynParameterKey::remainder_str() const { return m_impl->remainder_str(); }
const utString& zynParameterKey::str() const { return m_impl->str(); }
const utString& zynParameterKey::last() const { return m_impl->last(); }
int zynParameterKey::empty() const { return m_impl->first().empty(); }
zynParameterKey zynParameterKey::first_key() const { return zynParameterKey(first()); }
zynParameterKey zynParameterKey::remainder() const { return zynParameterKey(remainder_str()); }
zynParameterKey zynParameterKey::parent() const { return zynParameterKey(); }
zynParameterKey zynParameterKey::operator+(const zynParameterKey& other) const {
  return zynParameterKey(str() + "." + other.str());
}
