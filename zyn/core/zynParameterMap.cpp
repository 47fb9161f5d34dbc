#include "zyn/core/zynParameterMap.h"

#include <memory>
#include <utility>
#include <vector>

#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/host/zynText.h"
#include "zyn/library/zynEvalFunction.h"
#include "zyn/library/zynParameterFunction.h"

ZYN_DEFINE_TYPE(zynParameterMap, zynParameter)

namespace {

zynParameterPtr error(zynParameterSubType code) { return zynParameterError::create(code); }

utString folded(const utString& name) {
  utString lower = name;
  return zyndowncase(lower);
}

const utString keys_name = "_keys";

// Gives "p" and everything below it a private record without an activity
// condition, so that the records shared with the originals stay as they are.
void strip_active_expressions(zynParameter& p) {
  auto strip = [](zynParameter& q) {
    q.set_impl(std::make_shared<zynParameterImpl>(*q.get_impl()));
    q.set_active(utString());
  };
  strip(p);
  zynParameterIter walk(&p);
  walk.exclude_functions(0);
  while (++walk) strip(*walk());
}

// Returns 1 for a function parameter (references are followed).
bool is_function(const zynParameterPtr& p) {
  return zynParameterFunction::ut_dynamic_cast(static_cast<const zynParameter*>(p.par())) != nullptr;
}

}  // namespace

int zyn_is_nofollow_ref(const zynParameter& p) {
  const zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(&p);
  return ref && ref->nofollow();
}

zynParameterMap::zynParameterMap() = default;

zynParameterMap::zynParameterMap(zynParameterSubType subtype) : m_subtype(subtype) {}

zynParameterMap::zynParameterMap(const zynParameterMap& other)
    : zynParameter(other),
      m_fixed(other.m_fixed),
      m_copy_active_expr(other.m_copy_active_expr),
      m_subtype(other.m_subtype) {
  assign_members(other);
}

zynParameterMap& zynParameterMap::operator=(const zynParameterMap& other) {
  if (this == &other) return *this;
  assign_members(other);
  m_fixed = other.m_fixed;
  m_copy_active_expr = other.m_copy_active_expr;
  m_subtype = other.m_subtype;
  zynParameter::operator=(other);
  return *this;
}

zynParameterMap::~zynParameterMap() { unlink_all(); }

// The copies are made before the old members go, since "other" may be one
// of them or live below one.
void zynParameterMap::assign_members(const zynParameterMap& other) {
  zynParameterMapMembers copies;
  for (const zynParameterMapMember& m : other.m_members) copies.push_back({m.name, m.value.copy()});
  zynParameterMapMembers old;
  old.swap(m_members);
  m_index.clear();
  m_case_index.clear();
  for (zynParameterMapMember& m : copies) store(m.name, m.value);
  for (const zynParameterMapMember& m : old) release(m.value);
}

// --- Member table -------------------------------------------------------------------

const zynParameterMapMember* zynParameterMap::find_member(const utString& name) const {
  auto exact = m_index.find(name);
  if (exact != m_index.end()) return &*exact->second;
  if (m_case_index.empty()) return nullptr;
  auto other_case = m_case_index.find(folded(name));
  return other_case == m_case_index.end() ? nullptr : &*other_case->second;
}

void zynParameterMap::store(const utString& name, const zynParameterPtr& p) {
  Iter at;
  auto exact = m_index.find(name);
  if (exact != m_index.end()) {
    at = exact->second;
    zynParameterPtr old = at->value;
    at->value = p;
    if (old.raw() != p.raw()) release(old);
  } else {
    at = m_members.insert(m_members.end(), {name, p});
    m_index.emplace(at->name, at);
  }
  m_case_index[folded(name)] = at;
  link_par(p);
}

void zynParameterMap::erase(Iter it) {
  auto lower = m_case_index.find(folded(it->name));
  // Another member of the same name in another case keeps its entry.
  if (lower != m_case_index.end() && lower->second == it) m_case_index.erase(lower);
  m_index.erase(it->name);
  m_members.erase(it);
}

void zynParameterMap::release(const zynParameterPtr& p) {
  // A member shared with another container may have been adopted there since.
  if (!p.is_null() && p->parent() == this) unlink_par(p);
}

void zynParameterMap::unlink_all() {
  for (const zynParameterMapMember& m : m_members) release(m.value);
}

// --- Lookup -------------------------------------------------------------------------

zynParameterPtr zynParameterMap::lookup(const zynParameterKey& key, bool writable) const {
  if (key.type() != PT_MAP) return error(PS_ERR_NAME);
  const utString& first = key.first();
  if (first == keys_name) return keys_list();
  const zynParameterMapMember* m = find_member(first);
  if (!m) return error(PS_ERR_NAME);
  zynParameterPtr result;
  if (key.remainder_str().empty()) {
    result = m->value;
  } else {
    zynParameter& member = *m->value;
    result = writable ? member[key.remainder()] : static_cast<const zynParameter&>(member)[key.remainder()];
  }
  if (zyn_is_lookup_failure(*result)) return error(PS_ERR_NAME);
  if (zynEvalFunction::functions_only() && !is_function(result)) return error(PS_ERR_NAME);
  return result;
}

const zynParameterPtr zynParameterMap::operator[](const zynParameterKey& key) const { return lookup(key, false); }

zynParameterPtr zynParameterMap::operator[](const zynParameterKey& key) { return lookup(key, true); }

zynParameterPtr zynParameterMap::keys_list() const {
  zynParameterPtr list(new zynParameterList(zyn_create_string(utString())));
  const zynParameterKey append(-1, utString());
  for (const zynParameterMapMember& m : m_members) (*list)[append]->set_string(m.name);
  return list;
}

// --- Changing members ---------------------------------------------------------------

zynParameterPtr zynParameterMap::add(const zynParameterKey& key, zynParameterPtr p) {
  if (key.type() != PT_MAP) return error(PS_ERR_NAME);
  const zynParameterKey name = key.first_key();
  zynParameterPtr existing = lookup(name, false);
  if (get_type(*existing) != PT_ERROR && !existing->is_ref()) return existing;
  if (is_locked()) return error(PS_ERR_UNKNOWN);
  // A map holding itself or an ancestor would own itself and never end a walk.
  if (is_descendent(p.raw())) return error(PS_ERR_ARGUMENTS);
  // An error is stored like any member (lookups then treat it as missing),
  // but never one of the shared values, which would be linked and renamed.
  zynParameterPtr member = zynParameterError::storable(p);
  store(name.first(), member);
  member->set_name(name.str());
  return member;
}

zynParameterPtr zynParameterMap::remove(const zynParameterKey& key) {
  if (is_locked()) return error(PS_ERR_UNKNOWN);
  if (key.type() != PT_MAP) return error(PS_ERR_NAME);
  const zynParameterMapMember* m = find_member(key.first());
  if (!m || zyn_is_lookup_failure(*m->value)) return error(PS_ERR_NAME);
  // The entry found through the case index goes under its stored name.
  auto at = m_index.find(m->name);
  zynParameterPtr removed = at->second->value;
  erase(at->second);
  release(removed);
  return removed;
}

void zynParameterMap::remove_all() {
  if (is_locked()) return;
  zynParameterMapMembers old;
  old.swap(m_members);
  m_index.clear();
  m_case_index.clear();
  for (const zynParameterMapMember& m : old) release(m.value);
}

void zynParameterMap::reset() {
  if (is_locked()) return;
  if (!m_fixed) {
    remove_all();
    return;
  }
  // Resets may call host callbacks that change this map: walk a snapshot.
  std::vector<zynParameterPtr> members;
  for (const zynParameterMapMember& m : m_members) members.push_back(m.value);
  for (const zynParameterPtr& p : members) p->reset();
}

void zynParameterMap::copy_value_from(const zynParameter& source) {
  if (&source == this) return;
  const zynParameterMap* src = ut_dynamic_cast(&source);
  if (!src) {
    zynParameter::copy_value_from(source);
    return;
  }
  const bool with_active = src->m_copy_active_expr != 0;
  const bool locked = is_locked();
  std::vector<zynParameterMapMember> from(src->m_members.begin(), src->m_members.end());
  // Replaced members are released last: "source" may live below one of them.
  std::vector<zynParameterPtr> replaced;
  for (const zynParameterMapMember& m : from) {
    auto mine = m_index.find(m.name);
    if (mine == m_index.end()) continue;
    zynParameterPtr& target = mine->second->value;
    // A stored error is missing on either side: its message is no value.
    if (zyn_is_lookup_failure(*m.value) || zyn_is_lookup_failure(*target)) continue;
    const zynParameterMap* submap = ut_dynamic_cast(m.value.raw());
    if (submap && !submap->is_fixed()) {
      if (locked) continue;
      replaced.push_back(target);
      target = m.value.copy();
    } else {
      target->copy_value_from(*m.value);
    }
    if (with_active) target->set_active(m.value->get_active_expr());
    link_par(target);
  }
  for (const zynParameterPtr& p : replaced) release(p);
}

// --- Queries ------------------------------------------------------------------------

const utString& zynParameterMap::get_typename() const { return impl().m_typename; }

void zynParameterMap::set_typename(const utString& name) {
  zyn_eval_note_change();
  impl().m_typename = name;
}

zynParameterOnModify zynParameterMap::set_onmodify_callback(zynParameterOnModify fn) {
  std::swap(fn, m_onmodify);
  return fn;
}

zynParameterOnRead zynParameterMap::set_onread_callback(zynParameterOnRead fn) {
  return exchange_onread_callback(fn);
}

int zynParameterMap::is_valid() const {
  for (const zynParameterMapMember& m : m_members) {
    const zynParameter& p = *m.value;
    if (!p.is_active() || p.is_valid()) continue;
    const zynParameter* target = p.get_ref();
    if (target && get_type(*target) == PT_DATA) continue;
    if (p.is_ref() && (!target || get_type(*target) == PT_ERROR)) continue;
    return 0;
  }
  return zynParameter::is_valid();
}

zynParameterPtr zynParameterMap::operate_binary(const utString& op, const zynParameterPtr& other) const {
  if (op == "==" || op == "!=") return error(PS_ERR_TYPE);
  return zynParameter::operate_binary(op, other);
}

int zynParameterMap::is_equal(const zynParameter& other) const { return equivalent(other); }

int zynParameterMap::equivalent(const zynParameter& other) const {
  if (!zynParameter::is_equal(other)) return 0;
  for (const zynParameterMapMember& m : m_members) {
    const zynParameterPtr counterpart = other[zynParameterKey(m.name)];
    if (*m.value != *counterpart) return 0;
  }
  return 1;
}

utString zynParameterMap::print(int depth) const {
  utString out = "(MAP";
  if (!is_valid()) out += " !";
  out += ") \n";
  out += print_members(depth, false);
  return out;
}

utString zynParameterMap::print_members(int depth, bool skip_nofollow) const {
  utString out;
  const utString indent(static_cast<size_t>(depth < 0 ? 1 : depth + 1), '\t');
  for (const zynParameterMapMember& m : m_members) {
    const zynParameter& p = *m.value;
    if (!p.is_active()) continue;
    if (skip_nofollow && zyn_is_nofollow_ref(p)) continue;
    out += indent;
    out += m.name;
    out += ": ";
    out += p.print(depth + 1);
  }
  return out;
}

zynParameter* zynParameterMap::create_object() const {
  zynParameter* copy = create_new();
  if (!m_copy_active_expr) strip_active_expressions(*copy);
  return copy;
}
