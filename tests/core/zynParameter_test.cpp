#include "zyn/core/zynParameter.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"

namespace {

zynParameterPtr make(zynParameterType t = PT_NUMERIC, zynParameterSubType s = PS_REAL) {
  return zynParameterPtr(new zynTestParameter(t, s));
}

zynTestParameter& as_test(const zynParameterPtr& p) { return *zynTestParameter::ut_dynamic_cast(p.pointer()); }

// A null handle reads as the shared unknown error; handles compare by identity.
TEST(zynParameterPtr, NullIdentityAndSelfAssignment) {
  zynParameterPtr p;
  EXPECT_TRUE(p.is_null());
  EXPECT_EQ(zynParameter::get_subtype(*p), PS_ERR_UNKNOWN);
  EXPECT_FALSE(p.is_null());
  const zynParameterPtr q;
  EXPECT_EQ(q.par(), zynParameterError::create(PS_ERR_UNKNOWN).pointer());
  EXPECT_TRUE(zynParameterPtr() == zynParameterPtr());
  zynParameterPtr a = make();
  zynParameterPtr b = a;
  EXPECT_TRUE(a == b);
  EXPECT_EQ(co_hash(a), co_hash(b));
  EXPECT_FALSE(a == make());
  zynParameterPtr& alias = a;
  b = zynParameterPtr();
  a = alias;
  EXPECT_TRUE(a.unique());
  a = std::move(alias);
  EXPECT_FALSE(a.is_null());
}

TEST(zynParameter, BaseDefaults) {
  zynParameterPtr p = make();
  EXPECT_EQ(p->print(0), "(UNKNOWN)\n");
  EXPECT_EQ(p->get_string(), "#ERROR: Parameter cannot be represented by a string");
  EXPECT_EQ(p->get_typename(), "Invalid typename");
  EXPECT_EQ(p->set_onmodify_callback([](zynParameter*) {}), nullptr);
  EXPECT_TRUE(p->is_active());
  EXPECT_FALSE(p->is_ref());
  EXPECT_EQ(p->get_ref(), p.pointer());
  EXPECT_EQ(zynParameter::get_subtype(*p->operate_binary("+", make())), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*p->remove("x")), PS_ERR_TYPE);
  bool ok = false;
  EXPECT_EQ(p->get_double_in_units(zynUnits(ZYN_UNITS_SECOND), ok), 0.0);
  EXPECT_TRUE(ok);
}

TEST(zynParameter, IndexOperatorRejectsInvalidOperands) {
  zynParameterPtr p = make(PT_MAP, PS_MAP);
  EXPECT_EQ(zynParameter::get_subtype(*p->operate_binary("[", zynParameterError::create(PS_ERR_NAME))),
            PS_ERR_ARGUMENTS);
  EXPECT_EQ(zynParameter::get_subtype(*p->operate_binary("[", make(PT_ENUM, PS_ENUM))), PS_ERR_TYPE);
}

TEST(zynParameter, MeasureModeOnlyForRealsAndAngles) {
  zynParameterPtr text = make(PT_STRING, PS_STRING);
  text->set_measure_mode(static_cast<zynParameterMeasureMode>(2));
  EXPECT_EQ(text->get_measure_mode(), PM_DEFAULT);
  zynParameterPtr real = make();
  real->set_measure_mode(static_cast<zynParameterMeasureMode>(2));
  EXPECT_EQ(real->get_measure_mode(), 2);
  real->set_measure_mode(PM_DEFAULT);
  EXPECT_EQ(real->get_measure_mode(), 2);
}

TEST(zynParameter, MirrorModeFromRecordOrCallback) {
  zynParameterPtr p = make();
  p->set_mirror_mode(PMM_NEGATE);
  EXPECT_EQ(p->get_mirror_mode(), PMM_NEGATE);
  p->set_mirror_mode_callback([](const zynParameter*) { return PMM_ADD_180; });
  EXPECT_EQ(p->get_mirror_mode(), PMM_ADD_180);
}

TEST(zynParameter, ACopyNeverReachesADestroyedParent) {
  zynParameterPtr copy;
  {
    zynParameterPtr box = make(PT_MAP, PS_MAP);
    box->set_name("box");
    box->lock(1);
    zynParameterPtr child = make();
    child->set_name("x");
    as_test(box).adopt(child);
    copy = child.copy();
    // While the container lives the copy resolves in its scope.
    EXPECT_EQ(copy->parent(), box.pointer());
    EXPECT_TRUE(copy->is_locked());
    EXPECT_EQ(zynParameter::get_name(*copy, 0), "box.x");
  }
  EXPECT_EQ(copy->parent(), nullptr);
  EXPECT_FALSE(copy->is_locked());
  EXPECT_TRUE(copy->is_active());
  EXPECT_EQ(zynParameter::get_name(*copy, 0), "x");
}

}  // namespace
