// A minimal named container for tests that need names to resolve before the
// real maps are at hand: members in insertion order, exact names, dotted
// remainders passed on, lookups counted.
#pragma once

#include <utility>
#include <vector>

#include "zyn/zyn.h"

class zynTestScope : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynTestScope, zynParameter)

  zynTestScope() = default;
  zynTestScope(const zynTestScope&) = delete;
  ~zynTestScope() override;
  zynParameter* create_new() const override { return new zynTestScope(); }

  // Adopts "p" under the first component of "key" and names it.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  // Returns the member named by the key's first component (and its
  // remainder), or "Invalid name". While only functions are wanted, other
  // members are "Invalid name" too.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  int size() const override { return static_cast<int>(m_members.size()); }

  // The number of lookups so far.
  mutable int m_lookups = 0;

 protected:
  zynParameterSubType subtype() const override { return PS_MAP; }
  zynParameterType type() const override { return PT_MAP; }

 private:
  std::vector<std::pair<utString, zynParameterPtr>> m_members;
};
