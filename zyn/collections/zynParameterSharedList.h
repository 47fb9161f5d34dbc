// zynParameterSharedList holds parameters that belong to other containers:
// a selection of members of a tree, typed by a prototype element. It never
// becomes the parent of what it holds, and its copies share the very element
// objects, so a change made through one copy is seen through all.
//
// Example:
//   zynParameterSharedList tools(prototype);
//   tools.add(zynParameterKey(), (*root)["tools.mill"]);   // a member of a map
#pragma once

#include "zyn/collections/zynParameterArray.h"

// A shared list owns only its prototype (a private clone); its elements keep
// whatever parent they have, and adding, removing and clearing never touch
// parent links. It accepts values of the prototype's type that already have
// a parent; an error value (or null) is replaced by a fresh, parentless clone
// of the prototype. The subtype is PS_SHAREDLIST.
class ZYN_EXPORT zynParameterSharedList : public zynParameterArray {
 public:
  ZYN_DECLARE_TYPE(zynParameterSharedList, zynParameterArray)

  // An empty shared list whose element type is a clone of "element_type".
  explicit zynParameterSharedList(zynParameterPtr element_type);
  // A copy with a clone of the prototype that shares "other"'s elements.
  zynParameterSharedList(const zynParameterSharedList& other);
  ~zynParameterSharedList() override;

  zynParameter* create_new() const override;
  // Shares the elements of "other" (through operator=) when it is a shared
  // list, record included; anything else changes nothing.
  void copy_value_from(const zynParameter& other) override;
  // The array's access, without growth.
  const zynParameterPtr operator[](const zynParameterKey& key) const override;
  // The array's access, plus growth: the index -1 or size() appends a fresh
  // clone of the element type and returns it (or its member for the rest of
  // the key).
  zynParameterPtr operator[](const zynParameterKey& key) override;
  // Inserts "value" at the key's position (empty key, -1 or size() append)
  // without touching its parent link and returns it. "Invalid name" for a
  // key that is not empty or a lone index, or an index outside -1..size();
  // "Unknown error" when locked, or when "value" is not of the prototype's
  // type or has no parent (error values pass and become a fresh clone).
  zynParameterPtr add(const zynParameterKey& key, zynParameterPtr value) override;
  // Takes out and returns the element at the key's index, its parent link
  // untouched. "Invalid name" for any other key, "Unknown error" when locked.
  zynParameterPtr remove(const zynParameterKey& key) override;
  // Empties the list unless it is locked; parent links are untouched.
  void remove_all() override;

  // Holds the very elements of "other" instead of its own, then takes
  // "other"'s zynParameter part as zynParameter::operator= does.
  virtual zynParameterSharedList& operator=(const zynParameterSharedList& other);

  const zynParameter& get_element_type() const { return *m_element_type; }

 protected:
  zynParameterSubType subtype() const override { return PS_SHAREDLIST; }

 private:
  // Returns 1 when "value" is an error or of the prototype's type.
  int type_check(zynParameterPtr value) const;
  // Returns 1 when "value" is an error or has a parent.
  int parent_check(zynParameterPtr value) const;

  zynParameterPtr m_element_type;
};
