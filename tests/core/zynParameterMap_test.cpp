#include "zyn/core/zynParameterMap.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType sub(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

// A member that always reports itself invalid.
class zynInvalidTestParameter : public zynTestParameter {
 public:
  zynParameter* create_new() const override { return new zynInvalidTestParameter(*this); }
  int is_valid() const override { return 0; }
};

TEST(ParameterMap, CaseInsensitiveFallbackAndRemoval) {
  zynParameterMap m;
  zynParameterPtr feed = m.add("Feed", zyn_real(1));
  EXPECT_EQ(m["feed"].raw(), feed.raw());
  EXPECT_EQ(m["FEED"].raw(), feed.raw());
  // An exact match wins over the fallback.
  zynParameterPtr lower = m.add("feedrate", zyn_real(2));
  zynParameterPtr upper = m.add("FEEDRATE", zyn_real(3));
  EXPECT_EQ(upper.raw(), lower.raw());  // add finds "feedrate" through the fallback
  EXPECT_EQ(m.size(), 2);

  // Removal through another case takes the stored entry and its index entry.
  zynParameterPtr removed = m.remove("FEED");
  EXPECT_EQ(removed.raw(), feed.raw());
  EXPECT_EQ(removed->parent(), nullptr);
  EXPECT_EQ(sub(m["feed"]), PS_ERR_NAME);
  EXPECT_EQ(sub(m["Feed"]), PS_ERR_NAME);
  EXPECT_EQ(sub(m.remove("Feed")), PS_ERR_NAME);
  EXPECT_EQ(m.size(), 1);
  // The case index holds the last added, and survives other removals.
  m.add("Depth", zyn_real(1));
  m.remove("Depth");
  zynParameterPtr b = m.add("DEPTH", zyn_real(2));
  EXPECT_EQ(m["depth"].raw(), b.raw());
  m.add("dEpTh_x", zyn_real(3));
  m.remove("dEpTh_x");
  EXPECT_EQ(m["depth"].raw(), b.raw());
}

TEST(ParameterMap, AddNeverReplacesButOverwritesReferences) {
  zynParameterMap m;
  zynParameterPtr first = zyn_real(1);
  zynParameterPtr second = zyn_real(2);
  EXPECT_EQ(m.add("a", first).raw(), first.raw());
  EXPECT_EQ(m.add("a", second).raw(), first.raw());
  EXPECT_EQ(second->parent(), nullptr);
  EXPECT_EQ(first->get_name(), "a");
  EXPECT_EQ(first->parent(), &m);

  zynParameterPtr ref(new zynParameterRef("nowhere"));
  m.add("r", ref);
  EXPECT_EQ(m["r"].raw(), ref.raw());  // a reference without target is still a member
  zynParameterPtr value = zyn_real(3);
  EXPECT_EQ(m.add("r", value).raw(), value.raw());
  EXPECT_EQ(m["r"].raw(), value.raw());
  EXPECT_EQ(ref->parent(), nullptr);
  EXPECT_EQ(m.size(), 2);
}

TEST(ParameterMap, AddRefusals) {
  zynParameterMap m;
  EXPECT_EQ(sub(m.add("[2]", zyn_real(1))), PS_ERR_NAME);
  EXPECT_EQ(sub(m.add("a b", zyn_real(1))), PS_ERR_NAME);
  EXPECT_EQ(m.size(), 0);

  // A map never becomes its own member or its ancestor's.
  zynParameterPtr outer = zyn_map();
  zynParameterPtr inner = outer->add("inner", zyn_map());
  EXPECT_EQ(sub(inner->add("loop", outer)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(sub(inner->add("self", inner)), PS_ERR_ARGUMENTS);
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
  EXPECT_EQ(sub(m.add("n", zynParameterPtr())), PS_ERR_UNKNOWN);  // null stands for the unknown error
  shared.copy()->set_name("c");
  EXPECT_EQ(shared->get_name() + zynParameterError::create(PS_ERR_UNKNOWN)->get_name(), "");
  EXPECT_EQ(shared->parent(), nullptr);
  EXPECT_EQ(m["_keys"]->size(), 3);
  EXPECT_EQ(sub(m["e"]), PS_ERR_NAME);
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

TEST(ParameterMap, LookupRules) {
  zynParameterMap m;
  zynParameterPtr sub_map = m.add("sub", zyn_map());
  zynParameterPtr x = sub_map->add("x", zyn_real(4));
  EXPECT_EQ(m["sub.x"].raw(), x.raw());
  EXPECT_EQ(m["SUB.X"].raw(), x.raw());
  EXPECT_EQ(sub(m["sub.y"]), PS_ERR_NAME);
  EXPECT_EQ(sub(m["sub.x.z"]), PS_ERR_NAME);  // a numeric has no members
  EXPECT_EQ(sub(m["[0]"]), PS_ERR_NAME);
  EXPECT_EQ(sub(m[""]), PS_ERR_NAME);
  const zynParameterMap& cm = m;
  EXPECT_EQ(cm["sub.x"].raw(), x.raw());
  EXPECT_EQ(m.size(), 1);  // lookups create nothing
  // Where only functions are wanted, other members are not found.
  m.add("f", zynParameterPtr(new zynParameterFunction("1")));
  zynEvalFunction scope(EF_FUNCTIONS_ONLY);
  EXPECT_EQ(zynParameter::get_type(*m["f"]), PT_FUNCTION);
  EXPECT_EQ(sub(m["sub"]), PS_ERR_NAME);
}

TEST(ParameterMap, MembersKeepInsertionOrder) {
  zynParameterMap m;
  for (const char* name : {"zeta", "alpha", "mid"}) m.add(name, zyn_real(1));
  m.remove("alpha");
  m.add("alpha", zyn_real(2));
  utString order;
  for (const zynParameterMapMember& member : m.members()) order += member.name + " ";
  EXPECT_EQ(order, "zeta mid alpha ");
  zynParameterMap copy(m);
  utString copied;
  for (const zynParameterMapMember& member : copy.members()) copied += member.name + " ";
  EXPECT_EQ(copied, order);
  const utString printed = m.print(0);
  EXPECT_LT(printed.find("zeta"), printed.find("mid"));
  EXPECT_LT(printed.find("mid"), printed.find("alpha"));
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
      EXPECT_EQ(sub(m[name("Member", i)]), PS_ERR_NAME);
      continue;
    }
    EXPECT_EQ(m[name("MEMBER", i)]->get_double(), i);
    EXPECT_EQ(m.members()[at++].name, name("Member", i));
  }
}

TEST(ParameterMap, KeysListsTheMemberNames) {
  zynParameterMap m;
  zynParameterPtr none = m["_keys"];
  EXPECT_EQ(sub(none), PS_LIST);
  EXPECT_EQ(none->size(), 0);
  m.add("b", zyn_real(1));
  m.add("a", zyn_real(2));
  zynParameterPtr keys = m["_keys.ignored"];
  EXPECT_EQ(keys->size(), 2);
  EXPECT_EQ(m.size(), 2);
}

TEST(ParameterMap, PrintLeavesOutInactiveMembers) {
  zynParameterMap m;
  m.add("shown", zyn_real(1));
  zynParameterPtr hidden = m.add("hidden", zyn_real(2));
  hidden->set_active("0");
  EXPECT_EQ(m.size(), 2);
  EXPECT_EQ(m.print(0), "(MAP) \n\tshown: " + zyn_real(1)->print(1));
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

TEST(ParameterMap, CopyValueFromCommonMembersOnly) {
  zynParameterMap dst;
  dst.add("a", zyn_real(0));
  dst.add("c", zyn_real(5));
  zynParameterPtr fixed_dst = dst.add("fixed", zyn_map());
  fixed_dst->add("x", zyn_real(0));
  fixed_dst->add("keep", zyn_real(7));
  zynParameterPtr open_dst = dst.add("open", zyn_map());
  open_dst->add("old", zyn_real(0));

  dst.add("e", zynParameterError::create(PS_ERR_DOMAIN));

  zynParameterMap src;
  src.add("a", zyn_real(1));
  src.add("b", zyn_real(2));
  src.add("c", zynParameterError::create(PS_ERR_DOMAIN));  // stored errors are missing members
  src.add("e", zyn_real(4));
  zynParameterPtr fixed_src = src.add("fixed", zyn_map());
  fixed_src->add("x", zyn_real(9));
  zynParameterPtr open_src = src.add("open", zyn_map());
  zynParameterMap::ut_dynamic_cast(open_src.pointer())->not_fixed();
  open_src->add("new", zyn_real(3));

  dst.copy_value_from(src);
  EXPECT_DOUBLE_EQ(dst["a"]->get_double(), 1.0);
  EXPECT_DOUBLE_EQ(dst["c"]->get_double(), 5.0);
  EXPECT_EQ(sub(dst.find_member("e")->value), PS_ERR_DOMAIN);
  EXPECT_EQ(sub(dst["b"]), PS_ERR_NAME);
  EXPECT_EQ(dst["fixed"].raw(), fixed_dst.raw());
  EXPECT_DOUBLE_EQ(dst["fixed.x"]->get_double(), 9.0);
  EXPECT_DOUBLE_EQ(dst["fixed.keep"]->get_double(), 7.0);
  // The open submap is replaced by a copy of the source's.
  EXPECT_NE(dst["open"].raw(), open_dst.raw());
  EXPECT_NE(dst["open"].raw(), open_src.raw());
  EXPECT_EQ(dst["open"]->parent(), &dst);
  EXPECT_EQ(open_dst->parent(), nullptr);
  EXPECT_DOUBLE_EQ(dst["open.new"]->get_double(), 3.0);
  EXPECT_EQ(sub(dst["open.old"]), PS_ERR_NAME);
  // A locked map keeps its submaps.
  zynParameterPtr mine = dst["open"];
  dst.lock(1);
  dst.copy_value_from(src);
  EXPECT_EQ(dst["open"].raw(), mine.raw());
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
  copy["a"]->set_double(2);
  EXPECT_FALSE(*m == *copy);

  zynParameterMap assigned;
  assigned.add("gone", zyn_real(0));
  assigned = *zynParameterMap::ut_dynamic_cast(m.pointer());
  EXPECT_EQ(assigned.size(), 1);
  EXPECT_DOUBLE_EQ(assigned["a"]->get_double(), 1.0);
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

TEST(ParameterMap, Equality) {
  zynParameterMap a;
  zynParameterMap b;
  a.add("x", zyn_real(1));
  b.add("X", zyn_real(1));
  EXPECT_TRUE(a == b);  // the counterpart is found in any case
  b.add("y", zyn_real(1));
  EXPECT_FALSE(a == b);
  zynParameterPtr other = zyn_map();
  EXPECT_EQ(sub(a.operate_binary("==", other)), PS_ERR_TYPE);
  EXPECT_EQ(sub(a.operate_binary("!=", other)), PS_ERR_TYPE);
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
  EXPECT_EQ(sub(open.remove("v")), PS_ERR_UNKNOWN);
  open.lock(0);
  open.reset();
  EXPECT_EQ(open.size(), 0);
  EXPECT_EQ(member->parent(), nullptr);
}

TEST(ParameterMap, CreateObjectStripsConditionsOfTheCopyOnly) {
  zynParameterMap m;
  zynParameterPtr inner = m.add("inner", zyn_map());
  zynParameterPtr leaf = inner->add("leaf", zyn_real(1));
  leaf->set_active("Mode == 1");
  m.set_active("Enabled");
  zynParameterPtr object(m.create_object());
  EXPECT_EQ(object->get_active_expr(), "");
  EXPECT_EQ(object["inner.leaf"]->get_active_expr(), "");
  EXPECT_EQ(leaf->get_active_expr(), "Mode == 1");
  EXPECT_EQ(m.get_active_expr(), "Enabled");

  m.set_copy_active_expr_on();
  zynParameterPtr kept(m.create_object());
  EXPECT_EQ(kept["inner.leaf"]->get_active_expr(), "Mode == 1");
}

TEST(ParameterMap, KindsAndCallbacks) {
  zynParameterMap dict(PS_DICT);
  EXPECT_EQ(zynParameter::get_subtype(dict), PS_DICT);
  EXPECT_EQ(zynParameter::get_type(dict), PT_MAP);
  dict.set_typename("DateTime");
  EXPECT_EQ(dict.get_typename(), "DateTime");
  zynParameterOnModify fn = [](zynParameter*) {};
  EXPECT_EQ(dict.set_onmodify_callback(fn), nullptr);
  EXPECT_EQ(dict.set_onmodify_callback(nullptr), fn);
}

// A copy of a member evaluates in its source's scope while that map lives,
// and in none once the map is gone: the inherited link must not dangle
// (the sanitizer build turns a dangling climb into a failure).
TEST(ParameterMap, CopiesOfMembersOutliveTheirSourceMap) {
  zynParameterPtr copy;
  zynParameterPtr copy_of_copy;
  {
    zynParameterRoot root("Op", 1, "");
    zynParameterPtr holder = zyn_map();
    root.add("Holder", holder);
    holder->add("x", zyn_real(2.0));
    zynParameterPtr y = holder->add("y", zyn_real(0.0));
    y->set_string("x + 1");
    copy = y.copy();
    copy_of_copy = copy.copy();
    EXPECT_DOUBLE_EQ(copy->get_double(), 3.0);
    EXPECT_DOUBLE_EQ(copy_of_copy->get_double(), 3.0);
    EXPECT_EQ(zynParameter::get_name(*copy_of_copy, 0), "Op.Holder.y");
    EXPECT_EQ(zynParameter::get_name(*copy_of_copy, 1), "Holder.y");
    root.lock(1);
    EXPECT_TRUE(copy->is_locked());
    root.lock(0);
  }
  EXPECT_EQ(copy->parent(), nullptr);
  EXPECT_EQ(copy_of_copy->parent(), nullptr);
  EXPECT_EQ(copy->get_expr(), "x + 1");
  EXPECT_DOUBLE_EQ(copy->get_double(), 0.0);  // "x" is no longer in scope
  EXPECT_FALSE(copy->is_locked());
  EXPECT_EQ(zynParameter::get_name(*copy_of_copy, 0), "y");

  // Adopted by another map, the copy takes that map's scope for good.
  zynParameterPtr other = zyn_map();
  other->add("x", zyn_real(10.0));
  other->add("y", copy);
  EXPECT_EQ(copy->parent(), other.pointer());
  EXPECT_DOUBLE_EQ(copy->get_double(), 11.0);
}

}  // namespace
