// Built-ins of the higher-order list group: extract, filter, apply, flatten,
// join, sort, reverse. Each walks an array (vector, temporary array, list or
// shared list) by index. Expressions are evaluated with the element, or a
// pair of elements, as the context parameter, so names resolve against the
// element first. Results are new temporary arrays that share the elements,
// except join (a string) and sort (a sorted copy of the argument). Every
// failure is "Invalid arguments" and discards the partial result.
#include "zyn/library/zynLibrary_internal.h"

#include <utility>
#include <vector>

#include "zyn/collections/zynParameterArray.h"
#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/library/zynLibArgs_internal.h"

using namespace zyn_lib_args;

namespace {

const zynParameterArray* as_array(const zynParameterPtr& p) { return zynParameterArray::ut_dynamic_cast(p.pointer()); }

const zynParameterString* as_string(const zynParameterPtr& p) {
  return zynParameterString::ut_dynamic_cast(p.pointer());
}

bool is_numeric(const zynParameterPtr& p) { return zynParameterNumeric::ut_dynamic_cast(p.pointer()) != nullptr; }

zynParameterPtr new_temp_array() { return zynParameterPtr(new zynParameterTempArray()); }

void append(const zynParameterPtr& array, const zynParameterPtr& p) { array->add(zynParameterKey(), p); }

// Reaches the parent links, which belong to containers; never made.
struct zynParentLinks : zynParameter {
  static void link(zynParameter& parent, const zynParameterPtr& child) {
    (parent.*(&zynParentLinks::link_par))(child);
  }
  static void unlink(zynParameter& parent, const zynParameterPtr& child) {
    (parent.*(&zynParentLinks::unlink_par))(child);
  }
};

// A loose element, or the pair that sort compares, hangs under the
// evaluation scope while its expression runs, so that names it does not hold
// resolve through the scope. The link is taken off again afterwards: the
// scope does not own what hangs there and may go first.
class zynScopeLink {
 public:
  // Links "child" under the evaluation scope when "wanted" and a scope is set.
  zynScopeLink(const zynParameterPtr& child, bool wanted) : m_child(child) {
    if (wanted) m_scope = zynParameterLib::get_eval_scope();
    if (!m_scope.is_null()) zynParentLinks::link(*m_scope, m_child);
  }
  ~zynScopeLink() {
    if (!m_scope.is_null()) zynParentLinks::unlink(*m_scope, m_child);
  }
  zynScopeLink(const zynScopeLink&) = delete;
  zynScopeLink& operator=(const zynScopeLink&) = delete;

 private:
  zynParameterPtr m_child;
  zynParameterPtr m_scope;
};

zynParameterPtr evaluate_in(const zynParameterPtr& context, const utString& text) {
  zynEvaluator evaluator(context.pointer());
  return evaluator.evaluate(text);
}

// extract(list, name) -> the member "name" of each element
zynParameterPtr extract_routine(const zynParameterPtr& args) {
  if (args->size() != 2 || !as_array(arg(args, 0)) || !as_string(arg(args, 1))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  const zynParameterKey key(arg(args, 1)->get_string());
  zynParameterPtr result = new_temp_array();
  for (int i = 0; i < list->size(); ++i) {
    const zynParameterPtr element = arg(list, i);
    zynParameterPtr value = (*element)[key];
    if (value->is_error()) return bad_arguments();
    append(result, value);
  }
  return result;
}

// filter(list, expression) -> the elements for which the expression is non-zero
zynParameterPtr filter_routine(const zynParameterPtr& args) {
  if (args->size() != 2 || !as_array(arg(args, 0)) || !as_string(arg(args, 1))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  const utString text = arg(args, 1)->get_string();
  zynParameterPtr result = new_temp_array();
  for (int i = 0; i < list->size(); ++i) {
    const zynParameterPtr element = arg(list, i);
    if (!text.empty()) {
      const zynParameterPtr value = evaluate_in(element, text);
      if (!is_numeric(value)) return bad_arguments();
      if (value->get_int() == 0) continue;
    }
    if (element->is_error()) return bad_arguments();
    append(result, element);
  }
  return result;
}

// apply(list, expression) -> the value of the expression for each element
zynParameterPtr apply_routine(const zynParameterPtr& args) {
  if (args->size() != 2 || !as_array(arg(args, 0)) || !as_string(arg(args, 1))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  const utString text = arg(args, 1)->get_string();
  zynParameterPtr result = new_temp_array();
  for (int i = 0; i < list->size(); ++i) {
    const zynParameterPtr element = arg(list, i);
    zynParameterPtr value;
    {
      zynScopeLink link(element, element->parent() == nullptr);
      value = evaluate_in(element, text);
    }
    if (value->is_error()) return bad_arguments();
    append(result, value);
  }
  return result;
}

// Deeper nesting is taken for an array that holds itself (temporary arrays
// and shared lists can), not for data.
constexpr int max_flatten_depth = 1000;

// Appends the leaves below "array" to "out", depth first. Returns false past
// max_flatten_depth.
bool flatten_into(const zynParameterPtr& array, const zynParameterPtr& out, int depth) {
  if (depth > max_flatten_depth) return false;
  for (int i = 0; i < array->size(); ++i) {
    const zynParameterPtr element = arg(array, i);
    if (!as_array(element))
      append(out, element);
    else if (!flatten_into(element, out, depth + 1))
      return false;
  }
  return true;
}

// flatten(list-of-lists) -> every leaf element, depth first
zynParameterPtr flatten_routine(const zynParameterPtr& args) {
  if (args->size() != 1 || !as_array(arg(args, 0))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  zynParameterPtr result = new_temp_array();
  for (int i = 0; i < list->size(); ++i) {
    const zynParameterPtr element = arg(list, i);
    if (!as_array(element) || !flatten_into(element, result, 1)) return bad_arguments();
  }
  return result;
}

// join(list, delim) -> the element texts separated by "delim"
zynParameterPtr join_routine(const zynParameterPtr& args) {
  if (args->size() != 2 || !as_array(arg(args, 0)) || !as_string(arg(args, 1))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  const utString delim = arg(args, 1)->get_string();
  utString text;
  for (int i = 0; i < list->size() && text.size() <= zyn_max_text_size; ++i) {
    if (i > 0) text += delim;
    text += arg(list, i)->get_string();
  }
  return new_string(text);
}

// reverse(list) -> the elements in reverse order, shared
zynParameterPtr reverse_routine(const zynParameterPtr& args) {
  if (args->size() != 1 || !as_array(arg(args, 0))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  zynParameterPtr result = new_temp_array();
  for (int i = 0; i < list->size(); ++i) result->add(zynParameterKey(0, utString()), arg(list, i));
  return result;
}

// Returns "this[0] > this[1]", or "this[0].m > this[1].m" for the member m.
utString sort_comparison(const zynParameterPtr& args) {
  if (args->size() == 1) return "this[0]>this[1]";
  const utString member = arg(args, 1)->get_string();
  return "this[0]." + member + " > this[1]." + member;
}

// Bubble-sorts the positions of "list" by "comparison" over fresh copies of
// the two elements. Returns false when a comparison is not a number.
bool sort_order(const zynParameterPtr& list, const utString& comparison, std::vector<int>& order) {
  zynParameterPtr pair = new_temp_array();
  zynScopeLink link(pair, true);
  const int n = static_cast<int>(order.size());
  for (int k = n - 1; k >= 1; --k) {
    for (int j = 0; j < k; ++j) {
      pair->remove_all();
      append(pair, arg(list, order[j]).copy());
      append(pair, arg(list, order[j + 1]).copy());
      const zynParameterPtr value = evaluate_in(pair, comparison);
      if (!is_numeric(value)) return false;
      if (value->get_int() == 1) std::swap(order[j], order[j + 1]);
    }
  }
  return true;
}

// sort(list [, member]) -> a copy of "list", ascending by the comparison.
// Arrays that own their elements get a deep copy whose values are placed in
// order; temporary arrays and shared lists hold parameters owned elsewhere,
// so their copy takes the very elements in order and nothing else changes.
zynParameterPtr sort_routine(const zynParameterPtr& args) {
  const int count = args->size();
  if (count < 1 || count > 2 || !as_array(arg(args, 0))) return bad_arguments();
  if (count == 2 && !as_string(arg(args, 1))) return bad_arguments();
  const zynParameterPtr list = arg(args, 0);
  std::vector<int> order(static_cast<size_t>(list->size()));
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (!sort_order(list, sort_comparison(args), order)) return bad_arguments();

  zynParameterPtr result(list->create_new());
  if (order.empty()) return result;
  if (arg(result, 0).raw() == arg(list, 0).raw()) {
    result->remove_all();
    for (int i : order) append(result, arg(list, i));
    return result;
  }
  for (size_t i = 0; i < order.size(); ++i)
    arg(result, static_cast<int>(i))->copy_value_from(*arg(list, order[i]));
  return result;
}

constexpr zynLibBuiltin builtins[] = {
    {"extract", &extract_routine, 0,
     "extract(list, par_name) : Given a list of maps extract a list containing the named element from each list item."},
    {"filter", &filter_routine, 0,
     "filter(list, expression) : Given a list of maps extract a list that matches the given expression."},
    {"apply", &apply_routine, 0,
     "apply(list, expression) : Returns a list of results obtained by applying expression to each element in the "
     "input list"},
    {"flatten", &flatten_routine, 0,
     "flatten(list-of-list) : Returns a single list obtained by combining the individual list elements into a single "
     "list"},
    {"join", &join_routine, 0,
     "joint(list, string delim) : Returns a string representing the list items delimited by delim"},
    {"sort", &sort_routine, 0, "sort(list, expression) : Return the list sorted by expression."},
    {"reverse", &reverse_routine, 0, "reverse(list) : Return a list with the elements of the input list reversed."},
};

}  // namespace

zynLibBuiltinTable zyn_lib_higher_order_builtins() { return zyn_lib_table(builtins); }
