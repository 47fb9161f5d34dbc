// The arguments of the dictionary built-ins (dict_set_value, and remove and
// member when they are given a dictionary), decoded and checked once:
// a dictionary map, a key text that names one member, and a text value.
//
// Example:
//   zynParameterDictArgs d;
//   if (zynParameterLibFunctions::dict_check_args(args, 3, d))
//     zynParameterLibFunctions::dict_insert_value(d);
#pragma once

#include "zyn/core/zynParameter.h"

class zynParameterMap;

// What dict_check_args found. The map is the target of the first argument,
// held by "map_arg"; the key is parsed from the text of "key_arg".
struct ZYN_EXPORT zynParameterDictArgs {
  zynParameterMap* map = nullptr;  // not owned
  zynParameterKey key;
  zynParameterPtr key_arg;
  zynParameterPtr value_arg;
  zynParameterPtr map_arg;  // keeps "map" alive
};

class ZYN_EXPORT zynParameterLibFunctions {
 public:
  zynParameterLibFunctions() = delete;

  // Returns 1 and fills "out" when "args" holds exactly "count" arguments
  // (2 or 3): a dictionary (a map of subtype PS_DICT, or a reference to
  // one), a key that passes dict_valid_key and, with 3, a value that passes
  // dict_valid_value. Returns 0 otherwise; "out" may then be partly filled.
  static int dict_check_args(const zynParameterPtr& args, int count, zynParameterDictArgs& out);

  // Returns 1 and sets "key" when "k" is a string (not an error) whose text
  // parses as one plain member name: no index, no remainder.
  static int dict_valid_key(const zynParameterPtr& k, zynParameterKey& key);

  // Returns 1 when "v" is a string and not an error.
  static int dict_valid_value(const zynParameterPtr& v);

  // Sets the entry of "d.key" in the dictionary to the value and returns the
  // number of entries afterwards as a new INT. An existing entry takes the
  // value's text; a missing one is the value argument itself when that
  // belongs to no container, else a copy of it (a member of another tree
  // stays where it is). A locked dictionary or entry gives "Unknown error".
  static zynParameterPtr dict_insert_value(const zynParameterDictArgs& d);
};
