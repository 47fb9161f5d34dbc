#include "zyn/library/zynParameterArgDecoder.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

TEST(ParameterArgDecoder, HandsOutArgumentsInOrderThenFails) {
  zynParameterPtr items[3];
  zynParameterPtr args(new zynParameterTempArray());
  for (zynParameterPtr& item : items) args->add(zynParameterKey(), item = zynParameterPtr(new zynTestParameter()));
  zynParameterArgDecoder decoder(args);
  // A typed argument of another class is null, but consumed.
  EXPECT_EQ(decoder.next_argument_as<zynParameterArray>(), nullptr);
  EXPECT_FALSE(decoder.all_arguments_used());
  // The remaining arguments share the rest without consuming it.
  zynParameterPtr rest = decoder.remaining_arguments();
  ASSERT_EQ(rest->size(), 2);
  EXPECT_EQ(rest[zynParameterKey(1, "")].pointer(), items[2].pointer());
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), items[1].pointer());
  EXPECT_EQ(decoder.next_argument().pointer(), items[2].pointer());
  EXPECT_TRUE(decoder.all_arguments_used());
  EXPECT_EQ(zynParameter::get_subtype(*decoder.next_argument()), PS_ERR_ARGUMENTS);
  EXPECT_EQ(decoder.next_argument_as<zynTestParameter>(), nullptr);
  EXPECT_EQ(decoder.remaining_arguments()->size(), 0);
}

}  // namespace
