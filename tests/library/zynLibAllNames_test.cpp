// No built-in breaks on arguments it does not expect.
#include <gtest/gtest.h>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

TEST(LibAllNames, EveryNameSurvivesStrayArguments) {
  zynTestLibTree tree;
  tree.add("n", zyn_test_number(2.0));
  tree.add("l", zyn_test_real_list({3, 1, 2}));
  ASSERT_EQ(zyn_lib_registry().size(), 98u);
  const char* stray[] = {"()", "(1,2,3,4,5,6,7)", "('x')", "(l, l, l)", "(n, 'a', {1;2}, -1)", "(1/0)"};
  for (const auto& entry : zyn_lib_registry()) {
    SCOPED_TRACE(entry.first);
    for (const char* args : stray) tree.eval(entry.first + args);
  }
}

}  // namespace
