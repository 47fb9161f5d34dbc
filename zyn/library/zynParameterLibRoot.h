// zynParameterLibRoot is the root a host makes (or derives from) when the
// expressions of its tree call the standard functions: names the tree does
// not hold, and that are no pseudo-member of the root, are answered by a
// library object the root owns, so "min(Depth; 3)" or "sqrt(Area)" evaluate
// in any parameter below it. A plain zynParameterRoot knows no built-ins
// ("min" is an "Invalid name" there, and calling it a "Type error").
//
// Built-ins that evaluate a text of their own (evaluate, apply, sort) do so
// in the process-wide evaluation scope; zynParameterEvalScope sets it for a
// stretch of code.
//
// Example:
//   zynParameterLibRoot op("Drilling", 1, "Hole pattern A");
//   zynParameterEvalScope scope(op);
//   op.add("Depth", zyn_real(12.0, ZYN_DIM_LENGTH));
//   op.add("Step", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("min(Depth / 2; 5)");
#pragma once

#include "zyn/core/zynParameterRoot.h"

// A root as zynParameterRoot describes it, whose lookups fall back to the
// standard library. Copies share the library object, which holds no state
// of a tree. Hosts derive from it as from zynParameterRoot (build_tree,
// synonyms, loaders and updaters work the same way).
class ZYN_EXPORT zynParameterLibRoot : public zynParameterRoot {
 public:
  ZYN_DECLARE_TYPE(zynParameterLibRoot, zynParameterRoot)

  // An empty root; "root_type" is also its type name.
  zynParameterLibRoot(const utString& root_type, int version, const utString& root_name);
  zynParameterLibRoot(const zynParameterLibRoot& other) = default;
  zynParameterLibRoot& operator=(const zynParameterLibRoot& other) = default;

  zynParameter* create_new() const override { return new zynParameterLibRoot(*this); }

 protected:
  // Returns the root's pseudo-member named by "key", else the built-in of
  // that name (a new handle bound to it, "_keys" the list of all names),
  // else "Invalid name".
  zynParameterPtr lookup_method(const zynParameterKey& key) const override;

 private:
  zynParameterPtr m_lib;
};

// Makes "scope" the evaluation scope of the standard library while the
// guard lives and puts back the scope it found. Guards nest.
class ZYN_EXPORT zynParameterEvalScope {
 public:
  explicit zynParameterEvalScope(const zynParameterPtr& scope);
  // The same for a parameter held elsewhere (a root on the stack), through a
  // non-owning handle: "scope" must outlive the guard.
  explicit zynParameterEvalScope(const zynParameter& scope);
  ~zynParameterEvalScope();
  zynParameterEvalScope(const zynParameterEvalScope&) = delete;
  zynParameterEvalScope& operator=(const zynParameterEvalScope&) = delete;

 private:
  zynParameterPtr m_previous;
};
