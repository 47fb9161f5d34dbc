// Keys address parameters inside a tree: a path of member names and
// bracketed indexes, such as "tool.diameter", "passes[2].depth" or "[0]".
// A key text is parsed once into a shared zynParameterKeyImpl that holds the
// first component, its kind and the unparsed rest; containers consume a key
// one component at a time (first, then remainder). Parses of member names are
// kept in a process-wide cache, so a text seen before costs one hash lookup.
//
// Grammar of one step (the rest of a path is parsed in turn):
//   step -> {space} ( "[" {digit | " "} "]" | name ) ( end | "." rest | "[" rest )
//   name -> { letter | digit | "-" | "_" }+     (a leading digit or "-" makes an index)
// Leading "$" characters of a text are ignored, and the component "current"
// reads as "toolpath". A text that does not fit gives a key of type PT_ERROR.
//
// Example:
//   zynParameterKey key("passes[2].depth");
//   key.first();          // "passes"
//   key.remainder_str();  // "[2].depth"
//   key.last();           // "depth"
//   key.parent().str();   // "passes[2]"
#pragma once

#include <memory>
#include <unordered_map>

#include "zyn/core/zynParameterTypes.h"
#include "zyn/host/utString.h"
#include "zyn/host/zynContainers.h"

class zynParameterKeyImpl;
using zynParameterKeyImplPtr = std::shared_ptr<zynParameterKeyImpl>;


// A parsed key. Keys are cheap to copy: copies share one immutable parse,
// and a key never holds a null parse.
class ZYN_EXPORT zynParameterKey {
 public:
  // The empty key (the shared empty parse, type PT_ERROR).
  zynParameterKey();
  zynParameterKey(const utString& text);  // NOLINT: keys convert from texts
  zynParameterKey(const char* text);      // NOLINT: null reads as ""
  // The index key "index", followed by "." and "rest" when "rest" is not
  // empty; its type is PT_ARRAY. Index keys are not cached, but for the
  // first 64 indexes without a rest, which share one parse each.
  zynParameterKey(int index, const utString& rest);

  zynParameterKey(const zynParameterKey&) = default;
  zynParameterKey& operator=(const zynParameterKey&) = default;
  ~zynParameterKey() = default;

  // Returns the kind of the first component: PT_MAP for a member name,
  // PT_ARRAY for an index, PT_ERROR when the text does not parse.
  zynParameterType type() const;
  // Returns the first component: the name, or the index text without brackets.
  const utString& first() const;
  // Returns the text after the first component and its ".", as written.
  const utString& remainder_str() const;
  // Returns the canonical text: "a.b[3]" for "a.b.3"; "" for an invalid key.
  const utString& str() const;
  // Returns the canonical text of the last component ("[3]" for "a.b[3]").
  const utString& last() const;

  // Returns 1 when the first component's text is empty.
  int empty() const;

  // Returns the key of the first component alone, with this key's type.
  zynParameterKey first_key() const;
  // Returns the key parsed from remainder_str().
  zynParameterKey remainder() const;
  // Returns every component but the last ("a.b" for "a.b[3]"); the empty key
  // for a one-component key.
  zynParameterKey parent() const;
  // Returns "this" followed by "other": "a" + "b" is "a.b", "a" + the index
  // key 3 is "a[3]". An empty left side gives "other" itself.
  zynParameterKey operator+(const zynParameterKey& other) const;

  const zynParameterKeyImplPtr& impl() const { return m_impl; }

 private:
  explicit zynParameterKey(zynParameterKeyImplPtr impl) : m_impl(std::move(impl)) {}
  zynParameterKeyImplPtr m_impl;
};

// The shared parse of one key text. Parses are made only by get_impl (and
// privately copied when a key needs another type than its text implies);
// once made they change only through their lazily built texts.
class ZYN_EXPORT zynParameterKeyImpl {
  struct Token {
    explicit Token() = default;
  };

 public:
  explicit zynParameterKeyImpl(Token) {}

  // Returns the parse of "text", from the cache or new. Leading "$" are
  // ignored; an empty text yields the shared empty parse. Only member-name
  // parses (type PT_MAP) enter the cache.
  static zynParameterKeyImplPtr get_impl(const utString& text);

  // Makes each key text of "synonyms" parse as its value text, replacing any
  // earlier parse of that text. Meant for the host; the library never calls it.
  static void initialize_synonyms(const utStringutStringcoTable& synonyms);

  // Returns the shared parse of the empty text.
  static const zynParameterKeyImplPtr& empty_impl();

  // Returns "impl" when it already has type "t", else a private copy of it
  // with that type (shared parses are never changed in place).
  static zynParameterKeyImplPtr with_type(const zynParameterKeyImplPtr& impl, zynParameterType t);

  // Parses "text" into this object (see the grammar at the top of the file).
  void parse(const utString& text);
  void set_type(zynParameterType t);
  zynParameterType type() const { return m_type; }
  const utString& first() const { return m_first; }
  const utString& remainder_str() const { return m_remainder; }
  // Returns the canonical text, built on first request.
  const utString& str() const;
  // Returns the canonical text of the last component, built on first request.
  const utString& last() const;

 private:
  friend class zynParameterKey;

  // Returns a new parse of "text" (no "$" stripping, no cache).
  static zynParameterKeyImplPtr make_parse(const utString& text);
  // Returns a new parse of the index key "index", made without a text.
  static zynParameterKeyImplPtr make_index(int index);
  // Returns the parse of "text", the canonical text of "left" joined to that
  // of another valid key, without parsing it again. Joined texts (full
  // paths made while loading, say) do not enter the cache; a text the cache
  // already holds answers with its cached parse, as a parse would.
  static zynParameterKeyImplPtr joined(const zynParameterKeyImpl& left, utString text);

  zynParameterType m_type = PT_ERROR;
  utString m_first;
  utString m_remainder;
  mutable utString m_text;
  mutable utString m_last;
  mutable bool m_text_built = false;
  mutable bool m_last_built = false;
  // The cached parse of m_remainder, once a walk asked for it, while the
  // cache holds it. Not owned: a text whose remainder is itself ("]") or a
  // synonym that leads back would otherwise make a cycle that outlives the cache.
  mutable std::weak_ptr<zynParameterKeyImpl> m_rest;
  mutable unsigned m_rest_changes = 0;
};
