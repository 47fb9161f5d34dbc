#include "zyn/core/zynParameterIter.h"

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameter_internal.h"

namespace {

// Walks deeper than this are cut short: trees are shallow, and only a
// pathological structure (references chained without end) goes further.
constexpr int max_nesting = 256;

zynParameterPtr invalid_name() { return zynParameterError::create(PS_ERR_NAME); }

// Returns an owning handle on "p" when something owns it already, else a
// non-owning one (a parameter on the stack, or one not yet wrapped).
zynParameterPtr hold(zynParameter* p) {
  return p->reference_count() > 0 ? zynParameterPtr(p) : zynParameterPtr(coPrfExternal, p);
}

}  // namespace

// --- Level iterators ----------------------------------------------------------------

std::unique_ptr<zynBaseParIter> zynBaseParIter::create(zynParameterPtr p) {
  zynParameter* target = p.par();
  if (target) {
    if (const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(target))
      return std::make_unique<zynMapParIter>(hold(target), *map);
    if (zynParameter::get_type(*target) == PT_ARRAY) return std::make_unique<zynArrayParIter>(hold(target));
  }
  return std::make_unique<zynSingleParIter>();
}

zynMapParIter::zynMapParIter(zynParameterPtr holder, const zynParameterMap& map)
    : m_holder(std::move(holder)), m_map(map) {}

int zynMapParIter::operator++() {
  m_at = m_started ? m_at + 1 : 0;
  m_started = m_at < m_map.members().size();
  return m_started ? 1 : 0;
}

// A member removed while the walk runs may leave the position past the end.
const zynParameterPtr zynMapParIter::operator()() const {
  return m_started && m_at < m_map.members().size() ? m_map.members()[m_at].value : invalid_name();
}

// The name under which the map holds the member, which add also gave the
// member as its own name; the stored name stays right when a shared
// record has renamed the member since.
zynParameterKey zynMapParIter::index() const {
  return m_started && m_at < m_map.members().size() ? zynParameterKey(m_map.members()[m_at].name) : zynParameterKey();
}

zynArrayParIter::zynArrayParIter(zynParameterPtr array) : m_array(std::move(array)) {
  const zynParameter& a = *m_array;
  m_keys = a[zynParameterKey("_keys")];
}

int zynArrayParIter::operator++() {
  const zynParameter& a = *m_array;
  if (m_pos + 1 < a.size()) {
    ++m_pos;
    m_current = a[zynParameterKey(m_pos, utString())];
    return 1;
  }
  m_pos = -1;
  m_current.release();
  return 0;
}

const zynParameterPtr zynArrayParIter::operator()() const { return m_pos < 0 ? invalid_name() : m_current; }

zynParameterKey zynArrayParIter::index() const {
  if (m_pos < 0) return zynParameterKey();
  const zynParameter& keys = *m_keys;
  if (m_pos < keys.size()) return zynParameterKey(keys[zynParameterKey(m_pos, utString())]->get_string());
  return zynParameterKey(m_pos, utString());
}

const zynParameterPtr zynSingleParIter::operator()() const { return invalid_name(); }

// --- The walk -----------------------------------------------------------------------

zynParameterIter::zynParameterIter(const zynParameter* start) : m_start(coPrfExternal, start) { reset(); }

zynParameterIter::zynParameterIter(zynParameterPtr start) : m_start(std::move(start)) { reset(); }

zynParameterIter::zynParameterIter(const zynParameterIter& other) : zynParameterIter(other, other.m_start) {}

zynParameterIter::zynParameterIter(const zynParameterIter& switches, zynParameterPtr start)
    : m_start(std::move(start)),
      m_max_depth(switches.m_max_depth),
      m_follow_refs(switches.m_follow_refs),
      m_leaf_only(switches.m_leaf_only),
      m_active_only(switches.m_active_only),
      m_exclude_functions(switches.m_exclude_functions),
      m_exclude_reserved(switches.m_exclude_reserved) {
  reset();
}

zynParameterIter::~zynParameterIter() = default;

void zynParameterIter::reset() {
  m_child.reset();
  m_level = zynBaseParIter::create(m_start);
}

int zynParameterIter::reserved(const utString& text) { return !text.empty() && text[0] == '_'; }

int zynParameterIter::operator++() {
  while (next())
    if (match()) return 1;
  return 0;
}

const zynParameterPtr zynParameterIter::operator()() const { return m_child ? (*m_child)() : (*m_level)(); }

zynParameterKey zynParameterIter::index() const {
  if (m_child) return m_level->index() + m_child->index();
  return m_level->index();
}

const zynBaseParIter& zynParameterIter::innermost_level() const {
  return m_child ? m_child->innermost_level() : *m_level;
}

int zynParameterIter::next() {
  if (m_child) {
    if (m_child->next()) return 1;
    m_child.reset();
    return ++(*m_level);
  }
  const zynParameterPtr current = (*m_level)();
  if (may_enter(*current)) {
    m_child = std::make_unique<zynParameterIter>(*this, current);
    m_child->m_max_depth = m_max_depth > 0 ? m_max_depth - 1 : 0;
    m_child->m_outer = this;
    m_child->m_nesting = m_nesting + 1;
    if (m_child->next()) return 1;
    m_child.reset();  // nothing to yield after all (a reference gone stale)
  }
  return ++(*m_level);
}

int zynParameterIter::may_enter(const zynParameter& c) const {
  const zynParameterType t = zynParameter::get_type(c);
  if (t != PT_MAP && t != PT_ARRAY) return 0;
  if (c.size() <= 0) return 0;
  if (m_active_only && !c.is_active()) return 0;
  if (m_max_depth == 1 || m_nesting >= max_nesting) return 0;
  if (!m_follow_refs && c.is_ref()) return 0;
  if (zyn_is_nofollow_ref(c)) return 0;
  const zynParameter* target = c.get_ref();
  if (!target) return 0;
  for (const zynParameterIter* it = this; it; it = it->m_outer)
    if (it->m_start.raw() == target || it->m_start.raw()->get_ref() == target) return 0;
  return 1;
}

int zynParameterIter::match() const {
  const zynParameterPtr current = (*this)();
  const zynParameter& c = *current;
  const zynParameterType t = zynParameter::get_type(c);
  const bool leaf = (t != PT_MAP && t != PT_ARRAY) || (!m_follow_refs && c.is_ref());
  if (m_leaf_only && !leaf) return 0;
  if (m_active_only && !c.is_active()) return 0;
  if (m_exclude_functions && t == PT_FUNCTION) return 0;
  if (m_exclude_reserved && reserved(innermost_level().index().str())) return 0;
  return 1;
}

// --- Naming unnamed members --------------------------------------------------------

utString zyn_child_key_text(const zynParameter& container, const zynParameter& child, bool& is_name_key) {
  is_name_key = false;
  zynParameterIter walk(&container);
  walk.set_max_depth(1);
  walk.exclude_functions(0);
  while (++walk) {
    if (walk().raw() != &child) continue;
    const zynParameterKey key = walk.index();
    is_name_key = key.type() == PT_MAP;
    return key.str();
  }
  return utString();
}
