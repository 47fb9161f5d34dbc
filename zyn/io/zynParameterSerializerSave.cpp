// Writing saved trees, the options and the selection rules shared with
// reading. The text format is described in zynParameterSerializer.h.
#include "zyn/io/zynParameterSerializer_internal.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <ostream>
#include <sstream>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/collections/zynParameterSharedList.h"
#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/core/zynParameterLoader.h"
#include "zyn/core/zynPrefetch_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/io/zynTextBuffer_internal.h"
#include "zyn/values/zynOwnKinds_internal.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

int32_t zynParameterSerializerCtrl::s_serializing = 0;

namespace {

// Output is handed to the stream once this much has gathered.
constexpr size_t flush_size = 1 << 16;

zynParameterKey header_key(const char* name) { return zynParameterKey(name); }

// The key of entries written without a selection, which need none.
const zynParameterKey& no_key() {
  static const zynParameterKey* const empty = new zynParameterKey();
  return *empty;
}

}  // namespace

std::unique_ptr<zynParameterRoot> zyn_new_serial_header() {
  auto header = std::make_unique<zynParameterRoot>("Header", 0, "");
  header->add(header_key("type"), zynParameterPtr(new zynParameterString()));
  header->add(header_key("version"), zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), 0)));
  header->add(header_key("time"), zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_TIME), 0)));
  return header;
}

zynParameterSerializer::zynParameterSerializer()
    : m_reader(std::make_unique<zynSerializerReader>(*this)), m_writer(std::make_unique<zynSerializerWriter>(*this)) {
  m_include_pars.reserve(4);
  m_exclude_pars.reserve(4);
  m_global_exclude_pars.reserve(4);
}

zynParameterSerializer::~zynParameterSerializer() = default;

zynParameterSerializer& zynParameterSerializer::get_template_serializer() {
  static zynParameterSerializer* const serializer = new zynParameterSerializer();  // lives to unload
  return *serializer;
}

zynParameterSerialError zynParameterSerializer::save(const zynParameterRoot& root, std::ostream& out) {
  return m_writer->save(root, out);
}

zynParameterSerialError zynParameterSerializer::save(const zynParameterRoot& root, CArchive& ar) {
  std::ostringstream out;
  const zynParameterSerialError e = save(root, out);
  if (e != PSE_OK) return e;
  ar << out.str();
  return ar.good() ? PSE_OK : PSE_STREAM;
}

zynSerializerWriter::zynSerializerWriter(const zynParameterSerializer& owner)
    : m_owner(owner), m_header(zyn_new_serial_header()), m_buffer(std::make_unique<zynTextBuffer>()) {}

zynSerializerWriter::~zynSerializerWriter() = default;

// --- Saving --------------------------------------------------------------------

zynParameterSerialError zynSerializerWriter::save(const zynParameterRoot& root, std::ostream& out) {
  m_options = m_owner.m_save;
  m_out = &out;
  m_depth = 0;
  m_error = PSE_OK;
  m_buffer->clear();
  m_writing.clear();
  if (!out.good()) return PSE_STREAM;
  (*m_header)[header_key("type")]->set_string(root.get_root_type());
  (*m_header)[header_key("version")]->set_int(root.version());
  // Whole seconds since 1970, written as text so that it does not wrap in 2038.
  (*m_header)[header_key("time")]->set_string(std::to_string(static_cast<long long>(std::time(nullptr))));
  m_in_header = 1;
  save_par(zynParameterPtr(coPrfExternal, m_header.get()), zynParameterKey());
  m_in_header = 0;
  if (m_error == PSE_OK) {
    indent();
    save_par(zynParameterPtr(coPrfExternal, &root), zynParameterKey());
  }
  flush_output();
  m_out = nullptr;
  if (!out.good()) return PSE_STREAM;
  return m_error;
}

void zynSerializerWriter::flush_output() {
  if (!m_out || m_buffer->size() == 0) return;
  const std::string_view text = m_buffer->view();
  if (m_out->good()) m_out->write(text.data(), static_cast<std::streamsize>(text.size()));
  m_buffer->clear();
  if (!m_out->good()) m_error = PSE_STREAM;
}

void zynSerializerWriter::indent() {
  if (m_options.compact_mode) return;
  m_buffer->new_line(static_cast<size_t>(std::max(m_depth, 0)));
}

void zynSerializerWriter::space() {
  if (!m_options.compact_mode) m_buffer->put(' ');
}

void zynSerializerWriter::save_text(std::string_view text) {
  m_buffer->append_quoted(text);
  if (m_buffer->size() >= flush_size) flush_output();
}

void zynSerializerWriter::save_par(const zynParameterPtr& p, const zynParameterKey& key) {
  if (!m_out || !m_out->good()) {
    m_error = PSE_STREAM;
    return;
  }
  const zynParameter& par = *p;
  if (par.is_ref()) {
    // A followed reference met again inside its own target is written as
    // a reference, or the walk would not end.
    const zynParameter* target = par.get_ref();
    if (!m_options.follow_refs || !target || std::find(m_writing.begin(), m_writing.end(), target) != m_writing.end()) {
      save_ref(par);
      return;
    }
  }
  const zynParameterType type = zynParameter::get_type(par);
  switch (type) {
    case PT_ERROR: save_text(utString()); return;
    case PT_MAP: save_map(p, key); return;
    case PT_ARRAY: save_array(p, key); return;
    default: break;
  }
  // A formula whose value is an error is kept as the formula: its value has
  // no text, and an empty one would lose what the entry said.
  const bool as_value = m_options.evaluate && !(par.is_expr() && zynParameter::evaluate(par)->is_error());
  // A scalar's stored text is written where it lies.
  const zynParameterScalar* scalar = as_value ? nullptr : zyn_scalar_cast(par);
  utString copy;
  const utString& text = scalar ? scalar->expr_text() : (copy = as_value ? par.get_string() : par.get_expr());
  // Only a number or a formula with a "," reads differently in the neutral form.
  const bool neutral = (type == PT_NUMERIC || (!as_value && par.is_expr())) &&
                       std::find(text.begin(), text.end(), ',') != text.end();
  save_text(neutral ? zynEvaluator::neutralize(text) : text);
}

// ref -> "&" text | "roottype:&" text (with type information)
void zynSerializerWriter::save_ref(const zynParameter& p) {
  const utString text = zynEvaluator::neutralize(p[zynParameterKey("_ref")]->get_string());
  const zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(&p);
  if (m_options.save_typeinfo && ref) save_text(ref->get_ref_root_type() + ":&" + text);
  else save_text("&" + text);
}

int zynSerializerWriter::skipped(const zynParameter& p, const zynParameter* active_container,
                                 const zynParameterKey& key, bool selecting) const {
  // Built-ins, bound and member functions have no text that reads back: they
  // are the host's. Functions defined by a body are saved like any value.
  if (zynParameter::get_type(p) == PT_FUNCTION && zynParameter::get_subtype(p) != PS_FUNCTION) return 1;
  if (!m_options.save_inactive && !zyn_member_active(p, active_container)) return 1;
  if (!m_options.save_invalid && !p.is_valid()) return 1;
  return selecting && !should_include(key);
}

// map -> "{" [entry {"," entry}] "}"
void zynSerializerWriter::save_map(const zynParameterPtr& p, const zynParameterKey& key) {
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(p.par());
  if (!map || m_depth >= zynParameterSerializer::max_nesting) {
    if (map) m_error = PSE_SYNTAX;
    return;
  }
  m_writing.push_back(map);
  const zynParameter* active = !m_options.save_inactive && map->is_active() ? map : nullptr;
  const zynKnownActive known(active);
  m_buffer->put('{');
  ++m_depth;
  const bool with_keys = selection_active();
  bool first = true;
  const zynParameterMapMembers& members = map->members();
  for (size_t i = 0; i < members.size(); ++i) {
    const zynParameterMapMember& member = members[i];
    if (m_error != PSE_OK) break;
    if (i + 2 < members.size()) zyn_prefetch(members[i + 2].value.raw(), 2);
    std::optional<zynParameterKey> joined;
    if (with_keys) joined.emplace(key + zynParameterKey(member.name));
    const zynParameterKey& child_key = joined ? *joined : no_key();
    if (skipped(*member.value, active, child_key, with_keys)) continue;
    if (!first) m_buffer->put(',');
    first = false;
    indent();
    save_text(member.name);
    if (!m_in_header && m_options.save_typeinfo) save_entry_typeinfo(*member.value);
    if (m_options.compact_mode) m_buffer->put(':');
    else m_buffer->append_literal(" : ");
    save_par(member.value, child_key);
  }
  --m_depth;
  indent();
  m_buffer->put('}');
  m_writing.pop_back();
}

void zynSerializerWriter::save_entry_typeinfo(const zynParameter& child) {
  space();
  save_text(get_type_from_par(child));
  space();
  save_text(child.get_desc());
  const zynRefToObjectId lock = child.get_lock_id();
  if (lock.is_valid()) {
    space();
    save_text(lock.get_uid().get_uid()->hex_string());
  }
}

// array -> "(" [slot {"," slot}] ")"; a skipped element leaves an empty slot
// (except in a list) so that positions survive.
void zynSerializerWriter::save_array(const zynParameterPtr& p, const zynParameterKey& key) {
  const zynParameterArray* array = zynParameterArray::ut_dynamic_cast(p.par());
  if (!array || m_depth >= zynParameterSerializer::max_nesting) {
    if (array) m_error = PSE_SYNTAX;
    return;
  }
  m_writing.push_back(array);
  const zynParameter* active = !m_options.save_inactive && array->is_active() ? array : nullptr;
  const zynKnownActive known(active);
  m_buffer->put('(');
  ++m_depth;
  const bool with_keys = selection_active();
  const bool keep_slots = zynParameter::get_subtype(*array) != PS_LIST;
  const int n = array->size();
  bool first = true;
  for (int i = 0; i < n && m_error == PSE_OK; ++i) {
    const zynParameterPtr element = array->get_element(i);
    std::optional<zynParameterKey> joined;
    if (with_keys) joined.emplace(key + zynParameterKey(i, utString()));
    const zynParameterKey& element_key = joined ? *joined : no_key();
    const bool skip = skipped(*element, active, element_key, with_keys);
    if (skip && !keep_slots) continue;
    if (!first) m_buffer->put(',');
    first = false;
    indent();
    if (!skip) save_par(element, element_key);
  }
  --m_depth;
  indent();
  m_buffer->put(')');
  m_writing.pop_back();
}

// --- Type codes ----------------------------------------------------------------

utString zynSerializerWriter::get_type_from_par(const zynParameter& p) const {
  if (!m_options.follow_refs && p.is_ref()) return "&";
  const zynParameter* q = p.get_ref();
  if (!q) return utString();
  switch (zynParameter::get_subtype(*q)) {
    case PS_MAP: return "M";
    case PS_VECTOR: {
      if (zynParameterTempArray::ut_dynamic_cast(q)) return utString();
      const zynParameterArray* v = zynParameterArray::ut_dynamic_cast(q);
      utString code = "V" + std::to_string(q->size());
      if (v && v->size() > 0) code += get_type_from_par(*v->get_element(0));
      return code;
    }
    case PS_LIST: {
      const zynParameterList* list = zynParameterList::ut_dynamic_cast(q);
      return list ? "L" + get_type_from_par(list->get_element_type()) : utString();
    }
    case PS_SHAREDLIST: {
      const zynParameterSharedList* list = zynParameterSharedList::ut_dynamic_cast(q);
      return list ? "H" + get_type_from_par(list->get_element_type()) : utString();
    }
    case PS_STRING: return "S";
    case PS_REAL: {
      const zynParameterNumeric* n = zynParameterNumeric::ut_dynamic_cast(q);
      return n ? "R" + n->get_dim().get_string() : utString();
    }
    case PS_INT: return "I";
    case PS_BOOL: return "B";
    case PS_ANGLE: return "A";
    case PS_ENUM: return "E";
    case PS_FUNCTION: return "F";
    case PS_DATA: return "U";
    default: return utString();
  }
}

// --- Selection -------------------------------------------------------------------

int zynParameterSerializer::should_include(const zynParameterKey& key) const {
  bool included = m_include_pars.empty();
  // Walk the prefixes of the key from its first component to the whole key;
  // the deepest one found in a set decides.
  zynParameterKey prefix;
  zynParameterKey rest = key;
  for (int steps = 0; !rest.str().empty() && steps <= max_nesting; ++steps) {
    prefix = prefix + rest.first_key();
    const utString& text = prefix.str();
    if (m_exclude_all || m_exclude_pars.count(text)) included = false;
    if (m_include_pars.count(text)) included = true;
    rest = rest.remainder();
  }
  if (included || m_include_pars.empty()) return included;
  // An ancestor on the way to an included key.
  const utString& text = key.str();
  if (m_global_exclude_pars.count(text)) return 0;
  for (const utString& inc : m_include_pars) {
    if (inc.size() <= text.size() || inc.compare(0, text.size(), text) != 0) continue;
    const char next = inc[text.size()];
    if (text.empty() || next == '.' || next == '[') return 1;
  }
  return 0;
}
