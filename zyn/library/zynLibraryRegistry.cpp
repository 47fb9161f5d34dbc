#include "zyn/library/zynLibraryRegistry.h"

#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/library/zynLibrary_internal.h"

namespace {

utStringzynParameterLibEntrycoTable& registry() {
  static utStringzynParameterLibEntrycoTable table(50);
  return table;
}

void register_builtins(bool at_load) {
  const zynLibBuiltinTable groups[] = {
      zyn_lib_math_builtins(), zyn_lib_conversion_builtins(),   zyn_lib_vector_builtins(), zyn_lib_string_builtins(),
      zyn_lib_list_builtins(), zyn_lib_higher_order_builtins(), zyn_lib_system_builtins(),
  };
  for (const zynLibBuiltinTable& group : groups) {
    for (const zynLibBuiltin* row = group.rows; row != group.rows + group.count; ++row) {
      if (((row->flags & zyn_lib_at_load) != 0) != at_load) continue;
      zyn_lib_add_entry(row->name, row->routine, row->description);
      registry()[row->name].pure = (row->flags & zyn_lib_impure) == 0;
    }
  }
}

// The load-time names are callable as soon as the library is loaded.
const bool load_time_names_registered = (register_builtins(true), true);

}  // namespace

const utStringzynParameterLibEntrycoTable& zyn_lib_registry() { return registry(); }

int zyn_lib_add_entry(const utString& name, zynParameterLibRoutine routine, const utString& description) {
  zyn_eval_note_change();
  zynParameterLibEntry& entry = registry()[name];
  entry.routine = routine;
  entry.description = description;
  entry.pure = false;
  return static_cast<int>(registry().size());
}

const zynParameterLibEntry* zyn_lib_find_entry(const utString& name) {
  const utStringzynParameterLibEntrycoTable& table = registry();
  auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

void zyn_lib_register_first_library() {
  static bool done = false;
  if (done) return;
  done = true;
  register_builtins(false);
}
