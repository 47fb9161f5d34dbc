#include "zyn/library/zynEvalFunction.h"

#include <gtest/gtest.h>

namespace {

TEST(EvalFunction, InnermostScopeDecides) {
  EXPECT_EQ(zynEvalFunction::functions_only(), 0);
  {
    zynEvalFunction only(EF_FUNCTIONS_ONLY);
    EXPECT_EQ(zynEvalFunction::functions_only(), 1);
    {
      zynEvalFunction any(EF_ANY);
      EXPECT_EQ(zynEvalFunction::functions_only(), 0);
    }
    EXPECT_EQ(zynEvalFunction::functions_only(), 1);
  }
  EXPECT_EQ(zynEvalFunction::functions_only(), 0);
}

}  // namespace
