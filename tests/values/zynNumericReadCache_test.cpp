// Reads of a literal numeric come from a cache once the value is known; the
// cache must give way to whatever can change the value read.
#include <gtest/gtest.h>

#include "zyn/zyn.h"

namespace {

const zynDimensions none(ZYN_DIM_NONE);

zynParameterPtr make_text(zynParameterSubType s, const utString& text) {
  zynParameterPtr p(new zynParameterNumeric(s, none, 0.0));
  p->set_string(text);
  return p;
}

zynParameterNumeric& numeric(const zynParameterPtr& p) { return *zynParameterNumeric::ut_dynamic_cast(p.pointer()); }

TEST(NumericReadCache, LaterChangesReachTheNextRead) {
  zynParameterPtr p = make_text(PS_REAL, "7.5");
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  numeric(p).set_range(zynRange(0.0, 5.0));
  EXPECT_DOUBLE_EQ(p->get_double(), 5.0);
  numeric(p).set_range(zynRange());
  EXPECT_DOUBLE_EQ(p->get_double(), 7.5);
  p->set_double(2.25);
  EXPECT_DOUBLE_EQ(p->get_double(), 2.25);
  p->set_string("1.5*2");
  EXPECT_DOUBLE_EQ(p->get_double(), 3.0);
  p->set_string("4");
  EXPECT_DOUBLE_EQ(p->get_double(), 4.0);
}

TEST(NumericReadCache, SubtypeRulesHoldOnRepeatedReads) {
  zynParameterPtr i = make_text(PS_INT, "2.7");
  zynParameterPtr b = make_text(PS_BOOL, "0.5");
  for (int n = 0; n < 3; ++n) {
    EXPECT_DOUBLE_EQ(i->get_double(), 2.0);
    EXPECT_DOUBLE_EQ(b->get_double(), 1.0);
  }
}

TEST(NumericReadCache, CopiesAndOtherDecimalPointsReadTheSameValue) {
  zynParameterPtr p = make_text(PS_REAL, "1.5");
  EXPECT_DOUBLE_EQ(p->get_double(), 1.5);
  zynParameterPtr copy(p->create_new());
  EXPECT_DOUBLE_EQ(copy->get_double(), 1.5);
  const char old = nlsUtils::m_decimal_point;
  nlsUtils::m_decimal_point = ',';
  EXPECT_DOUBLE_EQ(p->get_double(), 1.5);
  EXPECT_DOUBLE_EQ(copy->get_double(), 1.5);
  nlsUtils::m_decimal_point = old;
  EXPECT_DOUBLE_EQ(p->get_double(), 1.5);
}

}  // namespace
