// The higher-order list built-ins, called from expressions evaluated in a
// host tree: lists of numbers and of maps, expressions over the elements.
#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr element(const zynParameterPtr& p, int i) { return (*p)[zynParameterKey(i, utString())]; }

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

std::vector<double> numbers(const zynParameterPtr& array) {
  std::vector<double> out;
  for (int i = 0; i < array->size(); ++i) out.push_back(element(array, i)->get_double());
  return out;
}

// A host tree: "nums" = {3, 1, 2} as a list, "tools" = three maps with
// Name, Diameter and Depth, "empty" = an empty list, "k" = 10.
class HigherOrder : public testing::Test {
 protected:
  HigherOrder() : root(zyn_test_lib_root()), scope(root) {
    zynParameterPtr nums(new zynParameterList(zyn_real(0)));
    for (double v : {3.0, 1.0, 2.0}) (*nums)[zynParameterKey(-1, utString())]->set_double(v);
    root->add("nums", nums);
    root->add("empty", zyn_list(zyn_real(0)));
    root->add("k", zyn_real(10));

    zynParameterPtr prototype(new zynParameterMap());
    prototype->add("Name", zyn_string());
    prototype->add("Diameter", zyn_real(0));
    prototype->add("Depth", zyn_real(0));
    zynParameterPtr tools(new zynParameterList(prototype));
    const struct {
      const char* name;
      double diameter, depth;
    } rows[] = {{"drill", 4, 30}, {"mill", 8, 10}, {"ball", 6, 20}};
    for (const auto& r : rows) {
      zynParameterPtr tool = (*tools)[zynParameterKey(-1, utString())];
      (*tool)["Name"]->set_string(r.name);
      (*tool)["Diameter"]->set_double(r.diameter);
      (*tool)["Depth"]->set_double(r.depth);
    }
    root->add("tools", tools);
  }

  zynParameterPtr eval(const utString& text) { return zyn_test_eval(root, text); }

  std::vector<utString> names(const zynParameterPtr& array) {
    std::vector<utString> out;
    for (int i = 0; i < array->size(); ++i) out.push_back((*element(array, i))["Name"]->get_string());
    return out;
  }

  zynParameterPtr root;
  zynParameterEvalScope scope;
};

TEST_F(HigherOrder, ExtractPicksMembersAndFailsOnAMissingOne) {
  const zynParameterPtr r = eval("extract(tools, 'Name')");
  ASSERT_EQ(r->size(), 3) << r->print(0);
  EXPECT_EQ(element(r, 1)->get_string(), "mill");
  // The members themselves, not copies.
  EXPECT_EQ(element(r, 0).raw(), (*root)["tools[0].Name"].raw());
  EXPECT_EQ(eval("extract(empty, 'Name')")->size(), 0);
  EXPECT_EQ(subtype_of(eval("extract(tools, 'Length')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("extract(nums, 'Name')")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, FilterKeepsElementsWhoseExpressionHolds) {
  EXPECT_EQ(names(eval("filter(tools, 'Diameter > 5')")), (std::vector<utString>{"mill", "ball"}));
  EXPECT_EQ(eval("filter(tools, '')")->size(), 3);
  EXPECT_EQ(numbers(eval("filter(nums, 'this >= 2')")), (std::vector<double>{3, 2}));
  // Names the element does not hold resolve up its tree.
  EXPECT_EQ(names(eval("filter(tools, 'Depth >= k * 2')")), (std::vector<utString>{"drill", "ball"}));
  EXPECT_EQ(subtype_of(eval("filter(tools, 'Name')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("filter(tools, 'no_such + 1')")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, ApplyMapsAnExpressionOverElements) {
  EXPECT_EQ(numbers(eval("apply(nums, 'this * 2')")), (std::vector<double>{6, 2, 4}));
  EXPECT_EQ(numbers(eval("apply(tools, 'Diameter + Depth')")), (std::vector<double>{34, 18, 26}));
  // Loose elements of a literal reach the tree through the evaluation scope,
  // and are loose again afterwards.
  const zynParameterPtr literal = eval("{1; 2}");
  ASSERT_EQ(literal->size(), 2);
  const zynParameterPtr args(new zynParameterTempArray());
  args->add(zynParameterKey(), literal);
  args->add(zynParameterKey(), zyn_string("this + k"));
  const zynParameterPtr r = (*root)["apply"]->operate_binary("(", args);
  EXPECT_EQ(numbers(r), (std::vector<double>{11, 12}));
  EXPECT_EQ(element(literal, 0)->parent(), nullptr);
  EXPECT_EQ(subtype_of(eval("apply(nums, 'this / 0')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("apply(nums, 'no_such')")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, FlattenWalksNestedArraysDepthFirst) {
  EXPECT_EQ(numbers(eval("flatten({{1; 2}; {3; {4}}})")), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(eval("flatten({})")->size(), 0);
  EXPECT_EQ(subtype_of(eval("flatten({1; {2}})")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("flatten(nums)")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, FlattenRefusesAnArrayThatHoldsItself) {
  zynParameterPtr loop(new zynParameterTempArray());
  zynParameterPtr inner(new zynParameterTempArray());
  inner->add(zynParameterKey(), inner);
  loop->add(zynParameterKey(), inner);
  const zynParameterPtr args(new zynParameterTempArray());
  args->add(zynParameterKey(), loop);
  EXPECT_EQ(subtype_of((*root)["flatten"]->operate_binary("(", args)), PS_ERR_ARGUMENTS);
  inner->remove_all();  // breaks the cycle of references
}

TEST_F(HigherOrder, JoinUsesTheTextOfEachElement) {
  EXPECT_EQ(eval("join({'a'; 'b'; 'c'}, ',')")->get_string(), "a,b,c");
  EXPECT_EQ(eval("join({1; 2.5}, '-')")->get_string(), "1-2.5");
  const zynParameterPtr none = eval("join(empty, ',')");
  EXPECT_EQ(subtype_of(none), PS_STRING);
  EXPECT_EQ(none->get_string(), "");
  EXPECT_EQ(subtype_of(eval("join(nums, 1)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("join('abc', ',')")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, ReverseSharesTheElements) {
  const zynParameterPtr r = eval("reverse(nums)");
  EXPECT_EQ(numbers(r), (std::vector<double>{2, 1, 3}));
  EXPECT_EQ(element(r, 0).raw(), (*root)["nums[2]"].raw());
  EXPECT_EQ(subtype_of(eval("reverse(5)")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, SortCopiesAndOrders) {
  const zynParameterPtr r = eval("sort(nums)");
  EXPECT_EQ(subtype_of(r), PS_LIST);
  EXPECT_EQ(numbers(r), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(numbers((*root)["nums"]), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(names(eval("sort(tools, 'Depth')")), (std::vector<utString>{"mill", "ball", "drill"}));
  EXPECT_EQ(names((*root)["tools"]), (std::vector<utString>{"drill", "mill", "ball"}));
  EXPECT_EQ(eval("sort(empty)")->size(), 0);
  EXPECT_EQ(names(eval("sort(tools, 'Name')")), (std::vector<utString>{"ball", "drill", "mill"}));
  EXPECT_EQ(subtype_of(eval("sort(tools, 'Length')")), PS_ERR_ARGUMENTS);  // no number to compare
  EXPECT_EQ(subtype_of(eval("sort(tools, 1)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(eval("sort()")), PS_ERR_ARGUMENTS);
}

TEST_F(HigherOrder, SortOfSharedElementsLeavesTheirValues) {
  // A shared list holds members of the tree: sorting it must not write them.
  zynParameterPtr shared(new zynParameterSharedList(zyn_real(0)));
  for (int i = 0; i < 3; ++i) shared->add(zynParameterKey(), (*root)[zynParameterKey("nums")][zynParameterKey(i, "")]);
  root->add("picked", shared);
  const zynParameterPtr r = eval("sort(picked)");
  EXPECT_EQ(numbers(r), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(numbers((*root)["nums"]), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(element(r, 0).raw(), (*root)["nums[1]"].raw());
}

TEST_F(HigherOrder, WrongCountsAndKinds) {
  for (const char* text : {"extract(tools)", "filter(tools)", "apply(tools, 'x', 1)", "flatten()", "join(nums)",
                           "reverse()", "sort(nums, 'a', 'b')", "filter(5, '')", "apply(nums, 2)"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(subtype_of(eval(text)), PS_ERR_ARGUMENTS);
  }
}

}  // namespace
