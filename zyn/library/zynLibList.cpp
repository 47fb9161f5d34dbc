// Built-ins of the list and set group: add_first, add_last, remove_first,
// remove_last, remove, remove_duplicates, is_empty, member, set_union,
// subtract, intersection, fill. The first six change the list they are
// given; the set functions build new lists. remove and member also work on
// dictionaries. Elements are compared by their own "==" with the value on
// the right. Their rows reach the registry through zyn_lib_list_builtins().
#include <vector>

#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/collections/zynParameterTempArray.h"
#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterMap.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/geometry/zynParameterUtils.h"
#include "zyn/library/zynLibArgs_internal.h"
#include "zyn/library/zynLibrary_internal.h"
#include "zyn/library/zynParameterDictArgs.h"

using namespace zyn_lib_args;

namespace {

zynParameterKey index_key(int i) { return zynParameterKey(i, utString()); }

zynParameterPtr locked_refusal() { return zynParameterLib::error(PS_ERR_UNKNOWN); }

// Returns true for an error value itself. A reference without target also
// says is_error(), but as an element or entry it is a parameter like any other.
bool is_error_value(const zynParameterPtr& p) { return zynParameterError::ut_dynamic_cast(p.pointer()) != nullptr; }

bool is_scalar(const zynParameterPtr& p) { return zynParameterScalar::ut_dynamic_cast(p.pointer()) != nullptr; }

// Returns the target of argument "i" when it is a list or a temporary
// array, the collections that the removal functions edit; else null.
zynParameterArray* editable_arg(const zynParameterPtr& args, int i, zynParameterPtr& holder) {
  holder = target(arg(args, i));
  zynParameter* p = holder.pointer();
  if (!zynParameterList::ut_dynamic_cast(p) && !zynParameterTempArray::ut_dynamic_cast(p)) return nullptr;
  return zynParameterArray::ut_dynamic_cast(p);
}

// Returns 1 when "element" answers non-zero to "==" with "value".
int equals(const zynParameterPtr& element, const zynParameterPtr& value) {
  return element->operate_binary("==", value)->get_int() != 0 ? 1 : 0;
}

// Returns the position of the first element of "c" equal to "value", or -1.
int index_of(const zynParameterArray& c, const zynParameterPtr& value) {
  const int n = c.size();
  for (int i = 0; i < n; ++i)
    if (equals(c.get_element(i), value)) return i;
  return -1;
}

// Returns 1 when "c" holds an element equal to "value"; values that are
// not scalars are in no collection.
int contains(const zynParameterArray& c, const zynParameterPtr& value) {
  zynParameterPtr v = target(value);
  return is_scalar(v) && index_of(c, v) >= 0 ? 1 : 0;
}

// Removes every element of "c" equal to an earlier one, keeping the first
// of each value in place. Returns the number removed as a new INT, or the
// error that stopped the removal.
zynParameterPtr drop_duplicates(zynParameterArray& c) {
  zynParameterTempArray kept;
  std::vector<int> duplicates;
  const int n = c.size();
  for (int i = 0; i < n; ++i) {
    zynParameterPtr e = c.get_element(i);
    if (contains(kept, e))
      duplicates.push_back(i);
    else
      kept.add(zynParameterKey(), e);
  }
  for (auto it = duplicates.rbegin(); it != duplicates.rend(); ++it) {
    zynParameterPtr removed = c.remove(index_key(*it));
    if (is_error_value(removed)) return removed;
  }
  return new_int(static_cast<int>(duplicates.size()));
}

// --- Adding ------------------------------------------------------------------

bool is_reference_type(const zynParameter& element_type) {
  return zynParameterRef::ut_dynamic_cast(&element_type) != nullptr;
}

// Returns true when "item" may join a list of "element_type": an item of
// that class (a map not reserved and not an entity), or an entity where the
// list holds references.
bool accepts(const zynParameter& element_type, const zynParameterPtr& item) {
  if (item->ut_is_kind_of(element_type.ut_dynamic_type())) {
    if (!zynParameterMap::ut_dynamic_cast(item.pointer())) return true;
    return !zynParameterUtils::is_restricted_parameter(item) && !zynParameterUtils::is_entity(item);
  }
  return is_reference_type(element_type) && zynParameterUtils::is_entity(item);
}

// Makes a new element at "at" from the prototype and gives it "value".
zynParameterPtr add_element(zynParameterList& list, const zynParameterKey& at, const zynParameter& value) {
  zynParameterPtr element = list.add(at, zynParameterPtr());
  if (!is_error_value(element)) element->copy_value_from(value);
  return element;
}

// Inserts a new map object made from "item" at the start or the end. Map
// elements are rebuilt through the list's own copy, which makes a fixed
// prototype's members take the item's values.
zynParameterPtr add_map(zynParameterList& list, bool at_start, const zynParameterPtr& item) {
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(item.pointer());
  if (!map) return bad_arguments();
  const int n = list.size();
  zynParameterPtr all(new zynParameterTempArray());
  for (int i = 0; i < n; ++i) all->add(zynParameterKey(), list.get_element(i));
  all->add(index_key(at_start ? 0 : -1), zynParameterPtr(map->create_object()));
  list.copy_value_from(*all);
  return list.size() == n + 1 ? list.get_element(at_start ? 0 : n) : bad_arguments();
}

// Inserts "item" at the start or the end: a root into a list of references
// as a reference by id, a map as a new map object, anything else as the
// value of a new element.
zynParameterPtr insert_item(zynParameterList& list, bool at_start, const zynParameterPtr& item) {
  const zynParameterKey at = index_key(at_start ? 0 : -1);
  const zynParameter& element_type = list.get_element_type();
  zynParameterPtr value = target(item);
  const zynParameterRoot* root = zynParameterRoot::ut_dynamic_cast(value.pointer());
  if (is_reference_type(element_type) && root) {
    zynParameterPtr ref(new zynParameterRef(utString()));
    ref->set_ref_from_id(root->get_ref_id());
    zynParameterRef::ut_dynamic_cast(ref.pointer())->set_ref_root_type(root->get_root_type());
    return add_element(list, at, *ref);
  }
  if (!zynParameterMap::ut_dynamic_cast(&element_type)) return add_element(list, at, *value);
  return add_map(list, at_start, value);
}

// add_first(list, item) and add_last(list, item) -> the new size.
template <bool AtStart>
zynParameterPtr add_item(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr holder;
  zynParameterList* list = arg_as<zynParameterList>(args, 0, holder);
  if (!list) return bad_arguments();
  zynParameterPtr item = arg(args, 1);
  if (!accepts(list->get_element_type(), item)) return bad_arguments();
  if (list->is_locked()) return locked_refusal();
  zynParameterPtr added = insert_item(*list, AtStart, item);
  if (is_error_value(added)) return added;
  return new_int(list->size());
}

// --- Removing ------------------------------------------------------------------

// remove_first(c) and remove_last(c) -> the element taken out.
template <bool First>
zynParameterPtr remove_end(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr holder;
  zynParameterArray* c = editable_arg(args, 0, holder);
  if (!c) return bad_arguments();
  if (c->size() == 0) return zynParameterLib::error(PS_ERR_DATA);
  return c->remove(index_key(First ? 0 : c->size() - 1));
}

// remove(c, v) -> 1 when the first element equal to v was removed; with a
// dictionary, when the entry of the key v was.
zynParameterPtr remove_routine(const zynParameterPtr& args) {
  zynParameterDictArgs d;
  if (zynParameterLibFunctions::dict_check_args(args, 2, d)) return new_bool(!is_error_value(d.map->remove(d.key)));
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr holder;
  zynParameterArray* c = editable_arg(args, 0, holder);
  zynParameterPtr v = target(arg(args, 1));
  if (!c || !is_scalar(v)) return bad_arguments();
  const int i = index_of(*c, v);
  if (i < 0) return new_bool(0);
  zynParameterPtr removed = c->remove(index_key(i));
  if (is_error_value(removed)) return removed;
  return new_bool(1);
}

zynParameterPtr remove_duplicates_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr holder;
  zynParameterArray* c = editable_arg(args, 0, holder);
  if (!c) return bad_arguments();
  return drop_duplicates(*c);
}

// --- Tests ---------------------------------------------------------------------------

zynParameterPtr is_empty_routine(const zynParameterPtr& args) {
  if (args->size() != 1) return bad_arguments();
  zynParameterPtr holder;
  const zynParameterArray* a = arg_as<zynParameterArray>(args, 0, holder);
  if (!a) return bad_arguments();
  return new_int(a->size() == 0 ? 1 : 0);
}

// member(c, v) -> 1 when an element of c equals v; with a dictionary, when
// it has an entry under the key v.
zynParameterPtr member_routine(const zynParameterPtr& args) {
  zynParameterDictArgs d;
  if (zynParameterLibFunctions::dict_check_args(args, 2, d)) {
    const zynParameterMap& map = *d.map;
    return new_bool(!is_error_value(map[d.key]));
  }
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr holder;
  const zynParameterArray* c = arg_as<zynParameterArray>(args, 0, holder);
  zynParameterPtr v = target(arg(args, 1));
  if (!c || !is_scalar(v)) return bad_arguments();
  return new_bool(index_of(*c, v) >= 0);
}

// --- Sets ------------------------------------------------------------------------------

// Reads the two array arguments of a set function.
[[nodiscard]] bool two_arrays(const zynParameterPtr& args, zynParameterPtr& a, zynParameterPtr& b) {
  if (args->size() != 2) return false;
  return arg_as<zynParameterArray>(args, 0, a) && arg_as<zynParameterArray>(args, 1, b);
}

const zynParameterArray& as_array(const zynParameterPtr& p) { return *zynParameterArray::ut_dynamic_cast(p.pointer()); }

// Returns a new empty list whose elements are made like "sample".
zynParameterPtr list_like(const zynParameterPtr& sample) { return zynParameterPtr(new zynParameterList(sample)); }

// Appends to "list" a new element with the value of "source": the text of a
// scalar (so expressions arrive as their values), the contents of anything else.
void append_value(zynParameterList& list, const zynParameterPtr& source) {
  zynParameterPtr element = list.add(index_key(-1), zynParameterPtr());
  zynParameterPtr value = target(source);
  if (is_scalar(value) && is_scalar(element))
    element->set_string(value->get_string());
  else
    element->copy_value_from(*value);
}

// Removes the duplicates of a new list and returns it.
zynParameterPtr deduplicated(const zynParameterPtr& list) {
  drop_duplicates(*zynParameterArray::ut_dynamic_cast(list.pointer()));
  return list;
}

// set_union(a, b) -> the distinct elements of a, then of b.
zynParameterPtr set_union_routine(const zynParameterPtr& args) {
  zynParameterPtr a;
  zynParameterPtr b;
  if (!two_arrays(args, a, b)) return bad_arguments();
  const zynParameterArray& first = as_array(a);
  if (first.size() == 0) return b.copy();
  zynParameterPtr result = list_like(first.get_element(0));
  zynParameterList& list = *zynParameterList::ut_dynamic_cast(result.pointer());
  for (const zynParameterArray* source : {&first, &as_array(b)})
    for (int i = 0; i < source->size(); ++i) append_value(list, source->get_element(i));
  return deduplicated(result);
}

// subtract(a, b) -> the distinct elements of a not in b; intersection(a, b)
// -> those in b.
template <int KeepMembers>
zynParameterPtr filter_by_membership(const zynParameterPtr& args) {
  zynParameterPtr a;
  zynParameterPtr b;
  if (!two_arrays(args, a, b)) return bad_arguments();
  const zynParameterArray& first = as_array(a);
  if (first.size() == 0) return a.copy();
  const zynParameterArray& second = as_array(b);
  zynParameterPtr result = list_like(first.get_element(0));
  zynParameterList& list = *zynParameterList::ut_dynamic_cast(result.pointer());
  for (int i = 0; i < first.size(); ++i) {
    zynParameterPtr e = first.get_element(i);
    if (contains(second, e) == KeepMembers) add_element(list, index_key(-1), *target(e));
  }
  return deduplicated(result);
}

// fill(n, v) -> n copies of v.
zynParameterPtr fill_routine(const zynParameterPtr& args) {
  if (args->size() != 2) return bad_arguments();
  zynParameterPtr holder;
  const zynParameterNumeric* n = arg_as<zynParameterNumeric>(args, 0, holder);
  zynParameterPtr v = arg(args, 1);
  if (!n || v->is_error()) return bad_arguments();
  const int count = n->get_int();
  // Counted with the elements nested in each copy, so that fills of fills
  // stay within the bound as well.
  const long long elements = zyn_lib_element_count(v, zyn_max_value_elements);
  if (count > 0 && static_cast<long long>(count) * elements > zyn_max_value_elements) return bad_arguments();
  zynParameterPtr result(new zynParameterTempArray());
  for (int i = 0; i < count; ++i) result->add(index_key(i), v.copy());
  return result;
}

constexpr zynLibBuiltin builtins[] = {
    {"add_first", &add_item<true>, zyn_lib_impure, "add_first(list, item) : Add item into start of list."},
    {"add_last", &add_item<false>, zyn_lib_impure, "add_last(list, item) : Add item onto end of list."},
    {"remove_first", &remove_end<true>, zyn_lib_impure, "remove_first(list) : Removes and returns first item of list."},
    {"remove_last", &remove_end<false>, zyn_lib_impure, "remove_last(list) : Removes and returns last item of list."},
    {"remove", &remove_routine, zyn_lib_impure,
     "remove(list, value) : If value is in list, removes first instance of value, returning true; else, returns "
     "false."},
    {"remove_duplicates", &remove_duplicates_routine, zyn_lib_impure,
     "remove_duplicates(list) : Removes all duplicate items from the list, returning the number of items removed."},
    {"is_empty", &is_empty_routine, 0,
     "is_empty(list|array) : If the list contains no items, returns 1; else, returns 0"},
    {"member", &member_routine, 0, "member(list|array, value) : If value is in list, returns 1; else, returns 0."},
    {"set_union", &set_union_routine, 0,
     "set_union(list1|array1, list2|array2) : Returns the set of items in list1 and/or list2."},
    {"subtract", &filter_by_membership<0>, 0,
     "subtract(list1|array1, list2|array2) : Returns the set of items unique to list1."},
    {"intersection", &filter_by_membership<1>, 0,
     "intersection(list1|array1, list2|array2) : Returns the set of items that are in both lists."},
    {"fill", &fill_routine, 0, "fill(size, value) : returns a list of size elements with specified value"},
};

}  // namespace

zynLibBuiltinTable zyn_lib_list_builtins() { return zyn_lib_table(builtins); }
