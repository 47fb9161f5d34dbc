// zynParameterList is an array with an element type: a prototype parameter
// from which new elements are made and against which incoming values are
// checked. It grows by itself when a key addresses the position one past its
// end, converts incoming values to its element type, and reads and writes as
// an integer, its length.
//
// Example:
//   zynParameterList passes(prototype);            // empty
//   passes[zynParameterKey(0, "depth")];           // makes element 0, returns its member
//   passes.set_int(5);                              // five elements
#pragma once

#include "zyn/collections/zynParameterArray.h"

// A list owns its elements and is their parent, as an array is, and owns a
// private clone of its prototype. Copies are deep: elements and prototype
// are cloned. The subtype is PS_LIST.
class ZYN_EXPORT zynParameterList : public zynParameterArray {
 public:
  ZYN_DECLARE_TYPE(zynParameterList, zynParameterArray)

  // An empty list whose element type is a clone of "element_type".
  explicit zynParameterList(zynParameterPtr element_type);
  zynParameterList(const zynParameterList& other);
  // Takes a clone of "other"'s element type, then its elements (copy_value_from),
  // and shares its record.
  zynParameterList& operator=(const zynParameterList& other);
  ~zynParameterList() override;

  zynParameter* create_new() const override;
  // Returns the number of elements.
  int get_int() const override { return size(); }
  // Makes the list "n" elements long: fresh clones of the element type are
  // appended, or elements removed from the end. 0 (or less) empties it.
  void set_int(int n) override;
  // Takes the elements of "other" when every one is of the element type's
  // class (entities pass for a reference element type): numerics of another
  // subtype are converted, roots become references by id, anything else is
  // deep-copied. A failed check leaves the list unchanged.
  void copy_value_from(const zynParameter& other) override;
  // The array's access, without growth.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  // The array's access, plus growth: the index -1 or size() appends a fresh
  // clone of the element type (through add) and returns it, or what its own
  // operator[] answers for the rest of the key.
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Inserts a new element at the key's position (array rules and errors):
  // a clone of "value" when the element type is a map that is not fixed;
  // otherwise a clone of the element type, which takes "value" through
  // copy_value_from when it is a scalar. A null or error "value" leaves the
  // clone as the prototype made it. Returns the inserted element.
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr value) override;

  const zynParameter& get_element_type() const { return *m_element_type; }

 protected:
  zynParameterSubType subtype() const override { return PS_LIST; }

 private:
  // Returns deep copies of "source"'s elements converted to the numeric
  // element type, through get_double and set_double.
  std::vector<zynParameterPtr> converted_numbers(const zynParameterArray& source) const;

  zynParameterPtr m_element_type;
};
