#include "zyn/library/zynParameterDictArgs.h"

#include "zyn/core/zynParameterMap.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/library/zynLibArgs_internal.h"

using namespace zyn_lib_args;

int zynParameterLibFunctions::dict_check_args(const zynParameterPtr& args, int count, zynParameterDictArgs& out) {
  if (args->size() != count || count < 2 || count > 3) return 0;
  out.map = arg_as<zynParameterMap>(args, 0, out.map_arg);
  if (!out.map || zynParameter::get_subtype(*out.map) != PS_DICT) return 0;
  out.key_arg = arg(args, 1);
  if (!dict_valid_key(out.key_arg, out.key)) return 0;
  if (count == 3) {
    out.value_arg = arg(args, 2);
    if (!dict_valid_value(out.value_arg)) return 0;
  }
  return 1;
}

int zynParameterLibFunctions::dict_valid_key(const zynParameterPtr& k, zynParameterKey& key) {
  if (k->is_error()) return 0;
  zynParameterPtr text = target(k);
  if (!zynParameterString::ut_dynamic_cast(text.pointer())) return 0;
  zynParameterKey parsed(text->get_string());
  if (parsed.type() != PT_MAP || !parsed.remainder_str().empty()) return 0;
  key = parsed;
  return 1;
}

int zynParameterLibFunctions::dict_valid_value(const zynParameterPtr& v) {
  if (v->is_error()) return 0;
  zynParameterPtr text = target(v);
  return zynParameterString::ut_dynamic_cast(text.pointer()) ? 1 : 0;
}

zynParameterPtr zynParameterLibFunctions::dict_insert_value(const zynParameterDictArgs& d) {
  if (!d.map) return bad_arguments();
  zynParameterMap& map = *d.map;
  zynParameterPtr value = target(d.value_arg);
  zynParameterPtr existing = map[d.key];
  if (!existing->is_error()) {
    if (existing->is_locked()) return zynParameterLib::error(PS_ERR_UNKNOWN);
    existing->copy_value_from(*value);
  } else {
    // Adding adopts and renames what it stores: a parameter of another
    // container goes in as a copy with a record of its own (copies share
    // their name), so that its own tree keeps it unchanged.
    zynParameterPtr entry = value;
    if (value->parent()) {
      entry = value.copy();
      zynParameterUtils::clone_impl(*entry);
    }
    zynParameterPtr added = map.add(d.key, entry);
    if (added->is_error()) return added;
  }
  return new_int(map.size());
}
