// Index keys: shared parses for small indexes must look exactly like fresh ones.
#include <gtest/gtest.h>

#include "zyn/zyn.h"

namespace {

TEST(ParameterKeyIndex, SmallAndLargeIndexesParseAlike) {
  for (int i : {0, 3, 63, 64, 1000}) {
    zynParameterKey key(i, utString());
    EXPECT_EQ(key.type(), PT_ARRAY) << i;
    EXPECT_EQ(key.first(), std::to_string(i));
    EXPECT_EQ(key.remainder_str(), "");
    EXPECT_EQ(key.str(), "[" + std::to_string(i) + "]");
  }
  zynParameterKey with_rest(3, "v");
  EXPECT_EQ(with_rest.first(), "3");
  EXPECT_EQ(with_rest.remainder_str(), "v");
  EXPECT_EQ(zynParameterKey(-1, utString()).type(), PT_ARRAY);  // the append index
}

TEST(ParameterKeyIndex, SharedKeysReachListElements) {
  zynParameterPtr element(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0));
  zynParameterPtr list(new zynParameterList(element));
  list->set_int(4);
  list[zynParameterKey(2, utString())]->set_double(2.5);
  EXPECT_DOUBLE_EQ(list[zynParameterKey(2, utString())]->get_double(), 2.5);
  EXPECT_DOUBLE_EQ(list["[2]"]->get_double(), 2.5);
  EXPECT_DOUBLE_EQ(list[zynParameterKey(1, utString())]->get_double(), 0.0);
}

}  // namespace
