#include "zyn/core/zynParameterMap.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/host/zynText.h"

ZYN_DEFINE_TYPE(zynParameterMap, zynParameter)

namespace {

zynParameterPtr error(zynParameterSubType code) { return zynParameterError::create(code); }

// Folds one byte of a name as zyndowncase does: ASCII letters, and the
// Latin-1 letters whose UTF-8 forms are 0xC3 followed by 0x80-0x9E.
// "after_lead" carries whether the previous byte was such a 0xC3.
unsigned char fold(unsigned char c, bool& after_lead) {
  if (after_lead) {
    after_lead = false;
    return c >= 0x80 && c <= 0x9E && c != 0x97 ? c ^ 0x20 : c;
  }
  after_lead = c == 0xC3;
  return c >= 'A' && c <= 'Z' ? c ^ 0x20 : c;
}

// FNV-1a of the case-folded name.
uint32_t folded_hash(std::string_view name) {
  uint32_t h = 2166136261u;
  bool lead = false;
  for (char c : name) h = (h ^ fold(static_cast<unsigned char>(c), lead)) * 16777619u;
  return h;
}

bool folded_equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  bool lead_a = false;
  bool lead_b = false;
  for (size_t i = 0; i < a.size(); ++i)
    if (fold(static_cast<unsigned char>(a[i]), lead_a) != fold(static_cast<unsigned char>(b[i]), lead_b)) return false;
  return true;
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

}  // namespace

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
  copies.reserve(other.m_members.size());
  for (const zynParameterMapMember& m : other.m_members) copies.push_back({m.name, m.value.copy()});
  zynParameterMapMembers old;
  clear_members(old);
  m_members.reserve(copies.size());
  for (zynParameterMapMember& m : copies) store(m.name, m.value);
  for (const zynParameterMapMember& m : old) release(m.value);
}

// --- Member table -------------------------------------------------------------------

const zynParameterMapMember* zynParameterMap::find_member(const utString& name) const {
  const long at = locate(name, false);
  return at < 0 ? nullptr : &m_members[static_cast<size_t>(at)];
}

long zynParameterMap::locate(std::string_view name, bool exact) const {
  return m_slots.empty() ? -1 : locate(name, folded_hash(name), exact);
}

long zynParameterMap::locate(std::string_view name, uint32_t hash, bool exact) const {
  if (m_slots.empty()) return -1;
  const size_t mask = m_slots.size() - 1;
  long other_case = -1;
  for (size_t s = hash & mask; m_slots[s].entry; s = (s + 1) & mask) {
    const Slot& slot = m_slots[s];
    if (slot.hash != hash) continue;
    const size_t at = (slot.entry & ~case_choice) - 1;
    const utString& stored = m_members[at].name;
    if (stored == name) return static_cast<long>(at);
    if (!exact && (slot.entry & case_choice) && folded_equal(stored, name)) other_case = static_cast<long>(at);
  }
  return other_case;
}

void zynParameterMap::store(const utString& name, const zynParameterPtr& p) {
  const uint32_t hash = folded_hash(name);
  const long found = locate(name, hash, true);
  size_t at;
  if (found >= 0) {
    at = static_cast<size_t>(found);
    zynParameterPtr old = m_members[at].value;
    m_members[at].value = p;
    if (old.raw() != p.raw()) release(old);
  } else {
    at = m_members.size();
    m_members.push_back({name, p});
    index_member(at, hash);
  }
  choose_case(at, hash);
  link_par(p);
}

void zynParameterMap::index_member(size_t at, uint32_t hash) {
  if (m_members.size() * 4 > m_slots.size() * 3) {
    std::vector<Slot> old(std::max<size_t>(2, m_slots.size() * 2), Slot{0, 0});
    old.swap(m_slots);
    for (const Slot& slot : old)
      if (slot.entry) place(slot);
  }
  place(Slot{hash, static_cast<uint32_t>(at + 1)});
}

void zynParameterMap::place(Slot slot) {
  const size_t mask = m_slots.size() - 1;
  size_t s = slot.hash & mask;
  while (m_slots[s].entry) s = (s + 1) & mask;
  m_slots[s] = slot;
}

void zynParameterMap::choose_case(size_t at, uint32_t hash) {
  const utString& name = m_members[at].name;
  const size_t mask = m_slots.size() - 1;
  for (size_t s = hash & mask; m_slots[s].entry; s = (s + 1) & mask) {
    Slot& slot = m_slots[s];
    if (slot.hash != hash) continue;
    const size_t other = (slot.entry & ~case_choice) - 1;
    if (other == at)
      slot.entry |= case_choice;
    else if (folded_equal(m_members[other].name, name))
      slot.entry &= ~case_choice;
  }
}

// Linear probing lets a slot be freed by moving later slots of the same
// run back, so lookups never meet a gap before their member.
void zynParameterMap::erase(size_t at) {
  const size_t mask = m_slots.size() - 1;
  size_t hole = folded_hash(m_members[at].name) & mask;
  while ((m_slots[hole].entry & ~case_choice) - 1 != at) hole = (hole + 1) & mask;
  for (size_t s = (hole + 1) & mask; m_slots[s].entry; s = (s + 1) & mask) {
    const size_t home = m_slots[s].hash & mask;
    if (((s - home) & mask) >= ((s - hole) & mask)) {
      m_slots[hole] = m_slots[s];
      hole = s;
    }
  }
  m_slots[hole].entry = 0;
  m_members.erase(m_members.begin() + static_cast<long>(at));
  if (at == m_members.size()) return;
  for (Slot& slot : m_slots)
    if ((slot.entry & ~case_choice) > at + 1) --slot.entry;
}

void zynParameterMap::clear_members(zynParameterMapMembers& out) {
  out.clear();
  out.swap(m_members);
  std::vector<Slot>().swap(m_slots);
}

void zynParameterMap::release(const zynParameterPtr& p) {
  // A member shared with another container may have been adopted there
  // since and keeps that link; what this map holds has changed all the same.
  if (!p.is_null() && p->parent() == this) unlink_par(p);
  else zyn_eval_memo_changed();
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
  if (zyn_lookup_functions_only() && !zyn_is_function(result.par())) return error(PS_ERR_NAME);
  return result;
}

const zynParameterPtr zynParameterMap::operator[](const zynParameterKey& key) const { return lookup(key, false); }

zynParameterPtr zynParameterMap::operator[](const zynParameterKey& key) { return lookup(key, true); }

zynParameterPtr zynParameterMap::keys_list() const {
  std::vector<utString> names;
  names.reserve(m_members.size());
  for (const zynParameterMapMember& m : m_members) names.push_back(m.name);
  return zyn_create_string_list(names);
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

zynParameterPtr zynParameterMap::replace(const zynParameterKey& key, zynParameterPtr p) {
  if (key.type() != PT_MAP) return error(PS_ERR_NAME);
  if (is_locked()) return error(PS_ERR_UNKNOWN);
  if (is_descendent(p.raw())) return error(PS_ERR_ARGUMENTS);
  const zynParameterKey name = key.first_key();
  zynParameterPtr member = zynParameterError::storable(p);
  store(name.first(), member);
  member->set_name(name.str());
  return member;
}

zynParameterPtr zynParameterMap::remove(const zynParameterKey& key) {
  if (is_locked()) return error(PS_ERR_UNKNOWN);
  if (key.type() != PT_MAP) return error(PS_ERR_NAME);
  const long at = locate(key.first(), false);
  if (at < 0 || zyn_is_lookup_failure(*m_members[static_cast<size_t>(at)].value)) return error(PS_ERR_NAME);
  // The entry found in another case goes under its stored name.
  zynParameterPtr removed = m_members[static_cast<size_t>(at)].value;
  erase(static_cast<size_t>(at));
  release(removed);
  return removed;
}

void zynParameterMap::remove_all() {
  if (is_locked()) return;
  zynParameterMapMembers old;
  clear_members(old);
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
  members.reserve(m_members.size());
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
    // Positions are looked up afresh: host callbacks run by the copies may
    // add or remove members, which moves them.
    long mine = locate(m.name, true);
    if (mine < 0) continue;
    zynParameterPtr target = m_members[static_cast<size_t>(mine)].value;
    // A stored error is missing on either side: its message is no value.
    if (zyn_is_lookup_failure(*m.value) || zyn_is_lookup_failure(*target)) continue;
    const zynParameterMap* submap = ut_dynamic_cast(m.value.raw());
    if (submap && !submap->is_fixed()) {
      if (locked) continue;
      replaced.push_back(target);
      target = m.value.copy();
      m_members[static_cast<size_t>(mine)].value = target;
    } else {
      target->copy_value_from(*m.value);
    }
    if (with_active) target->set_active(m.value->get_active_expr());
    link_par(target);
  }
  for (const zynParameterPtr& p : replaced) release(p);
}

// --- Queries ------------------------------------------------------------------------

const utString& zynParameterMap::get_typename() const { return field(zynParameterImpl::TYPENAME); }

void zynParameterMap::set_typename(const utString& name) {
  zyn_eval_note_change();
  impl().set(zynParameterImpl::TYPENAME, name);
}

zynParameterOnModify zynParameterMap::set_onmodify_callback(zynParameterOnModify fn) {
  return exchange_onmodify_callback(fn);
}

zynParameterOnRead zynParameterMap::set_onread_callback(zynParameterOnRead fn) {
  return exchange_onread_callback(fn);
}

int zynParameterMap::is_valid() const {
  // By position: evaluations may run host code that changes the members.
  for (size_t i = 0; i < m_members.size(); ++i) {
    const zynParameterPtr member = m_members[i].value;
    const zynParameter& p = *member;
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
  for (size_t i = 0; i < m_members.size(); ++i) {
    const zynParameterMapMember m = m_members[i];
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
  for (size_t i = 0; i < m_members.size(); ++i) {
    const zynParameterMapMember m = m_members[i];
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
