// Keys address parameters inside a tree: a path of member names and
// bracketed indexes, such as "tool.diameter", "passes[2].depth" or "[0]".
// A key text is parsed once into a shared zynParameterKeyImpl that holds the
// first component, its kind and the unparsed rest; containers consume a key
// one component at a time (first, then remainder). Parses of member names are
// kept in a process-wide cache, so a text seen before costs one hash lookup.
//
// Example:
//   zynParameterKey key("passes[2].depth");
//   key.first();      // "passes"
//   key.remainder();  // "[2].depth"
#pragma once

#include <memory>
#include <unordered_map>

#include "zyn/core/zynParameterTypes.h"
#include "zyn/host/utString.h"

class zynParameterKeyImpl;
using zynParameterKeyImplPtr = std::shared_ptr<zynParameterKeyImpl>;

// A table from text to text, as given to initialize_synonyms.
using utStringutStringcoTable = std::unordered_map<utString, utString>;

class zynParameterKey {
 public:
  // The empty key (the shared empty parse, type 0).
  zynParameterKey();
  zynParameterKey(const utString& text);  // NOLINT: keys convert from texts
  zynParameterKey(const char* text);      // NOLINT
  // The index key "index", followed by "." and "rest" when "rest" is not empty.
  zynParameterKey(int index, const utString& rest);

  zynParameterKey(const zynParameterKey&) = default;
  zynParameterKey& operator=(const zynParameterKey&) = default;
  ~zynParameterKey() = default;

  zynParameterType type() const;
  const utString& first() const;
  const utString& remainder_str() const;
  // Returns the canonical text of the whole key.
  const utString& str() const;
  // Returns the canonical text of the last component.
  const utString& last() const;

  // Returns 1 when the first component's text is empty.
  int empty() const;

  // Returns the key of the first component alone, with this key's type.
  zynParameterKey first_key() const;
  // Returns the key of everything after the first component.
  zynParameterKey remainder() const;
  // Returns every component but the last; the empty key for one component.
  zynParameterKey parent() const;
  // Returns the concatenation of this key and "other".
  zynParameterKey operator+(const zynParameterKey& other) const;

  const zynParameterKeyImplPtr& impl() const { return m_impl; }

 private:
  explicit zynParameterKey(zynParameterKeyImplPtr impl) : m_impl(std::move(impl)) {}
  zynParameterKeyImplPtr m_impl;
};

// The shared parse of one key text. Made only by get_impl.
class zynParameterKeyImpl {
 public:
  // Returns the parse of "text", from the cache or new. Leading "$" are
  // ignored; an empty text yields the shared empty parse.
  static zynParameterKeyImplPtr get_impl(const utString& text);

  // Makes each key text of "synonyms" parse as its value text.
  static void initialize_synonyms(const utStringutStringcoTable& synonyms);

  void parse(const utString& text);
  void set_type(zynParameterType t) { m_type = t; }
  zynParameterType type() const { return m_type; }
  const utString& first() const { return m_first; }
  const utString& remainder_str() const { return m_remainder; }
  const utString& str() const;
  const utString& last() const;

 private:
  zynParameterKeyImpl() = default;

  zynParameterType m_type = PT_ERROR;
  utString m_first;
  utString m_remainder;
  mutable utString m_text;
  mutable utString m_last;
  mutable bool m_text_built = false;
  mutable bool m_last_built = false;
};
