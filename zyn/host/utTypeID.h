// Run-time type identities of the parameter classes. Each class owns one
// static utTypeID made from its name and its base's identity, so that
// ut_is_kind_of can walk the chain without the language's own RTTI.
#pragma once

#include "zyn/zynExport.h"

// Tag that selects the identity-making constructor.
enum utTypeMaker { utTypeMake };

class ZYN_EXPORT utTypeID {
 public:
  utTypeID(utTypeMaker, const char* name, const utTypeID* base = nullptr) : m_name(name), m_base(base) {}
  utTypeID(const utTypeID&) = delete;
  utTypeID& operator=(const utTypeID&) = delete;

  const char* name() const { return m_name; }
  const utTypeID* base() const { return m_base; }

  // Returns 1 when this identity is "other" or derives from it.
  int is_kind_of(const utTypeID& other) const {
    for (const utTypeID* t = this; t; t = t->m_base)
      if (t == &other) return 1;
    return 0;
  }

  bool operator==(const utTypeID& other) const { return this == &other; }
  bool operator!=(const utTypeID& other) const { return this != &other; }

 private:
  const char* m_name;
  const utTypeID* m_base;
};
