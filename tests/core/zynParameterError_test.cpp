#include "zyn/zyn.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"

namespace {


TEST(zynParameterError, SharedValuesPerSubtype) {
  EXPECT_EQ(zynParameterError::create(PS_ERR_TYPE).pointer(), zynParameterError::create(PS_ERR_TYPE).pointer());
  zynParameterPtr odd = zynParameterError::create(42);
  EXPECT_EQ(zynParameter::get_subtype(*odd), PS_ERR_UNKNOWN);
  EXPECT_NE(odd.pointer(), zynParameterError::create(PS_ERR_UNKNOWN).pointer());
  // Compared as parameters errors are equal (same type, both active, size 0);
  // as handles only the same object, or two unknown errors, are.
  zynParameterPtr a = zynParameterError::create(PS_ERR_NAME);
  zynParameterPtr b = zynParameterError::create(PS_ERR_ARGUMENTS);
  EXPECT_TRUE(*a == *b);
  EXPECT_FALSE(a == b);
  EXPECT_TRUE(zynParameterError::create(99) == zynParameterError::create(PS_ERR_UNKNOWN));
}

TEST(zynParameterError, MessagesAndValues) {
  zynParameterPtr e = zynParameterError::create(PS_ERR_DIVIDE_BY_ZERO);
  EXPECT_EQ(e->get_string(), "#ERROR: Divide by zero");
  EXPECT_EQ(e->print(0), "(ERROR) Divide by zero\n");
  EXPECT_EQ(zynParameterError::create(PS_ERR_REFERENCE)->get_expr(), "Expression/Reference error");
  e->set_int(3);
  EXPECT_EQ(e->get_int(), 0);
  EXPECT_EQ(e->get_double(), 0.0);
  EXPECT_TRUE(e->is_error());
  EXPECT_FALSE(e->is_valid());
  EXPECT_EQ(zynParameter::get_type(*e), PT_ERROR);
  // The base operations answer "Type error".
  EXPECT_EQ(zynParameter::get_subtype(*e->operate_prefix("-")), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*e->operate_postfix("!")), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*e->add("x", zynParameterPtr(new zynTestParameter))), PS_ERR_TYPE);
  EXPECT_EQ(zynParameter::get_subtype(*(*e)[zynParameterKey("x")]), PS_ERR_TYPE);
  EXPECT_EQ(e->size(), 0);
}

}  // namespace
