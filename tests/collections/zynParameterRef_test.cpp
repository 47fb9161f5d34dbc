#include "zyn/collections/zynParameterRef.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterRef& as_ref(const zynParameterPtr& p) { return *zynParameterRef::ut_dynamic_cast(p.pointer()); }

zynRefToObjectId new_id(const zynUniqueId& uid) {
  zynUniqueIdTable::session_entities().add(uid);
  zynRefToObjectId id;
  id.become(zynUniqueIdTable::session_entities().find(uid));
  return id;
}

TEST(ParameterRef, SchemesReadBackAndIdsAreParsed) {
  zynUniqueId uid = zynUniqueId::create();
  const utString hex = uid.hex_string();
  for (const utString& text : {utString("a.b"), "excl:" + hex + ":x.y", utString("host:some/path"), utString("host:a:b")}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(zynParameterRef(zynParameterRef(text).get_ref_string()).get_ref_string(), text);
  }
  utString upper = hex;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  zynParameterRef a("id:" + upper);
  // The id reads back in the service's own (lower-case) form.
  EXPECT_EQ(a.get_ref_string(), "id:" + hex);
  EXPECT_TRUE(zynUniqueIdTable::session_entities().member(uid));
  zynParameterRef b("excl:" + hex);
  EXPECT_TRUE(b.get_ref_id().is_equal(a.get_ref_id()));
  EXPECT_EQ(b.get_ref_string(), "excl:" + hex + ":");
  // An excl reference into a member names no object of its own.
  EXPECT_FALSE(zynParameterRef("excl:" + hex + ":x").get_ref_id().is_valid());
  for (const utString& text : {utString("id:xyz"), "id:" + hex + "0", "a:" + hex}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(zynParameterRef(text).get_ref_id().is_valid());
  }
}

TEST(ParameterRef, SetRefFromIdMakesAnIdReferenceAndResetForgetsIt) {
  zynUniqueId uid = zynUniqueId::create();
  zynRefToObjectId id = new_id(uid);
  zynParameterPtr p = zyn_ref("a.b");
  p->set_ref_from_id(id);
  EXPECT_EQ(as_ref(p).get_ref_string(), "id:" + uid.hex_string());
  EXPECT_TRUE(p->get_ref_id().is_equal(id));
  p->reset();
  EXPECT_FALSE(p->get_ref_id().is_valid());
  EXPECT_EQ(as_ref(p).get_ref_string(), "id:");
}

TEST(ParameterRef, EmptyReferenceIsAReferenceError) {
  zynParameterPtr p = zyn_ref("");
  EXPECT_EQ(p->get_ref(), zynParameterError::create(PS_ERR_REFERENCE).pointer());
  EXPECT_EQ(subtype_of(p), PS_ERR_REFERENCE);
  EXPECT_EQ(p->print(0), "(REF !)  = (ERROR) Expression/Reference error\n");
  EXPECT_TRUE(p->operate_prefix("-")->is_error());
  zynParameterPtr item = zynParameterPtr(new zynTestParameter());
  EXPECT_TRUE(p->add("x", item)->is_error());
  EXPECT_TRUE(item.unique());
}

// A tree for resolution: root { n = 4, s = "text", sub { depth = 7 } }.
struct Tree {
  zynParameterPtr root{new zynParameterMap()};
  zynParameterPtr sub{new zynParameterMap()};
  Tree() {
    root->add(zynParameterKey("n"), zyn_test_number(PS_REAL, 4));
    root->add(zynParameterKey("s"), zyn_string("text"));
    root->add(zynParameterKey("sub"), sub);
    sub->add(zynParameterKey("depth"), zyn_test_number(PS_INT, 7));
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
  EXPECT_EQ(subtype_of(r), PS_INT);
  EXPECT_EQ(r->operate_binary("+", r)->get_double(), 14.0);
  r->set_int(9);
  EXPECT_EQ(t.sub[zynParameterKey("depth")]->get_int(), 9);
  r->set_string("8");
  EXPECT_EQ(t.sub[zynParameterKey("depth")]->get_int(), 8);
  r->set_double(3);
  EXPECT_EQ(t.sub[zynParameterKey("depth")]->get_int(), 3);
  // "_ref" is the reference's own text, never a member of the target.
  EXPECT_EQ(r[zynParameterKey("_ref")]->get_string(), "sub.depth");
  zynParameterPtr to_map = t.ref(t.root, "q", "sub");
  EXPECT_EQ(to_map[zynParameterKey("depth")]->get_int(), 3);
  // A reference follows another reference to the end of the chain.
  zynParameterPtr chain = t.ref(t.sub, "c", "q.depth");
  EXPECT_EQ(chain->get_int(), 3);
  EXPECT_TRUE(*chain == *t.sub[zynParameterKey("depth")]);
  EXPECT_TRUE(*chain == *r);
  EXPECT_EQ(r->set_onmodify_callback(nullptr), nullptr);
  as_ref(r).set_nofollow(1);
  EXPECT_EQ(r->print(0), "(REF) sub.depth\n");  // the target is not shown
}

TEST(ParameterRef, SelfAncestorsAndBadTextsAreReferenceErrors) {
  Tree t;
  for (const char* text : {"r", "sub", "nothing", "1 +"}) {
    SCOPED_TRACE(text);
    zynParameterPtr r = t.ref(t.sub, "r", text);
    EXPECT_EQ(target_subtype(r), PS_ERR_REFERENCE);
    EXPECT_FALSE(r->is_valid());
    t.sub->remove(zynParameterKey("r"));
  }
}

TEST(ParameterRef, TypeAndRootTypeRestrictions) {
  Tree t;
  zynParameterPtr r = t.ref(t.root, "r", "s");
  as_ref(r).set_ref_type(PT_NUMERIC);
  EXPECT_EQ(target_subtype(r), PS_ERR_TYPE);
  t.root->add(zynParameterKey("tool"), zynParameterPtr(new zynParameterRoot("tool", 1, "t1")));
  zynParameterPtr any_root = t.ref(t.root, "a", "tool");
  as_ref(any_root).set_ref_root_type("*");
  EXPECT_EQ(as_ref(any_root).get_ref_type(), PT_MAP);
  EXPECT_EQ(target_subtype(any_root), PS_ROOT);
  as_ref(any_root).set_ref_root_type("holder");
  EXPECT_EQ(target_subtype(any_root), PS_ERR_TYPE);
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
  tool->set_id(new_id(uid));
  t.root->add(zynParameterKey("tool"), held);
  zynParameterPtr r = t.ref(t.root, "r", "tool");
  as_ref(r).lock_ref_to_id();
  EXPECT_EQ(as_ref(r).get_ref_string(), "id:" + uid.hex_string());
  // A reference to something that is not a root stays as it was.
  zynParameterPtr n = t.ref(t.root, "k", "n");
  as_ref(n).lock_ref_to_id();
  EXPECT_EQ(as_ref(n).get_ref_string(), "n");
}

}  // namespace
