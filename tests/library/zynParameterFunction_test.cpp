#include "zyn/library/zynParameterFunction.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

TEST(ParameterFunction, KindTextAndPrint) {
  zynParameterPtr f(new zynParameterFunction("argv[0] * 2"));
  EXPECT_EQ(zynParameter::get_type(*f), PT_FUNCTION);
  EXPECT_EQ(subtype_of(f), PS_FUNCTION);
  EXPECT_EQ(f->get_string(), "argv[0] * 2");
  EXPECT_EQ(f->get_expr(), "argv[0] * 2");
  EXPECT_EQ(f->print(3), "(FUNCTION) argv[0] * 2\n");
  zynParameterPtr copy = f.copy();
  EXPECT_EQ(copy->get_expr(), "argv[0] * 2");
  EXPECT_EQ(subtype_of(copy), PS_FUNCTION);
}

TEST(ParameterFunction, LockedFunctionKeepsItsBody) {
  zynParameterPtr f(new zynParameterFunction("1"));
  f->set_string("2");
  EXPECT_EQ(f->get_expr(), "2");
  f->lock(1);
  f->set_string("3");
  EXPECT_EQ(f->get_expr(), "2");
}

TEST(ParameterFunction, ArgvOutsideACallIsEmpty) {
  zynParameterPtr f(new zynParameterFunction("argv"));
  zynParameterPtr argv = f[zynParameterKey("argv")];
  EXPECT_TRUE(argv.is_null());
  // Indexing it fails without turning the stored argv into an error value.
  EXPECT_EQ(subtype_of(f[zynParameterKey("argv[0]")]), PS_ERR_NAME);
  EXPECT_TRUE(f[zynParameterKey("argv")].is_null());
}

TEST(ParameterFunction, OnlyArgvIsAName) {
  zynParameterPtr f(new zynParameterFunction("1"));
  EXPECT_EQ(subtype_of(f[zynParameterKey("x")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(f[zynParameterKey("ARGV")]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(f[zynParameterKey("[0]")]), PS_ERR_NAME);
}

TEST(ParameterFunction, OperatorsOtherThanCallAreTheBaseClasses) {
  zynParameterPtr f(new zynParameterFunction("1"));
  EXPECT_EQ(subtype_of(f->operate_binary("*", f)), PS_ERR_TYPE);
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
}

TEST(ParameterMemberFunction, MissingRoutineIsDomainError) {
  zynParameterPtr f(new zynParameterMemberFunction(nullptr));
  EXPECT_EQ(subtype_of(f->operate_binary("(", zynParameterPtr(new zynTestParameter()))), PS_ERR_DOMAIN);
  EXPECT_EQ(subtype_of(f->operate_binary("-", f)), PS_ERR_TYPE);
}

// A body that calls itself, directly or through another function, ends
// with an error value instead of exhausting the stack.
TEST(ParameterFunction, EndlessRecursionAnswersAnError) {
  zynParameterPtr root(new zynParameterMap());
  root->add(zynParameterKey("f"), zyn_function("f(argv[0] + 1)"));
  root->add(zynParameterKey("g"), zyn_function("h(1) + 1"));
  root->add(zynParameterKey("h"), zyn_function("g()"));
  for (const char* text : {"f(1)", "g()", "h(2) * 2", "[f(1), g()]"}) {
    SCOPED_TRACE(text);
    zynEvaluator evaluator(root.pointer());
    zynParameterPtr result = evaluator.evaluate(text);
    EXPECT_TRUE(result->is_error());
  }
}

// A recursion that ends well inside the bound still answers its value.
TEST(ParameterFunction, BoundedRecursionEvaluates) {
  zynParameterPtr root(new zynParameterMap());
  root->add(zynParameterKey("down"), zyn_function("argv[0] <= 0 | down(argv[0] - 1)"));
  zynEvaluator evaluator(root.pointer());
  zynParameterPtr result = evaluator.evaluate("down(150)");
  EXPECT_FALSE(result->is_error()) << result->get_string();
  EXPECT_EQ(result->get_int(), 1);
}

int g_argument_count = -1;
zynParameterPtr count_arguments(const zynParameter&, const zynParameterPtr& args) {
  g_argument_count = args->size();
  return zyn_boolean(true);
}

TEST(ParameterFunction, CallsThroughTheEvaluator) {
  zynParameterPtr root(new zynParameterMap());
  root->add(zynParameterKey("add"), zyn_function("argv[0] + argv[1]"));
  root->add(zynParameterKey("all"), zyn_function("argv"));
  root->add(zynParameterKey("count"), zynParameterPtr(new zynParameterMemberFunction(&count_arguments)));
  // The outer body reads its argv again after the inner call has returned.
  root->add(zynParameterKey("up"), zyn_function("0 + (argv[0] > 0 & up(argv[0] - 1) > -1) + argv[0]"));
  zynEvaluator evaluator(root.pointer());
  EXPECT_EQ(evaluator.evaluate("add(2, 3)")->get_double(), 5.0);
  EXPECT_EQ(evaluator.evaluate("all(1, 2, 3)")->size(), 3);
  EXPECT_EQ(evaluator.evaluate("count()")->get_int(), 1);
  EXPECT_EQ(g_argument_count, 0);
  evaluator.evaluate("count(1, \"a\")");
  EXPECT_EQ(g_argument_count, 2);
  EXPECT_EQ(evaluator.evaluate("up(3)")->get_double(), 4.0);
  // Arguments missing from the call are an error, not a crash.
  EXPECT_TRUE(evaluator.evaluate("add(2)")->is_error());
  EXPECT_TRUE(root[zynParameterKey("add")][zynParameterKey("argv")].is_null());
}

}  // namespace
