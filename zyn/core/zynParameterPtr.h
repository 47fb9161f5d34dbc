// zynParameterPtr is the handle through which every parameter is passed and
// held. It counts references inside the parameter (so handles made from the
// same raw pointer never disagree about ownership), has a non-owning
// "external" form for parameters that live elsewhere, and never exposes null:
// any access to an empty handle first turns it, in place, into the shared
// "Unknown error" value.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>

#include "zyn/host/zynContainers.h"

class zynParameter;
class zynParameterKey;

// The shared-pointer part of zynParameterPtr: an object pointer and whether
// the pointer owns a reference to it.
class ZYN_EXPORT zynParametercoPrf {
 public:
  // Returns 1 for a pointer that does not own its object.
  int external() const { return m_external; }
  // Returns the held object without the null check; for identity tests only.
  const zynParameter* raw() const { return m_ptr; }

 protected:
  zynParametercoPrf() = default;
  mutable zynParameter* m_ptr = nullptr;
  mutable bool m_external = false;
};

class ZYN_EXPORT zynParameterPtr : public zynParametercoPrf {
 public:
  zynParameterPtr() = default;
  // Takes ownership of "p", which must come from "new": the parameter is
  // deleted with its last owner. Explicit, so that the address of a
  // parameter on the stack or inside another object does not turn into an
  // owner by accident; hand such a parameter on through the non-owning form,
  // zynParameterPtr(coPrfExternal, &root).
  explicit zynParameterPtr(zynParameter* p);
  // A non-owning pointer to "p", which lives elsewhere and must outlive it.
  zynParameterPtr(coPrfExtern, zynParameter* p);
  zynParameterPtr(coPrfExtern, const zynParameter* p);
  zynParameterPtr(const zynParameterPtr& other);
  zynParameterPtr(zynParameterPtr&& other) noexcept;
  zynParameterPtr& operator=(const zynParameterPtr& other);
  zynParameterPtr& operator=(zynParameterPtr&& other) noexcept;
  ~zynParameterPtr();

  // Accessors; each replaces a null pointer by the "Unknown error" value.
  zynParameter* operator->() const { return pointer(); }
  zynParameter& operator*() const { return *pointer(); }
  zynParameter* pointer() const {
    if (!m_ptr) become_unknown_error();
    return m_ptr;
  }
  // Returns the held parameter's get_ref(): for a reference, its target.
  zynParameter* par() const;
  // Returns a new owning pointer to a deep copy (create_new) of the held parameter.
  zynParameterPtr copy() const;
  // Returns the held parameter's operator[] for "key".
  zynParameterPtr operator[](const zynParameterKey& key) const;

  // Returns 1 only for an owning pointer whose use count is exactly 1.
  int unique() const;
  // Returns 1 when no parameter is held, without replacing it.
  int is_null() const { return m_ptr == nullptr; }
  // Drops the held parameter.
  void release();

 private:
  void become_unknown_error() const;
};

// Returns 1 when both hold the same parameter, or both hold errors of
// subtype 0 (so two null pointers compare equal).
ZYN_EXPORT int operator==(const zynParameterPtr& a, const zynParameterPtr& b);
inline int operator!=(const zynParameterPtr& a, const zynParameterPtr& b) { return !(a == b); }

// Hashes a pointer by the identity of the held parameter.
ZYN_EXPORT unsigned int co_hash(const zynParameterPtr& p);

using zynParameterPtrcoDList = coDList<zynParameterPtr>;

// Hashing and comparison by identity, for standard unordered containers.
struct ZYN_EXPORT zynParameterPtrHash {
  size_t operator()(const zynParameterPtr& p) const { return std::hash<const void*>()(p.raw()); }
};
struct ZYN_EXPORT zynParameterPtrSame {
  bool operator()(const zynParameterPtr& a, const zynParameterPtr& b) const { return a.raw() == b.raw(); }
};
