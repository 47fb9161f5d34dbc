#include "zyn/library/zynLibraryRegistry.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "zyn/core/zynParameterError.h"
#include "zyn/expr/zynEvalMemo_internal.h"
#include "zyn/library/zynLibrary_internal.h"

namespace {

// A built-in name, whether it is registered when the library is loaded (else
// by the first library object), and its description exactly as shown to users.
struct NameRow {
  const char* name;
  bool at_load;
  const char* description;
};

// Every built-in, grouped as the sources that implement them.
constexpr NameRow names[] = {
    {"abs", true, "Absolute (positive value)."},
    {"acos", true, "Trigonometric arccosine."},
    {"asin", true, "Trigonometric arcsine."},
    {"atan2", true, "Trigonometric arctangent with quadrant determination."},
    {"atan", true, "Trigonometric arctangent."},
    {"compare", true, "Compare the equality of two values to a tolerance."},
    {"cos", true, "Trigonometric cosine."},
    {"exp", true, "Exponential."},
    {"ln", true, "Natural logarithm."},
    {"log", true, "Common (base 10) logarithm."},
    {"sign", true, "Sign of value."},
    {"sin", true, "Trigonometric sine."},
    {"sqrt", true, "Square root."},
    {"tan", true, "Trigonometric tangent."},
    {"clear_breaks", true, "Remove all progress break simulation points set by set_break()."},
    {"set_break", true, "Simulate a break press at the given percentage of the given progress break."},
    {"int", false, "Convert to integer value."},
    {"real", false, "Convert to real value."},
    {"bool", false, "Convert to boolean value."},
    {"sum", false, "Adds a list of numbers."},
    {"max", false, "Find the largest value in a list of numbers."},
    {"min", false, "Find the smallest value in a list of numbers."},
    {"mean", false, "Calculates the mean (average) value of a list of numbers."},
    {"select", false,
     "If the value of the first parameter is non zero returns the second parameter, otherwise the third parameter."},
    {"if", false,
     "If the value of the first parameter is non zero returns the second parameter, otherwise the third parameter."},
    {"round", false, "Round value to the specified number of decimal places."},
    {"state_active", true, "Test whether an enum state of a parameter is active."},
    {"string", false, "Convert to string."},
    {"active", false, "Returns true if the parameter is active."},
    {"evaluate", false, "Returns result of evaluating string argument."},
    {"size", false, "Returns the number of items that the parameter has."},
    {"locked", false, "Returns true if the parameter is locked."},
    {"error", false, "Returns true if the given parameter is an error"},
    {"convert", false, "Convert value to specified units."},
    {"translate", false, "Translate value to local language if possible."},
    {"desc", false, "Get description of parameter."},
    {"get_func_args", false, "Get function arguments as an array."},
    {"to_xml", false, "Outputs the given parameter as xml string"},
    {"values", false, "values(enum) : returns a list of the values in an enum"},
    {"get_typename", false, "get_typename(obj) : Get an object's typename."},
    {"dict_set_value", false,
     "dict_set_value(dict, key_string, value_string) : Sets a key/value in a dictionary - create if missing."},
    {"map_key", false, "map_key(key_string) : Transforms key_string to a valid map key"},
    {"unit", false, "Get the unit vector of the vector."},
    {"angle", false, "Get unsigned angle between two vectors."},
    {"apparent_angle", false, "Given a reference vector, get signed angle between two vectors."},
    {"normal", false, "Get the normal of the plane containing the two vectors."},
    {"parallel", false, "Returns true if vectors are (anti)parallel."},
    {"set_vector", false, "Set the vector."},
    {"azimuth", false, "Get Azimuth from vector"},
    {"elevation", false, "Get Elevation from vector"},
    {"set_point", false, "Set the point."},
    {"distance", false, "distance(pt1, pt2) : Returns the distance between two 3d points"},
    {"length", false, "Get length of string or vector."},
    {"slice", false, "Slice string or vector."},
    {"position", false, "position(str, target[,start]) : Get position of 'target' in 'str'"},
    {"replace", false,
     "position(str, oldsubstr,newsubstr) : Replace all occurrences of oldsubstr with newsubstr."},
    {"ucase", false, "ucase(str) : Returns the uppercase version of the string."},
    {"lcase", false, "lcase(str) : Returns the lowercase version of the string."},
    {"substring", false,
     "substring(str, start, length) : Returns the substring of length characters from start."},
    {"trim", false, "ltrim(str) : Removes leading and trailing spaces from str."},
    {"ltrim", false, "ltrim(str) : Removes leading spaces from the start of str."},
    {"rtrim", false, "rtrim(str) : Removes trailing spaces from the end of str."},
    {"tokens", false, "tokens(str) : Returns a list of delimited tokens str."},
    {"sanitize", false, "sanitize(string) : Returns sanitized version of string."},
    {"strip_new_lines", false,
     "strip_new_lines(string) : Returns a version of the string with carriage returns removed."},
    {"basename", false, "Strip directory from filepath strings."},
    {"dirname", false, "Strip non-directory suffix from filepath strings."},
    {"add_first", false, "add_first(list, item) : Add item into start of list."},
    {"add_last", false, "add_last(list, item) : Add item onto end of list."},
    {"remove_first", false, "remove_first(list) : Removes and returns first item of list."},
    {"remove_last", false, "remove_last(list) : Removes and returns last item of list."},
    {"remove", false,
     "remove(list, value) : If value is in list, removes first instance of value, returning true; else, returns false."},
    {"remove_duplicates", false,
     "remove_duplicates(list) : Removes all duplicate items from the list, returning the number of items removed."},
    {"is_empty", false, "is_empty(list|array) : If the list contains no items, returns 1; else, returns 0"},
    {"member", false, "member(list|array, value) : If value is in list, returns 1; else, returns 0."},
    {"set_union", false,
     "set_union(list1|array1, list2|array2) : Returns the set of items in list1 and/or list2."},
    {"subtract", false, "subtract(list1|array1, list2|array2) : Returns the set of items unique to list1."},
    {"intersection", false,
     "intersection(list1|array1, list2|array2) : Returns the set of items that are in both lists."},
    {"fill", false, "fill(size, value) : returns a list of size elements with specified value"},
    {"extract", false,
     "extract(list, par_name) : Given a list of maps extract a list containing the named element from each list item."},
    {"filter", false,
     "filter(list, expression) : Given a list of maps extract a list that matches the given expression."},
    {"apply", false,
     "apply(list, expression) : Returns a list of results obtained by applying expression to each element in the input list"},
    {"flatten", false,
     "flatten(list-of-list) : Returns a single list obtained by combining the individual list elements into a single list"},
    {"join", false,
     "joint(list, string delim) : Returns a string representing the list items delimited by delim"},
    {"sort", false, "sort(list, expression) : Return the list sorted by expression."},
    {"reverse", false, "reverse(list) : Return a list with the elements of the input list reversed."},
    {"make_sequence", false,
     "make_sequence(INT start_value[, INT increment[, INT padding]]) : Create a new sequence object."},
    {"next_in_sequence", false, "next_in_sequence(OBJECT sequence) : Increment the sequence object."},
    {"home", false, "home() : Return the pathname defined in the windows HOME variable."},
    {"time", false, "time() : Return the system calendar time in seconds."},
    {"local_time", false,
     "local_time(int) : Given the system calendar time, return a time object in the system's local time zone."},
    {"utc_time", false,
     "utc_time(int) : Given the system calendar time, return a time object in Coordinated Universal Time."},
    {"time_to_string", false, "Returns a formatted time string hh:mm:ss from a given int time()"},
    {"pwd", false, "pwd() : Returns the path of the current working directory."},
    {"list_files", false,
     "file_list([path]) : Returns a list of the files and directories in path. If path is not supplied use the current working directory."},
    {"file_exists", false, "file_list(filepath) : Returns whether the given file exists or not."},
    {"dir_exists", false, "dir_exists(dirpath) : Returns whether the given directory exists or not."},
    {"port_machining", false, "Return true if it is port machining"},
};

utStringzynParameterLibEntrycoTable& registry() {
  static utStringzynParameterLibEntrycoTable table(50);
  return table;
}

// Answers for a registered name whose group does not implement it yet.
zynParameterPtr missing_routine(const zynParameterPtr&) { return zynParameterError::create(PS_ERR_UNKNOWN); }

zynParameterLibRoutine find_in(const zynLibRoutineTable& table, const char* name) {
  for (int i = 0; i < table.count; ++i)
    if (std::strcmp(table.rows[i].name, name) == 0) return table.rows[i].routine;
  return nullptr;
}

// Returns the routine a group plugs in for "name", or missing_routine.
zynParameterLibRoutine routine_for(const char* name) {
  const zynLibRoutineTable tables[] = {
      zyn_lib_math_routines(),         zyn_lib_conversion_routines(), zyn_lib_vector_routines(),
      zyn_lib_string_routines(),       zyn_lib_list_routines(),       zyn_lib_higher_order_routines(),
      zyn_lib_system_routines(),
  };
  for (const zynLibRoutineTable& table : tables)
    if (zynParameterLibRoutine r = find_in(table, name)) return r;
  return &missing_routine;
}

// Built-ins that change their arguments or the program's state, or answer
// from the clock, the file system or the host.
bool is_impure(const char* name) {
  static const char* const impure[] = {
      "set_break", "clear_breaks", "dict_set_value", "set_vector", "set_point", "add_first",
      "add_last", "remove_first", "remove_last", "remove", "remove_duplicates", "make_sequence",
      "next_in_sequence", "home", "time", "local_time", "utc_time", "pwd", "list_files",
      "file_exists", "dir_exists", "port_machining"};
  return std::any_of(std::begin(impure), std::end(impure), [name](const char* n) { return std::strcmp(n, name) == 0; });
}

void register_names(bool at_load) {
  for (const NameRow& row : names) {
    if (row.at_load != at_load) continue;
    zyn_lib_add_entry(row.name, routine_for(row.name), row.description);
    registry()[row.name].pure = !is_impure(row.name);
  }
}

// The load-time names are callable as soon as the library is loaded.
const bool load_time_names_registered = (register_names(true), true);

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
  register_names(false);
}
