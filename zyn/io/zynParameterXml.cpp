// The XML-like value export of zynParameter (see zynParameterXml.h).
#include "zyn/io/zynParameterXml.h"

#include "zyn/collections/zynParameterData.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/core/zynPrefetch_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/io/zynTextBuffer_internal.h"
#include "zyn/values/zynOwnKinds_internal.h"
#include "zyn/values/zynParameterNumeric.h"

#include <atomic>
#include <optional>

namespace {

// Returns what "p" stands for, held so that it outlives later resolutions
// of the reference; a null pointer when a reference has no target.
zynParameterPtr hold_target(const zynParameterPtr& p) {
  zynParameter* q = p.par();
  if (!q) return zynParameterPtr();
  // What stands for itself is held by "p" already.
  return q != p.raw() && q->reference_count() > 0 ? zynParameterPtr(q) : zynParameterPtr(coPrfExternal, q);
}

// What the name and the content of an element both ask of a parameter, asked
// once: asking a reference again resolves it again.
struct zynXmlSubject {
  explicit zynXmlSubject(const zynParameterPtr& p)
      : self(*p), ref(self.is_ref()), valid(ref && self.is_valid()), error(self.is_error()),
        held(ref ? std::optional<zynParameterPtr>(hold_target(p)) : std::nullopt),
        q(!ref ? &self : held->is_null() ? nullptr : held->raw()), type(q ? zynParameter::get_type(*q) : PT_ERROR) {}
  bool is_function() const { return q && type == PT_FUNCTION; }
  const zynParameter& self;
  const bool ref;
  const bool valid;  // asked of references only, the one kind that needs it
  const bool error;
  const std::optional<zynParameterPtr> held;  // what a reference stands for
  const zynParameter* const q;
  const zynParameterType type;  // of "q"
};

// Writes elements into one buffer: each value is appended where it belongs,
// with no intermediate string per element.
class zynXmlWriter {
 public:
  // "xml_typename" answers the protected zynParameter::get_xml_typename.
  using Typename = utString (*)(const zynParameter&);
  zynXmlWriter(zynTextBuffer& out, Typename xml_typename) : m_out(out), m_xml_typename(xml_typename) {}

  void element(const zynParameterPtr& p) {
    // A named value of the library's own scalar kinds that needs no
    // evaluation: no reference, error or function to tell apart.
    const zynParameter& par = *p;
    const utString* text = zyn_plain_scalar_text(par);
    if (text && !par.get_name().empty()) return plain_element(par.get_name(), *text);
    const zynXmlSubject s(p);
    const size_t name_at = m_out.size() + 1;
    m_out.put('<');
    if (!name(s)) {
      m_out.truncate(name_at - 1);  // no name, no element
      return;
    }
    const size_t name_size = m_out.size() - name_at;
    m_out.put('>');
    value(s);
    m_out.append("</");
    m_out.repeat(name_at, name_size);
    m_out.put('>');
  }

  void plain_element(const utString& name, const utString& text) {
    m_out.put('<');
    m_out.append(name);
    m_out.put('>');
    m_out.append(text);
    m_out.append("</");
    m_out.append(name);
    m_out.put('>');
  }

  // Appends the element name; returns false when there is none.
  bool name(const zynXmlSubject& s) {
    if (s.is_function()) return false;
    const size_t before = m_out.size();
    if (s.ref && (!zynParameterNoRefExpand::expand() || !s.valid)) {
      const zynParameterRef* r = zynParameterRef::ut_dynamic_cast(&s.self);
      if (!s.self.get_name().empty()) m_out.append(s.self.get_name());
      else if (r && !r->get_ref_root_type().empty()) m_out.append(r->get_ref_root_type());
      else m_out.append("reference");
      return true;
    }
    if (!s.q) return false;
    if (s.type == PT_MAP && zynParameterRoot::ut_dynamic_cast(s.q)) m_out.append(s.q->get_typename());
    else if (!s.q->get_name().empty()) m_out.append(s.q->get_name());
    else m_out.append(m_xml_typename(*s.q));
    return m_out.size() > before;
  }

  void value(const zynXmlSubject& s) {
    const zynParameter* q = s.q;
    if (s.is_function()) return;
    if (s.ref) {
      if (!zynParameterNoRefExpand::expand() || !q || !s.valid) return ref_summary(s);
      name_line(*q);
    }
    if (!q || s.error) return m_out.append("@Error");
    const zynParameterType t = s.type;
    if (t == PT_NUMERIC || t == PT_STRING || t == PT_ENUM) return scalar(*q, t == PT_NUMERIC);
    if (const zynParameterData* data = zynParameterData::ut_dynamic_cast(q)) {
      const zynRefToObjectId& id = data->get_id();
      m_out.append("\n<id>");
      if (id.is_valid()) m_out.append(id.get_uid().get_uid()->hex_string());
      m_out.append("</id>\n<type>");
      m_out.append(data->get_data_type());
      return m_out.append("</type>\n");
    }
    container(*q);
  }

 private:
  // A formula is evaluated once for its range, its validity and its text. A
  // numeric without a range keeps the value its first read gives by itself,
  // unless kept values are off (the reference evaluator, read callbacks).
  void scalar(const zynParameter& q, bool numeric) {
    if (const utString* text = zyn_plain_scalar_text(q)) return m_out.append(*text);
    std::optional<zynEvalMemoScope> memo;
    if (q.is_expr()) {
      const zynParameterNumeric* n = numeric ? zynParameterNumeric::ut_dynamic_cast(&q) : nullptr;
      if (!n || !n->get_range().invalid() || zyn_eval_reference_mode || zyn_eval_read_callbacks) memo.emplace();
    }
    if (numeric && !q.check_range()) return m_out.append("@Range");
    if (!q.is_valid()) return m_out.append("@Error");
    m_out.append(q.get_string());
  }

  // The member "Name" of "target" (empty when it has none) as a Name line.
  void name_line(const zynParameter& target) {
    const zynParameterPtr name = target[zynParameterKey("Name")];
    m_out.append("\n<Name>");
    if (!name->is_error() || name->is_ref())
      if (const zynParameter* n = name.par()) m_out.append(n->get_string());
    m_out.append("</Name>");
  }

  // The summary of a reference that is not expanded.
  void ref_summary(const zynXmlSubject& s) {
    if (!s.q || !s.valid) return m_out.append("\n<Name></Name>\n<Type></Type>\n");
    if (zynParameterRoot::ut_dynamic_cast(s.q)) {
      name_line(*s.q);
      m_out.append("\n<Type>");
      m_out.append(s.q->get_typename());
      return m_out.append("</Type>\n");
    }
    if (const zynParameterRef* r = zynParameterRef::ut_dynamic_cast(&s.self)) m_out.append(r->get_ref_string());
  }

  // The content of a map, root or array: its active children, one per line.
  void container(const zynParameter& q) {
    const zynParameterRoot* root = zynParameterRoot::ut_dynamic_cast(&q);
    if (root && !root->get_ref_id().is_valid()) {
      const zynParameterPtr name = q[zynParameterKey("Name")];
      if (!name->is_error() || name->is_ref()) name_line(q);
    }
    zynParameterNoRefExpand summarise;
    const zynParameter* active = q.is_active() ? &q : nullptr;
    const zynKnownActive known(active);
    if (const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(&q)) {
      const zynParameterMapMembers& members = map->members();
      for (size_t i = 0; i < members.size(); ++i) {
        // The member after next, and the record (its name) of the next.
        if (i + 2 < members.size()) zyn_prefetch(members[i + 2].value.raw(), 2);
        if (i + 1 < members.size()) zyn_prefetch(&members[i + 1].value.raw()->get_name());
        child(members[i].value, active);
      }
    } else if (zynParameter::get_type(q) == PT_ARRAY) {
      for (int i = 0; i < q.size(); ++i) child(q[zynParameterKey(i, utString())], active);
    }
    m_out.put('\n');
  }

  void child(const zynParameterPtr& c, const zynParameter* active_container) {
    if (!zyn_member_active(*c, active_container)) return;
    m_out.put('\n');
    element(c);
  }

  zynTextBuffer& m_out;
  const Typename m_xml_typename;
};

}  // namespace

utString zynParameter::to_xml(const zynParameterPtr& p) {
  // Room for what the last export of the same parameter wrote: a tree
  // exported again needs no regrowing (and zero-filling) of the buffer on the
  // way. Only a hint: a parameter at a reused address costs at most room.
  static std::atomic<const zynParameter*> last_par{nullptr};
  static std::atomic<size_t> last_size{0};
  zynTextBuffer out;
  if (last_par.load(std::memory_order_relaxed) == p.raw()) out.reserve(last_size.load(std::memory_order_relaxed));
  zynXmlWriter(out, [](const zynParameter& q) { return q.get_xml_typename(); }).element(p);
  last_par.store(p.raw(), std::memory_order_relaxed);
  last_size.store(out.size(), std::memory_order_relaxed);
  return out.take();
}

utString zynParameter::xml_name(const zynParameterPtr& p) {
  zynTextBuffer out;
  if (!zynXmlWriter(out, [](const zynParameter& q) { return q.get_xml_typename(); }).name(zynXmlSubject(p)))
    return utString();
  return out.take();
}

utString zynParameter::xml_value(const zynParameterPtr& p) {
  zynTextBuffer out;
  zynXmlWriter(out, [](const zynParameter& q) { return q.get_xml_typename(); }).value(zynXmlSubject(p));
  return out.take();
}
