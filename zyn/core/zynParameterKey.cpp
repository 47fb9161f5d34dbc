#include "zyn/core/zynParameterKey.h"

#include <cstddef>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "zyn/host/zynCharTypes.h"
#include "zyn/host/zynUtf8.h"

namespace {

// Texts longer than this are not cached and are stepped through in place by
// last() and parent(): real key paths are far shorter, and a hostile text
// must not make those walks quadratic or fill the cache.
constexpr size_t long_key = 4096;
// Each generation of the cache holds parses of about this many bytes of
// memory. A full generation becomes the old one (the one before is freed),
// and a text found only in the old one moves to the new: texts in use stay,
// while the parses of a host's one-off keys neither pile up in the heap nor
// crowd out the keys read often.
constexpr size_t cache_budget = size_t(2) << 20;
// Walks give up after this many steps: synonyms can make a path lead back
// to itself, and a text that does not parse may not advance.
constexpr size_t walk_limit = long_key + 64;

// Holds a T that is never destroyed, so that keys made or dropped while
// other statics are torn down still find the cache.
template <class T>
class Immortal {
 public:
  Immortal() { ::new (static_cast<void*>(m_storage)) T(); }
  T& get() { return *std::launder(reinterpret_cast<T*>(m_storage)); }

 private:
  alignas(T) unsigned char m_storage[sizeof(T)];
};

// What an entry costs: its text in the table, the parse's own copies of it
// (first component, remainder, canonical text) and a fixed part for the
// hash node, the parse record and its control block. Counting the texts
// alone would let a stream of short distinct keys take many times the budget.
size_t entry_cost(const utString& text) { return 256 + 4 * text.size(); }

using KeyTable = std::unordered_map<utString, zynParameterKeyImplPtr>;

class KeyCache {
 public:
  // The parse a text stands for (its synonym's, when it has one), or null.
  const zynParameterKeyImplPtr* find(const utString& text) {
    auto found = m_table.find(text);
    if (found != m_table.end()) return &found->second;
    if (m_old.empty()) return nullptr;
    auto old = m_old.find(text);
    if (old == m_old.end()) return nullptr;
    zynParameterKeyImplPtr impl = std::move(old->second);
    m_old.erase(old);
    return &insert(text, std::move(impl));
  }

  const zynParameterKeyImplPtr& insert(const utString& text, zynParameterKeyImplPtr impl) {
    const size_t cost = entry_cost(text);
    if (m_bytes + cost > cache_budget) {
      m_old = std::move(m_table);
      m_table = m_synonyms;
      m_bytes = 0;
    }
    m_bytes += cost;
    return m_table.emplace(text, std::move(impl)).first->second;
  }

  // Makes "text" parse as "impl" from now on.
  void set_synonym(const utString& text, const zynParameterKeyImplPtr& impl) {
    ++synonyms_changes;
    m_synonyms[text] = impl;
    m_table[text] = impl;
  }

  // Counts the changes of synonyms: a remainder kept by a parse holds only
  // while no text was given another parse.
  unsigned synonyms_changes = 0;

 private:
  KeyTable m_synonyms;  // also in m_table, and never dropped
  KeyTable m_table;
  KeyTable m_old;
  size_t m_bytes = 0;  // of m_table
};

KeyCache& key_cache() {
  static Immortal<KeyCache> cache;
  return cache.get();
}

// A position in a text, in characters and in bytes.
struct Pos {
  int ch = 0;
  size_t byte = 0;
};

void advance(const zynCharTypes& ct, Pos& p) {
  p.byte += zyn_utf8::encoded_length(static_cast<char32_t>(ct.at(p.ch)));
  ++p.ch;
}

// One step of the grammar: the first component and where the rest begins.
struct Step {
  zynParameterType type = PT_ERROR;
  size_t first_at = 0;
  size_t first_len = 0;
  Pos rest;
};

bool is_name_char(const zynCharTypes& ct, int i) {
  const wchar_t c = ct.at(i);
  return ct.isalnum(i) || c == L'-' || c == L'_';
}

// step -> {space} ( "[" {digit | " "} "]" | name ) ( end | "." rest | "[" rest )
Step scan_step(const utString& text, const zynCharTypes& ct, Pos at) {
  Step s;
  const int n = ct.size();
  Pos p = at;
  while (p.ch < n && ct.isspace(p.ch)) advance(ct, p);
  if (p.ch >= n) {
    s.rest = p;
    return s;
  }
  if (ct.at(p.ch) == L'[') {
    advance(ct, p);
    const Pos from = p;
    while (ct.isdigit(p.ch) || ct.at(p.ch) == L' ') advance(ct, p);
    if (p.ch >= n || ct.at(p.ch) != L']') {  // unbalanced: the whole text is kept as first
      s.first_at = at.byte;
      s.first_len = text.size() - at.byte;
      s.rest = Pos{n, text.size()};
      return s;
    }
    s.type = PT_ARRAY;
    s.first_at = from.byte;
    s.first_len = p.byte - from.byte;
    advance(ct, p);  // skip "]"
  } else {
    const Pos from = p;
    while (p.ch < n && is_name_char(ct, p.ch)) advance(ct, p);
    if (p.ch > from.ch) {
      s.first_at = from.byte;
      s.first_len = p.byte - from.byte;
      // A leading digit or "-" is an index written without brackets ("2", "-1").
      s.type = ct.isdigit(from.ch) || ct.at(from.ch) == L'-' ? PT_ARRAY : PT_MAP;
    }
  }
  if (p.ch < n) {
    if (ct.at(p.ch) == L'.')
      advance(ct, p);
    else if (ct.at(p.ch) != L'[')
      s.type = PT_ERROR;  // "a b", "a;b": junk after a component
  }
  s.rest = p;
  return s;
}

utString first_text(const utString& text, const Step& s) {
  if (s.first_len == 7 && text.compare(s.first_at, 7, "current") == 0) return "toolpath";
  return text.substr(s.first_at, s.first_len);
}

// Returns the canonical text of a component without remainder.
utString component_text(zynParameterType type, const utString& first) {
  if (type == PT_MAP) return first;
  if (type == PT_ARRAY) return "[" + first + "]";
  return utString();
}

template <class Visit>
void walk(const zynParameterKey& start, Visit& visit);

// Steps through a long "text" in place until what is left is short, then
// walks the rest with keys. Every step advances, so the loop ends.
template <class Visit>
void walk_long(const utString& text, Visit& visit) {
  const zynCharTypes ct(text);
  Pos p;
  while (text.size() - p.byte > long_key) {
    while (ct.at(p.ch) == L'$') advance(ct, p);  // as get_impl strips them
    const Step s = scan_step(text, ct, p);
    const bool is_last = s.rest.byte >= text.size() || s.rest.byte == p.byte;
    visit(s.type, first_text(text, s), is_last);
    if (is_last) return;
    p = s.rest;
  }
  walk(zynParameterKey(text.substr(p.byte)), visit);
}

// Visits "start" and every key its remainders lead to, as repeated
// remainder() reaches them: visit(type, first, is_last).
template <class Visit>
void walk(const zynParameterKey& start, Visit& visit) {
  zynParameterKey k = start;
  zynParameterKey before;
  for (size_t steps = 0;; ++steps) {
    const utString& rest = k.remainder_str();
    const bool stuck = steps > 0 && rest == before.remainder_str();
    const bool is_last = rest.empty() || stuck || steps > walk_limit;
    visit(k.type(), k.first(), is_last);
    if (is_last) return;
    if (rest.size() > long_key) {
      walk_long(rest, visit);
      return;
    }
    before = k;
    k = k.remainder();
  }
}

}  // namespace

// --- zynParameterKeyImpl ---------------------------------------------------------

const zynParameterKeyImplPtr& zynParameterKeyImpl::empty_impl() {
  static Immortal<zynParameterKeyImplPtr> empty;
  static const bool made = [] {
    empty.get() = std::make_shared<zynParameterKeyImpl>(Token{});
    return true;
  }();
  (void)made;
  return empty.get();
}

zynParameterKeyImplPtr zynParameterKeyImpl::make_parse(const utString& text) {
  auto impl = std::make_shared<zynParameterKeyImpl>(Token{});
  impl->parse(text);
  return impl;
}

zynParameterKeyImplPtr zynParameterKeyImpl::make_index(int index) {
  auto impl = std::make_shared<zynParameterKeyImpl>(Token{});
  impl->m_type = PT_ARRAY;
  impl->m_first = std::to_string(index);
  return impl;
}

zynParameterKeyImplPtr zynParameterKeyImpl::get_impl(const utString& text) {
  if (text.empty()) return empty_impl();
  utString stripped;
  const utString* key = &text;
  if (text[0] == '$') {
    const size_t at = text.find_first_not_of('$');
    if (at == utString::npos) return empty_impl();
    stripped = text.substr(at);
    key = &stripped;
  }
  KeyCache& cache = key_cache();
  if (const zynParameterKeyImplPtr* found = cache.find(*key)) return *found;
  zynParameterKeyImplPtr impl = make_parse(*key);
  // Index keys are usually built from computed integers and are not kept.
  if (impl->m_type == PT_MAP && key->size() <= long_key) cache.insert(*key, impl);
  return impl;
}

void zynParameterKeyImpl::initialize_synonyms(const utStringutStringcoTable& synonyms) {
  KeyCache& cache = key_cache();
  for (const auto& entry : synonyms) cache.set_synonym(entry.first, get_impl(entry.second));
}

zynParameterKeyImplPtr zynParameterKeyImpl::joined(const zynParameterKeyImpl& left, utString text) {
  if (const zynParameterKeyImplPtr* found = key_cache().find(text)) return *found;
  // The text starts with the left key's canonical text, so a parse would
  // find the left key's first component: take it, and the rest after it.
  // An index that is not digits and blanks ("-1", "2a") prints in brackets
  // that do not parse back, so such a join is parsed as written.
  if (left.m_type == PT_ARRAY &&
      left.m_first.find_first_not_of("0123456789 ") != utString::npos)
    return get_impl(text);
  auto impl = std::make_shared<zynParameterKeyImpl>(Token{});
  impl->m_type = left.m_type;
  impl->m_first = left.m_first;
  size_t head = component_text(left.m_type, left.m_first).size();
  if (head < text.size() && text[head] == '.') ++head;
  impl->m_remainder.assign(text, head, utString::npos);
  impl->m_text = std::move(text);
  impl->m_text_built = true;
  return impl;
}

zynParameterKeyImplPtr zynParameterKeyImpl::with_type(const zynParameterKeyImplPtr& impl, zynParameterType t) {
  if (impl->m_type == t) return impl;
  auto copy = std::make_shared<zynParameterKeyImpl>(*impl);
  copy->set_type(t);
  return copy;
}

void zynParameterKeyImpl::set_type(zynParameterType t) {
  m_type = t;
  m_text_built = false;
  m_last_built = false;
}

void zynParameterKeyImpl::parse(const utString& text) {
  m_type = PT_ERROR;
  m_first.clear();
  m_remainder.clear();
  m_rest.reset();
  m_text_built = false;
  m_last_built = false;
  if (text.empty()) return;
  const zynCharTypes ct(text);
  const Step s = scan_step(text, ct, Pos{});
  m_type = s.type;
  m_first = first_text(text, s);
  m_remainder.assign(text, s.rest.byte, utString::npos);
}

const utString& zynParameterKeyImpl::str() const {
  if (m_text_built) return m_text;
  m_text_built = true;
  m_text = component_text(m_type, m_first);
  if (m_type == PT_ERROR || m_remainder.empty()) return m_text;
  if (m_remainder[0] != '[') m_text += '.';
  m_text += m_remainder;
  return m_text;
}

const utString& zynParameterKeyImpl::last() const {
  if (m_last_built) return m_last;
  m_last_built = true;
  utString result;
  auto visit = [&result](zynParameterType type, const utString& first, bool is_last) {
    if (is_last) result = component_text(type, first);
  };
  walk(zynParameterKey(str()), visit);
  m_last = std::move(result);
  return m_last;
}

// --- zynParameterKey ----------------------------------------------------------------

zynParameterKey::zynParameterKey() : m_impl(zynParameterKeyImpl::empty_impl()) {}

zynParameterKey::zynParameterKey(const utString& text) : m_impl(zynParameterKeyImpl::get_impl(text)) {}

zynParameterKey::zynParameterKey(const char* text)
    : m_impl(text ? zynParameterKeyImpl::get_impl(utString(text)) : zynParameterKeyImpl::empty_impl()) {}

zynParameterKey::zynParameterKey(int index, const utString& rest) {
  // Argument lists and loops ask for the first few elements over and over:
  // those keys are parsed once and shared, like cached member names.
  constexpr int shared_indexes = 64;
  if (rest.empty() && index >= 0 && index < shared_indexes) {
    static const std::vector<zynParameterKeyImplPtr> parses = [] {
      std::vector<zynParameterKeyImplPtr> all;
      for (int i = 0; i < shared_indexes; ++i)
        all.push_back(zynParameterKeyImpl::with_type(zynParameterKeyImpl::make_parse(std::to_string(i)), PT_ARRAY));
      return all;
    }();
    m_impl = parses[index];
    return;
  }
  // Walks over long arrays make one per element: no text to parse, unless a
  // host gave some index text a synonym.
  if (rest.empty() && key_cache().synonyms_changes == 0) {
    m_impl = zynParameterKeyImpl::make_index(index);
    return;
  }
  utString text = std::to_string(index);
  if (!rest.empty()) {
    text += '.';
    text += rest;
  }
  m_impl = zynParameterKeyImpl::with_type(zynParameterKeyImpl::get_impl(text), PT_ARRAY);
}

zynParameterType zynParameterKey::type() const { return m_impl->type(); }
const utString& zynParameterKey::first() const { return m_impl->first(); }
const utString& zynParameterKey::remainder_str() const { return m_impl->remainder_str(); }
const utString& zynParameterKey::str() const { return m_impl->str(); }
const utString& zynParameterKey::last() const { return m_impl->last(); }
int zynParameterKey::empty() const { return m_impl->first().empty(); }

zynParameterKey zynParameterKey::first_key() const {
  zynParameterKeyImplPtr impl = zynParameterKeyImpl::get_impl(first());
  if (impl->type() == type() && impl->remainder_str().empty() && impl->first() == first())
    return zynParameterKey(std::move(impl));
  // The text alone implies another kind ("a" of the invalid "a b", " 2 " of
  // "[ 2 ]"): build the component directly rather than alter a shared parse.
  auto own = std::make_shared<zynParameterKeyImpl>(zynParameterKeyImpl::Token{});
  own->m_type = type();
  own->m_first = first();
  return zynParameterKey(std::move(own));
}

// A walk down a tree asks every parse for its remainder in turn, so a parse
// remembers the parse of its remainder while the cache holds it.
zynParameterKey zynParameterKey::remainder() const {
  const zynParameterKeyImpl& impl = *m_impl;
  KeyCache& cache = key_cache();
  if (impl.m_rest_changes == cache.synonyms_changes)
    if (zynParameterKeyImplPtr kept = impl.m_rest.lock()) return zynParameterKey(std::move(kept));
  const utString& rest = remainder_str();
  if (rest.empty() || rest[0] == '$' || rest.size() > long_key) return zynParameterKey(rest);
  const zynParameterKeyImplPtr* found = cache.find(rest);
  const zynParameterKeyImplPtr& parse = found ? *found : cache.insert(rest, zynParameterKeyImpl::make_parse(rest));
  impl.m_rest = parse;
  impl.m_rest_changes = cache.synonyms_changes;
  return zynParameterKey(parse);
}

zynParameterKey zynParameterKey::parent() const {
  if (remainder_str().empty()) return zynParameterKey();
  zynParameterKey result;
  utString long_text;  // used once the result outgrows long_key
  auto visit = [&](zynParameterType type, const utString& first, bool is_last) {
    if (is_last) return;
    const zynParameterKey component(type == PT_ARRAY ? "[" + first + "]" : first);
    if (long_text.empty()) {
      result = result + component;
      if (result.str().size() > long_key) long_text = result.str();
    } else if (!component.str().empty()) {
      if (component.type() != PT_ARRAY) long_text += '.';
      long_text += component.str();
    }
  };
  walk(*this, visit);
  return long_text.empty() ? result : zynParameterKey(long_text);
}

zynParameterKey zynParameterKey::operator+(const zynParameterKey& other) const {
  const utString& left = str();
  if (left.empty()) return other;
  const utString& right = other.str();
  utString text;
  text.reserve(left.size() + right.size() + 1);
  text = left;
  if (other.type() != PT_ARRAY) text += '.';
  text += right;
  if (type() == PT_ERROR || other.type() == PT_ERROR || right.empty()) return zynParameterKey(text);
  return zynParameterKey(zynParameterKeyImpl::joined(*m_impl, std::move(text)));
}
