#include <gtest/gtest.h>

#include <vector>

#include "zyn/host/zynContainers.h"
#include "zyn/host/zynUniqueId.h"

namespace {
std::vector<utString> keys_of(const utStringutStringcoTable& t) {
  std::vector<utString> keys;
  for (const auto& entry : t) keys.push_back(entry.first);
  return keys;
}
}  // namespace

TEST(coTable, IteratesInInsertionOrder) {
  utStringutStringcoTable t{{"zeta", "1"}, {"alpha", "2"}, {"mid", "3"}};
  t["beta"] = "4";
  t["zeta"] = "5";  // a known key keeps its place
  EXPECT_EQ(keys_of(t), (std::vector<utString>{"zeta", "alpha", "mid", "beta"}));
  EXPECT_EQ(t.at("zeta"), "5");
  EXPECT_FALSE(t.emplace("alpha", "x").second);
  EXPECT_EQ(t.find("alpha")->second, "2");

  EXPECT_EQ(t.erase("alpha"), 1u);
  EXPECT_EQ(t.erase("alpha"), 0u);
  t.emplace("alpha", "6");  // erased and added again: now last
  EXPECT_EQ(keys_of(t), (std::vector<utString>{"zeta", "mid", "beta", "alpha"}));
  t.erase(t.find("mid"));
  EXPECT_EQ(t.count("mid"), 0u);
  EXPECT_EQ(t.find("mid"), t.end());
}

TEST(coTable, CopiesAreIndependentAndIndexed) {
  utStringutStringcoTable a{{"k1", "v1"}, {"k2", "v2"}};
  utStringutStringcoTable b = a;
  b["k1"] = "changed";
  b.erase("k2");
  EXPECT_EQ(a.at("k1"), "v1");
  EXPECT_EQ(a.size(), 2u);
  EXPECT_EQ(b.find("k1")->second, "changed");  // the copy's index points into the copy
  utStringutStringcoTable c = std::move(b);
  EXPECT_EQ(c.find("k1")->second, "changed");
  a = c;
  EXPECT_EQ(keys_of(a), std::vector<utString>{"k1"});
  a.clear();
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(a.find("k1"), a.end());
}

TEST(UniqueId, HexFormTableAndReferenceSets) {
  const zynUniqueId id = zynUniqueId::create();
  const utString hex = id.hex_string();
  ASSERT_EQ(hex.size(), 32u);
  EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), utString::npos);
  EXPECT_NE(zynUniqueId::create(), id);

  zynUniqueId back;
  EXPECT_TRUE(back.become(hex.c_str()));
  EXPECT_EQ(back, id);
  for (const char* bad : {"", "123", "g0000000000000000000000000000000", "000000000000000000000000000000000"}) {
    EXPECT_FALSE(back.become(bad)) << bad;
    EXPECT_FALSE(back.is_valid());
    EXPECT_EQ(back.hex_string(), "");
  }

  zynUniqueIdTable& table = zynUniqueIdTable::session_entities();
  EXPECT_FALSE(table.member(id));
  table.add(id);
  table.add(id);
  EXPECT_EQ(table.find(id).get_uid(), table.find(id).get_uid());  // one canonical entry

  zynRefToObjectId a;
  zynRefToObjectId b;
  EXPECT_TRUE(a.is_equal(zynRefToObjectId::empty()));
  a.become(table.find(id));
  b.become(zynUniqueIdPtr(id));  // same id through another handle
  EXPECT_TRUE(a.is_equal(b));
  zynRefToObjectIdcoSet set{a, b, zynRefToObjectId()};
  EXPECT_EQ(set.size(), 2u);
}

TEST(coHash, TextsByContentPointersByIdentity) {
  EXPECT_EQ(co_hash(utString("Feed")), co_hash(utString("Fe") + "ed"));
  int x = 0;
  const void* px = &x;
  const void* px_again = &x;
  EXPECT_EQ(co_hash(&px, sizeof px), co_hash(&px_again, sizeof px_again));
  EXPECT_EQ(co_hash(nullptr, 8), 0u);
  EXPECT_EQ(co_hash(&px, 0), 0u);
}
