#include "zyn/core/zynParameterWatch.h"

#include <gtest/gtest.h>

namespace {

class WatchTest : public ::testing::Test {
 protected:
  void TearDown() override {
    zynParameterWatch::clear();
    zynParameterWatch::enable(1);
  }
};

TEST_F(WatchTest, EmptySetWatchesNothing) {
  EXPECT_TRUE(zynParameterWatch::enabled());
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.b.c")), 0);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a")), 0);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey()), 0);
}

TEST_F(WatchTest, MatchesWholeKeyFirstOrLastComponent) {
  zynParameterWatch::add_watch("c");
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.b.c")), 1);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a[2].c")), 1);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("c.x")), 1);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.c.b")), 0);  // middle components do not count
  zynParameterWatch::add_watch("a.c.b");
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.c.b")), 1);
  zynParameterWatch::clear();
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.b.c")), 0);
}

TEST_F(WatchTest, DisabledWatchKeepsItsSet) {
  zynParameterWatch::add_watch("a");
  zynParameterWatch::enable(0);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a")), 0);
  zynParameterWatch::enable(1);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a")), 1);
}

}  // namespace
