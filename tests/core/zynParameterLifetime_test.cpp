// Trees are freed whole, whatever still points into them: references that
// point at each other across containers and trees, and iterators,
// evaluators and callbacks that outlive the tree they were made for. The
// leak checker of the sanitizer build is what catches a failure here.
#include <gtest/gtest.h>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

// A root with maps "a" and "b" whose references point into each other.
zynParameterPtr crossed_tree() {
  zynParameterPtr root = zyn_test_lib_root();
  zynRefToObjectId id;
  id.become(zynUniqueIdPtr(zynUniqueId::create()));
  static_cast<zynParameterRoot&>(*root).set_id(id);
  zynParameterPtr a = root->add("a", zyn_map());
  zynParameterPtr b = root->add("b", zyn_map());
  a->add("x", zyn_real(1.0));
  b->add("y", zyn_real(2.0));
  a->add("to_b", zyn_ref("b"));
  b->add("to_a", zyn_ref("a"));
  a->add("to_y", zyn_ref("b.y"));
  b->add("to_x", zyn_ref("a.x"));
  return root;
}

int modified_calls = 0;
void count_modified(zynParameter*) { ++modified_calls; }

}  // namespace

TEST(zynParameterLifetime, ReferencesIntoEachOtherAndIteratorsAreFreed) {
  zynParameterPtr root = crossed_tree();
  EXPECT_EQ(root[zynParameterKey("a.to_b.y")]->get_double(), 2.0);
  EXPECT_EQ(root[zynParameterKey("b.to_a.x")]->get_double(), 1.0);
  EXPECT_EQ(root[zynParameterKey("a.to_b.to_a.to_y")]->get_double(), 2.0);
  EXPECT_EQ(root[zynParameterKey("b.to_x")]->get_double(), 1.0);
  EXPECT_NE(root->print(0), utString());
  // An iterator outlives its tree.
  zynParameterIter walk(root);
  walk.set_follow_refs(1);
  ASSERT_TRUE(++walk);
  ASSERT_TRUE(++walk);
  root = zynParameterPtr();
  int steps = 0;
  while (++walk && steps < 100) {
    (void)walk().pointer()->get_string();
    ++steps;
  }
  EXPECT_LT(steps, 100);
}

TEST(zynParameterLifetime, ActivityLinksAndCallbacksOutliveTheTree) {
  zynParameterPtr root = crossed_tree();
  root->set_onmodify_callback(count_modified);
  zynParameterPtr x = root[zynParameterKey("a.x")];
  x->set_active("b.y > 1");
  EXPECT_EQ(x->is_active(), 1);
  zynParameterPtr y = root[zynParameterKey("b.y")];
  zynParameterPtr b = root->remove("b");
  y->set_double(0.0);
  (void)x->is_active();
  modified_calls = 0;
  root = zynParameterPtr();
  b = zynParameterPtr();
  y->set_double(3.0);  // its dependent is gone: nothing to notify
  (void)x->is_active();
  EXPECT_EQ(modified_calls, 0);
}
