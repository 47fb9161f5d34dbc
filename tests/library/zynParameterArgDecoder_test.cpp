#include "zyn/library/zynParameterArgDecoder.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr make_args(int n, zynParameterPtr* items) {
  zynParameterPtr args(new zynParameterTempArray());
  for (int i = 0; i < n; ++i) {
    items[i] = zynParameterPtr(new zynTestParameter());
    args->add(zynParameterKey(), items[i]);
  }
  return args;
}

TEST(ParameterArgDecoder, HandsOutArgumentsInOrderThenFails) {
  zynParameterPtr items[2];
  zynParameterArgDecoder decoder(make_args(2, items));
  EXPECT_FALSE(decoder.all_arguments_used());
  EXPECT_EQ(decoder.next_argument().pointer(), items[0].pointer());
  EXPECT_EQ(decoder.next_argument().pointer(), items[1].pointer());
  EXPECT_TRUE(decoder.all_arguments_used());
  EXPECT_EQ(zynParameter::get_subtype(*decoder.next_argument()), PS_ERR_ARGUMENTS);
  EXPECT_TRUE(decoder.all_arguments_used());
  EXPECT_EQ(decoder.remaining_arguments()->size(), 0);
}

TEST(ParameterArgDecoder, TypedArgumentOfAnotherClassIsNullButConsumed) {
  zynParameterPtr items[2];
  zynParameterArgDecoder decoder(make_args(2, items));
  EXPECT_EQ(decoder.next_argument_as<zynParameterArray>(), nullptr);
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), items[1].pointer());
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), nullptr);
}

TEST(ParameterArgDecoder, RemainingArgumentsShareTheRestWithoutConsuming) {
  zynParameterPtr items[3];
  zynParameterArgDecoder decoder(make_args(3, items));
  decoder.next_argument();
  zynParameterPtr rest = decoder.remaining_arguments();
  ASSERT_EQ(rest->size(), 2);
  EXPECT_EQ(rest[zynParameterKey(0, "")].pointer(), items[1].pointer());
  EXPECT_EQ(rest[zynParameterKey(1, "")].pointer(), items[2].pointer());
  EXPECT_EQ(decoder.next_argument().pointer(), items[1].pointer());
}

}  // namespace
