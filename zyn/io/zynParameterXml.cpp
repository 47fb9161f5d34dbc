// The XML-like value export of zynParameter (see zynParameterXml.h).
#include "zyn/io/zynParameterXml.h"

#include "zyn/collections/zynParameterData.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterRoot.h"

namespace {

// Returns what "p" stands for, held so that it outlives later resolutions
// of the reference; a null pointer when a reference has no target.
zynParameterPtr hold_target(const zynParameterPtr& p) {
  zynParameter* q = p.par();
  if (!q) return zynParameterPtr();
  return q->reference_count() > 0 ? zynParameterPtr(q) : zynParameterPtr(coPrfExternal, q);
}

bool is_function(const zynParameter* q) { return q && zynParameter::get_type(*q) == PT_FUNCTION; }

// Returns the text of the member "Name" of "target", or "" when it has none.
utString name_member(const zynParameter& target) {
  const zynParameterPtr name = target[zynParameterKey("Name")];
  if (name->is_error() && !name->is_ref()) return utString();
  return name.par() ? name.par()->get_string() : utString();
}

utString name_line(const zynParameter& target) { return "\n<Name>" + name_member(target) + "</Name>"; }

// The summary of a reference that is not expanded.
utString ref_summary(const zynParameter& ref, bool valid, const zynParameter* target) {
  if (!target || !valid) return "\n<Name></Name>\n<Type></Type>\n";
  if (zynParameterRoot::ut_dynamic_cast(target))
    return name_line(*target) + "\n<Type>" + target->get_typename() + "</Type>\n";
  const zynParameterRef* r = zynParameterRef::ut_dynamic_cast(&ref);
  return r ? r->get_ref_string() : utString();
}

// The content of a map, root or array: its active children, one per line.
utString container_value(const zynParameter& q) {
  utString out;
  const zynParameterRoot* root = zynParameterRoot::ut_dynamic_cast(&q);
  if (root && !root->get_ref_id().is_valid()) {
    const zynParameterPtr name = q[zynParameterKey("Name")];
    if (!name->is_error() || name->is_ref()) out += name_line(q);
  }
  zynParameterNoRefExpand summarise;
  zynParameterIter walk(&q);
  walk.set_active_only(1);
  walk.set_max_depth(1);
  walk.exclude_functions(0);
  while (++walk) {
    out += '\n';
    out += zynParameter::to_xml(walk());
  }
  out += '\n';
  return out;
}

}  // namespace

utString zynParameter::to_xml(const zynParameterPtr& p) {
  const utString name = xml_name(p);
  if (name.empty()) return utString();
  return "<" + name + ">" + xml_value(p) + "</" + name + ">";
}

utString zynParameter::xml_name(const zynParameterPtr& p) {
  const zynParameter& self = *p;
  // Ask the reference everything before taking its target: asking again
  // resolves it again.
  const bool ref = self.is_ref();
  const bool summarised = ref && (!zynParameterNoRefExpand::expand() || !self.is_valid());
  const zynParameterPtr held = hold_target(p);
  const zynParameter* q = held.is_null() ? nullptr : held.raw();
  if (is_function(q)) return utString();
  if (summarised) {
    if (!self.get_name().empty()) return self.get_name();
    const zynParameterRef* r = zynParameterRef::ut_dynamic_cast(&self);
    if (r && !r->get_ref_root_type().empty()) return r->get_ref_root_type();
    return "reference";
  }
  if (!q) return utString();
  if (zynParameterRoot::ut_dynamic_cast(q)) return q->get_typename();
  if (!q->get_name().empty()) return q->get_name();
  return q->get_xml_typename();
}

utString zynParameter::xml_value(const zynParameterPtr& p) {
  const zynParameter& self = *p;
  const bool ref = self.is_ref();
  const bool valid = self.is_valid();
  const bool error = self.is_error();
  const zynParameterPtr held = hold_target(p);
  const zynParameter* q = held.is_null() ? nullptr : held.raw();
  if (is_function(q)) return utString();
  utString out;
  if (ref) {
    if (!zynParameterNoRefExpand::expand() || !q || !valid) return ref_summary(self, valid, q);
    out = name_line(*q);
  }
  if (!q || error) return out + "@Error";
  if (const zynParameterData* data = zynParameterData::ut_dynamic_cast(q)) {
    const zynRefToObjectId& id = data->get_id();
    const utString hex = id.is_valid() ? id.get_uid().get_uid()->hex_string() : utString();
    return out + "\n<id>" + hex + "</id>\n<type>" + data->get_data_type() + "</type>\n";
  }
  const zynParameterType t = get_type(*q);
  if (t == PT_NUMERIC) {
    if (!q->check_range()) return out + "@Range";
    return out + (q->is_valid() ? q->get_string() : utString("@Error"));
  }
  if (t == PT_STRING || t == PT_ENUM) return out + (q->is_valid() ? q->get_string() : utString("@Error"));
  return out + container_value(*q);
}
