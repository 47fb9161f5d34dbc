#include "zyn/collections/zynParameterData.h"

#include <gtest/gtest.h>

#include <vector>

#include "zyn/core/zynParameterProxy.h"

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

// Stands in for a root: the data parameter only asks an enclosing root for its id.
class IdHolder : public zynTestParameter {
 public:
  IdHolder() : zynTestParameter(PT_MAP, PS_ROOT) {
    zynUniqueId uid = zynUniqueId::create();
    zynUniqueIdTable::session_entities().add(uid);
    m_id.become(zynUniqueIdTable::session_entities().find(uid));
  }
  const zynRefToObjectId& get_ref_id() const override { return m_id; }
  zynRefToObjectId m_id;
};

zynRefToObjectId new_id() {
  zynUniqueId uid = zynUniqueId::create();
  zynUniqueIdTable::session_entities().add(uid);
  zynRefToObjectId id;
  id.become(zynUniqueIdTable::session_entities().find(uid));
  return id;
}

zynParameterData& as_data(const zynParameterPtr& p) { return *zynParameterData::ut_dynamic_cast(p.pointer()); }

TEST(ParameterData, IdComesFromItselfOrTheEnclosingRoot) {
  zynParameterPtr data(new zynParameterData("mesh"));
  EXPECT_FALSE(as_data(data).get_id().is_valid());
  zynParameterPtr holder(new IdHolder());
  zynParameterPtr middle(new zynTestParameter(PT_MAP, PS_MAP));
  static_cast<zynTestParameter&>(*holder).adopt(middle);
  static_cast<zynTestParameter&>(*middle).adopt(data);
  EXPECT_TRUE(as_data(data).get_id().is_equal(holder->get_ref_id()));
  zynRefToObjectId own = new_id();
  as_data(data).set_id(own);
  EXPECT_TRUE(as_data(data).get_id().is_equal(own));
  EXPECT_EQ(zynParameter::get_type(*data), PT_DATA);
  EXPECT_EQ(zynParameter::get_subtype(*data), PS_DATA);
}

TEST(ParameterData, MissingHostFunctionsGiveInvalidData) {
  zynParameterData data("mesh");
  zynParameterPtr fetched = data.get_data_par();
  EXPECT_EQ(zynParameter::get_subtype(*fetched), PS_ERR_DATA);
  EXPECT_FALSE(data.is_valid());
  EXPECT_EQ(data.size(), 0);
  EXPECT_EQ(data.print(0), "(DATA !)  type:mesh\n");
  zynRefToObjectId id = new_id();
  data.set_id(id);
  EXPECT_EQ(zynParameter::get_subtype(*data.get_data_par()), PS_ERR_DATA);
  EXPECT_EQ(data.print(3), "(DATA !) " + id.get_uid().get_uid()->hex_string() + " type:mesh\n");
}

TEST(ParameterData, EqualityNeedsSameIdAndType) {
  zynRefToObjectId id = new_id();
  zynParameterData a("mesh");
  zynParameterData b("mesh");
  EXPECT_TRUE(a == b);
  a.set_id(id);
  EXPECT_FALSE(a == b);
  b.set_id(id);
  EXPECT_TRUE(a == b);
  zynParameterData c("points");
  c.set_id(id);
  EXPECT_FALSE(a == c);
  zynTestParameter number;
  EXPECT_FALSE(a == number);
  zynParameterPtr copy(a.create_new());
  EXPECT_TRUE(*copy == a);
}

TEST(ParameterData, TextAndNonDataSourcesChangeNothing) {
  zynParameterData data("mesh");
  data.set_string("other");
  EXPECT_EQ(data.get_data_type(), "mesh");
  zynTestParameter number;
  number.set_string("12");
  data.copy_value_from(number);
  EXPECT_EQ(data.get_data_type(), "mesh");
  EXPECT_FALSE(data.get_id().is_valid());
}

struct Notice {
  coCallReason reason;
  const zynParameter* parameter;
  const zynParameter* from;
};
std::vector<Notice> g_notices;
void record_notice(coCallReason reason, void* data, void*) {
  auto* cd = static_cast<zynParameterProxyCD*>(static_cast<coCBData*>(data));
  g_notices.push_back({reason, cd->parameter(), cd->parameter_from()});
}

TEST(ParameterData, CopyTakesTypeAndIdFromActiveSourceOnly) {
  g_notices.clear();
  zynParameterProxy::singleton().call_list().add(record_notice);
  zynRefToObjectId id = new_id();
  zynParameterData source("points");
  source.set_id(id);
  zynParameterData target("mesh");
  source.set_active("0");
  ASSERT_FALSE(source.is_active());
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "mesh");
  zynTestParameter number;
  target.copy_value_from(number);
  EXPECT_TRUE(g_notices.empty());
  source.set_active("");
  target.lock(1);
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "mesh");
  target.lock(0);
  target.copy_value_from(source);
  EXPECT_EQ(target.get_data_type(), "points");
  EXPECT_TRUE(target.get_id().is_equal(id));
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].reason, coCallCopy);
  EXPECT_EQ(g_notices[0].parameter, &target);
  EXPECT_EQ(g_notices[0].from, &source);
  zynParameterProxy::singleton().call_list().remove(record_notice);
}


// The host's data functions: they record their arguments and answer a data
// parameter, or a number for the data type "number".
std::vector<utString> g_calls;
zynParameterPtr host_data(const utString& name, const zynParameterPtr& args) {
  utString call = name;
  for (int i = 0; i < args->size(); ++i) call += " " + args[zynParameterKey(i, utString())]->get_string();
  g_calls.push_back(call);
  const utString type = args[zynParameterKey(args->size() - 1, utString())]->get_string();
  if (type == "number") return zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), 3));
  return zynParameterPtr(new zynParameterData(type));
}
zynParameterPtr entdata(const zynParameter&, const zynParameterPtr& args) { return host_data("entdata", args); }
zynParameterPtr zyndata(const zynParameter&, const zynParameterPtr& args) { return host_data("zyndata", args); }

TEST(ParameterData, FetchedThroughTheHostsFunctions) {
  g_calls.clear();
  zynParameterRoot* root = new zynParameterRoot("tool", 1, "t1");
  zynParameterPtr held(root);
  zynRefToObjectId id = new_id();
  root->set_id(id);
  root->add(zynParameterKey("entdata"), zynParameterPtr(new zynParameterMemberFunction(&entdata)));
  root->add(zynParameterKey("zyndata"), zynParameterPtr(new zynParameterMemberFunction(&zyndata)));
  zynParameterPtr inside = root->add(zynParameterKey("mesh"), zynParameterPtr(new zynParameterData("mesh")));
  EXPECT_TRUE(inside->is_valid());
  EXPECT_EQ(zynParameter::get_type(*as_data(inside).get_data_par()), PT_DATA);
  ASSERT_FALSE(g_calls.empty());
  EXPECT_EQ(g_calls.back(), "entdata " + id.get_uid().get_uid()->hex_string() + " mesh");
  // A host answer of another type is a "Type error".
  zynParameterPtr number = root->add(zynParameterKey("n"), zynParameterPtr(new zynParameterData("number")));
  EXPECT_EQ(zynParameter::get_subtype(*as_data(number).get_data_par()), PS_ERR_TYPE);
  EXPECT_FALSE(number->is_valid());

  // Outside any root (the host functions in a plain map) the zyndata form is used.
  zynParameterPtr map(new zynParameterMap());
  map->add(zynParameterKey("zyndata"), zynParameterPtr(new zynParameterMemberFunction(&zyndata)));
  zynParameterPtr loose = map->add(zynParameterKey("d"), zynParameterPtr(new zynParameterData("points")));
  EXPECT_TRUE(loose->is_valid());
  EXPECT_EQ(g_calls.back(), "zyndata points");
}

}  // namespace
