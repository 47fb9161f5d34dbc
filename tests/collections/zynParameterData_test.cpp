#include "zyn/collections/zynParameterData.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestParameter.h"
#include "zyn/core/zynParameterProxy.h"
#include "zyn/zyn.h"

namespace {

zynRefToObjectId new_id() {
  zynUniqueId uid = zynUniqueId::create();
  zynUniqueIdTable::session_entities().add(uid);
  zynRefToObjectId id;
  id.become(zynUniqueIdTable::session_entities().find(uid));
  return id;
}

TEST(ParameterData, MissingHostFunctionsGiveInvalidData) {
  zynParameterData data("mesh");
  EXPECT_EQ(zynParameter::get_subtype(*data.get_data_par()), PS_ERR_DATA);
  EXPECT_EQ(data.size(), 0);
  EXPECT_EQ(data.print(0), "(DATA !)  type:mesh\n");
  zynRefToObjectId id = new_id();
  data.set_id(id);
  EXPECT_EQ(data.print(3), "(DATA !) " + id.get_uid().get_uid()->hex_string() + " type:mesh\n");
}

TEST(ParameterData, EqualityNeedsSameIdAndType) {
  zynRefToObjectId id = new_id();
  zynParameterData a("mesh"), b("mesh"), c("points");
  a.set_id(id);
  EXPECT_FALSE(a == b);
  b.set_id(id);
  EXPECT_TRUE(a == b);
  c.set_id(id);
  EXPECT_FALSE(a == c);
  EXPECT_FALSE(a == zynTestParameter());
  zynParameterPtr copy(a.create_new());
  EXPECT_TRUE(*copy == a);
}

std::vector<const zynParameter*> g_copied_from;
void record_notice(coCallReason reason, void* data, void*) {
  auto* cd = static_cast<zynParameterProxyCD*>(static_cast<coCBData*>(data));
  if (reason == coCallCopy) g_copied_from.push_back(cd->parameter_from());
}

TEST(ParameterData, CopyTakesTypeAndIdFromActiveUnlockedOnly) {
  g_copied_from.clear();
  zynParameterProxy::singleton().call_list().add(record_notice);
  zynRefToObjectId id = new_id();
  zynParameterData source("points"), target("mesh");
  source.set_id(id);
  target.set_string("other");
  target.copy_value_from(zynTestParameter());  // text and non-data sources change nothing
  source.set_active("0");
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "mesh");
  source.set_active("");
  target.lock(1);
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "mesh");
  target.lock(0);
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "points");
  EXPECT_TRUE(target.get_id().is_equal(id));
  EXPECT_EQ(g_copied_from, std::vector<const zynParameter*>{&source});
  zynParameterProxy::singleton().call_list().remove(record_notice);
}

}  // namespace
