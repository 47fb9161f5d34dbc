// zynParameterIter walks a parameter tree depth first and pre-order: a
// container is yielded before its members, members in their container's own
// order, each with its key path relative to the start. Switches choose leaves
// only, active parameters only, whether functions, reserved names ("_tmp")
// and the insides of references are included, and how deep to go. The walk
// stacks one level iterator (zynBaseParIter) per container entered.
//
// Example:
//   zynParameterIter walk(root);
//   walk.set_leaf_only(1);
//   while (++walk) print(walk.index().str(), walk());
//
// The walk reads containers live: adding or removing members of a container
// while it is being walked is not supported.
#pragma once

#include <memory>

#include "zyn/core/zynParameter.h"
#include "zyn/core/zynParameterMap.h"

// Iterates over the direct children of one parameter. Before the first
// operator++ and after the last child there is no current child.
class ZYN_EXPORT zynBaseParIter {
 public:
  virtual ~zynBaseParIter() = default;
  // Returns 1 when no child is current.
  virtual int undefined() const = 0;
  // Moves to the next child and returns 1, or returns 0 past the last one;
  // a further call starts again from the first child.
  virtual int operator++() = 0;
  // Returns the current child, or "Invalid name" when undefined.
  virtual const zynParameterPtr operator()() const = 0;
  // Returns the key of the current child in its container, or the empty key.
  virtual zynParameterKey index() const = 0;

  // Returns the level iterator that fits p.par(): over the members of a map,
  // the elements of an array, or nothing for any other kind.
  static std::unique_ptr<zynBaseParIter> create(zynParameterPtr p);
};

// The members of a map, in the map's order; their keys are their names.
class ZYN_EXPORT zynMapParIter : public zynBaseParIter {
 public:
  // "holder" keeps "map" alive (it is the map, or a reference to it).
  zynMapParIter(zynParameterPtr holder, const zynParameterMap& map);
  int undefined() const override { return !m_started; }
  int operator++() override;
  const zynParameterPtr operator()() const override;
  zynParameterKey index() const override;

 private:
  zynParameterPtr m_holder;
  const zynParameterMap& m_map;
  size_t m_at = 0;  // a position, which stays meaningful as the map changes
  bool m_started = false;
};

// The elements of an array of any kind. Their keys are the array's names for
// them (its "_keys" answer, as for vectors with named components) where it
// has them, else their index keys.
class ZYN_EXPORT zynArrayParIter : public zynBaseParIter {
 public:
  // "array" is held for the life of the iterator.
  explicit zynArrayParIter(zynParameterPtr array);
  int undefined() const override { return m_pos < 0; }
  int operator++() override;
  const zynParameterPtr operator()() const override;
  zynParameterKey index() const override;

 private:
  zynParameterPtr m_array;
  zynParameterPtr m_keys;
  zynParameterPtr m_current;
  int m_pos = -1;
};

// A parameter that has no children.
class ZYN_EXPORT zynSingleParIter : public zynBaseParIter {
 public:
  int undefined() const override { return 1; }
  int operator++() override { return 0; }
  const zynParameterPtr operator()() const override;
  zynParameterKey index() const override { return zynParameterKey(); }
};

// The depth-first walk. An iterator owns its level iterator and the iterator
// of the subtree it is in; it holds its start alive (or, when made from a
// raw pointer, merely points at it).
class ZYN_EXPORT zynParameterIter {
 public:
  // A walk below "start", which must outlive the iterator.
  explicit zynParameterIter(const zynParameter* start);
  explicit zynParameterIter(zynParameterPtr start);
  // A walk over the same start with the same switches, from the beginning.
  zynParameterIter(const zynParameterIter& other);
  // A walk below "start" with the switches of "switches".
  zynParameterIter(const zynParameterIter& switches, zynParameterPtr start);
  zynParameterIter& operator=(const zynParameterIter&) = delete;
  ~zynParameterIter();

  // Switches; set them before the first operator++.
  // Limits the walk to "n" levels below the start; 0 is unlimited.
  void set_max_depth(int n) { m_max_depth = n; }
  // Walks into the containers that references point at (off by default).
  void set_follow_refs(int on) { m_follow_refs = on; }
  // Yields only leaves: non-containers and references not followed.
  void set_leaf_only(int on) { m_leaf_only = on; }
  // Yields only active parameters and does not enter inactive containers.
  void set_active_only(int on) { m_active_only = on; }
  // Leaves out functions (on by default).
  void exclude_functions(int on) { m_exclude_functions = on; }
  // Leaves out parameters whose own key begins with "_"; what lies below
  // them is still walked.
  void exclude_reserved() { m_exclude_reserved = 1; }

  // Moves to the next parameter that passes the switches. Returns 0 when the walk is over.
  int operator++();
  // Returns the current parameter, or "Invalid name" before the first step and after the last.
  const zynParameterPtr operator()() const;
  // Returns the current parameter's key path from the start ("a.b[2]"), or the empty key.
  zynParameterKey index() const;
  // Starts the walk again.
  void reset();

  // Returns 1 when "text" begins with "_".
  static int reserved(const utString& text);

 private:
  int next();
  int match() const;
  int may_enter(const zynParameter& c) const;
  // Returns the level iterator of the innermost subtree being walked.
  const zynBaseParIter& innermost_level() const;

  zynParameterPtr m_start;
  std::unique_ptr<zynBaseParIter> m_level;
  std::unique_ptr<zynParameterIter> m_child;
  int m_max_depth = 0;
  int m_follow_refs = 0;
  int m_leaf_only = 0;
  int m_active_only = 0;
  int m_exclude_functions = 1;
  int m_exclude_reserved = 0;
  // The iterator whose subtree this one walks; used to refuse entering a
  // container that is already being walked (a cycle through references).
  const zynParameterIter* m_outer = nullptr;
  int m_nesting = 0;
};
