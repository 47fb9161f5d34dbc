#include "zyn/geometry/zynParameterUtils.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/collections/zynParameterRef.h"

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

}  // namespace
