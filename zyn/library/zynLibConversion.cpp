// Built-ins of the conversion and inspection group: state_active, string,
// active, evaluate, size, locked, error, convert, translate, desc,
// get_func_args, to_xml, values, get_typename, dict_set_value, map_key. They look at
// a parameter (its state, text, description, type name) or give it another
// form (a string, a value in named units, the states of an enumeration).
// Their rows reach the registry through zyn_lib_conversion_builtins().
#include <cmath>

#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynText.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/library/zynLibArgs_internal.h"
#include "zyn/library/zynLibrary_internal.h"
#include "zyn/library/zynParameterDictArgs.h"
#include "zyn/library/zynParameterNameSanitizer.h"
#include "zyn/values/zynParameterEnum.h"

using namespace zyn_lib_args;

namespace {

utString translated(const utString& text) { return zynNLS_get_translated_message(text.c_str()); }

// Sets "out" to the only argument of "args"; false when there is not exactly one.
[[nodiscard]] bool single(const zynParameterPtr& args, zynParameterPtr& out) {
  if (args->size() != 1) return false;
  out = arg(args, 0);
  return true;
}

// --- State ---------------------------------------------------------------------

// active(p) -> is_active(); locked(p) -> is_locked(). Errors have neither.
template <int (zynParameter::*Test)() const>
zynParameterPtr state_of(const zynParameterPtr& args) {
  zynParameterPtr p;
  if (!single(args, p) || p->is_error()) return bad_arguments();
  return new_bool(((*p).*Test)());
}

zynParameterPtr error_routine(const zynParameterPtr& args) {
  zynParameterPtr p;
  if (!single(args, p)) return bad_arguments();
  return new_bool(p->is_error());
}

zynParameterPtr size_routine(const zynParameterPtr& args) {
  zynParameterPtr p;
  if (!single(args, p)) return bad_arguments();
  return new_int(p->size());
}

// state_active(e, s): 0 for an inactive enumeration, whatever s is.
zynParameterPtr state_active_routine(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr e;
  zynParameterPtr s;
  const zynParameterEnum* en = arg_as<zynParameterEnum>(args, 0, e);
  const zynParameterString* state = arg_as<zynParameterString>(args, 1, s);
  if (!en || !state) return bad_arguments();
  if (!en->is_active()) return new_bool(0);
  const int i = en->find_index(state->get_string());
  if (i < 0) return bad_arguments();
  return new_bool(en->is_state_active(i));
}

// --- Text forms ---------------------------------------------------------------

zynParameterPtr string_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr x;
  if (!arg_as<zynParameterScalar>(args, 0, x) || !x->is_valid()) return bad_arguments();
  return new_string(x->get_string());
}

zynParameterPtr translate_routine(const zynParameterPtr& args) {
  zynParameterPtr x;
  if (!single(args, x)) return bad_arguments();
  return new_string(x->get_translated_string());
}

// to_xml(x): any kind, an error argument included, exports as it stands.
zynParameterPtr to_xml_routine(const zynParameterPtr& args) {
  zynParameterPtr x;
  if (!single(args, x)) return bad_arguments();
  return new_string(zynParameter::to_xml(x));
}

zynParameterPtr get_typename_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr m;
  if (!arg_as<zynParameterMap>(args, 0, m)) return bad_arguments();
  return new_string(m->get_typename());
}

// desc(p) -> the description of p; desc(e, s) -> that of the state s of e.
zynParameterPtr desc_routine(const zynParameterPtr& args) {
  if (args->size() == 1) {
    const utString& d = arg(args, 0)->get_desc();
    return new_string(d.empty() ? utString() : translated(d));
  }
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr e;
  zynParameterPtr s = arg(args, 1);
  const zynParameterEnum* en = arg_as<zynParameterEnum>(args, 0, e);
  if (!en || zynParameter::get_type(*s) != PT_STRING) return bad_arguments();
  const utString d = en->get_state_desc(s->get_string());
  if (d.empty()) return zynParameterLib::error(PS_ERR_NAME);
  return new_string(translated(d));
}

// values(e) -> the translated titles of the states of e, in order. A state
// without title is shown by its name, as the enumeration shows itself.
zynParameterPtr values_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr e;
  const zynParameterEnum* en = arg_as<zynParameterEnum>(args, 0, e);
  if (!en) return bad_arguments();
  zynParameterPtr result(new zynParameterTempArray());
  for (int i = 0; i < en->num_states(); ++i) {
    const utString name = en->find_state(i);
    const utString title = en->get_state_title(name);
    result->add(zynParameterKey(), new_string(translated(title.empty() ? name : title)));
  }
  return result;
}

zynParameterPtr map_key_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr s;
  if (!arg_as<zynParameterScalar>(args, 0, s)) return bad_arguments();
  return new_string(zynParameterNameSanitizer().map_key(s->get_string()));
}

// --- Evaluation -----------------------------------------------------------------

// evaluate(t) -> the value of the text t in the evaluation scope.
zynParameterPtr evaluate_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr t = arg(args, 0);
  if (zynParameter::get_subtype(*t) != PS_STRING) return bad_arguments();
  zynParameterPtr scope = zynParameterLib::get_eval_scope();
  if (scope.is_null() || scope->is_error()) return bad_arguments();
  zynEvaluator evaluator(scope.pointer());
  return evaluator.evaluate(t->get_string());
}

zynParameterPtr get_func_args_routine(const zynParameterPtr& args) { return args; }

// --- Units ---------------------------------------------------------------------------

// The factors from internal units (kilograms, millimetres, minutes) to the
// units named so far.
struct UnitFactors {
  double mass = 1.0;
  double length = 1.0;
  double time = 1.0;
};

// Applies one unit word; false for a word that names no unit.
[[nodiscard]] bool apply_unit(const utString& word, UnitFactors& f) {
  const double mm = zynUnitsUtils::get_scale_to(zynUnitsMetric);
  const double inch = zynUnitsUtils::get_scale_to(zynUnitsImperial);
  struct Unit {
    const char* word;
    double UnitFactors::*factor;
    double value;
  };
  const Unit units[] = {
      {"tonne", &UnitFactors::mass, 0.001},   {"kg", &UnitFactors::mass, 1.0},
      {"g", &UnitFactors::mass, 1000.0},      {"m", &UnitFactors::length, mm / 1000.0},
      {"cm", &UnitFactors::length, mm / 10.0}, {"mm", &UnitFactors::length, mm},
      {"um", &UnitFactors::length, mm / 0.001}, {"yd", &UnitFactors::length, inch / 36.0},
      {"ft", &UnitFactors::length, inch / 12.0}, {"in", &UnitFactors::length, inch},
      {"th", &UnitFactors::length, inch / 0.001}, {"dy", &UnitFactors::time, 1.0 / 1440.0},
      {"hr", &UnitFactors::time, 1.0 / 60.0},   {"mn", &UnitFactors::time, 1.0},
      {"s", &UnitFactors::time, 60.0},          {"ms", &UnitFactors::time, 60000.0},
      {"us", &UnitFactors::time, 60000000.0},
  };
  for (const Unit& u : units) {
    if (word == u.word) {
      f.*u.factor = u.value;
      return true;
    }
  }
  return false;
}

// convert(v, u) -> v in the units of u. The direction of each unit comes
// from the sign of its exponent in v's dimensions: "mm/mn" and "mm mn"
// convert a feed rate alike.
zynParameterPtr convert_routine(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr v;
  const zynParameterNumeric* number = arg_as<zynParameterNumeric>(args, 0, v);
  zynParameterPtr u = arg(args, 1);
  if (!number || !number->is_valid() || zynParameter::get_type(*u) != PT_STRING || !u->is_valid())
    return bad_arguments();
  utStringcoDList words;
  zyntokens(u->get_string(), " .,/|", words);
  UnitFactors f;
  for (const utString& word : words)
    if (!apply_unit(word, f)) return bad_arguments();
  const zynDimensions& dims = number->get_dim();
  const double x = number->get_double() * std::pow(f.mass, dims.M()) * std::pow(f.length, dims.L()) *
                   std::pow(f.time, dims.T());
  return new_number(PS_REAL, x);
}

// --- Dictionaries -----------------------------------------------------------------

zynParameterPtr dict_set_value_routine(const zynParameterPtr& args) {
  zynParameterDictArgs d;
  if (!zynParameterLibFunctions::dict_check_args(args, 3, d)) return bad_arguments();
  return zynParameterLibFunctions::dict_insert_value(d);
}

constexpr zynLibBuiltin builtins[] = {
    {"state_active", &state_active_routine, zyn_lib_at_load, "Test whether an enum state of a parameter is active."},
    {"string", &string_routine, 0, "Convert to string."},
    {"active", &state_of<&zynParameter::is_active>, 0, "Returns true if the parameter is active."},
    {"evaluate", &evaluate_routine, 0, "Returns result of evaluating string argument."},
    {"size", &size_routine, 0, "Returns the number of items that the parameter has."},
    {"locked", &state_of<&zynParameter::is_locked>, 0, "Returns true if the parameter is locked."},
    {"error", &error_routine, 0, "Returns true if the given parameter is an error"},
    {"convert", &convert_routine, 0, "Convert value to specified units."},
    {"translate", &translate_routine, 0, "Translate value to local language if possible."},
    {"desc", &desc_routine, 0, "Get description of parameter."},
    {"get_func_args", &get_func_args_routine, 0, "Get function arguments as an array."},
    {"to_xml", &to_xml_routine, 0, "Outputs the given parameter as xml string"},
    {"values", &values_routine, 0, "values(enum) : returns a list of the values in an enum"},
    {"get_typename", &get_typename_routine, 0, "get_typename(obj) : Get an object's typename."},
    {"dict_set_value", &dict_set_value_routine, zyn_lib_impure,
     "dict_set_value(dict, key_string, value_string) : Sets a key/value in a dictionary - create if missing."},
    {"map_key", &map_key_routine, 0, "map_key(key_string) : Transforms key_string to a valid map key"},
};

}  // namespace

zynLibBuiltinTable zyn_lib_conversion_builtins() { return zyn_lib_table(builtins); }
