#include "zyn/core/zynParameterMap.h"

#include <gtest/gtest.h>

#include <string>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

// A member that always reports itself invalid.
class zynInvalidTestParameter : public zynTestParameter {
 public:
  zynParameter* create_new() const override { return new zynInvalidTestParameter(*this); }
  int is_valid() const override { return 0; }
};

TEST(ParameterMap, CaseInsensitiveFallbackAndRemoval) {
  zynParameterMap m;
  zynParameterPtr feed = m.add("Feed", zyn_real(1));
  EXPECT_EQ(m.add("FEED", zyn_real(3)).raw(), feed.raw());  // add finds "Feed" through the fallback
  // Removal through another case takes the stored entry and its index entry.
  EXPECT_EQ(m.remove("feed").raw(), feed.raw());
  EXPECT_EQ(subtype_of(m["FEED"]), PS_ERR_NAME);
  // The case index holds the last added, and survives other removals.
  m.add("Depth", zyn_real(1));
  m.remove("Depth");
  zynParameterPtr b = m.add("DEPTH", zyn_real(2));
  m.add("dEpTh_x", zyn_real(3));
  m.remove("dEpTh_x");
  EXPECT_EQ(m["depth"].raw(), b.raw());
}

TEST(ParameterMap, AddRefusals) {
  zynParameterMap m;
  EXPECT_EQ(subtype_of(m.add("[2]", zyn_real(1))), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(m.add("a b", zyn_real(1))), PS_ERR_NAME);
  EXPECT_EQ(m.size(), 0);
  // Lookups of bad keys answer "Invalid name"; leading "$" are ignored, however many.
  m.add("Feed", zyn_real(1));
  for (const char* bad : {"a b", "a[1", "[0]", "", "\xe2\x80\x83" "a"}) EXPECT_EQ(subtype_of(m[bad]), PS_ERR_NAME) << bad;
  EXPECT_EQ(m[std::string(5000, '$') + "feed"]->get_double(), 1.0);

  // A map never becomes its own member or its ancestor's.
  zynParameterPtr outer = zyn_map();
  zynParameterPtr inner = outer->add("inner", zyn_map());
  EXPECT_EQ(subtype_of(inner->add("loop", outer)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(inner->add("self", inner)), PS_ERR_ARGUMENTS);
}

// An error is a member like any other that lookups treat as missing; the
// shared error values themselves are never linked or renamed.
TEST(ParameterMap, ErrorsAreStoredAsPrivateCopies) {
  zynParameterMap m;
  zynParameterPtr x = m.add("x", zyn_real(1));
  zynParameterPtr shared = zynParameterError::create(PS_ERR_DOMAIN);
  zynParameterPtr stored = m.add("e", shared);
  EXPECT_EQ(stored->get_name(), "e");
  EXPECT_EQ(stored->parent(), &m);
  EXPECT_EQ(subtype_of(m.add("n", zynParameterPtr())), PS_ERR_UNKNOWN);  // null stands for the unknown error
  shared.copy()->set_name("c");
  EXPECT_EQ(shared->get_name() + zynParameterError::create(PS_ERR_UNKNOWN)->get_name(), "");
  EXPECT_EQ(shared->parent(), nullptr);
  EXPECT_EQ(m["_keys"]->size(), 3);
  EXPECT_EQ(subtype_of(m["e"]), PS_ERR_NAME);
  EXPECT_EQ(m.print(0), "(MAP !) \n\tx: " + zyn_real(1)->print(1) + "\te: (ERROR) Domain error\n\tn: (ERROR) Unknown error\n");
  EXPECT_EQ(zynParameter::xml_value(zynParameterPtr(coPrfExternal, &m)), "\n<x>1.0</x>\n<e>@Error</e>\n<n>@Error</n>\n");
  // Existing members come first, then the lock; a stored error is overwritten.
  m.lock(1);
  zynParameterPtr value = zyn_real(2);
  EXPECT_EQ(m.add("x", shared).raw(), x.raw());
  EXPECT_EQ(m.add("e", value).raw(), zynParameterError::create(PS_ERR_UNKNOWN).raw());
  EXPECT_EQ(value->parent(), nullptr);
  m.lock(0);
  EXPECT_EQ(m.add("e", value).raw(), value.raw());
  EXPECT_EQ(stored->parent(), nullptr);
  EXPECT_EQ(m.size(), 3);
}

// The index grows and removals move later members down; each member stays
// found, in any letter case (Latin-1 included), and in its place.
TEST(ParameterMap, LargeMapsKeepLookupsAndOrderThroughRemovals) {
  zynParameterMap m;
  const auto name = [](const char* stem, int i) { return stem + std::to_string(i); };
  for (int i = 0; i < 300; ++i) m.add(name("Member", i), zyn_real(i));
  m.add("\xC3\x96l", zyn_real(-1));  // "Öl"
  for (int i = 0; i < 300; i += 3) m.remove(name("member", i));
  EXPECT_EQ(m.size(), 201);
  EXPECT_EQ(m["\xC3\xB6L"]->get_double(), -1);  // "öL"
  size_t at = 0;
  for (int i = 1; i < 300; ++i) {
    SCOPED_TRACE(i);
    if (i % 3 == 0) {
      EXPECT_EQ(subtype_of(m[name("Member", i)]), PS_ERR_NAME);
      continue;
    }
    EXPECT_EQ(m[name("MEMBER", i)]->get_double(), i);
    EXPECT_EQ(m.members()[at++].name, name("Member", i));
  }
}

TEST(ParameterMap, KeysListsTheMemberNames) {
  zynParameterMap m;
  EXPECT_EQ(subtype_of(m["_keys"]), PS_LIST);
  EXPECT_EQ(m["_keys"]->size(), 0);
  m.add("b", zyn_real(1));
  EXPECT_EQ(m["_keys.ignored"]->size(), 1);
  EXPECT_EQ(m.size(), 1);
}

TEST(ParameterMap, ValidityIgnoresInactiveMembers) {
  zynParameterMap m;
  zynParameterPtr bad = m.add("bad", zynParameterPtr(new zynInvalidTestParameter()));
  EXPECT_FALSE(m.is_valid());
  EXPECT_EQ(m.print(0).rfind("(MAP !) \n", 0), 0u);
  bad->set_active("0");
  EXPECT_TRUE(m.is_valid());
  zynParameterMap refs;
  refs.add("broken", zynParameterPtr(new zynParameterRef("missing")));
  EXPECT_TRUE(refs.is_valid());
}

TEST(ParameterMap, CopyValueFromAnOwnMemberIsSafe) {
  zynParameterPtr outer = zyn_map();
  zynParameterPtr inner = outer->add("inner", zyn_map());
  zynParameterMap::ut_dynamic_cast(inner.pointer())->not_fixed();
  zynParameterPtr innermost = inner->add("inner", zyn_map());
  zynParameterMap::ut_dynamic_cast(innermost.pointer())->not_fixed();
  innermost->add("v", zyn_real(8));
  inner.release();
  zynParameterPtr source = outer["inner"];
  zynParameter* raw = source.pointer();
  source.release();
  innermost.release();
  // "raw" lives only as outer's member, which the copy replaces.
  outer->copy_value_from(*raw);
  EXPECT_DOUBLE_EQ(outer["inner.v"]->get_double(), 8.0);
}

TEST(ParameterMap, DeepCopiesAndParentLinks) {
  zynParameterPtr m = zyn_map();
  zynParameterPtr a = m->add("a", zyn_real(1));
  zynParameterPtr copy = m.copy();
  EXPECT_NE(copy["a"].raw(), a.raw());
  EXPECT_EQ(copy["a"]->parent(), copy.raw());
  EXPECT_TRUE(*m == *copy);

  zynParameterMap assigned;
  assigned.add("gone", zyn_real(0));
  assigned = *zynParameterMap::ut_dynamic_cast(m.pointer());
  EXPECT_EQ(assigned["_keys"]->size(), 1);
  // Assigning a map its own member is safe: the copy is taken first.
  zynParameterPtr holder = zyn_map();
  zynParameterPtr nested = holder->add("nested", zyn_map());
  nested->add("deep", zyn_real(6));
  *zynParameterMap::ut_dynamic_cast(holder.pointer()) = *zynParameterMap::ut_dynamic_cast(nested.pointer());
  EXPECT_DOUBLE_EQ(holder["deep"]->get_double(), 6.0);

  // A member shared with a second map keeps the newer parent.
  zynParameterPtr second = zyn_map();
  second->add("a", a);
  EXPECT_EQ(a->parent(), second.raw());
  m.release();
  EXPECT_EQ(a->parent(), second.raw());
  second.release();
  EXPECT_EQ(a->parent(), nullptr);  // the member outlives its maps
}

TEST(ParameterMap, ResetAndRemoveAll) {
  zynParameterMap fixed;
  zynParameterPtr value = fixed.add("v", zyn_real(3));
  value->set_double(8);
  fixed.reset();
  EXPECT_EQ(fixed.size(), 1);
  EXPECT_DOUBLE_EQ(value->get_double(), 3.0);

  zynParameterMap open;
  open.not_fixed();
  zynParameterPtr member = open.add("v", zyn_real(3));
  open.lock(1);
  open.reset();
  open.remove_all();
  EXPECT_EQ(open.size(), 1);
  EXPECT_EQ(subtype_of(open.remove("v")), PS_ERR_UNKNOWN);
  open.lock(0);
  open.reset();
  EXPECT_EQ(open.size(), 0);
  EXPECT_EQ(member->parent(), nullptr);
}

TEST(ParameterMap, CreateObjectStripsConditionsOfTheCopyOnly) {
  zynParameterMap m;
  zynParameterPtr leaf = m.add("inner", zyn_map())->add("leaf", zyn_real(1));
  leaf->set_active("Mode == 1");
  EXPECT_EQ(zynParameterPtr(m.create_object())["inner.leaf"]->get_active_expr(), "");
  EXPECT_EQ(leaf->get_active_expr(), "Mode == 1");
  m.set_copy_active_expr_on();
  EXPECT_EQ(zynParameterPtr(m.create_object())["inner.leaf"]->get_active_expr(), "Mode == 1");
}

}  // namespace
