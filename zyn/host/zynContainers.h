// Container typedefs used across the library: the companion container
// library's lists, sets and tables expressed with the standard containers.
//
// Tables (coTable) iterate in the order their keys were first inserted, so
// everything that walks one (synonym loading, the table of unrecognised keys,
// activity tables) sees the same, reproducible order on every run; lookups
// stay hashed. Sets are plain hash sets: nothing walks them in an order that
// matters.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <list>
#include <memory>
#include <stack>
#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <array>
#include <vector>

#include "zyn/host/utString.h"

// Doubly linked list that keeps insertion order.
template <class T>
using coDList = std::list<T>;
// Singly linked lists of the companion library; a std::list serves.
template <class T>
using coSList = std::list<T>;
template <class T>
using coStack = std::stack<T>;
template <class T>
using coDynArr = std::vector<T>;
template <class T, size_t N>
using coFixedArr = std::array<T, N>;

// Hashes of the container library: over the bytes of a text, and over
// "length" bytes at "data" (pointers are hashed over their own bytes, so
// that they hash by identity).
inline unsigned int co_hash(const utString& text) {
  return static_cast<unsigned int>(std::hash<std::string_view>()(text));
}
inline unsigned int co_hash(const void* data, int length) {
  if (!data || length <= 0) return 0;
  const std::string_view bytes(static_cast<const char*>(data), static_cast<size_t>(length));
  return static_cast<unsigned int>(std::hash<std::string_view>()(bytes));
}

// A hash table that iterates in insertion order. Entries are pair<const K, V>
// as in std::unordered_map, and the subset of its interface the library uses
// is offered with the same meaning. Re-inserting a key keeps its place;
// erasing and inserting it again moves it to the end. Iterators stay valid
// until their own entry is erased.
template <class K, class V, class Hash = std::hash<K>>
class coTable {
 public:
  using value_type = std::pair<const K, V>;
  using iterator = typename std::list<value_type>::iterator;
  using const_iterator = typename std::list<value_type>::const_iterator;
  using size_type = size_t;

  coTable() = default;
  coTable(std::initializer_list<value_type> entries) {
    for (const value_type& e : entries) emplace(e.first, e.second);
  }
  coTable(const coTable& other) { *this = other; }
  coTable(coTable&& other) noexcept = default;
  coTable& operator=(const coTable& other) {
    if (this == &other) return *this;
    clear();
    for (const value_type& e : other.m_entries) emplace(e.first, e.second);
    return *this;
  }
  coTable& operator=(coTable&& other) noexcept = default;

  iterator begin() { return m_entries.begin(); }
  iterator end() { return m_entries.end(); }
  const_iterator begin() const { return m_entries.begin(); }
  const_iterator end() const { return m_entries.end(); }
  size_type size() const { return m_entries.size(); }
  bool empty() const { return m_entries.empty(); }
  void clear() {
    m_index.clear();
    m_entries.clear();
  }

  iterator find(const K& key) {
    auto at = m_index.find(key);
    return at == m_index.end() ? m_entries.end() : at->second;
  }
  const_iterator find(const K& key) const {
    auto at = m_index.find(key);
    return at == m_index.end() ? m_entries.end() : const_iterator(at->second);
  }
  size_type count(const K& key) const { return m_index.count(key); }

  // Throws std::out_of_range for a missing key, as std::unordered_map does;
  // the library itself reads with find.
  V& at(const K& key) { return checked(key)->second; }
  const V& at(const K& key) const { return checked(key)->second; }
  // Returns the value of "key", inserting a default one at the end when absent.
  V& operator[](const K& key) { return emplace(key, V()).first->second; }

  // Inserts (key, value) at the end unless "key" is present; returns the
  // entry and whether it was inserted.
  template <class KK, class... Args>
  std::pair<iterator, bool> emplace(KK&& key, Args&&... value) {
    auto at = m_index.find(key);
    if (at != m_index.end()) return {at->second, false};
    m_entries.emplace_back(std::piecewise_construct, std::forward_as_tuple(std::forward<KK>(key)),
                           std::forward_as_tuple(std::forward<Args>(value)...));
    iterator added = std::prev(m_entries.end());
    m_index.emplace(added->first, added);
    return {added, true};
  }
  std::pair<iterator, bool> insert(const value_type& entry) { return emplace(entry.first, entry.second); }

  size_type erase(const K& key) {
    auto at = m_index.find(key);
    if (at == m_index.end()) return 0;
    m_entries.erase(at->second);
    m_index.erase(at);
    return 1;
  }
  iterator erase(const_iterator pos) {
    m_index.erase(pos->first);
    return m_entries.erase(pos);
  }

 private:
  iterator checked(const K& key) const {
    auto at = m_index.find(key);
    if (at == m_index.end()) throw std::out_of_range("coTable::at");
    return at->second;
  }

  std::list<value_type> m_entries;
  std::unordered_map<K, iterator, Hash> m_index;
};

using utStringcoDList = coDList<utString>;
using utStringcoSList = coSList<utString>;
using utStringcoSet = std::unordered_set<utString>;
// Text to text: synonym tables, the unrecognised keys of a load.
using utStringutStringcoTable = coTable<utString, utString>;
// Key text to a set of key texts (the activity tables of a tree).
using utStringutStringSetcoTable = coTable<utString, utStringcoSet>;

// Tag that marks a non-owning ("external") shared pointer.
enum coPrfExtern { coPrfExternal };

// Deleter of external pointers: never deletes the object.
struct ZYN_EXPORT coPrfExternalDeleter {
  template <class T>
  void operator()(T*) const noexcept {}
};
