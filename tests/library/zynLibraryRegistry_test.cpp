#include "zyn/library/zynLibraryRegistry.h"

#include <gtest/gtest.h>

#include <set>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

// Runs first in this program (and alone under ctest), before any library
// object exists.
TEST(LibraryRegistry, LoadRegistersSeventeenNamesAndFirstLibraryTheRest) {
  if (zyn_lib_registry().size() == 98) GTEST_SKIP() << "a library object was made earlier in this process";
  EXPECT_EQ(zyn_lib_registry().size(), 17u);
  for (const char* name : {"abs", "acos", "asin", "atan2", "atan", "compare", "cos", "exp", "ln", "log", "sign", "sin",
                           "sqrt", "tan", "clear_breaks", "set_break", "state_active"})
    EXPECT_NE(zyn_lib_find_entry(name), nullptr) << name;
  EXPECT_EQ(zyn_lib_find_entry("round"), nullptr);
  zynParameterPtr owner(new zynParameterLib());
  EXPECT_EQ(owner->size(), 98);
  EXPECT_NE(zyn_lib_find_entry("round"), nullptr);
  EXPECT_EQ(zynParameterPtr(new zynParameterLib())->size(), 98);
}

// Every built-in has a lower-case name and a description, and checks its
// arguments: none breaks on arguments it does not expect, each refuses a call
// with none or seven of them unless it takes that many, and each hands on an
// error among them.
TEST(LibraryRegistry, EveryNameChecksItsArguments) {
  zynTestLibTree tree;
  tree.add("n", zyn_test_number(2.0));
  tree.add("l", zyn_test_real_list({3, 1, 2}));
  ASSERT_EQ(zyn_lib_registry().size(), 98u);
  const std::set<utString> take_none = {"clear_breaks", "get_func_args", "home", "pwd", "sum", "time"};
  const std::set<utString> take_seven = {"get_func_args", "max", "mean", "min", "sum", "time_to_string"};
  for (const auto& entry : zyn_lib_registry()) {
    const utString& name = entry.first;
    SCOPED_TRACE(name);
    for (char c : name) EXPECT_FALSE(c >= 'A' && c <= 'Z');
    EXPECT_FALSE(entry.second.description.empty());
    EXPECT_EQ(subtype_of(tree.eval(name + "()")) == PS_ERR_ARGUMENTS, take_none.count(name) == 0);
    EXPECT_EQ(subtype_of(tree.eval(name + "(1,2,3,4,5,6,7)")) == PS_ERR_ARGUMENTS, take_seven.count(name) == 0);
    EXPECT_EQ(subtype_of(tree.eval(name + "(1/0)")), PS_ERR_DIVIDE_BY_ZERO);
    for (const char* args : {"('x')", "(l, l, l)", "(n, 'a', {1;2}, -1)"}) tree.eval(name + args);
  }
  // Descriptions are kept as registered, mistakes included.
  EXPECT_EQ(zyn_lib_find_entry("replace")->description,
            "position(str, oldsubstr,newsubstr) : Replace all occurrences of oldsubstr with newsubstr.");
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
