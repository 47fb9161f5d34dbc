// The list and set built-ins, called from expressions in a tree that reaches
// the library as a host's tree does. The editing functions change the named
// list of the tree itself.
#include <gtest/gtest.h>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

zynParameterPtr pass_map(double depth) {
  zynParameterPtr m(new zynParameterMap());
  m->add("depth", zyn_test_number(depth));
  return m;
}

// The host's entity function: every id names an entity.
zynParameterPtr any_entity(const zynParameter&, const zynParameterPtr&) { return zyn_test_number(1); }

class LibList : public testing::Test {
 protected:
  LibList() {
    tree.add("two", zyn_test_real_list({1, 2}));
    tree.add("empty", zyn_test_real_list({}));
    tree.add("dups", zyn_test_real_list({1, 2, 1, 3, 2}));
    tree.add("m", pass_map(5));
    tree.add("dict", zynParameterPtr(new zynParameterMap(PS_DICT)));
    tree.add("broken", zynParameterPtr(new zynParameterRef("nowhere")));
    tree.add("shared", zynParameterPtr(new zynParameterSharedList(zyn_test_number(0))));
    passes = tree.add("passes", zynParameterPtr(new zynParameterList(pass_map(0))));
  }

  zynTestLibTree tree;
  zynParameterPtr passes;
};

TEST_F(LibList, AddAndRemoveEditTheListInPlace) {
  zyn_check_lib_cases(tree, {
      {"add_first(two, 5)", PS_INT, "3"}, {"add_last(two, 7)", PS_INT, "4"}, {"two", PS_LIST, "5,1,2,7"},
      {"add_last(empty, 2 * 4) + 10", PS_INT, "11"}, {"empty", PS_LIST, "8"},
      // New elements are made from the prototype, a REAL.
      {"two[0]", PS_REAL, "5"}, {"remove_first(two)", PS_REAL, "5"}, {"remove_last(two)", PS_REAL, "7"},
      {"two", PS_LIST, "1,2"}, {"remove_last({4, 5})", PS_NUMERIC, "5"},
  });
  EXPECT_EQ(tree.root[zynParameterKey("two[0]")]->parent(), tree.root[zynParameterKey("two")].pointer());
  EXPECT_EQ(tree.eval("remove_first(empty)")->parent(), nullptr);
  zyn_check_lib_errors(tree, PS_ERR_DATA, {"remove_first(empty)", "remove_last(empty)", "remove_first({})"});
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"add_first(two, 'x')", "add_last(two, m)", "add_first(two)",
      "add_first(5, 1)", "add_last({1, 2}, 3)", "add_first(shared, 1)", "add_last(shared, 1)", "remove_first(5)",
      "remove_first(shared)", "remove_last(m)"});
  tree.root[zynParameterKey("two")]->lock(1);
  zyn_check_lib_errors(tree, PS_ERR_UNKNOWN, {"add_first(two, 3)", "add_last(two, 3)"});
  EXPECT_EQ(zyn_lib_text(tree.root[zynParameterKey("two")]), "1,2");
}

TEST_F(LibList, AddingMapsAndRoots) {
  tree.eval("add_last(passes, m)");
  EXPECT_EQ(tree.eval("add_first(passes, m)")->get_int(), 2);
  tree.root[zynParameterKey("m.depth")]->set_double(9);
  EXPECT_EQ(tree.eval("add_last(passes, m)")->get_int(), 3);
  EXPECT_EQ(passes[zynParameterKey("[0].depth")]->get_double(), 5);
  EXPECT_EQ(passes[zynParameterKey("[2].depth")]->get_double(), 9);
  EXPECT_NE(passes[zynParameterKey(2, "")].pointer(), tree.root[zynParameterKey("m")].pointer());
  // The reserved workplane maps never go into lists.
  tree.add("local", pass_map(1));
  tree.add("project", pass_map(1));
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"add_first(passes, local)", "add_last(passes, project)",
      "add_last(passes, 3)"});
  EXPECT_EQ(passes->size(), 3);

  // A root with an id is an entity and goes into a list of references by its id.
  tree.add("entity", zynParameterPtr(new zynParameterMemberFunction(&any_entity)));
  zynParameterRoot* tool = new zynParameterRoot("Tool", 1, "T1");
  const utString hex = zynUniqueId::create().hex_string();
  tool->set_id(zyn_ref("id:" + hex)->get_ref_id());
  tree.add("tool", zynParameterPtr(tool));
  zynParameterPtr refs = tree.add("refs", zynParameterPtr(new zynParameterList(zyn_ref(""))));
  EXPECT_EQ(tree.eval("add_last(refs, tool)")->get_int(), 1);
  const zynParameterRef* element = zynParameterRef::ut_dynamic_cast(refs[zynParameterKey(0, "")].pointer());
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->get_ref_string(), "id:" + hex);
  // Without an id, a root is no entity, and a list of numbers takes none.
  tree.add("anon", zynParameterPtr(new zynParameterRoot("Tool", 1, "T2")));
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"add_last(refs, anon)", "add_last(two, tool)"});
}

TEST_F(LibList, RemoveMemberAndDuplicates) {
  tree.add("l", zyn_test_real_list({1, 2, 2}));
  tree.eval("dict_set_value(dict, 'a', 'x')");
  zynParameterPtr kept = tree.root[zynParameterKey("dups[3]")];
  zyn_check_lib_cases(tree, {
      {"remove(l, 2)", PS_BOOL, "1"}, {"l", PS_LIST, "1,2"}, {"remove(l, 7)", PS_BOOL, "0"},
      {"remove(l, '1')", PS_BOOL, "0"},  // a number is no text
      {"remove(l, 1)", PS_BOOL, "1"}, {"l", PS_LIST, "2"}, {"member(dict, 'a')", PS_BOOL, "1"},
      {"member(dict, 'b')", PS_BOOL, "0"}, {"remove(dict, 'b')", PS_BOOL, "0"}, {"remove(dict, 'a')", PS_BOOL, "1"},
      {"member(dict, 'a')", PS_BOOL, "0"}, {"remove_duplicates(dups)", PS_INT, "2"}, {"dups", PS_LIST, "1,2,3"},
      {"remove_duplicates(dups)", PS_INT, "0"}, {"remove_duplicates(empty)", PS_INT, "0"},
      {"remove_duplicates({4, 4, 'a', 'a'})", PS_INT, "2"}, {"is_empty(empty)", PS_INT, "1"},
      {"is_empty(two)", PS_INT, "0"}, {"is_empty({})", PS_INT, "1"}, {"member(dups, 3)", PS_BOOL, "1"},
      {"member(dups, 7)", PS_BOOL, "0"}, {"member({'a', 'b'}, 'b')", PS_BOOL, "1"}, {"member(empty, 1)", PS_BOOL, "0"},
  });
  // The first occurrences stay.
  EXPECT_EQ(tree.root[zynParameterKey("dups[2]")].pointer(), kept.pointer());
  // Maps are not scalars and never count as duplicates.
  tree.eval("add_last(passes, m)");
  tree.eval("add_last(passes, m)");
  EXPECT_EQ(tree.eval("remove_duplicates(passes)")->get_int(), 0);
  EXPECT_EQ(passes->size(), 2);
  // A key that names no single member makes the call a list call, which a map is not.
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"member(dict, 'a.b')", "remove(dict, 'a[0]')", "member(m, 'depth')",
      "remove(l, m)", "remove(l)", "remove(5, 1)", "remove_duplicates(5)", "remove_duplicates(m)", "is_empty(5)",
      "is_empty(m)", "member(dups, m)", "member(5, 5)", "member(dups)", "member(dups, dups)"});
  tree.root[zynParameterKey("l")]->lock(1);
  zyn_check_lib_errors(tree, PS_ERR_UNKNOWN, {"remove(l, 2)"});
}

TEST_F(LibList, SetOperationsLeaveTheirArguments) {
  zyn_check_lib_cases(tree, {
      {"set_union({1, 2}, {2, 3})", PS_LIST, "1,2,3"}, {"set_union(dups, {4, 1})", PS_LIST, "1,2,3,4"},
      // An empty first set gives a copy of the second, duplicates and all.
      {"set_union(empty, {2, 2})", PS_VECTOR, "2,2"}, {"set_union({2}, empty)", PS_LIST, "2"},
      {"subtract({1, 2, 3}, {2})", PS_LIST, "1,3"}, {"subtract(dups, {2})", PS_LIST, "1,3"},
      {"intersection({1, 2, 3}, {2, 3, 4})", PS_LIST, "2,3"}, {"intersection(dups, {2, 1})", PS_LIST, "1,2"},
      {"intersection({1, 2}, empty)", PS_LIST, ""}, {"subtract(empty, {1})", PS_LIST, ""},
      {"dups", PS_LIST, "1,2,1,3,2"},
  });
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"set_union(dups, 1)", "set_union(1, dups)", "set_union(dups)",
      "set_union(m, dups)", "subtract(dups, 2)", "intersection(2, dups)", "subtract(dups)"});
  // Elements that are not scalars keep their contents.
  tree.eval("add_last(passes, m)");
  tree.root[zynParameterKey("m.depth")]->set_double(7);
  tree.eval("add_last(passes, m)");
  zynParameterPtr maps = tree.eval("set_union(passes, passes)");
  ASSERT_EQ(maps->size(), 4);
  EXPECT_EQ(maps[zynParameterKey("[1].depth")]->get_double(), 7);
}

TEST_F(LibList, FillMakesCopies) {
  zyn_check_lib_cases(tree, {{"fill(3, 'x')", PS_VECTOR, "x,x,x"}, {"fill(2, two)[1]", PS_LIST, "1,2"},
                             {"fill(0, 1)", PS_VECTOR, ""}, {"fill(-4, 1)", PS_VECTOR, ""},
                             {"fill(2.9, 1)", PS_VECTOR, "1,1"}});
  zynParameterPtr f = tree.eval("fill(2, two)");
  EXPECT_NE(f[zynParameterKey(0, "")].pointer(), f[zynParameterKey(1, "")].pointer());
  EXPECT_NE(f[zynParameterKey(0, "")].pointer(), tree.root[zynParameterKey("two")].pointer());
  EXPECT_EQ(tree.eval("fill(1000, fill(1000, 1))")->size(), 1000);
  // Nested elements count: a 60-byte text must not build 10^10 of them.
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"fill('3', 1)", "fill(3)", "fill(3, broken)", "fill(1e9, 1)",
      "fill(1e5, fill(1e5, 1))", "fill(2000, fill(1000, 1))"});
}

}  // namespace
