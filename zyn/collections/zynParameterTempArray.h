// zynParameterTempArray is the scratch sequence of the system: the evaluator
// collects tuples, array literals and call arguments in it, and the library
// functions build their results in it. Unlike a vector it grows and shrinks,
// and its elements can be named one by one ("a", "b") as they are added.
//
// Example:
//   zynParameterPtr args(new zynParameterTempArray());
//   args->add(zynParameterKey(), value);          // positional
//   args->add(zynParameterKey("speed"), value);   // refused: it has an unnamed element
#pragma once

#include "zyn/collections/zynParameterVector.h"

// A temporary array holds parameters owned elsewhere: it never becomes their
// parent, and its copies (copy constructor, create_new, slice) share the very
// element objects. copy_value_from, by contrast, takes deep copies that it
// owns. It is either positional (no names) or fully named: a name can be
// given only while every element has one. No operation checks the lock.
class ZYN_EXPORT zynParameterTempArray : public zynParameterVector {
 public:
  ZYN_DECLARE_TYPE(zynParameterTempArray, zynParameterVector)

  // An empty, unnamed temporary array.
  zynParameterTempArray();
  // A copy with the same names that shares the elements of "other".
  zynParameterTempArray(const zynParameterTempArray& other);
  zynParameterTempArray& operator=(const zynParameterTempArray& other) = default;
  ~zynParameterTempArray() override;

  // Returns a new copy that shares the elements.
  zynParameter* create_new() const override;
  // Replaces the elements by deep copies of those of the array "other",
  // adopting them; the names are left as they are.
  void copy_value_from(const zynParameter& other) override;
  // Inserts "p" without touching its parent link and returns it.
  //   empty key: appends;
  //   index i:   inserts before i (-1 and size() append) on an unnamed array;
  //   name:      appends under a new name, when every element is named and
  //              no name equals it ignoring letter case.
  // Every refusal is "Invalid name".
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr p) override;
  // Takes out the element at the key's index (unnamed arrays only) or under
  // the key's name (named arrays only) and returns it; the name goes too.
  // Every refusal is "Invalid name".
  zynParameterPtr remove(const zynParameterKey& key) override;
  // Drops the elements and the names; parent links are left alone.
  void remove_all() override;
};
