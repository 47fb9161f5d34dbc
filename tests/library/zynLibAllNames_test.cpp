// Every built-in checks its arguments: none breaks on arguments it does not
// expect, each refuses a call with none or seven of them unless it takes
// that many, and each hands on an error among them.
#include <gtest/gtest.h>

#include <set>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

TEST(LibAllNames, EveryNameChecksItsArguments) {
  zynTestLibTree tree;
  tree.add("n", zyn_test_number(2.0));
  tree.add("l", zyn_test_real_list({3, 1, 2}));
  ASSERT_EQ(zyn_lib_registry().size(), 98u);
  const std::set<utString> take_none = {"clear_breaks", "get_func_args", "home", "pwd", "sum", "time"};
  const std::set<utString> take_seven = {"get_func_args", "max", "mean", "min", "sum", "time_to_string"};
  for (const auto& entry : zyn_lib_registry()) {
    const utString& name = entry.first;
    SCOPED_TRACE(name);
    EXPECT_EQ(subtype_of(tree.eval(name + "()")) == PS_ERR_ARGUMENTS, take_none.count(name) == 0);
    EXPECT_EQ(subtype_of(tree.eval(name + "(1,2,3,4,5,6,7)")) == PS_ERR_ARGUMENTS, take_seven.count(name) == 0);
    EXPECT_EQ(subtype_of(tree.eval(name + "(1/0)")), PS_ERR_DIVIDE_BY_ZERO);
    for (const char* args : {"('x')", "(l, l, l)", "(n, 'a', {1;2}, -1)"}) tree.eval(name + args);
  }
}

}  // namespace
