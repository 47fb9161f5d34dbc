#include "zyn/library/zynParameterLib.h"

#include <memory>

#include "zyn/collections/zynParameterList.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/host/zynText.h"
#include "zyn/library/zynLibrary_internal.h"

ZYN_DEFINE_TYPE(zynParameterLib, zynParameterFunction)

namespace {

const char keys_name[] = "_keys";

zynParameterPtr& eval_scope() {
  static zynParameterPtr scope;
  return scope;
}

giAngleType angle_unit = static_cast<giAngleType>(0);

}  // namespace

zynParameterLib::zynParameterLib() : zynParameterFunction(utString()) { init_table(); }

zynParameterLib::zynParameterLib(const zynParameterLib& other, const utString& name) : zynParameterFunction(other) {
  // Copies share their record; a handle is described on its own.
  set_impl(std::make_shared<zynParameterImpl>(*other.get_impl()));
  set_body(name);
}

zynParameter* zynParameterLib::create_new() const { return new zynParameterLib(*this, utString()); }

utString zynParameterLib::print(int) const {
  if (body().empty()) return "(STANDARD FUNCTION LIBRARY)\n";
  return "(STANDARD FUNCTION) " + body() + "\n";
}

int zynParameterLib::size() const {
  return body().empty() ? static_cast<int>(zyn_lib_registry().size()) : 0;
}

zynParameterPtr zynParameterLib::lookup(const zynParameterKey& key) const {
  utString name = key.first();
  zyndowncase(name);
  if (name == keys_name) return list_names();
  if (!key.remainder_str().empty()) return error(PS_ERR_NAME);
  const zynParameterLibEntry* entry = zyn_lib_find_entry(name);
  if (!entry) return error(PS_ERR_NAME);
  zynParameterLib* handle = new zynParameterLib(*this, name);
  handle->set_desc(entry->description);
  return zynParameterPtr(handle);
}

const zynParameterPtr zynParameterLib::operator[](const zynParameterKey& key) const { return lookup(key); }

zynParameterPtr zynParameterLib::operator[](const zynParameterKey& key) { return lookup(key); }

zynParameterPtr zynParameterLib::operate_binary(const utString& op, const zynParameterPtr& arg) const {
  if (op != "(") return zynParameter::operate_binary(op, arg);
  const zynParameterLibEntry* entry = body().empty() ? nullptr : zyn_lib_find_entry(body());
  if (!entry || !entry->routine) return error(PS_ERR_NAME);
  zynLibCallDepth depth;
  if (!depth.ok()) return error(PS_ERR_REFERENCE);
  if (!entry->pure) zyn_eval_memo_changed();
  return entry->routine(arg);
}

int zynParameterLib::add_entry(const utString& name, zynParameterLibRoutine routine, const utString& description) {
  return zyn_lib_add_entry(name, routine, description);
}

zynParameterPtr zynParameterLib::error(int code) { return zynParameterError::create(code); }

void zynParameterLib::set_eval_scope(zynParameterPtr scope) {
  zyn_eval_note_change();
  eval_scope() = std::move(scope);
}

zynParameterPtr zynParameterLib::get_eval_scope() { return eval_scope(); }

zynParameterPtr zynParameterLib::list_names() const {
  zynParameterList* list = new zynParameterList(zyn_create_string(utString()));
  zynParameterPtr result(list);
  for (const auto& entry : zyn_lib_registry()) (*list)[zynParameterKey(-1, utString())]->set_string(entry.first);
  return result;
}

void zynParameterLib::set_angle_unit(giAngleType unit) {
  zyn_eval_note_change();
  angle_unit = unit;
}

giAngleType zynParameterLib::get_angle_unit() { return angle_unit; }

void zynParameterLib::init_table() { zyn_lib_register_first_library(); }
