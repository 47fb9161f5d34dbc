#include "zyn/collections/zynParameterRef.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterRef& as_ref(const zynParameterPtr& p) { return *zynParameterRef::ut_dynamic_cast(p.pointer()); }

int g_modified = 0;
void count_modify(zynParameter*) { ++g_modified; }

TEST(ParameterRef, EverySchemeReadsBackUnchanged) {
  utString hex = zynUniqueId::create().hex_string();
  const utString texts[] = {"a.b", "list[2].x", "", "id:" + hex, "excl:" + hex + ":x.y", "excl:" + hex + ":",
                            "host:some/path", "host:", "host:a:b"};
  for (const utString& text : texts) {
    SCOPED_TRACE(text);
    zynParameterRef ref(text);
    EXPECT_EQ(ref.get_ref_string(), text);
    zynParameterRef again(ref.get_ref_string());
    EXPECT_EQ(again.get_ref_string(), text);
  }
}

TEST(ParameterRef, IdsAreParsedIntoTheSessionTable) {
  zynUniqueId uid = zynUniqueId::create();
  utString upper = uid.hex_string();
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  zynParameterRef a("id:" + upper);
  // The id reads back in the service's own (lower-case) form.
  EXPECT_EQ(a.get_ref_string(), "id:" + uid.hex_string());
  ASSERT_TRUE(a.get_ref_id().is_valid());
  EXPECT_EQ(*a.get_ref_id().get_uid().get_uid(), uid);
  EXPECT_TRUE(zynUniqueIdTable::session_entities().member(uid));
  zynParameterRef b("excl:" + uid.hex_string());
  EXPECT_TRUE(b.get_ref_id().is_equal(a.get_ref_id()));
  // Without a path the text gains its separator once and is stable after.
  EXPECT_EQ(b.get_ref_string(), "excl:" + uid.hex_string() + ":");
  // An excl reference into a member names no object of its own.
  zynParameterRef c("excl:" + uid.hex_string() + ":x");
  EXPECT_FALSE(c.get_ref_id().is_valid());
  EXPECT_EQ(c.get_ref_string(), "excl:" + uid.hex_string() + ":x");
  // Ids that do not parse leave the object id invalid.
  const utString bad[] = {"id:xyz", "id:", "excl:12:a", "id:" + uid.hex_string() + "0"};
  for (const utString& text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(zynParameterRef(text).get_ref_id().is_valid());
  }
  // A plain path or another scheme carries no id.
  EXPECT_FALSE(zynParameterRef("a:" + uid.hex_string()).get_ref_id().is_valid());
}

TEST(ParameterRef, SetRefFromIdMakesAnIdReference) {
  zynUniqueId uid = zynUniqueId::create();
  zynUniqueIdTable::session_entities().add(uid);
  zynRefToObjectId id;
  id.become(zynUniqueIdTable::session_entities().find(uid));
  zynParameterPtr p = zyn_ref("a.b");
  g_modified = 0;
  EXPECT_EQ(p->set_onmodify_callback(count_modify), nullptr);
  p->set_ref_from_id(id);
  EXPECT_EQ(g_modified, 1);
  EXPECT_EQ(as_ref(p).get_ref_string(), "id:" + uid.hex_string());
  EXPECT_TRUE(p->get_ref_id().is_equal(id));
  // Setting an id from the reference's own id is harmless.
  p->set_ref_from_id(p->get_ref_id());
  EXPECT_TRUE(p->get_ref_id().is_equal(id));
  // reset forgets the id only.
  p->reset();
  EXPECT_FALSE(p->get_ref_id().is_valid());
  EXPECT_EQ(as_ref(p).get_ref_string(), "id:");
  EXPECT_EQ(p->set_onmodify_callback(nullptr), count_modify);
}

TEST(ParameterRef, LockedReferenceKeepsItsText) {
  zynParameterPtr p = zyn_ref("a.b");
  g_modified = 0;
  p->set_onmodify_callback(count_modify);
  p->lock(1);
  as_ref(p).set_ref_string("c");
  p->set_string("&d");
  EXPECT_EQ(as_ref(p).get_ref_string(), "a.b");
  zynUniqueId uid = zynUniqueId::create();
  zynParameterRef other("id:" + uid.hex_string());
  p->set_ref_from_id(other.get_ref_id());
  EXPECT_EQ(as_ref(p).get_ref_string(), "a.b");
  p->copy_value_from(other);
  EXPECT_EQ(as_ref(p).get_ref_string(), "a.b");
  EXPECT_EQ(g_modified, 0);
  {
    zynParameterNoLock unlocked;
    as_ref(p).set_ref_string("c");
  }
  EXPECT_EQ(as_ref(p).get_ref_string(), "c");
  EXPECT_EQ(g_modified, 1);
}

TEST(ParameterRef, CopiesTakeTextAndRestrictionsButNoTarget) {
  zynParameterRef ref("a.b");
  ref.set_ref_root_type("Tool");
  ref.set_nofollow(1);
  EXPECT_EQ(ref.get_ref_type(), PT_MAP);
  zynParameterPtr copy(ref.create_new());
  zynParameterRef& c = as_ref(copy);
  EXPECT_EQ(c.get_ref_string(), "a.b");
  EXPECT_EQ(c.get_ref_root_type(), "Tool");
  EXPECT_EQ(c.get_ref_type(), PT_MAP);
  EXPECT_EQ(c.nofollow(), 1);

  // copy_value_from takes the text and nofollow, not the restrictions.
  zynParameterRef plain("x");
  plain.copy_value_from(ref);
  EXPECT_EQ(plain.get_ref_string(), "a.b");
  EXPECT_EQ(plain.nofollow(), 1);
  EXPECT_EQ(plain.get_ref_type(), PT_ERROR);
  EXPECT_EQ(plain.get_ref_root_type(), "");
}

TEST(ParameterRef, SetStringWithAmpersandRepoints) {
  zynParameterPtr p = zyn_ref("a");
  p->set_string("&b.c");
  EXPECT_EQ(as_ref(p).get_ref_string(), "b.c");
  // Without a target a plain text goes nowhere.
  p->set_string("12");
  EXPECT_EQ(as_ref(p).get_ref_string(), "b.c");
  p->set_int(3);
  p->set_double(2.5);
  EXPECT_EQ(p->get_int(), 0);
}

TEST(ParameterRef, EmptyReferenceIsAReferenceError) {
  zynParameterPtr p = zyn_ref("");
  const zynParameter* target = p->get_ref();
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target, zynParameterError::create(PS_ERR_REFERENCE).pointer());
  EXPECT_TRUE(p->is_ref());
  EXPECT_EQ(zynParameter::get_type(*p), PT_ERROR);
  EXPECT_EQ(zynParameter::get_subtype(*p), PS_ERR_REFERENCE);
  EXPECT_TRUE(p->is_error());
  EXPECT_FALSE(p->is_valid());
  EXPECT_EQ(p->size(), 0);
  EXPECT_EQ(p->get_double(), 0.0);
  EXPECT_EQ(p->print(0), "(REF !)  = (ERROR) Expression/Reference error\n");
  EXPECT_TRUE(p->operate_prefix("-")->is_error());
  zynParameterPtr item = zynParameterPtr(new zynTestParameter());
  EXPECT_TRUE(p->add("x", item)->is_error());
  EXPECT_TRUE(item.unique());
}

TEST(ParameterRef, PrintForms) {
  zynParameterRef ref("a.b");
  EXPECT_EQ(ref.print(51), "(REF) a.b = (RECURSIVE REFERENCE!)\n");
  ref.set_nofollow(1);
  EXPECT_EQ(ref.print(0), "(REF !) a.b\n");
}

// A tree for resolution: root { n = 4, s = "text", r = <ref>, sub { depth = 7 } }.
struct Tree {
  zynParameterPtr root{new zynParameterMap()};
  zynParameterPtr sub{new zynParameterMap()};
  Tree() {
    root->add(zynParameterKey("n"), zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 4)));
    root->add(zynParameterKey("s"), zyn_string("text"));
    root->add(zynParameterKey("sub"), sub);
    sub->add(zynParameterKey("depth"), zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), 7)));
  }
  // Adds a reference with "text" under "name" in "where" and returns it.
  zynParameterPtr ref(const zynParameterPtr& where, const utString& name, const utString& text) {
    return where->add(zynParameterKey(name), zyn_ref(text));
  }
};

zynParameterSubType target_subtype(const zynParameterPtr& p) {
  const zynParameter* t = p->get_ref();
  return t ? zynParameter::get_subtype(*t) : PS_ERR_UNKNOWN;
}

TEST(ParameterRef, ResolvesAndForwardsToItsTarget) {
  Tree t;
  zynParameterPtr r = t.ref(t.root, "r", "sub.depth");
  EXPECT_EQ(zynParameter::get_type(*r), PT_NUMERIC);
  EXPECT_EQ(zynParameter::get_subtype(*r), PS_INT);
  EXPECT_EQ(r->get_int(), 7);
  EXPECT_EQ(r->operate_binary("+", r)->get_double(), 14.0);
  r->set_string("9");
  EXPECT_EQ(t.sub[zynParameterKey("depth")]->get_int(), 9);
  r->set_double(3);
  EXPECT_EQ(t.sub[zynParameterKey("depth")]->get_int(), 3);
  // An operand that reads the reference again closes no cycle.
  t.root[zynParameterKey("n")]->set_string("-r * 2");
  EXPECT_EQ(zynEvaluator(t.root.pointer()).evaluate("r + n")->get_double(), -3.0);
  t.root[zynParameterKey("n")]->set_string("4");
  EXPECT_TRUE(r->is_valid());
  // "_ref" is the reference's own text, never a member of the target.
  EXPECT_EQ(r[zynParameterKey("_ref")]->get_string(), "sub.depth");
  zynParameterPtr to_map = t.ref(t.root, "q", "sub");
  EXPECT_EQ(to_map[zynParameterKey("depth")]->get_int(), 3);
  EXPECT_EQ(to_map->size(), 1);
  // A reference follows another reference to the end of the chain.
  zynParameterPtr chain = t.ref(t.sub, "c", "q.depth");
  EXPECT_EQ(chain->get_int(), 3);
  EXPECT_TRUE(*chain == *t.sub[zynParameterKey("depth")]);
  EXPECT_TRUE(*chain == *r);
}

TEST(ParameterRef, SelfAncestorsAndBadTextsAreReferenceErrors) {
  Tree t;
  const char* texts[] = {"r", "sub", "sub.r", "nothing", "1 +", "(", "sub.depth.x.y", "entity('zz')"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    zynParameterPtr r = t.ref(t.sub, "r", text);
    EXPECT_TRUE(r->is_error());
    EXPECT_FALSE(r->is_valid());
    EXPECT_EQ(zynParameter::get_type(*r), PT_ERROR);
    EXPECT_EQ(r->size(), 0);
    t.sub->remove(zynParameterKey("r"));
  }
}

TEST(ParameterRef, CyclesOfAnyLengthEnd) {
  for (int length : {1, 2, 3, 7}) {
    SCOPED_TRACE(length);
    Tree t;
    std::vector<zynParameterPtr> refs;
    for (int i = 0; i < length; ++i)
      refs.push_back(t.ref(t.root, "r" + std::to_string(i), "r" + std::to_string((i + 1) % length)));
    for (const zynParameterPtr& r : refs) {
      EXPECT_TRUE(r->is_error());
      EXPECT_EQ(r->get_double(), 0.0);
      EXPECT_EQ(r->size(), 0);
      r->set_string("5");
      r->set_int(5);
      EXPECT_TRUE(r->operate_binary("+", r)->is_error());
      EXPECT_FALSE(r->print(0).empty());
      EXPECT_FALSE(r->is_valid());
    }
    zynEvaluator evaluator(t.root.pointer());
    EXPECT_TRUE(evaluator.evaluate("r0 + 1")->is_error());
  }
}

TEST(ParameterRef, ReferenceThroughAContainingMemberEnds) {
  // sub.r points at the root's member that holds sub: the target contains
  // the reference, and reading through it must not loop.
  Tree t;
  zynParameterPtr r = t.ref(t.sub, "r", "q");
  t.ref(t.root, "q", "sub");
  EXPECT_EQ(target_subtype(r), PS_ERR_REFERENCE);
  EXPECT_FALSE(r->is_valid());
  EXPECT_FALSE(t.root->print(0).empty());
  EXPECT_EQ(t.root[zynParameterKey("q.r")]->get_int(), 0);
}

TEST(ParameterRef, TypeAndRootTypeRestrictions) {
  Tree t;
  zynParameterPtr r = t.ref(t.root, "r", "s");
  as_ref(r).set_ref_type(PT_NUMERIC);
  EXPECT_EQ(target_subtype(r), PS_ERR_TYPE);
  as_ref(r).set_ref_type(PT_STRING);
  EXPECT_EQ(r->get_string(), "text");

  zynParameterPtr tool(new zynParameterRoot("tool", 1, "t1"));
  t.root->add(zynParameterKey("tool"), tool);
  zynParameterPtr any_root = t.ref(t.root, "a", "tool");
  as_ref(any_root).set_ref_root_type("*");
  EXPECT_EQ(as_ref(any_root).get_ref_type(), PT_MAP);
  EXPECT_EQ(target_subtype(any_root), PS_ROOT);
  as_ref(any_root).set_ref_root_type("holder");
  EXPECT_EQ(target_subtype(any_root), PS_ERR_TYPE);
  as_ref(any_root).set_ref_root_type("tool");
  EXPECT_EQ(target_subtype(any_root), PS_ROOT);
  // A plain map has no "root_type" member.
  zynParameterPtr plain = t.ref(t.root, "p", "sub");
  as_ref(plain).set_ref_root_type("*");
  EXPECT_EQ(target_subtype(plain), PS_ERR_TYPE);
}

TEST(ParameterRef, LocksToTheIdOfARoot) {
  Tree t;
  zynParameterRoot* tool = new zynParameterRoot("tool", 1, "t1");
  zynParameterPtr held(tool);
  zynUniqueId uid = zynUniqueId::create();
  zynUniqueIdTable::session_entities().add(uid);
  zynRefToObjectId id;
  id.become(zynUniqueIdTable::session_entities().find(uid));
  tool->set_id(id);
  t.root->add(zynParameterKey("tool"), held);
  zynParameterPtr r = t.ref(t.root, "r", "tool");
  EXPECT_TRUE(r->get_ref_id().is_equal(id));
  as_ref(r).lock_ref_to_id();
  EXPECT_EQ(as_ref(r).get_ref_string(), "id:" + uid.hex_string());
  // A reference to something that is not a root stays as it was.
  zynParameterPtr n = t.ref(t.root, "k", "n");
  as_ref(n).lock_ref_to_id();
  EXPECT_EQ(as_ref(n).get_ref_string(), "n");
}

TEST(ParameterRef, PrintFollowsTheTarget) {
  Tree t;
  zynParameterPtr r = t.ref(t.root, "r", "s");
  EXPECT_EQ(r->print(0), "(REF) s = " + t.root[zynParameterKey("s")]->print(0));
  zynParameterPtr self = t.ref(t.root, "me", "me");
  EXPECT_EQ(self->print(0).find("(REF !) me = "), 0u);
}

TEST(ParameterRef, LongChainsResolveOrEndInAnError) {
  Tree t;
  const int n = 400;
  for (int i = 0; i < n; ++i) t.ref(t.root, "c" + std::to_string(i), i + 1 < n ? "c" + std::to_string(i + 1) : "n");
  // Near the end the chain is short enough to follow; from the start it is not.
  EXPECT_EQ(t.root[zynParameterKey("c" + std::to_string(n - 20))]->get_int(), 4);
  zynParameterPtr head = t.root[zynParameterKey("c0")];
  EXPECT_TRUE(head->get_int() == 4 || head->is_error());
  EXPECT_FALSE(head->print(0).empty());
}

}  // namespace
