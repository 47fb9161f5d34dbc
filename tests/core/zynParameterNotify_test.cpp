#include "zyn/core/zynParameterNotify.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestScalar.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

// What the host callbacks saw, in order.
std::vector<const zynParameter*> g_modified;
std::vector<const zynParameter*> g_read;

void on_modify(zynParameter* p) { g_modified.push_back(p); }
void on_read(const zynParameter* p) { g_read.push_back(p); }

zynTestScalar& scalar(const zynParameterPtr& p) { return *zynTestScalar::ut_dynamic_cast(p.pointer()); }

// A map-like holder with a member, and a member of the member.
class NotifyTree : public ::testing::Test {
 protected:
  void SetUp() override {
    g_modified.clear();
    g_read.clear();
    scalar(top).adopt(mid);
    scalar(mid).adopt(leaf);
  }

  zynParameterPtr top{new zynTestScalar(PT_MAP, PS_MAP)};
  zynParameterPtr mid{new zynTestScalar(PT_MAP, PS_MAP)};
  zynParameterPtr leaf{new zynTestScalar()};
};

TEST_F(NotifyTree, ModifyCallbackOfNearestAncestorGetsTheHolder) {
  top->set_onmodify_callback(on_modify);
  leaf->set_string("1");
  ASSERT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(g_modified[0], top.pointer());

  // A nearer callback hides the farther one.
  mid->set_onmodify_callback(on_modify);
  g_modified.clear();
  leaf->set_string("2");
  ASSERT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(g_modified[0], mid.pointer());

  // The parameter's own callback comes first.
  leaf->set_onmodify_callback(on_modify);
  g_modified.clear();
  leaf->set_string("3");
  ASSERT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(g_modified[0], leaf.pointer());
}

TEST_F(NotifyTree, NoCallbackAnywhereCallsNothing) {
  leaf->set_string("1");
  EXPECT_TRUE(g_modified.empty());
  // A detached parameter no longer reaches its former holder's callback.
  top->set_onmodify_callback(on_modify);
  scalar(mid).give_up(leaf);
  leaf->set_string("2");
  EXPECT_TRUE(g_modified.empty());
}

TEST_F(NotifyTree, SettersReturnThePreviousCallback) {
  EXPECT_EQ(leaf->set_onmodify_callback(on_modify), nullptr);
  EXPECT_EQ(leaf->set_onmodify_callback(nullptr), &on_modify);
  EXPECT_EQ(leaf->set_onread_callback(on_read), nullptr);
  EXPECT_EQ(leaf->set_onread_callback(on_read), &on_read);
  // Kinds that take no callbacks drop what they are given.
  zynParameterPtr plain(new zynTestParameter());
  EXPECT_EQ(plain->set_onmodify_callback(on_modify), nullptr);
  EXPECT_EQ(plain->set_onmodify_callback(on_modify), nullptr);
}

TEST_F(NotifyTree, ReadCallbackOfNearestAncestorGetsTheHolder) {
  top->set_onread_callback(on_read);
  mid->set_onmodify_callback(on_modify);  // modify callbacks play no part in reads
  leaf->get_expr();
  ASSERT_EQ(g_read.size(), 1u);
  EXPECT_EQ(g_read[0], top.pointer());
  leaf->set_onread_callback(on_read);
  leaf->get_expr();
  ASSERT_EQ(g_read.size(), 2u);
  EXPECT_EQ(g_read[1], leaf.pointer());
  EXPECT_TRUE(g_modified.empty());
  // Reads are never blocked.
  zynBlockParUpdateCallbacks block;
  leaf->get_expr();
  EXPECT_EQ(g_read.size(), 3u);
}

TEST_F(NotifyTree, BlockingGuardSilencesModifyCallbacksButNotTracking) {
  top->set_onmodify_callback(on_modify);
  zynParameterUpdateTrack track;
  {
    zynBlockParUpdateCallbacks outer;
    {
      zynBlockParUpdateCallbacks inner;
      leaf->set_string("1");
    }
    EXPECT_TRUE(zynBlockParUpdateCallbacks::block_parameter_update_callbacks());
    leaf->set_string("2");
  }
  EXPECT_TRUE(g_modified.empty());
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
  EXPECT_FALSE(zynBlockParUpdateCallbacks::block_parameter_update_callbacks());
  leaf->set_string("3");
  EXPECT_EQ(g_modified.size(), 1u);
}

TEST_F(NotifyTree, LockedParameterIgnoresSetUnlessNoLockGuardLives) {
  top->set_onmodify_callback(on_modify);
  zynParameterUpdateTrack track;
  top->lock(1);
  leaf->set_string("5");
  EXPECT_EQ(leaf->get_expr(), "");
  EXPECT_TRUE(g_modified.empty());
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
  {
    zynParameterNoLock unlocked;
    EXPECT_FALSE(leaf->is_locked());
    leaf->set_string("5");
  }
  EXPECT_TRUE(leaf->is_locked());
  EXPECT_EQ(leaf->get_expr(), "5");
  EXPECT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
}

TEST_F(NotifyTree, SettingTheSameValueNotifiesButIsNotTracked) {
  leaf->set_string("7");
  leaf->set_onmodify_callback(on_modify);
  zynParameterUpdateTrack track;
  leaf->set_string("7");
  EXPECT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
}

TEST(zynParameterGuards, CountersNestAndQueriesFollowThem) {
  EXPECT_FALSE(zynParameterNoLock::no_lock());
  EXPECT_TRUE(zynParameterNoRefExpand::expand());
  EXPECT_FALSE(zynParameterSetFromGui::from_gui());
  {
    zynParameterNoLock a;
    zynParameterNoRefExpand b;
    zynParameterSetFromGui c;
    {
      zynParameterNoRefExpand b2;
      zynParameterSetFromGui c2;
    }
    EXPECT_TRUE(zynParameterNoLock::no_lock());
    EXPECT_FALSE(zynParameterNoRefExpand::expand());
    EXPECT_TRUE(zynParameterSetFromGui::from_gui());
    // Guards are independent of one another.
    EXPECT_FALSE(zynBlockParUpdateCallbacks::block_parameter_update_callbacks());
  }
  EXPECT_FALSE(zynParameterNoLock::no_lock());
  EXPECT_TRUE(zynParameterNoRefExpand::expand());
  EXPECT_FALSE(zynParameterSetFromGui::from_gui());
}

TEST(NotifyRealTree, RootCallbackHearsNumericMembersAndRegisteredNames) {
  g_modified.clear();
  g_read.clear();
  zynParameterPtr root(new zynParameterRoot("Tool", 1, "T1"));
  zynParameterPtr sub = root->add("Geometry", zynParameterPtr(new zynParameterMap()));
  zynParameterPtr dia = sub->add("Diameter", zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(), 2.0)));
  root->set_onmodify_callback(on_modify);
  root->set_onread_callback(on_read);
  zynParameterUpdateTrack track;
  dia->set_string("3");
  ASSERT_EQ(g_modified.size(), 1u);
  EXPECT_EQ(g_modified[0], root.pointer());
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 1);
  EXPECT_DOUBLE_EQ(dia->get_double(), 3.0);
  ASSERT_FALSE(g_read.empty());
  EXPECT_EQ(g_read.back(), root.pointer());

  dia->set_onmodify_param_name("Geometry.Diameter");
  const utStringcoSList& names = zynParameterRoot::ut_dynamic_cast(root.pointer())->get_registered_names();
  EXPECT_EQ(names, utStringcoSList{"Geometry.Diameter"});
}

}  // namespace
