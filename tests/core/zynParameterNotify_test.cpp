#include "zyn/core/zynParameterNotify.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestParameter.h"
#include "zyn/core/zynParameterRoot.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

// What the host callbacks saw, in order.
std::vector<const zynParameter*> g_modified;
std::vector<const zynParameter*> g_read;

void on_modify(zynParameter* p) { g_modified.push_back(p); }
void on_read(const zynParameter* p) { g_read.push_back(p); }

TEST(ParameterNotify, SettersReturnThePreviousCallback) {
  zynParameterPtr leaf(new zynParameterNumeric(PS_REAL, zynDimensions(), 0.0));
  EXPECT_EQ(leaf->set_onmodify_callback(on_modify), nullptr);
  EXPECT_EQ(leaf->set_onmodify_callback(nullptr), &on_modify);
  EXPECT_EQ(leaf->set_onread_callback(on_read), nullptr);
  EXPECT_EQ(leaf->set_onread_callback(on_read), &on_read);
  // Kinds that take no callbacks drop what they are given.
  zynParameterPtr plain(new zynTestParameter());
  EXPECT_EQ(plain->set_onmodify_callback(on_modify), nullptr);
  EXPECT_EQ(plain->set_onmodify_callback(on_modify), nullptr);
}

TEST(ParameterNotify, RootCallbackHearsNumericMembersAndRegisteredNames) {
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

  // A blocking guard silences the callback but not tracking; guards nest.
  {
    zynBlockParUpdateCallbacks outer;
    zynBlockParUpdateCallbacks inner;
    zynParameterSetFromGui from_gui;
    EXPECT_TRUE(zynParameterSetFromGui::from_gui());
    dia->set_string("4");
  }
  EXPECT_FALSE(zynBlockParUpdateCallbacks::block_parameter_update_callbacks());
  EXPECT_FALSE(zynParameterSetFromGui::from_gui());
  EXPECT_EQ(g_modified.size(), 1u);
  EXPECT_DOUBLE_EQ(dia->get_double(), 4.0);

  dia->set_onmodify_param_name("Geometry.Diameter");
  const utStringcoSList& names = zynParameterRoot::ut_dynamic_cast(root.pointer())->get_registered_names();
  EXPECT_EQ(names, utStringcoSList{"Geometry.Diameter"});
}

}  // namespace
