#include "zyn/collections/zynParameterRef.h"

#include <gtest/gtest.h>

#include "support/zynTestParameter.h"

namespace {

zynParameterRef& as_ref(const zynParameterPtr& p) { return *zynParameterRef::ut_dynamic_cast(p.pointer()); }

zynParameterPtr make_ref(const utString& text) { return zynParameterPtr(new zynParameterRef(text)); }

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
  zynParameterPtr p = make_ref("a.b");
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
  zynParameterPtr p = make_ref("a.b");
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
  zynParameterPtr p = make_ref("a");
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
  zynParameterPtr p = make_ref("");
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

}  // namespace
