// The list and set built-ins, called from expressions in a tree that reaches
// the library as a host's tree does. The editing functions change the named
// list of the tree itself.
#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

using Values = std::vector<double>;

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterPtr pass_map(double depth) {
  zynParameterPtr m(new zynParameterMap());
  m->add("depth", zyn_test_number(depth));
  return m;
}

class LibList : public testing::Test {
 protected:
  LibList() {
    tree.add("two", zyn_test_real_list({1, 2}));
    tree.add("empty", zyn_test_real_list({}));
    tree.add("dups", zyn_test_real_list({1, 2, 1, 3, 2}));
    tree.add("m", pass_map(5));
    tree.add("dict", zynParameterPtr(new zynParameterMap(PS_DICT)));
    tree.add("broken", zynParameterPtr(new zynParameterRef("nowhere")));
  }

  Values values(const char* name) const { return zyn_test_doubles(tree.root[zynParameterKey(name)]); }

  void expect_code(zynParameterSubType code, std::initializer_list<const char*> exprs) const {
    for (const char* e : exprs) EXPECT_EQ(subtype_of(tree.eval(e)), code) << e;
  }

  zynTestLibTree tree;
};

TEST_F(LibList, AddFirstAndLastEditTheListInPlace) {
  zynParameterPtr n = tree.eval("add_first(two, 5)");
  EXPECT_EQ(subtype_of(n), PS_INT);
  EXPECT_EQ(n->get_int(), 3);
  EXPECT_EQ(values("two"), (Values{5, 1, 2}));
  EXPECT_EQ(tree.eval("add_last(two, 7)")->get_int(), 4);
  EXPECT_EQ(values("two"), (Values{5, 1, 2, 7}));
  EXPECT_EQ(tree.real("add_last(empty, 2 * 4) + 10"), 11);
  EXPECT_EQ(values("empty"), (Values{8}));
  // New elements are made from the prototype: a REAL, owned by the list.
  zynParameterPtr first = tree.root[zynParameterKey("two[0]")];
  EXPECT_EQ(subtype_of(first), PS_REAL);
  EXPECT_EQ(first->parent(), tree.root[zynParameterKey("two")].pointer());
  expect_code(PS_ERR_ARGUMENTS, {"add_first(two, 'x')", "add_last(two, m)", "add_first(two)", "add_first(5, 1)",
                                 "add_last({1, 2}, 3)", "add_last(two, 1, 2)"});
  EXPECT_EQ(values("two"), (Values{5, 1, 2, 7}));
}

TEST_F(LibList, AddingRefusesSharedListsAndLockedLists) {
  tree.add("shared", zynParameterPtr(new zynParameterSharedList(zyn_test_number(0))));
  expect_code(PS_ERR_ARGUMENTS, {"add_first(shared, 1)", "add_last(shared, 1)"});
  tree.root[zynParameterKey("two")]->lock(1);
  expect_code(PS_ERR_UNKNOWN, {"add_first(two, 3)", "add_last(two, 3)"});
  EXPECT_EQ(values("two"), (Values{1, 2}));
}

TEST_F(LibList, AddingMaps) {
  zynParameterPtr passes = tree.add("passes", zynParameterPtr(new zynParameterList(pass_map(0))));
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
  expect_code(PS_ERR_ARGUMENTS, {"add_first(passes, local)", "add_last(passes, project)", "add_last(passes, 3)"});
  EXPECT_EQ(passes->size(), 3);
}

// The host's entity function: every id names an entity.
zynParameterPtr any_entity(const zynParameter&, const zynParameterPtr&) { return zyn_test_number(1); }

TEST_F(LibList, AddingARootToAListOfReferences) {
  tree.add("entity", zynParameterPtr(new zynParameterMemberFunction(&any_entity)));
  zynParameterRoot* tool = new zynParameterRoot("Tool", 1, "T1");
  const utString hex = zynUniqueId::create().hex_string();
  zynParameterPtr id_ref(new zynParameterRef("id:" + hex));
  tool->set_id(id_ref->get_ref_id());
  tree.add("tool", zynParameterPtr(tool));
  zynParameterPtr refs = tree.add("refs", zynParameterPtr(new zynParameterList(zynParameterPtr(new zynParameterRef("")))));
  EXPECT_EQ(zynParameterUtils::is_entity(tree.root[zynParameterKey("tool")]), 1);
  zynParameterPtr r = tree.eval("add_last(refs, tool)");
  EXPECT_EQ(r->get_int(), 1);
  const zynParameterRef* element = zynParameterRef::ut_dynamic_cast(refs[zynParameterKey(0, "")].pointer());
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->get_ref_string(), "id:" + hex);
  // Without an id, a root is no entity, and a list of numbers takes none.
  tree.add("anon", zynParameterPtr(new zynParameterRoot("Tool", 1, "T2")));
  EXPECT_EQ(subtype_of(tree.eval("add_last(refs, anon)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("add_last(two, tool)")), PS_ERR_ARGUMENTS);
}

TEST_F(LibList, RemoveFirstAndLast) {
  zynParameterPtr removed = tree.eval("remove_first(two)");
  EXPECT_EQ(removed->get_double(), 1);
  EXPECT_EQ(removed->parent(), nullptr);
  EXPECT_EQ(values("two"), (Values{2}));
  tree.eval("add_last(two, 3)");
  EXPECT_EQ(tree.eval("remove_last(two)")->get_double(), 3);
  EXPECT_EQ(values("two"), (Values{2}));
  EXPECT_EQ(tree.eval("remove_last({4, 5})")->get_double(), 5);
  expect_code(PS_ERR_DATA, {"remove_first(empty)", "remove_last(empty)", "remove_first({})"});
  tree.add("shared", zynParameterPtr(new zynParameterSharedList(zyn_test_number(0))));
  expect_code(PS_ERR_ARGUMENTS,
              {"remove_first(5)", "remove_first()", "remove_last(two, 1)", "remove_first(shared)", "remove_last(m)"});
}

TEST_F(LibList, RemoveTakesTheFirstEqualElement) {
  tree.add("l", zyn_test_real_list({1, 2, 2}));
  zynParameterPtr r = tree.eval("remove(l, 2)");
  EXPECT_EQ(subtype_of(r), PS_BOOL);
  EXPECT_EQ(r->get_int(), 1);
  EXPECT_EQ(values("l"), (Values{1, 2}));
  EXPECT_EQ(tree.eval("remove(l, 7)")->get_int(), 0);
  EXPECT_EQ(tree.eval("remove(l, '1')")->get_int(), 0);  // a number is no text
  EXPECT_EQ(tree.eval("remove(l, 1)")->get_int(), 1);
  EXPECT_EQ(values("l"), (Values{2}));
  expect_code(PS_ERR_ARGUMENTS, {"remove(l, m)", "remove(l)", "remove(5, 1)", "remove(l, 1, 2)"});
  tree.root[zynParameterKey("l")]->lock(1);
  expect_code(PS_ERR_UNKNOWN, {"remove(l, 2)"});
}

TEST_F(LibList, RemoveAndMemberOnDictionaries) {
  tree.eval("dict_set_value(dict, 'a', 'x')");
  EXPECT_EQ(tree.eval("member(dict, 'a')")->get_int(), 1);
  EXPECT_EQ(tree.eval("member(dict, 'b')")->get_int(), 0);
  EXPECT_EQ(tree.eval("remove(dict, 'b')")->get_int(), 0);
  EXPECT_EQ(tree.eval("remove(dict, 'a')")->get_int(), 1);
  EXPECT_EQ(tree.root[zynParameterKey("dict")]->size(), 0);
  EXPECT_EQ(tree.eval("member(dict, 'a')")->get_int(), 0);
  // A key that names no single member makes the call a list call, which a map is not.
  expect_code(PS_ERR_ARGUMENTS, {"member(dict, 'a.b')", "remove(dict, 'a[0]')", "member(m, 'depth')"});
}

TEST_F(LibList, RemoveDuplicatesKeepsFirstOccurrences) {
  zynParameterPtr kept = tree.root[zynParameterKey("dups[3]")];
  zynParameterPtr n = tree.eval("remove_duplicates(dups)");
  EXPECT_EQ(subtype_of(n), PS_INT);
  EXPECT_EQ(n->get_int(), 2);
  EXPECT_EQ(values("dups"), (Values{1, 2, 3}));
  EXPECT_EQ(tree.root[zynParameterKey("dups[2]")].pointer(), kept.pointer());
  EXPECT_EQ(tree.eval("remove_duplicates(dups)")->get_int(), 0);
  EXPECT_EQ(tree.eval("remove_duplicates(empty)")->get_int(), 0);
  EXPECT_EQ(tree.eval("remove_duplicates({4, 4, 'a', 'a'})")->get_int(), 2);
  // Maps are not scalars and never count as duplicates.
  zynParameterPtr passes = tree.add("passes", zynParameterPtr(new zynParameterList(pass_map(0))));
  tree.eval("add_last(passes, m)");
  tree.eval("add_last(passes, m)");
  EXPECT_EQ(tree.eval("remove_duplicates(passes)")->get_int(), 0);
  EXPECT_EQ(passes->size(), 2);
  expect_code(PS_ERR_ARGUMENTS, {"remove_duplicates(5)", "remove_duplicates()", "remove_duplicates(m)"});
}

TEST_F(LibList, IsEmptyAndMember) {
  zynParameterPtr e = tree.eval("is_empty(empty)");
  EXPECT_EQ(subtype_of(e), PS_INT);
  EXPECT_EQ(e->get_int(), 1);
  EXPECT_EQ(tree.eval("is_empty(two)")->get_int(), 0);
  EXPECT_EQ(tree.eval("is_empty({})")->get_int(), 1);
  zynParameterPtr yes = tree.eval("member(dups, 3)");
  EXPECT_EQ(subtype_of(yes), PS_BOOL);
  EXPECT_EQ(yes->get_int(), 1);
  EXPECT_EQ(tree.eval("member(dups, 7)")->get_int(), 0);
  EXPECT_EQ(tree.eval("member({'a', 'b'}, 'b')")->get_int(), 1);
  EXPECT_EQ(tree.eval("member(empty, 1)")->get_int(), 0);
  expect_code(PS_ERR_ARGUMENTS, {"is_empty(5)", "is_empty()", "is_empty(m)", "member(dups, m)", "member(5, 5)",
                                 "member(dups)", "member(dups, dups)"});
}

TEST_F(LibList, UnionOfSetsWithDuplicates) {
  zynParameterPtr u = tree.eval("set_union({1, 2}, {2, 3})");
  EXPECT_EQ(subtype_of(u), PS_LIST);
  EXPECT_EQ(zyn_test_doubles(u), (Values{1, 2, 3}));
  EXPECT_EQ(zyn_test_doubles(tree.eval("set_union(dups, {4, 1})")), (Values{1, 2, 3, 4}));
  EXPECT_EQ(values("dups"), (Values{1, 2, 1, 3, 2}));  // the arguments stay as they are
  // An empty first set gives a copy of the second, duplicates and all.
  EXPECT_EQ(zyn_test_doubles(tree.eval("set_union(empty, {2, 2})")), (Values{2, 2}));
  EXPECT_EQ(zyn_test_doubles(tree.eval("set_union({2}, empty)")), (Values{2}));
  // Elements that are not scalars keep their contents.
  zynParameterPtr passes = tree.add("passes", zynParameterPtr(new zynParameterList(pass_map(0))));
  tree.eval("add_last(passes, m)");
  tree.root[zynParameterKey("m.depth")]->set_double(7);
  tree.eval("add_last(passes, m)");
  zynParameterPtr maps = tree.eval("set_union(passes, passes)");
  ASSERT_EQ(maps->size(), 4);
  EXPECT_EQ(maps[zynParameterKey("[1].depth")]->get_double(), 7);
  expect_code(PS_ERR_ARGUMENTS, {"set_union(dups, 1)", "set_union(1, dups)", "set_union(dups)", "set_union(m, dups)"});
}

TEST_F(LibList, SubtractAndIntersection) {
  EXPECT_EQ(zyn_test_doubles(tree.eval("subtract({1, 2, 3}, {2})")), (Values{1, 3}));
  EXPECT_EQ(zyn_test_doubles(tree.eval("subtract(dups, {2})")), (Values{1, 3}));
  EXPECT_EQ(zyn_test_doubles(tree.eval("intersection({1, 2, 3}, {2, 3, 4})")), (Values{2, 3}));
  EXPECT_EQ(zyn_test_doubles(tree.eval("intersection(dups, {2, 1})")), (Values{1, 2}));
  EXPECT_EQ(subtype_of(tree.eval("intersection(dups, {2, 1})")), PS_LIST);
  EXPECT_EQ(tree.eval("intersection({1, 2}, empty)")->size(), 0);
  zynParameterPtr none = tree.eval("subtract(empty, {1})");
  EXPECT_EQ(subtype_of(none), PS_LIST);
  EXPECT_EQ(none->size(), 0);
  EXPECT_EQ(values("dups"), (Values{1, 2, 1, 3, 2}));
  expect_code(PS_ERR_ARGUMENTS, {"subtract(dups, 2)", "intersection(2, dups)", "subtract(dups)",
                                 "intersection(dups, dups, dups)"});
}

TEST_F(LibList, FillMakesCopies) {
  zynParameterPtr f = tree.eval("fill(3, 'x')");
  EXPECT_EQ(subtype_of(f), PS_VECTOR);
  EXPECT_EQ(zyn_test_strings(f), (std::vector<utString>{"x", "x", "x"}));
  EXPECT_NE(f[zynParameterKey(0, "")].pointer(), f[zynParameterKey(1, "")].pointer());
  zynParameterPtr lists = tree.eval("fill(2, two)");
  EXPECT_EQ(subtype_of(lists[zynParameterKey(1, "")]), PS_LIST);
  EXPECT_NE(lists[zynParameterKey(0, "")].pointer(), tree.root[zynParameterKey("two")].pointer());
  EXPECT_EQ(tree.eval("fill(0, 1)")->size(), 0);
  EXPECT_EQ(tree.eval("fill(-4, 1)")->size(), 0);
  EXPECT_EQ(tree.eval("fill(2.9, 1)")->size(), 2);
  EXPECT_EQ(tree.eval("fill(1000, fill(1000, 1))")->size(), 1000);
  // Nested elements count: a 60-byte text must not build 10^10 of them.
  expect_code(PS_ERR_ARGUMENTS, {"fill('3', 1)", "fill(3)", "fill(3, broken)", "fill(1e9, 1)",
                                 "fill(1e5, fill(1e5, 1))", "fill(2000, fill(1000, 1))"});
}

}  // namespace
