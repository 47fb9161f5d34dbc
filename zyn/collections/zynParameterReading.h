// Reading a tree from host code: printing a parameter to a stream, walking
// the members of a map or the elements of an array with range-for, and
// reading a number together with the error that reading it met (get_double
// alone answers 0.0 for a formula that fails).
//
// Example:
//   std::cout << root;                                   // root.print(0)
//   for (const auto& [name, value] : zyn_members(tool)) std::cout << name << ": " << value;
//   for (const zynParameterPtr& pass : zyn_elements(passes)) total += pass->get_double();
//   zynReading depth = zyn_read_double(root["Depth"]);
//   if (!depth) std::cerr << depth.error->get_string();   // "#ERROR: Divide by zero"
#pragma once

#include <algorithm>
#include <cstddef>
#include <iosfwd>
#include <iterator>

#include "zyn/core/zynParameterMap.h"

class zynParameterArray;

// Each writes "p".print(0): the printed form, one line per member of a container.
ZYN_EXPORT std::ostream& operator<<(std::ostream& out, const zynParameter& p);
ZYN_EXPORT std::ostream& operator<<(std::ostream& out, const zynParameterPtr& p);

// The members of a map, in the map's order, as (name, value) entries. The
// range holds the map (for a reference, its target) alive while it lives;
// adding or removing members while walking it is not supported.
class ZYN_EXPORT zynMemberRange {
 public:
  // Walks by position, so a map that changes while it is walked never
  // leaves the iterator pointing at freed entries.
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = zynParameterMapMember;
    using difference_type = std::ptrdiff_t;
    using pointer = const zynParameterMapMember*;
    using reference = const zynParameterMapMember&;

    iterator(const zynParameterMapMembers* members, size_t at) : m_members(members), m_at(at) {}
    const zynParameterMapMember& operator*() const { return (*m_members)[m_at]; }
    const zynParameterMapMember* operator->() const { return &(*m_members)[m_at]; }
    iterator& operator++() {
      ++m_at;
      return *this;
    }
    // Any position past the last member is the end.
    bool operator==(const iterator& other) const {
      const size_t n = m_members->size();
      return std::min(m_at, n) == std::min(other.m_at, n);
    }
    bool operator!=(const iterator& other) const { return !(*this == other); }

   private:
    const zynParameterMapMembers* m_members;
    size_t m_at;
  };

  // The members of "p".par(); none when that is not a map.
  explicit zynMemberRange(const zynParameterPtr& p);
  iterator begin() const { return iterator(m_members, 0); }
  iterator end() const { return iterator(m_members, static_cast<size_t>(-1)); }
  size_t size() const { return m_members->size(); }

 private:
  zynParameterPtr m_holder;
  const zynParameterMapMembers* m_members;
};

// The elements of an array of any kind (vector, list, shared list), in
// order, each yielded as a shared handle. The range holds the array alive
// while it lives; elements are read by position, so an array that shrinks
// while it is walked ends the walk early.
class ZYN_EXPORT zynElementRange {
 public:
  class iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = zynParameterPtr;
    using difference_type = std::ptrdiff_t;
    using pointer = const zynParameterPtr*;
    using reference = zynParameterPtr;

    iterator(const zynParameterArray* array, int at) : m_array(array), m_at(at) {}
    // Returns the element at the current position (shared, not copied).
    zynParameterPtr operator*() const;
    iterator& operator++() {
      ++m_at;
      return *this;
    }
    bool operator==(const iterator& other) const;
    bool operator!=(const iterator& other) const { return !(*this == other); }

   private:
    const zynParameterArray* m_array;
    int m_at;
  };

  // The elements of "p".par(); none when that is not an array.
  explicit zynElementRange(const zynParameterPtr& p);
  iterator begin() const { return iterator(m_array, 0); }
  iterator end() const { return iterator(m_array, -1); }

 private:
  zynParameterPtr m_holder;
  const zynParameterArray* m_array;
};

// Return the ranges above; "p" may be a reference to the container.
inline zynMemberRange zyn_members(const zynParameterPtr& p) { return zynMemberRange(p); }
inline zynElementRange zyn_elements(const zynParameterPtr& p) { return zynElementRange(p); }

// A number read from a parameter, with the error that reading it met.
struct zynReading {
  double value = 0.0;     // what get_double() answers; 0.0 when the read fails
  zynParameterPtr error;  // null when the read succeeded, else the error value
  // Returns true when the read succeeded.
  explicit operator bool() const { return error.is_null(); }
};

// Returns the value of "p" as get_double() reads it (the subtype rule, then
// the range), evaluating its text once and firing the read callback as
// get_double() does. The error is the one the evaluation gives (a failing
// formula: "Divide by zero", "Syntax error", ...), or "Type error" when the
// value is not a number (a string, a map, an enumeration's state name).
ZYN_EXPORT zynReading zyn_read_double(const zynParameterPtr& p);
