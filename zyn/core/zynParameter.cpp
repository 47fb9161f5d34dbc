#include "zyn/core/zynParameter.h"

#include <algorithm>
#include <forward_list>
#include <utility>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"

const utTypeID& zynParameter::ut_static_type() {
  static const utTypeID id(utTypeMake, "zynParameter");
  return id;
}
static const utTypeID& zyn_type_id_of_zynParameter = zynParameter::ut_static_type();

// --- The descriptive record ---------------------------------------------------

// The fields that are set, each once. Nodes never move or go while the
// record lives, so the references that get() hands out stay valid as the
// record's texts used to: a field set to "" keeps its node.
struct zynParameterImpl::Extra {
  zynParameterMirrorMode mirror_mode = PMM_NONE;
  std::forward_list<std::pair<Field, utString>> texts;
};

zynParameterImpl::zynParameterImpl(const zynParameterImpl& other)
    : m_name(other.m_name), m_extra(other.m_extra ? std::make_unique<Extra>(*other.m_extra) : nullptr) {}

zynParameterImpl& zynParameterImpl::operator=(const zynParameterImpl& other) {
  if (this != &other) *this = zynParameterImpl(other);
  return *this;
}

zynParameterImpl::~zynParameterImpl() = default;

const utString& zynParameterImpl::empty_text() {
  static const utString empty;
  return empty;
}

const utString& zynParameterImpl::get(Field field) const {
  if (m_extra)
    for (const auto& [f, text] : m_extra->texts)
      if (f == field) return text;
  return empty_text();
}

void zynParameterImpl::set(Field field, const utString& text) {
  if (m_extra)
    for (auto& [f, stored] : m_extra->texts)
      if (f == field) {
        stored = text;
        return;
      }
  if (text.empty()) return;
  if (!m_extra) m_extra = std::make_unique<Extra>();
  m_extra->texts.emplace_front(field, text);
}

zynParameterMirrorMode zynParameterImpl::mirror_mode() const { return m_extra ? m_extra->mirror_mode : PMM_NONE; }

void zynParameterImpl::set_mirror_mode(zynParameterMirrorMode mode) {
  if (!m_extra) {
    if (mode == PMM_NONE) return;
    m_extra = std::make_unique<Extra>();
  }
  m_extra->mirror_mode = mode;
}

// --- Construction -------------------------------------------------------------

zynParameter::zynParameter() = default;

// A copy shares the record, keeps the callbacks, lock and parent link, and
// starts with a stale activity cache and no activity links of its own.
zynParameter::zynParameter(const zynParameter& other)
    : m_impl(other.get_impl()),
      m_active_value(other.m_active_value),
      m_measure_mode(other.m_measure_mode),
      m_lock(other.m_lock) {
  copy_callbacks(other);
  if (const zynParameter* p = other.parent()) {
    m_parent = const_cast<zynParameter*>(p);
    side().borrowed_parent = p->life_token();
    m_parent_borrowed = true;
  }
}

zynParameter& zynParameter::operator=(const zynParameter& other) {
  if (this == &other) return *this;
  zyn_eval_note_change();
  set_impl(other.get_impl());
  copy_callbacks(other);
  m_measure_mode = other.m_measure_mode;
  m_active_value = other.m_active_value;
  m_eval_guard = 0;
  m_active_valid = 0;
  return *this;
}

zynParameter::~zynParameter() {
  // Copies that borrowed this parameter as their parent lose their scope.
  if (m_side && m_side->life) zyn_eval_note_change();
  zynParameterNotify::parameter_destroyed(this);
  teardown_callbacks();
}

zynParameter::Side& zynParameter::side() const {
  if (!m_side) m_side = std::make_unique<Side>();
  return *m_side;
}

void zynParameter::copy_callbacks(const zynParameter& other) {
  const Side none;
  const Side& from = other.m_side ? *other.m_side : none;
  if (!m_side && !from.onmodify && !from.onread && !from.mirror_callback) return;
  Side& to = side();
  to.onmodify = from.onmodify;
  to.onread = from.onread;
  to.mirror_callback = from.mirror_callback;
}

zynParameterImpl& zynParameter::impl() const {
  if (!m_impl) m_impl = std::make_shared<zynParameterImpl>();
  return *m_impl;
}

const zynParameterImplPtr& zynParameter::get_impl() const {
  impl();
  return m_impl;
}

std::shared_ptr<char> zynParameter::life_token() const {
  Side& s = side();
  if (!s.life) s.life = std::make_shared<char>(0);
  return s.life;
}

// --- Descriptive record -----------------------------------------------------

void zynParameter::set_name(const utString& name) {
  if (m_parent) zyn_eval_memo_changed();  // only a member's name is found by lookups
  impl().set_name(name);
}
void zynParameter::set_desc(const utString& desc) { impl().set(zynParameterImpl::DESC, desc); }
void zynParameter::set_label(const utString& label) {
  impl().set(zynParameterImpl::LABEL, zynEvaluator::localize(label));
}
void zynParameter::set_group_name(const utString& group) {
  impl().set(zynParameterImpl::GROUP_NAME, zynEvaluator::localize(group));
}

void zynParameter::set_active(const utString& expr) {
  zyn_eval_memo_changed();
  impl().set(zynParameterImpl::ACTIVE_EXPR, zynEvaluator::localize(expr));
  invalidate_active();
}

void zynParameter::set_impl(zynParameterImplPtr record) {
  // A member's record holds its activity condition; values made during an
  // evaluation (error copies among them) take records all the time.
  if (m_parent) zyn_eval_memo_changed();
  m_impl = std::move(record);
  invalidate_active();
}

// --- Parent links -------------------------------------------------------------

const zynParameter* zynParameter::borrowed_parent() const {
  return m_side->borrowed_parent.expired() ? nullptr : m_parent;
}

int zynParameter::is_descendent(const zynParameter* p) const {
  if (!p) return 0;
  for (const zynParameter* q = this; q; q = q->parent())
    if (q == p) return 1;
  return 0;
}

int zynParameter::is_held_below(const zynParameter* ancestor) const {
  for (const zynParameter* q = this; q; q = q->m_parent_borrowed ? nullptr : q->m_parent)
    if (q == ancestor) return 1;
  return 0;
}

// Linking and unlinking change what names resolve to, so kept evaluations go.
void zynParameter::link_par(zynParameterPtr child) {
  zyn_eval_memo_changed();
  zynParameter* c = child.pointer();
  c->m_parent = this;
  if (c->m_parent_borrowed) c->m_side->borrowed_parent.reset();
  c->m_parent_borrowed = false;
}

void zynParameter::unlink_par(zynParameterPtr child) {
  zyn_eval_memo_changed();
  zynParameter* c = child.pointer();
  c->m_parent = nullptr;
  if (c->m_parent_borrowed) c->m_side->borrowed_parent.reset();
  c->m_parent_borrowed = false;
}

// --- Base virtual behaviour --------------------------------------------------------

const utString& zynParameter::get_typename() const {
  static const utString invalid("Invalid typename");
  return invalid;
}

int zynParameter::get_precedence() const {
  const zynParameter* p = parent();
  return p ? p->get_precedence() : 0;
}

void zynParameter::set_onmodify_param_name(const utString& name) {
  if (zynParameter* p = parent()) p->set_onmodify_param_name(name);
}

zynParameterOnModify zynParameter::set_onmodify_callback(zynParameterOnModify) {
  exchange_onmodify_callback(nullptr);
  return nullptr;
}

zynParameterOnRead zynParameter::set_onread_callback(zynParameterOnRead) {
  if (m_side) m_side->onread = nullptr;
  return nullptr;
}

zynParameterOnModify zynParameter::exchange_onmodify_callback(zynParameterOnModify fn) {
  if (fn) s_modify_callbacks_set = true;
  if (!m_side && !fn) return nullptr;
  std::swap(fn, side().onmodify);
  return fn;
}

utString zynParameter::print(int) const { return "(UNKNOWN)\n"; }

utString zynParameter::get_string() const { return "#ERROR: Parameter cannot be represented by a string"; }

const zynRefToObjectId& zynParameter::get_ref_id() const { return zynRefToObjectId::empty(); }

double zynParameter::get_double_in_units(zynUnits, bool& ok) const {
  ok = true;
  return get_double();
}

void zynParameter::set_double_in_units(double, zynUnits, bool& ok) { ok = true; }

void zynParameter::copy_value_from(const zynParameter& source) {
  if (&source != this) set_string(source.get_expr());
}

zynParameterPtr zynParameter::operate_binary(const utString& op, const zynParameterPtr& other) const {
  if (op == "==") return zyn_create_bool(*this == *other);
  if (op == "!=") return zyn_create_bool(*this != *other);
  if (op == "[") {
    if (!other->is_valid()) return zynParameterError::create(PS_ERR_ARGUMENTS);
    zynParameterType t = get_type(*other);
    if (t == PT_NUMERIC) return (*this)[zynParameterKey(other->get_int(), utString())];
    if (t == PT_STRING) return (*this)[zynParameterKey(other->get_string())];
    return zynParameterError::create(PS_ERR_TYPE);
  }
  if (op == "." && get_type(*other) == PT_STRING) {
    if (!other->is_valid()) return zynParameterError::create(PS_ERR_ARGUMENTS);
    return (*this)[zynParameterKey(other->get_string())];
  }
  return zynParameterError::create(PS_ERR_TYPE);
}

zynParameterPtr zynParameter::operate_prefix(const utString&) const { return zynParameterError::create(PS_ERR_TYPE); }
zynParameterPtr zynParameter::operate_postfix(const utString&) const { return zynParameterError::create(PS_ERR_TYPE); }

const zynParameterPtr zynParameter::operator[](const zynParameterKey&) const {
  return zynParameterError::create(PS_ERR_TYPE);
}

zynParameterPtr zynParameter::operator[](const zynParameterKey&) { return zynParameterError::create(PS_ERR_TYPE); }

zynParameterPtr zynParameter::add(const zynParameterKey&, zynParameterPtr p) {
  p.release();
  return zynParameterError::create(PS_ERR_TYPE);
}

zynParameterPtr zynParameter::remove(const zynParameterKey&) { return zynParameterError::create(PS_ERR_TYPE); }

int zynParameter::is_equal(const zynParameter& other) const {
  return is_active() == other.is_active() && size() == other.size();
}

const zynRefToObjectId zynParameter::get_lock_id_imp(const zynParameter& p) const {
  const zynParameter* up = parent();
  return up ? up->get_lock_id_imp(p) : zynRefToObjectId::empty();
}

int zynParameter::operator==(const zynParameter& other) const {
  return type() == get_type(other) && is_equal(other);
}

// --- Measure and mirror modes -----------------------------------------------------

void zynParameter::set_measure_mode(zynParameterMeasureMode m) {
  zynParameterSubType s = subtype();
  if (m != PM_DEFAULT && (s == PS_REAL || s == PS_ANGLE)) m_measure_mode = m;
}

zynParameterMirrorMode zynParameter::get_mirror_mode() const {
  if (m_side && m_side->mirror_callback) return m_side->mirror_callback(this);
  return m_impl ? m_impl->mirror_mode() : PMM_NONE;
}

void zynParameter::set_mirror_mode(zynParameterMirrorMode m) { impl().set_mirror_mode(m); }

void zynParameter::set_mirror_mode_callback(zynParameterMirrorCallback fn) {
  if (m_side || fn) side().mirror_callback = fn;
}

// --- Locks -----------------------------------------------------------------------

int zynParameter::is_locked() const {
  if (zynParameterNoLock::no_lock()) return 0;
  if (m_lock && is_active()) return 1;
  const zynParameter* p = parent();
  return p ? p->is_locked() : 0;
}

// --- Path names and scoped resolution ---------------------------------------------

namespace {

// Removes the root type "t" (with its ".") from the front of "r".
void strip_root_type(utString& r, const utString& t) {
  if (r.compare(0, t.size(), t) != 0) return;
  r.erase(0, r.size() > t.size() && r[t.size()] == '.' ? t.size() + 1 : t.size());
}

}  // namespace

utString zynParameter::get_name(const zynParameter& par, int relative) {
  utString r = par.get_name();
  utString t;
  bool is_root = zyn_is_root(par);
  if (r.empty() && is_root) t = zyn_root_type(par);
  const zynParameter* up = par.parent();
  if (!r.empty()) {
    if (up && (relative == 0 || !is_root)) {
      utString p = get_name(*up, relative);
      if (!p.empty()) p += ".";
      r = p + r;
    }
  } else {
    if (up && zyn_is_container(*up)) {
      if (!(relative && is_root)) r = get_name(*up, relative);
      bool is_name_key = false;
      utString key = zyn_child_key_text(*up, par, is_name_key);
      if (!key.empty()) {
        if (!r.empty() && is_name_key) r += ".";
        r += key;
      }
    }
    if (r.empty()) r = t;
  }
  if (relative && !t.empty()) strip_root_type(r, t);
  return r;
}

zynParameterPtr zynParameter::resolve(const zynParameterKey& key) const {
  if (key.type() == PT_ERROR) return zynParameterError::create(PS_ERR_SYNTAX);
  zynParameterPtr found = (*this)[key];
  if (get_type(*found) == PT_ERROR && !found->is_ref()) {
    int mine = get_precedence();
    for (const zynParameter* up = parent(); up; up = up->parent())
      if (up->get_precedence() <= mine) return up->resolve(key);
  }
  return found;
}

// --- Evaluation --------------------------------------------------------------------

zynParameterPtr zynParameter::evaluate() const {
  if (m_eval_guard) {
    // A cycle: the answer depends on which evaluations are under way.
    zyn_eval_memo_context_dependent();
    return zynParameterError::create(PS_ERR_REFERENCE);
  }
  utString text = get_expr();
  if (text.empty()) return zynParameterError::create(PS_ERR_TYPE);
  zynEvalMemoFrame memo(*this);
  zynParameterPtr result;
  if (memo.recall(result)) return result;
  // Counted for the whole evaluation, re-evaluation of the result included,
  // so that chains of parameters (and results that are expressions again)
  // end in an error instead of exhausting the stack.
  zynEvalDepth depth(zynEvalDepth::parameter_weight);
  if (depth.exceeded()) {
    result = zynParameterError::create(PS_ERR_REFERENCE);
  } else {
    zynEvaluator evaluator(this);
    m_eval_guard = 1;
    zynParameterType t = type();
    result = (t == PT_STRING || t == PT_ENUM) ? zyn_create_string(evaluator.interpolate_string(text))
                                              : evaluator.evaluate(text);
    while (!result.is_null() && result->is_expr()) result = result->evaluate();
    m_eval_guard = 0;
  }
  memo.keep(result);
  return result;
}

// --- Activity ----------------------------------------------------------------------

int zynParameter::is_active() const {
  const zynParameter* p = parent();
  const zynActiveRecall memo = zyn_eval_memo_recall_active(this, p);
  if (memo.known >= 0) return memo.known;
  int active = 0;
  if (!p || memo.parent_active || p->is_active()) active = own_activity();
  if (memo.keep) zyn_eval_memo_keep_active(this, active);
  return active;
}

zynParameterActivityLinks& zynParameter::links() const { return side().links; }

const zynParameterPtrcoDList& zynParameter::get_dependencies() const { return links().dependencies; }
const zynParameterPtrcoDList& zynParameter::get_dependents() const { return links().dependents; }

void zynParameter::update_active() const {
  m_active_valid = 1;
  const utString& expr = get_active_expr();
  if (expr.empty()) {
    m_active_value = 1;
    if (m_side) {
      for (const zynParameterPtr& dep : m_side->links.dependencies) dep.raw()->remove_callback(this);
      m_side->links.dependencies.clear();
    }
    return;
  }
  zynEvaluator evaluator(parent());
  zynParameterPtr result = evaluator.evaluate(expr);
  if (get_type(*result) != PT_NUMERIC) {
    m_active_value = 0;
    m_active_valid = 0;
    return;
  }
  m_active_value = result->get_int();
  if (evaluator.has_function_param()) {
    m_active_valid = 0;
    return;
  }
  zynParameterPtrcoDList now;
  evaluator.get_paramset(now);
  zynParameterPtrcoDList& old = links().dependencies;
  auto contains = [](const zynParameterPtrcoDList& list, const zynParameter* p) {
    return std::any_of(list.begin(), list.end(), [p](const zynParameterPtr& q) { return q.raw() == p; });
  };
  for (const zynParameterPtr& dep : now)
    if (!contains(old, dep.raw())) dep.raw()->add_callback(this);
  for (const zynParameterPtr& dep : old)
    if (!contains(now, dep.raw())) dep.raw()->remove_callback(this);
  // The dependencies are held externally: a parameter never keeps alive
  // what its condition reads; teardown unlinks both sides instead.
  old.clear();
  for (const zynParameterPtr& dep : now) old.emplace_back(coPrfExternal, dep.raw());
}

void zynParameter::add_callback(const zynParameter* dependent) const {
  links().dependents.emplace_back(coPrfExternal, dependent);
}

void zynParameter::remove_callback(const zynParameter* dependent) const {
  if (m_side) m_side->links.dependents.remove_if([dependent](const zynParameterPtr& p) { return p.raw() == dependent; });
}

void zynParameter::remove_dependency(const zynParameter* dependency) const {
  if (m_side)
    m_side->links.dependencies.remove_if([dependency](const zynParameterPtr& p) { return p.raw() == dependency; });
}

void zynParameter::teardown_callbacks() {
  if (!m_side) return;
  zynParameterActivityLinks& links = m_side->links;
  for (const zynParameterPtr& dep : links.dependencies) dep.raw()->remove_callback(this);
  for (const zynParameterPtr& dep : links.dependents) {
    dep.raw()->invalidate_active();
    dep.raw()->remove_dependency(this);
  }
  links.dependencies.clear();
  links.dependents.clear();
}

void zynParameter::invalidate_dependents() const {
  if (!m_side) return;
  for (const zynParameterPtr& dep : m_side->links.dependents) dep.raw()->invalidate_active();
}
