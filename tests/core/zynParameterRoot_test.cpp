#include "zyn/core/zynParameterRoot.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

// A root that builds its own tree and widens the synonyms, as host roots do.
class zynTestRoot : public zynParameterRoot {
 public:
  zynTestRoot() : zynParameterRoot("Tool", 2, "T1") {}
  zynParameter* create_new() const override { return new zynTestRoot(*this); }
  using zynParameterRoot::build_active_expr_pars_table;
  using zynParameterRoot::build_par_dependency_table;

  int m_builds = 0;

 protected:
  void build_tree(zynParameter*) override {
    ++m_builds;
    add("Feed", zyn_real(5));
    set_onmodify_param_name("Feed");
    set_onmodify_param_name("Missing");
  }
  const utString& lookup_key_synonym(const utString& text) const override {
    static const utString feed = "Feed";
    return text == "OldFeed" ? feed : zynParameterRoot::lookup_key_synonym(text);
  }
};

TEST(ParameterRoot, TranslateKey) {
  zynParameterRoot root("Tool", 1, "T1");
  EXPECT_EQ(root.translate_key("name"), "Name");
  EXPECT_EQ(root.translate_key("id"), "ID");
  EXPECT_EQ(root.translate_key("root_type"), "RootType");
  EXPECT_EQ(root.translate_key("other"), "other");
  EXPECT_EQ(root.translate_key("name[2]"), "Name[2]");
  EXPECT_EQ(root.translate_key("a[1].b"), "a[1].b");
  EXPECT_EQ(root.translate_key("a[1"), "a[1");
  EXPECT_EQ(root.translate_key("a[1]x[2"), "a[1]x[2");
  EXPECT_EQ(root.translate_key("[3].name"), "[3].name");
  zynTestRoot host;
  EXPECT_EQ(host.translate_key("OldFeed[0]"), "Feed[0]");
}

TEST(ParameterRoot, PseudoMembers) {
  zynParameterRoot root("Tool", 1, "T1");
  zynParameterPtr x = root.add("X", zyn_real(1));
  EXPECT_EQ(root["tool"].raw(), &root);
  EXPECT_TRUE(root["tool"].external());
  EXPECT_EQ(root["ROOTPAR"].raw(), &root);
  EXPECT_EQ(root["tool.X"].raw(), x.raw());
  EXPECT_EQ(root["rootpar.tool.x"].raw(), x.raw());
  EXPECT_EQ(root["rootpar.id"]->get_string(), "");
  // A scoped lookup reports a key that does not parse as a syntax error.
  zynTestParameter scope;
  for (const char* bad : {"", "a b", "[1", "\xff"}) {
    EXPECT_EQ(subtype_of(scope.run_resolve(bad)), PS_ERR_SYNTAX) << bad;
  }
  EXPECT_EQ(subtype_of(root["tool.Y"]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(root["nothing"]), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(root["[0]"]), PS_ERR_NAME);
  // A path that reaches the root through itself without end gives up.
  utString deep;
  for (int i = 0; i < 5000; ++i) deep += "tool.";
  EXPECT_EQ(subtype_of(root[deep + "X"]), PS_ERR_NAME);
}

TEST(ParameterRoot, KeptLookupsFollowTheTree) {
  zynParameterRoot root("Tool", 1, "T1");
  zynParameterPtr m = root.add("m", zyn_map());
  zynParameterPtr x = m->add("x", zyn_real(1));
  zynParameterPtr list = root.add("l", zyn_list(zyn_real(0)));
  list->set_int(2);
  const zynParameter* second = root["l[1]"].raw();
  EXPECT_EQ(root["m.x"].raw(), x.raw());
  // Each change makes the same keys find something else.
  m->remove("x");
  EXPECT_EQ(subtype_of(root["m.x"]), PS_ERR_NAME);
  zynParameterPtr again = m->add("x", zyn_real(2));
  EXPECT_EQ(root["m.x"].raw(), again.raw());
  const zynParameterRoot& reader = root;
  EXPECT_EQ(reader["l[1]"].raw(), second);
  list->set_int(1);
  EXPECT_EQ(subtype_of(reader["l[1]"]), PS_ERR_NAME);
  // A member that another map adopted since leaves this one all the same.
  zynParameterPtr n = root.add("n", zyn_map());
  zynParameterPtr shared = n->add("s", zyn_real(3));
  root.add("o", zyn_map())->add("s", shared);
  EXPECT_EQ(reader["n.s"].raw(), shared.raw());
  n->remove("s");
  EXPECT_EQ(subtype_of(reader["n.s"]), PS_ERR_NAME);
}

TEST(ParameterRoot, ResetBuildsAnEmptyTree) {
  zynTestRoot root;
  root.reset();
  EXPECT_EQ(root.m_builds, 1);
  ASSERT_EQ(root.size(), 1);
  root["Feed"]->set_double(9);
  root.reset();  // a root with members resets them
  EXPECT_EQ(root.m_builds, 1);
  EXPECT_DOUBLE_EQ(root["Feed"]->get_double(), 5.0);
  EXPECT_EQ(root.get_registered_names().size(), 2u);

  zynTestRoot locked;
  locked.lock(1);
  locked.reset();
  EXPECT_EQ(locked.m_builds, 0);
}

TEST(ParameterRoot, PrintAndFields) {
  zynParameterRoot root("Tool", 3, "T1");
  EXPECT_EQ(root.print(0), "(ROOT: Tool:T1) \n");
  root.lock(1);
  EXPECT_EQ(root.print(0), "(ROOT: Tool:T1 #) \n");
  zynParameterRoot anonymous("", 1, "ignored");
  EXPECT_EQ(anonymous.print(0), "(ROOT:) \n");
  EXPECT_EQ(zynParameter::get_subtype(root), PS_ROOT);

  zynRefToObjectId id;
  id.become(zynUniqueIdPtr(zynUniqueId::create()));
  root.set_id(id);
  root.set_modified(1);
  root.set_onmodify_param_name("a");
  zynParameterRoot copy(root);
  EXPECT_TRUE(copy.get_id().is_equal(id));
  EXPECT_TRUE(copy.get_ref_id().is_equal(id));
  EXPECT_EQ(copy.get_modified(), 1);
  EXPECT_EQ(copy.get_root_name(), "T1");
  EXPECT_TRUE(copy.get_registered_names().empty());
  zynParameterRoot assigned("Other", 0, "");
  assigned = root;
  EXPECT_EQ(assigned.get_root_type(), "Tool");
  EXPECT_EQ(assigned.get_registered_names().size(), 1u);
}

TEST(ParameterRoot, NearestRootAndLockIds) {
  zynParameterPtr outer(new zynParameterRoot("Outer", 1, ""));
  zynParameterPtr inner = outer->add("inner", zynParameterPtr(new zynParameterRoot("Inner", 1, "")));
  zynParameterPtr leaf = inner->add("leaf", zyn_real(1));
  EXPECT_EQ(zynParameterRoot::get_root(leaf.raw()), inner.raw());
  EXPECT_EQ(zynParameterRoot::get_root(inner.raw()), outer.raw());
  EXPECT_EQ(zynParameterRoot::get_root(outer.raw()), nullptr);
  EXPECT_EQ(zynParameterRoot::get_root(nullptr), nullptr);

  zynRefToObjectId id;
  id.become(zynUniqueIdPtr(zynUniqueId::create()));
  zynParameterRoot::ut_dynamic_cast(inner.pointer())->set_id(id);
  EXPECT_TRUE(leaf->get_lock_id().is_equal(id));
}

TEST(ParameterRoot, ActivityTablesListEveryParameter) {
  zynTestRoot root;
  root.add("Mode", zyn_real(1));
  zynParameterPtr group = root.add("group", zyn_map());
  group->add("depth", zyn_real(2))->set_active("Mode == 1");
  utStringutStringSetcoTable reads;
  zynTestRoot::build_active_expr_pars_table(root, reads);
  EXPECT_EQ(reads.size(), 3u);
  EXPECT_EQ(reads.count("group.depth"), 1u);

  utStringutStringSetcoTable filled{{"keep", {}}};
  zynTestRoot::build_par_dependency_table(root, filled);
  EXPECT_EQ(filled.size(), 1u);  // a table already filled is left alone
}

}  // namespace
