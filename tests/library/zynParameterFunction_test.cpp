#include "zyn/library/zynParameterFunction.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

TEST(ParameterFunction, KindTextLockAndNames) {
  zynParameterPtr f = zyn_function("argv[0] * 2");
  EXPECT_EQ(zynParameter::get_type(*f), PT_FUNCTION);
  EXPECT_EQ(subtype_of(f), PS_FUNCTION);
  EXPECT_EQ(f->get_string(), "argv[0] * 2");
  EXPECT_EQ(f->print(3), "(FUNCTION) argv[0] * 2\n");
  EXPECT_EQ(f.copy()->get_expr(), "argv[0] * 2");
  f->set_string("2");
  f->lock(1);
  f->set_string("3");
  EXPECT_EQ(f->get_expr(), "2");
  EXPECT_EQ(subtype_of(f->operate_binary("*", f)), PS_ERR_TYPE);
  // Only argv is a name, and outside a call it is empty: indexing it fails
  // without turning the stored argv into an error value.
  EXPECT_TRUE(f[zynParameterKey("argv")].is_null());
  for (const char* key : {"argv[0]", "x", "ARGV", "[0]"}) {
    EXPECT_EQ(subtype_of(f[zynParameterKey(key)]), PS_ERR_NAME) << key;
  }
  EXPECT_TRUE(f[zynParameterKey("argv")].is_null());
}

const zynParameter* seen_self = nullptr;
const zynParameter* seen_args = nullptr;

zynParameterPtr record_call(const zynParameter& self, const zynParameterPtr& args) {
  seen_self = &self;
  seen_args = args.pointer();
  return zynParameterError::create(PS_ERR_DATA);
}

TEST(ParameterMemberFunction, CallRunsTheRoutineWithSelfAndArguments) {
  zynParameterPtr f(new zynParameterMemberFunction(&record_call));
  EXPECT_EQ(subtype_of(f), PS_MEMBERFUNCTION);
  EXPECT_EQ(f->get_expr(), " ");
  zynParameterPtr args(new zynTestParameter());
  EXPECT_EQ(subtype_of(f->operate_binary("(", args)), PS_ERR_DATA);
  EXPECT_EQ(seen_self, f.pointer());
  EXPECT_EQ(seen_args, args.pointer());
  zynParameterPtr copy = f.copy();
  EXPECT_EQ(subtype_of(copy->operate_binary("(", args)), PS_ERR_DATA);
  EXPECT_EQ(seen_self, copy.pointer());
  // A missing routine is a domain error.
  zynParameterPtr none(new zynParameterMemberFunction(nullptr));
  EXPECT_EQ(subtype_of(none->operate_binary("(", args)), PS_ERR_DOMAIN);
  EXPECT_EQ(subtype_of(none->operate_binary("-", none)), PS_ERR_TYPE);
}

TEST(ParameterFunction, CallsThroughTheEvaluator) {
  zynParameterPtr root(new zynParameterMap());
  root->add(zynParameterKey("add"), zyn_function("argv[0] + argv[1]"));
  // The outer body reads its argv again after the inner call has returned.
  root->add(zynParameterKey("up"), zyn_function("0 + (argv[0] > 0 & up(argv[0] - 1) > -1) + argv[0]"));
  // A recursion that ends well inside the bound answers its value; one that
  // does not, directly or through another function, answers an error.
  root->add(zynParameterKey("down"), zyn_function("argv[0] <= 0 | down(argv[0] - 1)"));
  root->add(zynParameterKey("f"), zyn_function("f(argv[0] + 1)"));
  root->add(zynParameterKey("g"), zyn_function("h(1) + 1"));
  root->add(zynParameterKey("h"), zyn_function("g()"));
  zynEvaluator evaluator(root.pointer());
  EXPECT_EQ(evaluator.evaluate("add(2, 3)")->get_double(), 5.0);
  EXPECT_EQ(evaluator.evaluate("up(3)")->get_double(), 4.0);
  EXPECT_EQ(evaluator.evaluate("down(150)")->get_int(), 1);
  // Arguments missing from the call are an error, not a crash.
  for (const char* text : {"add(2)", "f(1)", "g()", "h(2) * 2", "[f(1), g()]"}) {
    EXPECT_TRUE(zynEvaluator(root.pointer()).evaluate(text)->is_error()) << text;
  }
  EXPECT_TRUE(root[zynParameterKey("add")][zynParameterKey("argv")].is_null());
}

}  // namespace
