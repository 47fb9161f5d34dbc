#include "support/zynTestScope.h"

ZYN_DEFINE_TYPE(zynTestScope, zynParameter)

zynTestScope::~zynTestScope() {
  for (auto& member : m_members) unlink_par(member.second);
}

zynParameterPtr zynTestScope::add(const zynParameterKey& key, zynParameterPtr p) {
  link_par(p);
  p->set_name(key.first());
  m_members.emplace_back(key.first(), p);
  return p;
}

const zynParameterPtr zynTestScope::operator[](const zynParameterKey& key) const {
  ++m_lookups;
  if (key.type() != PT_MAP) return zynParameterError::create(PS_ERR_NAME);
  for (const auto& member : m_members) {
    if (member.first != key.first()) continue;
    if (zynEvalFunction::functions_only() && get_type(*member.second) != PT_FUNCTION) break;
    if (key.remainder_str().empty()) return member.second;
    return member.second[key.remainder()];
  }
  return zynParameterError::create(PS_ERR_NAME);
}

zynParameterPtr zynTestScope::operator[](const zynParameterKey& key) {
  return static_cast<const zynTestScope&>(*this)[key];
}
