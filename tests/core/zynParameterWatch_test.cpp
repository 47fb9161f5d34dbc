#include "zyn/core/zynParameterWatch.h"

#include <gtest/gtest.h>

namespace {

// A watch matches the whole key, or its first or last component.
TEST(ParameterWatch, MatchesWholeKeyFirstOrLastComponent) {
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("a.b.c")), 0);  // the empty set watches nothing
  zynParameterWatch::add_watch("c");
  zynParameterWatch::add_watch("a.c.b");
  const struct {
    const char* key;
    int watched;
  } cases[] = {{"a.b.c", 1}, {"a[2].c", 1}, {"c.x", 1}, {"a.c.b", 1}, {"a.c.d", 0}, {"x.c.y", 0}, {"", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(zynParameterWatch::watched(zynParameterKey(c.key)), c.watched);
  }
  // Disabled, the watch keeps its set.
  zynParameterWatch::enable(0);
  EXPECT_FALSE(zynParameterWatch::enabled());
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("c")), 0);
  zynParameterWatch::enable(1);
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("c")), 1);
  zynParameterWatch::clear();
  EXPECT_EQ(zynParameterWatch::watched(zynParameterKey("c")), 0);
}

}  // namespace
