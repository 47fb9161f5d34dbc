// The higher-order list built-ins, called from expressions evaluated in a
// host tree: lists of numbers and of maps, expressions over the elements.
#include <gtest/gtest.h>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr element(const zynParameterPtr& p, int i) { return (*p)[zynParameterKey(i, utString())]; }

zynParameterPtr call(const zynParameterPtr& root, const char* name, std::initializer_list<zynParameterPtr> items) {
  const zynParameterPtr args(new zynParameterTempArray());
  for (const zynParameterPtr& item : items) args->add(zynParameterKey(), item);
  return (*root)[name]->operate_binary("(", args);
}

// A host tree: "nums" = {3, 1, 2} as a list, "tools" = three maps with
// Name, Diameter and Depth, "empty" = an empty list, "k" = 10.
class HigherOrder : public testing::Test {
 protected:
  HigherOrder() : root(zyn_test_lib_root()), scope(root) {
    root->add("nums", zyn_test_real_list({3, 1, 2}));
    root->add("empty", zyn_test_real_list({}));
    root->add("k", zyn_real(10));
    zynParameterPtr prototype(new zynParameterMap());
    prototype->add("Name", zyn_string());
    prototype->add("Diameter", zyn_real(0));
    prototype->add("Depth", zyn_real(0));
    zynParameterPtr tools(new zynParameterList(prototype));
    const struct { const char* name; double diameter, depth; } rows[] = {
        {"drill", 4, 30}, {"mill", 8, 10}, {"ball", 6, 20}};
    for (const auto& r : rows) {
      zynParameterPtr tool = (*tools)[zynParameterKey(-1, utString())];
      (*tool)["Name"]->set_string(r.name);
      (*tool)["Diameter"]->set_double(r.diameter);
      (*tool)["Depth"]->set_double(r.depth);
    }
    root->add("tools", tools);
  }

  zynParameterPtr eval(const utString& text) const { return zyn_test_eval(root, text); }

  zynParameterPtr root;
  zynParameterEvalScope scope;
};

TEST_F(HigherOrder, ListFunctions) {
  const auto eval = [this](const char* text) { return zyn_test_eval(root, text); };
  zyn_check_lib_cases(eval, {
      {"extract(tools, 'Name')", PS_VECTOR, "drill,mill,ball"}, {"extract(empty, 'Name')", PS_VECTOR, ""},
      {"extract(filter(tools, 'Diameter > 5'), 'Name')", PS_VECTOR, "mill,ball"},
      {"filter(tools, '')", PS_VECTOR, nullptr}, {"filter(nums, 'this >= 2')", PS_VECTOR, "3,2"},
      // Names the element does not hold resolve up its tree.
      {"extract(filter(tools, 'Depth >= k * 2'), 'Name')", PS_VECTOR, "drill,ball"},
      {"apply(nums, 'this * 2')", PS_VECTOR, "6,2,4"}, {"apply(tools, 'Diameter + Depth')", PS_VECTOR, "34,18,26"},
      {"flatten({{1; 2}; {3; {4}}})", PS_VECTOR, "1,2,3,4"}, {"flatten({})", PS_VECTOR, ""},
      {"join({'a'; 'b'; 'c'}, ',')", PS_STRING, "a,b,c"}, {"join({1; 2.5}, '-')", PS_STRING, "1-2.5"},
      {"join(empty, ',')", PS_STRING, ""}, {"reverse(nums)", PS_VECTOR, "2,1,3"},
      {"sort(nums)", PS_LIST, "1,2,3"}, {"nums", PS_LIST, "3,1,2"}, {"sort(empty)", PS_LIST, ""},
      {"extract(sort(tools, 'Depth'), 'Name')", PS_VECTOR, "mill,ball,drill"},
      {"extract(sort(tools, 'Name'), 'Name')", PS_VECTOR, "ball,drill,mill"},
      {"extract(tools, 'Name')", PS_VECTOR, "drill,mill,ball"},
  });
  zyn_check_lib_errors(eval, PS_ERR_ARGUMENTS, {"extract(tools, 'Length')", "extract(nums, 'Name')",
      "filter(tools, 'Name')", "filter(tools, 'no_such + 1')", "apply(nums, 'this / 0')", "apply(nums, 'no_such')",
      "flatten({1; {2}})", "flatten(nums)", "join(nums, 1)", "join('abc', ',')", "reverse(5)", "sort(tools, 'Length')",
      "sort(tools, 1)", "extract(tools)", "filter(tools)", "join(nums)", "filter(5, '')", "apply(nums, 2)"});
}

TEST_F(HigherOrder, ResultsShareOrCopyTheElements) {
  // extract and reverse hand back the members themselves; sort copies a list of its own.
  EXPECT_EQ(element(eval("extract(tools, 'Name')"), 0).raw(), (*root)["tools[0].Name"].raw());
  EXPECT_EQ(element(eval("reverse(nums)"), 0).raw(), (*root)["nums[2]"].raw());
  // A shared list holds members of the tree: sorting it must not write them.
  zynParameterPtr shared(new zynParameterSharedList(zyn_real(0)));
  for (int i = 0; i < 3; ++i) shared->add(zynParameterKey(), (*root)[zynParameterKey("nums")][zynParameterKey(i, "")]);
  root->add("picked", shared);
  const zynParameterPtr r = eval("sort(picked)");
  EXPECT_EQ(zyn_lib_text(r), "1,2,3");
  EXPECT_EQ(zyn_lib_text((*root)["nums"]), "3,1,2");
  EXPECT_EQ(element(r, 0).raw(), (*root)["nums[1]"].raw());
}

TEST_F(HigherOrder, LooseElementsAndCyclesAreHandled) {
  // Loose elements of a literal reach the tree through the evaluation scope,
  // and are loose again afterwards.
  const zynParameterPtr literal = eval("{1; 2}");
  EXPECT_EQ(zyn_lib_text(call(root, "apply", {literal, zyn_string("this + k")})), "11,12");
  EXPECT_EQ(element(literal, 0)->parent(), nullptr);
  zynParameterPtr loop(new zynParameterTempArray());
  zynParameterPtr inner(new zynParameterTempArray());
  inner->add(zynParameterKey(), inner);
  loop->add(zynParameterKey(), inner);
  EXPECT_EQ(subtype_of(call(root, "flatten", {loop})), PS_ERR_ARGUMENTS);
  inner->remove_all();  // breaks the cycle of references
}

}  // namespace
