// zynParameterArray is the ordered, index-addressed container of parameters
// and the base of every sequence kind (vectors, temporary arrays, lists and
// shared lists). Elements are reached with index keys ("[0]", "[3].name"),
// take part in expressions through the operator methods (concatenation with
// "+", element-wise comparison and unary operators), and print themselves for
// diagnostics.
//
// Example:
//   zynParameterPtr a(new zynParameterArray());
//   a->add(zynParameterKey(), zynParameterPtr(...));   // appends
//   a[zynParameterKey(0, "depth")];                    // member of element 0
#pragma once

#include <vector>

#include "zyn/core/zynParameter.h"

// A plain array owns its elements through shared pointers and is their parent
// while they belong to it; the same element may be held elsewhere as well.
// Copies (copy constructor, create_new, zynParameterPtr::copy) are deep: each
// element is cloned. Positions run from 0 to size()-1 and cost O(1) to reach.
class ZYN_EXPORT zynParameterArray : public zynParameter {
 public:
  ZYN_DECLARE_TYPE(zynParameterArray, zynParameter)

  zynParameterArray();
  // A deep copy: the base part as zynParameter copies it, then clones of
  // "other"'s elements, with this array as their parent.
  zynParameterArray(const zynParameterArray& other);
  // Takes "other"'s elements through the virtual copy_value_from (so each
  // kind applies its own rules), then shares its record.
  zynParameterArray& operator=(const zynParameterArray& other);
  // Clears the parent link of every element that still points here, then
  // releases them; elements held elsewhere survive.
  ~zynParameterArray() override;

  // Returns a new deep copy of this array (the caller wraps it).
  zynParameter* create_new() const override;
  // Empties the array through the virtual remove_all.
  void reset() override;
  // Returns 0 when an active element is invalid; inactive elements are not examined.
  int is_valid() const override;
  // Returns "(ARRAY) \n" ("(ARRAY !) \n" when invalid) followed by one line
  // per active element: depth+1 tabs, "[i] " and the element's own print.
  utString print(int depth) const override;
  // Replaces the elements by deep copies of those of "other" when it is an
  // array of any kind other than this one; anything else changes nothing.
  // The lock is not consulted.
  void copy_value_from(const zynParameter& other) override;
  // "+" returns a new plain array: a copy of this one followed by copies of
  // the elements of "other" (none when it is not a container). "==" and "!="
  // compare sizes, then elements pairwise through their own "!=", and return
  // booleans. "[" and "." and every other operator go to the base class.
  zynParameterPtr operate_binary(const utString& op, const zynParameterPtr& other) const override;
  // Returns a new plain array holding each element's own operate_prefix
  // (operate_postfix) result for "op", errors included (as private copies
  // of the shared values), in order.
  zynParameterPtr operate_prefix(const utString& op) const override;
  zynParameterPtr operate_postfix(const utString& op) const override;
  int size() const override { return static_cast<int>(m_elements.size()); }
  // Returns the element addressed by the index key "key", or what the
  // element's own operator[] answers for the rest of the key. A key that is
  // not an index, or an index outside 0..size()-1, gives "Invalid name". The
  // element is shared, not copied.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Inserts "p" before the element at the key's index and becomes its parent.
  // An empty key, the index -1 and the index size() append. Returns "p", or
  // "Unknown error" when locked, "Invalid name" for any other index or a
  // component that is not a number, and "Invalid arguments" when "p" is this
  // array or one of its ancestors. A shared error value (or null) is stored,
  // and returned, as a new private copy. The rest of the key is ignored.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  // Takes out the element at the key's index, clears its parent link and
  // returns it. Errors as for add; an empty key is "Invalid name".
  zynParameterPtr remove(const zynParameterKey& key) override;
  // Empties the array unless it is locked, clearing the parent links.
  void remove_all() override;

  // Returns the element at position "i" (shared), or "Invalid name" outside
  // 0..size()-1. The same as operator[] with the index key "i", for every
  // array kind, without building a key.
  zynParameterPtr get_element(int i) const;

  // Returns a clone of the same kind (create_new) cut down to positions
  // "first" to "last"-1. Bounds past the end keep what exists; bounds that
  // cross or fall below zero give an empty clone.
  zynParameterPtr slice(int first, int last) const;

 protected:
  zynParameterSubType subtype() const override { return PS_ARRAY; }
  zynParameterType type() const override { return PT_ARRAY; }
  utString get_xml_typename() const override { return "array"; }
  // Returns 1 when the base test holds and the elements are pairwise equal
  // (zynParameter::operator!=), "other"'s read through its const operator[].
  int is_equal(const zynParameter& other) const override;
  // Clears the parent link of every element that points at this array.
  virtual void unlink_all();

  // Tag of the constructor that copies only the zynParameter part.
  enum zynBaseOnly { zynCopyBaseOnly };
  // Copies the zynParameter part of "other" and starts with no elements;
  // for kinds whose copies share elements instead of cloning them.
  zynParameterArray(const zynParameterArray& other, zynBaseOnly);

  // Element storage for the derived kinds; none of these check locks or keys.
  const zynParameterPtr& element(int i) const { return m_elements[static_cast<size_t>(i)]; }
  // Inserts "p" before position "index" (append for size() or -1) without
  // touching its parent link.
  void insert_element(int index, zynParameterPtr p);
  // Takes out and returns the element at "index" without touching its parent link.
  zynParameterPtr take_element(int index);
  // Takes out the element at "index" and clears its parent link when it points here.
  zynParameterPtr take_owned_element(int index);
  // Drops every element without touching parent links.
  void drop_all();
  // Clears "p"'s parent link when it points at this array.
  void release_child(const zynParameterPtr& p);
  // Replaces the elements by "fresh", adopting each of them.
  void adopt_all(std::vector<zynParameterPtr> fresh);
  // Returns deep copies of the elements of "other" in order.
  static std::vector<zynParameterPtr> clone_elements(const zynParameterArray& other);

 private:
  std::vector<zynParameterPtr> m_elements;
};
