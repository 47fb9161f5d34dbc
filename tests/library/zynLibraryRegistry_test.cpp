#include "zyn/library/zynLibraryRegistry.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

const char* const load_time_names[] = {"abs",  "acos", "asin", "atan2", "atan",         "compare",   "cos",
                                       "exp",  "ln",   "log",  "sign",  "sin",          "sqrt",      "tan",
                                       "clear_breaks", "set_break", "state_active"};

// Runs first in this program (and alone under ctest), before any library
// object exists.
TEST(LibraryRegistry, LoadRegistersSeventeenNamesAndFirstLibraryTheRest) {
  if (zyn_lib_registry().size() == 98) GTEST_SKIP() << "a library object was made earlier in this process";
  EXPECT_EQ(zyn_lib_registry().size(), 17u);
  for (const char* name : load_time_names) EXPECT_NE(zyn_lib_find_entry(name), nullptr) << name;
  EXPECT_EQ(zyn_lib_find_entry("round"), nullptr);
  EXPECT_EQ(zyn_lib_find_entry("port_machining"), nullptr);

  // A handle to a name not yet registered answers "Invalid name" when called.
  zynParameterLib* lib = new zynParameterLib();
  zynParameterPtr owner(lib);
  EXPECT_EQ(lib->size(), 98);
  EXPECT_EQ(zyn_lib_registry().size(), 98u);
  EXPECT_NE(zyn_lib_find_entry("round"), nullptr);
  zynParameterPtr second(new zynParameterLib());
  EXPECT_EQ(second->size(), 98);
}

TEST(LibraryRegistry, EveryNameIsLowerCaseWithDescription) {
  zynParameterPtr lib(new zynParameterLib());
  for (const auto& entry : zyn_lib_registry()) {
    for (char c : entry.first) EXPECT_FALSE(c >= 'A' && c <= 'Z') << entry.first;
    EXPECT_FALSE(entry.second.description.empty()) << entry.first;
  }
}

TEST(LibraryRegistry, DescriptionsAreStoredVerbatim) {
  zynParameterPtr lib(new zynParameterLib());
  struct {
    const char* name;
    const char* description;
  } cases[] = {
      {"sin", "Trigonometric sine."},
      {"atan2", "Trigonometric arctangent with quadrant determination."},
      {"if", "If the value of the first parameter is non zero returns the second parameter, otherwise the third "
             "parameter."},
      {"state_active", "Test whether an enum state of a parameter is active."},
      {"error", "Returns true if the given parameter is an error"},
      {"get_typename", "get_typename(obj) : Get an object's typename."},
      {"replace", "position(str, oldsubstr,newsubstr) : Replace all occurrences of oldsubstr with newsubstr."},
      {"position", "position(str, target[,start]) : Get position of 'target' in 'str'"},
      {"trim", "ltrim(str) : Removes leading and trailing spaces from str."},
      {"is_empty", "is_empty(list|array) : If the list contains no items, returns 1; else, returns 0"},
      {"set_union", "set_union(list1|array1, list2|array2) : Returns the set of items in list1 and/or list2."},
      {"join", "joint(list, string delim) : Returns a string representing the list items delimited by delim"},
      {"file_exists", "file_list(filepath) : Returns whether the given file exists or not."},
      {"time_to_string", "Returns a formatted time string hh:mm:ss from a given int time()"},
      {"port_machining", "Return true if it is port machining"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const zynParameterLibEntry* entry = zyn_lib_find_entry(c.name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->description, c.description);
  }
}

TEST(LibraryRegistry, AddEntryCountsNamesOnceAndKeepsTheLaterRoutine) {
  zynParameterPtr lib(new zynParameterLib());
  const int before = static_cast<int>(zyn_lib_registry().size());
  auto first = [](const zynParameterPtr&) { return zynParameterError::create(PS_ERR_DATA); };
  auto second = [](const zynParameterPtr&) { return zynParameterError::create(PS_ERR_DIMENSIONS); };
  EXPECT_EQ(zynParameterLib::add_entry("zz_test_entry", first, "one"), before + 1);
  zynParameterPtr handle = lib[zynParameterKey("zz_test_entry")];
  EXPECT_EQ(zynParameterLib::add_entry("zz_test_entry", second, "two"), before + 1);
  EXPECT_EQ(zyn_lib_find_entry("zz_test_entry")->description, "two");
  // The handle made before re-registration runs the routine registered now.
  zynParameterPtr result = handle->operate_binary("(", zynParameterPtr(new zynTestParameter()));
  EXPECT_EQ(zynParameter::get_subtype(*result), PS_ERR_DIMENSIONS);
}

}  // namespace
