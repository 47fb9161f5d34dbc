#include "zyn/collections/zynParameterArray.h"

#include <algorithm>
#include <utility>

#include "zyn/collections/zynParameterArray_internal.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"

ZYN_DEFINE_TYPE(zynParameterArray, zynParameter)

bool zyn_parse_index(const utString& text, int& index) {
  // Plain digits, as nearly every key has them, need no general parse.
  if (!text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    index = 0;
    for (char c : text) index = index * 10 + (c - '0');
    return true;
  }
  size_t begin = text.find_first_not_of(' ');
  if (begin == utString::npos) return false;
  size_t end = text.find_last_not_of(' ') + 1;
  int value = 0;
  int stop = 0;
  // A bare key text is short; the copy only happens for bracketed indexes with blanks.
  if (begin == 0 && end == text.size()) {
    if (!ut_parse(text, value, stop) || stop != -1) return false;
  } else {
    if (!ut_parse(text.substr(begin, end - begin), value, stop) || stop != -1) return false;
  }
  index = value;
  return true;
}

zynParameterPtr zyn_element_at(const zynParameter& p, int i) {
  if (const zynParameterArray* a = zynParameterArray::ut_dynamic_cast(&p)) return a->get_element(i);
  return p[zynParameterKey(i, utString())];
}

zynParameterArray::zynParameterArray() = default;

zynParameterArray::zynParameterArray(const zynParameterArray& other) : zynParameter(other) {
  zynParameterArray::copy_value_from(other);
}

zynParameterArray::zynParameterArray(const zynParameterArray& other, zynBaseOnly) : zynParameter(other) {}

zynParameterArray& zynParameterArray::operator=(const zynParameterArray& other) {
  if (this != &other) {
    copy_value_from(other);  // each kind's own rules: a vector keeps its length
    zynParameter::operator=(other);
  }
  return *this;
}

// The lock is not consulted here: a locked array that dies must still clear
// the links of children that outlive it, or they would point at freed memory.
zynParameterArray::~zynParameterArray() {
  zynParameterArray::unlink_all();
  drop_all();
}

zynParameter* zynParameterArray::create_new() const { return new zynParameterArray(*this); }

void zynParameterArray::reset() { remove_all(); }

int zynParameterArray::is_valid() const {
  for (const zynParameterPtr& e : m_elements)
    if (e->is_active() && !e->is_valid()) return 0;
  return zynParameter::is_valid();
}

utString zynParameterArray::print(int depth) const {
  utString out = is_valid() ? "(ARRAY) \n" : "(ARRAY !) \n";
  const utString tabs(static_cast<size_t>(depth + 1 < 0 ? 0 : depth + 1), '\t');
  for (size_t i = 0; i < m_elements.size(); ++i) {
    const zynParameterPtr& e = m_elements[i];
    if (!e->is_active()) continue;  // skipped, but the others keep their positions
    out += tabs;
    out += "[";
    out += std::to_string(i);
    out += "] ";
    out += e->print(depth + 1);
  }
  return out;
}

std::vector<zynParameterPtr> zynParameterArray::clone_elements(const zynParameterArray& other) {
  std::vector<zynParameterPtr> fresh;
  fresh.reserve(other.m_elements.size());
  for (const zynParameterPtr& e : other.m_elements) fresh.push_back(e.copy());
  return fresh;
}

void zynParameterArray::adopt_all(std::vector<zynParameterPtr> fresh) {
  unlink_all();
  // The old elements are released only after the new ones are installed:
  // their destruction must not see this array half rebuilt.
  std::vector<zynParameterPtr> old;
  old.swap(m_elements);
  m_elements = std::move(fresh);
  for (const zynParameterPtr& e : m_elements) link_par(e);
}

// The copies are made before anything is released, since "other" may be
// one of our own elements (or lie below one) and die with it.
void zynParameterArray::copy_value_from(const zynParameter& other) {
  if (&other == this) return;
  const zynParameterArray* source = ut_dynamic_cast(&other);
  if (!source) return;
  adopt_all(clone_elements(*source));
}

zynParameterPtr zynParameterArray::operate_binary(const utString& op, const zynParameterPtr& other) const {
  if (op == "[" || op == ".") return zynParameter::operate_binary(op, other);
  if (op == "+") {
    zynParameterArray* joined = new zynParameterArray(*this);
    zynParameterPtr result(joined);
    const zynParameter& right = *other;
    int m = right.size();
    for (int i = 0; i < m; ++i) {
      zynParameterPtr e = zyn_element_at(right, i).copy();
      joined->link_par(e);
      joined->m_elements.push_back(std::move(e));
    }
    return result;
  }
  if (op == "==") {
    const zynParameter& right = *other;
    int n = size();
    if (n != right.size()) return zyn_create_bool(0);
    for (int i = 0; i < n; ++i) {
      zynParameterPtr differs = m_elements[static_cast<size_t>(i)]->operate_binary("!=", zyn_element_at(right, i));
      if (differs->get_int() != 0) return zyn_create_bool(0);
    }
    return zyn_create_bool(1);
  }
  if (op == "!=") return zyn_create_bool(operate_binary("==", other)->get_int() == 0);
  return zynParameter::operate_binary(op, other);
}

zynParameterPtr zynParameterArray::operate_prefix(const utString& op) const {
  zynParameterArray* out = new zynParameterArray();
  zynParameterPtr result(out);
  out->m_elements.reserve(m_elements.size());
  for (const zynParameterPtr& e : m_elements) {
    zynParameterPtr r = zynParameterError::storable(e->operate_prefix(op));
    out->link_par(r);
    out->m_elements.push_back(std::move(r));
  }
  return result;
}

zynParameterPtr zynParameterArray::operate_postfix(const utString& op) const {
  zynParameterArray* out = new zynParameterArray();
  zynParameterPtr result(out);
  out->m_elements.reserve(m_elements.size());
  for (const zynParameterPtr& e : m_elements) {
    zynParameterPtr r = zynParameterError::storable(e->operate_postfix(op));
    out->link_par(r);
    out->m_elements.push_back(std::move(r));
  }
  return result;
}

const zynParameterPtr zynParameterArray::operator[](const zynParameterKey& key) const {
  int i = 0;
  if (key.type() != PT_ARRAY || !zyn_parse_index(key.first(), i) || i < 0 || i >= size())
    return zynParameterError::create(PS_ERR_NAME);
  const zynParameterPtr& e = m_elements[static_cast<size_t>(i)];
  if (key.remainder_str().empty()) return e;
  const zynParameter& child = *e;
  return child[key.remainder()];
}

zynParameterPtr zynParameterArray::operator[](const zynParameterKey& key) {
  int i = 0;
  if (key.type() != PT_ARRAY || !zyn_parse_index(key.first(), i) || i < 0 || i >= size())
    return zynParameterError::create(PS_ERR_NAME);
  zynParameterPtr e = m_elements[static_cast<size_t>(i)];
  if (key.remainder_str().empty()) return e;
  return (*e)[key.remainder()];
}

zynParameterPtr zynParameterArray::add(const zynParameterKey& key, zynParameterPtr p) {
  if (is_locked()) return zynParameterError::create(PS_ERR_UNKNOWN);
  int n = size();
  int i = n;
  if (!key.empty() && (!zyn_parse_index(key.first(), i) || i < -1 || i > n))
    return zynParameterError::create(PS_ERR_NAME);
  // An array that held itself or an ancestor would close a loop of parent
  // links and owners: walks up the tree would never end, nor would printing.
  if (is_descendent(p.pointer())) return zynParameterError::create(PS_ERR_ARGUMENTS);
  zynParameterPtr element = zynParameterError::storable(p);  // a shared error is never linked
  link_par(element);
  insert_element(i, element);
  return element;
}

zynParameterPtr zynParameterArray::remove(const zynParameterKey& key) {
  if (is_locked()) return zynParameterError::create(PS_ERR_UNKNOWN);
  int i = 0;
  if (!zyn_parse_index(key.first(), i) || i < 0 || i >= size()) return zynParameterError::create(PS_ERR_NAME);
  return take_owned_element(i);
}

void zynParameterArray::remove_all() {
  if (is_locked()) return;
  unlink_all();
  drop_all();
}

zynParameterPtr zynParameterArray::slice(int first, int last) const {
  zynParameterPtr clone(create_new());
  zynParameterArray* cut = ut_dynamic_cast(clone.pointer());
  if (!cut) return clone;
  // The clone is private, so it is cut directly: going through remove would
  // stop at a lock copied from the source or at kinds that refuse removal
  // (vectors, named temporary arrays), and never end.
  int keep_end = last < 0 ? 0 : last;
  while (cut->size() > keep_end) cut->take_owned_element(cut->size() - 1);
  int keep = last - first < 0 ? 0 : last - first;
  while (cut->size() > keep) cut->take_owned_element(0);
  return clone;
}

int zynParameterArray::is_equal(const zynParameter& other) const {
  if (!zynParameter::is_equal(other)) return 0;
  for (size_t i = 0; i < m_elements.size(); ++i)
    if (*m_elements[i] != *zyn_element_at(other, static_cast<int>(i))) return 0;
  return 1;
}

void zynParameterArray::unlink_all() {
  for (const zynParameterPtr& e : m_elements) release_child(e);
}

void zynParameterArray::release_child(const zynParameterPtr& p) {
  // An element that another container adopted since keeps that link; what
  // this array holds has changed all the same, for lookups through it when
  // it is a member (values an evaluation builds and drops are not).
  if (!p.is_null() && p.raw()->parent() == this) unlink_par(p);
  else if (parent()) zyn_eval_memo_changed();
}

zynParameterPtr zynParameterArray::get_element(int i) const {
  if (i < 0 || i >= size()) return zynParameterError::create(PS_ERR_NAME);
  return m_elements[static_cast<size_t>(i)];
}

void zynParameterArray::insert_element(int index, zynParameterPtr p) {
  if (index < 0 || index >= size()) m_elements.push_back(std::move(p));
  else m_elements.insert(m_elements.begin() + index, std::move(p));
}

zynParameterPtr zynParameterArray::take_element(int index) {
  auto it = m_elements.begin() + index;
  zynParameterPtr p = std::move(*it);
  m_elements.erase(it);
  return p;
}

zynParameterPtr zynParameterArray::take_owned_element(int index) {
  zynParameterPtr p = take_element(index);
  release_child(p);
  return p;
}

void zynParameterArray::drop_all() {
  std::vector<zynParameterPtr> old;
  old.swap(m_elements);
}
