#include "zyn/core/zynParameter.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"

namespace {

zynParameterPtr make(zynParameterType t = PT_NUMERIC, zynParameterSubType s = PS_REAL) {
  return zynParameterPtr(new zynTestParameter(t, s));
}

zynTestParameter& as_test(const zynParameterPtr& p) { return *zynTestParameter::ut_dynamic_cast(p.pointer()); }

TEST(zynParameterPtr, NullBecomesUnknownErrorOnUse) {
  zynParameterPtr p;
  EXPECT_TRUE(p.is_null());
  EXPECT_TRUE(p->is_error());
  EXPECT_FALSE(p.is_null());
  EXPECT_EQ(zynParameter::get_subtype(*p), PS_ERR_UNKNOWN);
  const zynParameterPtr q;
  EXPECT_EQ(q.par(), zynParameterError::create(PS_ERR_UNKNOWN).pointer());
}

TEST(zynParameterPtr, IdentityComparisonAndHash) {
  EXPECT_TRUE(zynParameterPtr() == zynParameterPtr());
  zynParameterPtr a = make();
  EXPECT_FALSE(a == zynParameterPtr());
  zynParameterPtr b = a;
  EXPECT_TRUE(a == b);
  EXPECT_EQ(co_hash(a), co_hash(b));
  EXPECT_FALSE(a == make());
}

TEST(zynParameterPtr, OwnershipAndExternalPointers) {
  zynParameterPtr a = make();
  EXPECT_TRUE(a.unique());
  {
    zynParameterPtr b = a;
    EXPECT_FALSE(a.unique());
  }
  EXPECT_TRUE(a.unique());
  zynParameterPtr ext(coPrfExternal, a.pointer());
  EXPECT_TRUE(ext.external());
  EXPECT_FALSE(ext.unique());
  EXPECT_TRUE(a.unique());
  // A second owning handle made from the same raw pointer shares the count.
  zynParameterPtr again(a.pointer());
  EXPECT_FALSE(a.unique());
  zynParameterPtr copy = a.copy();
  EXPECT_TRUE(copy.unique());
  EXPECT_NE(copy.pointer(), a.pointer());
}

TEST(zynParameterPtr, SelfAssignmentKeepsTheObject) {
  zynParameterPtr a = make();
  zynParameterPtr& alias = a;
  a = alias;
  EXPECT_TRUE(a.unique());
  a = std::move(alias);
  EXPECT_FALSE(a.is_null());
}

TEST(zynParameter, RunTimeTypeScheme) {
  zynParameterPtr p = make();
  EXPECT_TRUE(p->ut_is_kind_of(zynParameter::ut_static_type()));
  EXPECT_TRUE(p->ut_is_kind_of(zynTestParameter::ut_static_type()));
  EXPECT_FALSE(p->ut_is_kind_of(zynParameterError::ut_static_type()));
  EXPECT_EQ(&p->ut_dynamic_type(), &zynTestParameter::ut_static_type());
  EXPECT_EQ(zynParameterError::ut_dynamic_cast(p.pointer()), nullptr);
  EXPECT_EQ(zynTestParameter::ut_dynamic_cast(static_cast<zynParameter*>(nullptr)), nullptr);
  EXPECT_STREQ(zynTestParameter::ut_static_type().name(), "zynTestParameter");
}

TEST(zynParameter, CopiesShareTheRecord) {
  zynParameterPtr a = make();
  a->set_name("feed");
  a->set_desc("Feed rate");
  zynParameterPtr b = a.copy();
  b->set_name("speed");
  EXPECT_EQ(a->get_name(), "speed");
  EXPECT_EQ(b->get_desc(), "Feed rate");
  zynParameterPtr c = make();
  *c = *a;
  EXPECT_EQ(c->get_name(), "speed");
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

TEST(zynParameter, LocksCoverSubtreesAndYieldToNoLock) {
  zynParameterPtr box = make(PT_MAP, PS_MAP);
  zynParameterPtr child = make();
  as_test(box).adopt(child);
  EXPECT_FALSE(child->is_locked());
  box->lock(1);
  EXPECT_TRUE(child->is_locked());
  {
    zynParameterNoLock unlocked;
    EXPECT_FALSE(child->is_locked());
    EXPECT_FALSE(box->is_locked());
  }
  EXPECT_TRUE(child->is_locked());
  as_test(box).give_up(child);
  EXPECT_FALSE(child->is_locked());
}

TEST(zynParameter, DescendentsFollowParentLinks) {
  zynParameterPtr top = make(PT_MAP, PS_MAP);
  zynParameterPtr mid = make(PT_MAP, PS_MAP);
  zynParameterPtr leaf = make();
  as_test(top).adopt(mid);
  as_test(mid).adopt(leaf);
  EXPECT_TRUE(leaf->is_descendent(top.pointer()));
  EXPECT_TRUE(leaf->is_descendent(leaf.pointer()));
  EXPECT_FALSE(top->is_descendent(leaf.pointer()));
  EXPECT_FALSE(leaf->is_descendent(nullptr));
  EXPECT_EQ(leaf->parent(), mid.pointer());
}

TEST(zynParameter, PathNamesOfNamedMembers) {
  zynParameterPtr top = make(PT_MAP, PS_MAP);
  zynParameterPtr leaf = make();
  top->set_name("tool");
  leaf->set_name("diameter");
  as_test(top).adopt(leaf);
  EXPECT_EQ(zynParameter::get_name(*leaf, 0), "tool.diameter");
  EXPECT_EQ(zynParameter::get_name(*top, 1), "tool");
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

TEST(zynParameter, ResolveClimbsWhenNotFound) {
  zynParameterPtr top = make(PT_MAP, PS_MAP);
  zynParameterPtr leaf = make();
  as_test(top).adopt(leaf);
  // The base lookup answers "Type error" at every level, so the climb ends at the top.
  EXPECT_EQ(zynParameter::get_subtype(*as_test(leaf).run_resolve("x")), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*as_test(leaf).run_resolve(zynParameterKey())), PS_ERR_SYNTAX);
}

TEST(zynParameter, EvaluateWithoutExpressionIsATypeError) {
  zynParameterPtr p = make();
  EXPECT_EQ(zynParameter::get_subtype(*as_test(p).run_evaluate()), PS_ERR_TYPE);
}

}  // namespace
