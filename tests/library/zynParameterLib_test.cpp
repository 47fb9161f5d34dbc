#include "zyn/library/zynParameterLib.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterPtr call(const zynParameterPtr& f) { return f->operate_binary("(", zynParameterPtr(new zynTestParameter())); }

TEST(ParameterLib, LibraryObjectAndHandlesReportTheirKind) {
  zynParameterPtr lib(new zynParameterLib());
  EXPECT_EQ(zynParameter::get_type(*lib), PT_FUNCTION);
  EXPECT_EQ(subtype_of(lib), PS_LIB);
  EXPECT_EQ(lib->print(0), "(STANDARD FUNCTION LIBRARY)\n");
  EXPECT_EQ(lib->size(), static_cast<int>(zyn_lib_registry().size()));

  zynParameterPtr sine = lib[zynParameterKey("sin")];
  EXPECT_EQ(subtype_of(sine), PS_LIBFUNCTION);
  EXPECT_EQ(sine->print(0), "(STANDARD FUNCTION) sin\n");
  EXPECT_EQ(sine->get_expr(), "sin");
  EXPECT_EQ(sine->size(), 0);
  EXPECT_TRUE(zynParameterFunction::ut_dynamic_cast(sine.pointer()) != nullptr);

  // A copy of a handle is a library object again.
  zynParameterPtr fresh = sine.copy();
  EXPECT_EQ(subtype_of(fresh), PS_LIB);
  EXPECT_EQ(fresh->size(), lib->size());
}

TEST(ParameterLib, LookupIgnoresLetterCase) {
  zynParameterPtr lib(new zynParameterLib());
  for (const char* text : {"sin", "SIN", "Sin", "sIN"}) {
    SCOPED_TRACE(text);
    zynParameterPtr handle = lib[zynParameterKey(text)];
    ASSERT_EQ(subtype_of(handle), PS_LIBFUNCTION);
    EXPECT_EQ(handle->get_expr(), "sin");
  }
}

TEST(ParameterLib, FailedLookupsAreInvalidName) {
  zynParameterPtr lib(new zynParameterLib());
  EXPECT_EQ(subtype_of(lib[zynParameterKey("no_such_function")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(lib[zynParameterKey("sin.x")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(lib[zynParameterKey("sin[0]")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(lib[zynParameterKey("")]), PS_ERR_NAME);
}

TEST(ParameterLib, DescribingAHandleLeavesOthersAlone) {
  zynParameterPtr lib(new zynParameterLib());
  lib->set_name("std");
  lib->set_desc("the library");
  zynParameterPtr sine = lib[zynParameterKey("sin")];
  zynParameterPtr cosine = lib[zynParameterKey("cos")];
  EXPECT_EQ(sine->get_desc(), "Trigonometric sine.");
  EXPECT_EQ(cosine->get_desc(), "Trigonometric cosine.");
  EXPECT_EQ(lib->get_desc(), "the library");
  EXPECT_EQ(sine->get_name(), "std");
}

TEST(ParameterLib, CallsOfUnregisteredNamesAreInvalidName) {
  zynParameterLib lib;
  EXPECT_EQ(subtype_of(call(zynParameterPtr(new zynParameterLib(lib, "no_such_function")))), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(call(zynParameterPtr(lib.create_new()))), PS_ERR_NAME);
  // Lookups lower-case the name; calls compare exactly.
  EXPECT_EQ(subtype_of(call(zynParameterPtr(new zynParameterLib(lib, "SIN")))), PS_ERR_NAME);
}

TEST(ParameterLib, OtherOperatorsAreTheBaseClasses) {
  zynParameterPtr lib(new zynParameterLib());
  zynParameterPtr sine = lib[zynParameterKey("sin")];
  EXPECT_EQ(subtype_of(sine->operate_binary("+", sine)), PS_ERR_TYPE);
}

TEST(ParameterLib, EvalScopeHoldsItsParameter) {
  EXPECT_TRUE(zynParameterLib::get_eval_scope().is_null());
  zynTestParameter* scope = new zynTestParameter();
  zynParameterLib::set_eval_scope(zynParameterPtr(scope));
  EXPECT_EQ(zynParameterLib::get_eval_scope().pointer(), scope);
  EXPECT_EQ(scope->reference_count(), 1);
  zynParameterLib::set_eval_scope(zynParameterPtr());
  EXPECT_TRUE(zynParameterLib::get_eval_scope().is_null());
}

TEST(ParameterLib, AngleUnitStartsAtRadians) {
  EXPECT_EQ(zynParameterLib::get_angle_unit(), 0);
  zynParameterLib::set_angle_unit(giAngleDegrees);
  EXPECT_EQ(zynParameterLib::get_angle_unit(), giAngleDegrees);
  zynParameterLib::set_angle_unit(giAngleRadians);
}

TEST(ParameterLib, KeysListTheRegisteredNamesInRegistryOrder) {
  zynParameterPtr lib(new zynParameterLib());
  for (const char* text : {"_keys", "_KEYS", "_Keys.ignored"}) {
    SCOPED_TRACE(text);
    zynParameterPtr keys = lib[zynParameterKey(text)];
    ASSERT_EQ(subtype_of(keys), PS_LIST);
    ASSERT_EQ(keys->size(), static_cast<int>(zyn_lib_registry().size()));
    int i = 0;
    for (const auto& entry : zyn_lib_registry()) {
      zynParameterPtr name = keys[zynParameterKey(i++, utString())];
      EXPECT_EQ(subtype_of(name), PS_STRING);
      EXPECT_EQ(name->get_string(), entry.first);
    }
  }
  EXPECT_GE(lib->size(), 98);
}

}  // namespace
