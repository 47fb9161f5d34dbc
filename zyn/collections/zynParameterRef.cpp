#include "zyn/collections/zynParameterRef.h"

#include <utility>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"

ZYN_DEFINE_TYPE(zynParameterRef, zynParameter)

namespace {

// Resolutions nest when a target is itself a reference or an expression that
// reads one. Each nested resolution of a reference within one outermost
// resolution reuses its first answer: the evaluator asks a reference for its
// type and target several times per step, and resolving afresh each time
// would make a chain of n references cost exponential time.
// Deeper chains of references (ZYN_NEST_REF), and of calls forwarded
// through references (ZYN_NEST_FORWARD), give "Expression/Reference error"
// rather than exhausting the stack.
uint64_t g_pass = 0;
constexpr int max_print_depth = 50;

int resolving() { return zyn_nesting(ZYN_NEST_REF).level; }

const utString scheme_id = "id";
const utString scheme_excl = "excl";
const utString ref_member = "_ref";

zynParameterPtr reference_error() { return zynParameterError::create(PS_ERR_REFERENCE); }

// Marks a call forwarded through one reference. It is refused when the same
// reference is already forwarding, which happens only when the target reaches
// back to the reference through its members or values (a cycle), or when
// forwarded calls nest too deeply. "reentrant" allows a reference to forward
// again inside its own call, as a recursive function call needs.
class Forwarding {
 public:
  explicit Forwarding(int32_t& flag, bool reentrant = false) : m_flag(flag), m_ok(reentrant || flag == 0) {
    if (!m_ok) zyn_eval_memo_context_dependent();  // a cycle
    m_ok = m_ok && zyn_nesting_enter(ZYN_NEST_FORWARD);
    if (m_ok) ++m_flag;
  }
  ~Forwarding() {
    if (!m_ok) return;
    if (!m_resolved) --m_flag;
    zyn_nesting_leave(ZYN_NEST_FORWARD);
  }
  Forwarding(const Forwarding&) = delete;
  Forwarding& operator=(const Forwarding&) = delete;
  bool ok() const { return m_ok; }
  // The target is found: what the forwarded operation reads from here on
  // (the other operand of "r + y" where y = "-r") may pass through the
  // reference again without closing a cycle. It still counts as nesting.
  void resolved() {
    if (m_ok && !m_resolved) --m_flag;
    m_resolved = true;
  }

 private:
  int32_t& m_flag;
  bool m_ok;
  bool m_resolved = false;
};

// Returns a handle that keeps "p" alive while a forwarded call runs: a new
// resolution may drop the reference's own hold on a temporary target. A
// parameter that no owning handle holds is not ours to keep.
zynParameterPtr hold(const zynParameter* p) {
  zynParameter* q = const_cast<zynParameter*>(p);
  return p->reference_count() > 0 ? zynParameterPtr(q) : zynParameterPtr(coPrfExternal, q);
}

// Returns the unique-id text of "id", empty when invalid.
utString hex_of(const zynRefToObjectId& id) { return id.is_valid() ? id.get_uid().get_uid()->hex_string() : utString(); }

// Makes "out" refer to the session's entry for the id written in "hex";
// leaves it invalid when "hex" is no unique id.
void become_id(zynRefToObjectId& out, const utString& hex) {
  zynUniqueId uid;
  if (!uid.become(hex.c_str())) return;
  zynUniqueIdTable& table = zynUniqueIdTable::session_entities();
  if (!table.member(uid)) table.add(uid);
  out.become(table.find(uid));
}

}  // namespace

// --- Construction ---------------------------------------------------------------

zynParameterRef::zynParameterRef(const utString& text) { set_ref_string(text); }

zynParameterRef::zynParameterRef(const zynParameterRef& other)
    : zynParameter(other),
      m_scheme(other.m_scheme),
      m_path(other.m_path),
      m_id(other.m_id),
      m_ref_type(other.m_ref_type),
      m_root_type(other.m_root_type),
      m_nofollow(other.m_nofollow) {}

zynParameterRef& zynParameterRef::operator=(const zynParameterRef& other) {
  if (this == &other) return *this;
  zynParameter::operator=(other);
  m_scheme = other.m_scheme;
  m_path = other.m_path;
  m_id = other.m_id;
  m_ref_type = other.m_ref_type;
  m_root_type = other.m_root_type;
  m_nofollow = other.m_nofollow;
  m_target.release();
  return *this;
}

zynParameterRef::~zynParameterRef() = default;

// --- Reference text ---------------------------------------------------------------

void zynParameterRef::set_ref_string(const utString& text) {
  if (is_locked()) return;
  m_scheme.clear();
  m_path.clear();
  m_id.set_invalid();
  size_t colon = text.find(':');
  if (colon == utString::npos) {
    m_path = text;
  } else {
    m_scheme = text.substr(0, colon);
    utString rest = text.substr(colon + 1);
    if (m_scheme == scheme_id) {
      m_path = rest;
      become_id(m_id, rest);
    } else if (m_scheme == scheme_excl) {
      size_t second = rest.find(':');
      if (second != utString::npos) m_path = rest.substr(second + 1);
      become_id(m_id, rest.substr(0, second));
    } else {
      m_path = std::move(rest);
    }
  }
  zyn_eval_note_change();  // names may resolve through it
  onmodify_callback();
}

utString zynParameterRef::get_ref_string() const {
  if (m_scheme.empty()) return m_path;
  utString out = m_scheme + ":";
  if (m_scheme == scheme_id) return out + hex_of(m_id);
  if (m_scheme == scheme_excl) return out + hex_of(m_id) + ":" + m_path;
  return out + m_path;
}

void zynParameterRef::set_ref_root_type(const utString& root_type) {
  zyn_eval_note_change();
  m_ref_type = PT_MAP;
  m_root_type = root_type;
}

// id:HEX and excl:HEX:PATH ask the host's entity function for the object;
// other schemes hand the scheme and the path to it as two strings.
utString zynParameterRef::build_expression() const {
  if (m_scheme.empty()) return m_path;
  if (m_scheme == scheme_id) return "entity('" + hex_of(m_id) + "')";
  if (m_scheme == scheme_excl) {
    utString expr = "entity('" + hex_of(m_id) + "')";
    // Without a path the object itself is meant; a lone "." would not parse.
    return m_path.empty() ? expr : expr + "." + m_path;
  }
  const char q = m_path.find('\'') == utString::npos ? '\'' : '"';
  return utString("entity(") + q + m_scheme + q + "," + q + m_path + q + ")";
}

// --- Resolution -------------------------------------------------------------------

const zynParameter* zynParameterRef::get_ref() const {
  if (m_busy) {
    // Names are looked up in the reference's own members first, so its own
    // resolution always meets it busy; met from further in, it is a cycle.
    if (zyn_eval_memo_innermost() != this) zyn_eval_memo_context_dependent();
    return nullptr;
  }
  if (resolving() > 0 && m_pass == g_pass && !m_target.is_null()) return m_target->get_ref();
  return resolve_target();
}

zynParameter* zynParameterRef::get_ref() {
  return const_cast<zynParameter*>(static_cast<const zynParameterRef*>(this)->get_ref());
}

// A resolution is memoised as an evaluation is, so that a chain of
// references read from many places resolves each link once.
const zynParameter* zynParameterRef::resolve_target() const {
  if (resolving() == 0) ++g_pass;
  zynEvalMemoFrame memo(*this);
  zynParameterPtr target;
  if (!memo.recall(target)) {
    target = find_target();
    memo.keep(target, true);
  }
  m_target = std::move(target);
  m_pass = g_pass;
  return m_target->get_ref();
}

zynParameterPtr zynParameterRef::find_target() const {
  utString expr = build_expression();
  if (expr.empty() || !zyn_nesting_enter(ZYN_NEST_REF)) return reference_error();
  m_busy = 1;
  zynEvaluator evaluator(this);
  zynParameterPtr target = evaluator.evaluate(expr);
  // The checks run while still busy, so that a target that leads back here
  // fails at once instead of starting this resolution over.
  const zynParameter* found = target->get_ref();
  if (get_type(*target) == PT_ERROR || !found) {
    target = reference_error();
  } else if (is_descendent(target.pointer()) || is_descendent(found)) {
    target = reference_error();
  } else if (m_ref_type != PT_ERROR && m_ref_type != get_type(*target)) {
    target = zynParameterError::create(PS_ERR_TYPE);
  } else if (m_ref_type == PT_MAP && !m_root_type.empty()) {
    zynParameterPtr member = (*found)[zynParameterKey("root_type")];
    if (get_type(*member) != PT_STRING || (m_root_type != "*" && m_root_type != member->get_string()))
      target = zynParameterError::create(PS_ERR_TYPE);
  }
  // The end of the chain is kept, so that asking again takes one step. It is
  // followed while still busy: a target that leads back here fails at once.
  const zynParameter* end = target->get_ref();
  if (!end) target = reference_error();
  else if (end != target.raw()) target = hold(end);
  // A member of a tree is its container's to keep. Owning it as well would let
  // references that point into each other's containers keep both alive forever.
  if (target->parent() && target->reference_count() > 1) target = zynParameterPtr(coPrfExternal, target.pointer());
  m_busy = 0;
  zyn_nesting_leave(ZYN_NEST_REF);
  return target;
}

zynParameterPtr zynParameterRef::held_target() const {
  const zynParameter* t = get_ref();
  return t ? hold(t) : zynParameterPtr();
}

zynParameterSubType zynParameterRef::subtype() const {
  const zynParameter* t = get_ref();
  return t ? get_subtype(*t) : PS_ERR_REFERENCE;
}

zynParameterType zynParameterRef::type() const {
  const zynParameter* t = get_ref();
  return t ? get_type(*t) : PT_ERROR;
}

// --- Ids ----------------------------------------------------------------------------

const zynRefToObjectId& zynParameterRef::get_ref_id() const {
  if (m_scheme == scheme_id) return m_id;
  const zynParameter* t = get_ref();
  if (t && zyn_is_root(*t)) return t->get_ref_id();
  if (m_scheme == scheme_excl && !m_path.empty()) return zynRefToObjectId::empty();
  return m_id;
}

const zynRefToObjectId zynParameterRef::get_lock_id_imp(const zynParameter&) const { return get_ref_id(); }

void zynParameterRef::set_ref_from_id(const zynRefToObjectId& id) {
  if (is_locked() && !id.is_equal(get_ref_id())) return;
  zynRefToObjectId copy = id;  // "id" may be our own or our target's
  m_scheme = scheme_id;
  m_id = std::move(copy);
  zyn_eval_note_change();
  onmodify_callback();
}

void zynParameterRef::lock_ref_to_id() {
  if (is_locked()) return;
  zynParameterPtr t = held_target();
  if (!t.is_null() && zyn_is_root(*t)) set_ref_from_id(zynRefToObjectId(t->get_ref_id()));
}

void zynParameterRef::reset() {
  zyn_eval_note_change();
  m_id.set_invalid();
}

// --- Validity, equality, copying ------------------------------------------------------

int zynParameterRef::is_valid() const {
  if (!zynParameter::is_valid()) return 0;
  if (m_id.is_valid()) return 1;
  // Met again while checking its own target: the cycle adds nothing.
  Forwarding forwarding(m_forwarding);
  if (!forwarding.ok()) return 1;
  zynParameterPtr t = held_target();
  if (t.is_null() || t->is_error()) return 0;
  return t->is_valid();
}

int zynParameterRef::is_equal(const zynParameter& other) const {
  zynParameterPtr mine = held_target();
  const zynParameter* theirs_raw = other.get_ref();
  if (mine.raw() == theirs_raw) return 1;
  if (mine.is_null() || !theirs_raw) return 0;
  // Two cyclic structures compared member by member meet this pair again;
  // nothing tells them apart there.
  Forwarding forwarding(m_forwarding);
  if (!forwarding.ok()) return 1;
  zynParameterPtr theirs = hold(theirs_raw);
  return *mine == *theirs;
}

void zynParameterRef::copy_value_from(const zynParameter& source) {
  if (&source == this) return;
  const zynParameterRef* other = ut_dynamic_cast(&source);
  if (!other) {
    zynParameter::copy_value_from(source);
    return;
  }
  if (is_locked()) return;
  m_scheme = other->m_scheme;
  m_path = other->m_path;
  m_id = other->m_id;
  m_nofollow = other->m_nofollow;
}

zynParameterOnModify zynParameterRef::set_onmodify_callback(zynParameterOnModify fn) {
  return exchange_onmodify_callback(fn);
}

// --- Printing -----------------------------------------------------------------------

utString zynParameterRef::print(int depth) const {
  const zynNesting& forwarded = zyn_nesting(ZYN_NEST_FORWARD);
  bool recursive = depth > max_print_depth || m_forwarding != 0 || forwarded.level >= forwarded.limit;
  utString out = "(REF";
  if (!recursive && !is_valid()) out += " !";
  out += ") ";
  out += get_ref_string();
  if (recursive) return out + " = (RECURSIVE REFERENCE!)\n";
  if (m_nofollow) return out + "\n";
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = held_target();
  if (t.is_null()) return out + " = (NULL REFERENCE!)\n";
  return out + " = " + t->print(depth);
}

// --- Values -------------------------------------------------------------------------

// Without a target, or inside a cycle, getters answer as the reference error does.
int zynParameterRef::get_int() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? 0 : t->get_int();
}

double zynParameterRef::get_double() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? 0.0 : t->get_double();
}

utString zynParameterRef::get_string() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? reference_error()->get_string() : t->get_string();
}

utString zynParameterRef::get_expr() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? reference_error()->get_expr() : t->get_expr();
}

int zynParameterRef::is_error() const {
  zynParameterPtr t = held_target();
  return t.is_null() ? 1 : t->is_error();
}

int zynParameterRef::is_expr() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? 0 : t->is_expr();
}

zynParameterPtr zynParameterRef::evaluate() const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? reference_error() : zynParameter::evaluate(*t);
}

void zynParameterRef::set_int(int value) {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  if (!t.is_null() && !t->is_error()) t->set_int(value);
}

void zynParameterRef::set_double(double value) {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  if (!t.is_null() && !t->is_error()) t->set_double(value);
}

void zynParameterRef::set_string(const utString& text) {
  if (!text.empty() && text[0] == '&') {
    set_ref_string(text.substr(1));
    return;
  }
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  if (!t.is_null() && !t->is_error()) t->set_string(text);
}

// --- Operators and containers -----------------------------------------------------------

zynParameterPtr zynParameterRef::operate_binary(const utString& op, const zynParameterPtr& other) const {
  // A call may legitimately reach the same function through this reference
  // again; its depth is bounded by the global limit only.
  Forwarding forwarding(m_forwarding, op == "(");
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  if (t.is_null()) return reference_error();
  forwarding.resolved();
  return t->operate_binary(op, other);
}

zynParameterPtr zynParameterRef::operate_prefix(const utString& op) const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? reference_error() : t->operate_prefix(op);
}

zynParameterPtr zynParameterRef::operate_postfix(const utString& op) const {
  Forwarding forwarding(m_forwarding);
  zynParameterPtr t = forwarding.ok() ? held_target() : zynParameterPtr();
  return t.is_null() ? reference_error() : t->operate_postfix(op);
}

int zynParameterRef::size() const {
  zynParameterPtr t = held_target();
  return t.is_null() || t->is_error() ? 0 : t->size();
}

namespace {

// Returns 1 for the one-component name key "_ref".
int is_ref_member(const zynParameterKey& key) {
  return key.type() == PT_MAP && key.first() == ref_member && key.remainder_str().empty();
}

}  // namespace

// Lookups consume the key one component at a time, so they need no cycle guard.
const zynParameterPtr zynParameterRef::operator[](const zynParameterKey& key) const {
  if (is_ref_member(key)) return zyn_create_string(get_ref_string());
  zynParameterPtr t = held_target();
  if (t.is_null()) return reference_error();
  const zynParameter& target = *t;
  return target[key];
}

zynParameterPtr zynParameterRef::operator[](const zynParameterKey& key) {
  if (is_ref_member(key)) return zyn_create_string(get_ref_string());
  zynParameterPtr t = held_target();
  return t.is_null() ? reference_error() : (*t)[key];
}

zynParameterPtr zynParameterRef::add(const zynParameterKey& key, zynParameterPtr p) {
  zynParameterPtr t = held_target();
  if (t.is_null()) {
    p.release();
    return reference_error();
  }
  return t->add(key, std::move(p));
}

zynParameterPtr zynParameterRef::remove(const zynParameterKey& key) {
  zynParameterPtr t = held_target();
  return t.is_null() ? reference_error() : t->remove(key);
}

void zynParameterRef::remove_all() {
  zynParameterPtr t = held_target();
  if (!t.is_null()) t->remove_all();
}

int zyn_is_nofollow_ref(const zynParameter& p) {
  const zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(&p);
  return ref && ref->nofollow();
}
