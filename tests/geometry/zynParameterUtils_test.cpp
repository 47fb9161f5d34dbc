#include "zyn/geometry/zynParameterUtils.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/zyn.h"

namespace {

TEST(ParameterUtils, RestrictedNamesAreExact) {
  zynParameterPtr p(new zynTestParameter(PT_MAP, PS_MAP));
  EXPECT_EQ(zynParameterUtils::is_restricted_parameter(p), 0);
  for (const char* name : {"tessaform", "local", "project"}) {
    SCOPED_TRACE(name);
    p->set_name(name);
    EXPECT_EQ(zynParameterUtils::is_restricted_parameter(p), 1);
  }
  for (const char* name : {"Local", "PROJECT", "local ", "locals", "tessa"}) {
    SCOPED_TRACE(name);
    p->set_name(name);
    EXPECT_EQ(zynParameterUtils::is_restricted_parameter(p), 0);
  }
  EXPECT_EQ(zynParameterUtils::is_restricted_parameter(zynParameterPtr()), 0);
}

TEST(ParameterUtils, NoIdOrNoEntityFunctionIsNoEntity) {
  EXPECT_EQ(zynParameterUtils::is_entity(zynParameterPtr(new zynTestParameter())), 0);
  EXPECT_EQ(zynParameterUtils::is_entity(zynParameterPtr(new zynParameterRef(""))), 0);
  EXPECT_EQ(zynParameterUtils::is_entity(zynParameterPtr()), 0);
  // A valid id with nothing in scope that answers entity(...).
  zynParameterPtr ref(new zynParameterRef("id:" + zynUniqueId::create().hex_string()));
  ASSERT_TRUE(ref->get_ref_id().is_valid());
  EXPECT_EQ(zynParameterUtils::is_entity(ref), 0);
}


// The host's entity function: one known entity, a map; anything else an error.
utString g_known_entity;
zynParameterPtr host_entity(const zynParameter&, const zynParameterPtr& args) {
  zynParameterPtr hex = args[zynParameterKey(0, utString())];
  if (args->size() != 1 || hex->get_string() != g_known_entity) return zynParameterError::create(PS_ERR_NAME);
  return zynParameterPtr(new zynParameterMap());
}

TEST(ParameterUtils, EntityIsWhatTheHostsEntityFunctionAccepts) {
  zynUniqueId known = zynUniqueId::create();
  g_known_entity = known.hex_string();
  zynParameterPtr root(new zynParameterMap());
  root->add(zynParameterKey("entity"), zynParameterPtr(new zynParameterMemberFunction(&host_entity)));
  zynParameterPtr yes = root->add(zynParameterKey("a"), zynParameterPtr(new zynParameterRef("id:" + known.hex_string())));
  zynParameterPtr no =
      root->add(zynParameterKey("b"), zynParameterPtr(new zynParameterRef("id:" + zynUniqueId::create().hex_string())));
  EXPECT_EQ(zynParameterUtils::is_entity(yes), 1);
  EXPECT_EQ(zynParameterUtils::is_entity(no), 0);
  // Without an id nothing is asked, whatever the host would answer.
  zynParameterPtr path = root->add(zynParameterKey("c"), zynParameterPtr(new zynParameterRef("a")));
  EXPECT_EQ(zynParameterUtils::is_entity(path), 0);
  EXPECT_EQ(zynParameter::get_subtype(*yes), PS_MAP);
}

}  // namespace
