#include "zyn/host/zynContainers.h"

#include <gtest/gtest.h>

#include <vector>

#include "zyn/host/zynUniqueId.h"

namespace {
std::vector<utString> keys_of(const utStringutStringcoTable& t) {
  std::vector<utString> keys;
  for (const auto& entry : t) keys.push_back(entry.first);
  return keys;
}
}  // namespace

TEST(coTable, KeepsInsertionOrderThroughChangesAndCopies) {
  utStringutStringcoTable t{{"zeta", "1"}, {"alpha", "2"}, {"mid", "3"}};
  t["zeta"] = "5";  // a known key keeps its place
  EXPECT_EQ(t.at("zeta"), "5");
  EXPECT_FALSE(t.emplace("alpha", "x").second);
  EXPECT_EQ(t.erase("alpha"), 1u);
  EXPECT_EQ(t.erase("alpha"), 0u);
  t.emplace("alpha", "6");  // erased and added again: now last
  t.erase(t.find("mid"));
  EXPECT_EQ(t.find("mid"), t.end());
  EXPECT_EQ(keys_of(t), (std::vector<utString>{"zeta", "alpha"}));

  utStringutStringcoTable copy = t;
  copy["zeta"] = "changed";
  EXPECT_EQ(t.at("zeta"), "5");
  utStringutStringcoTable moved = std::move(copy);
  EXPECT_EQ(moved.find("zeta")->second, "changed");  // the copy's index points into the copy
  t = moved;
  EXPECT_EQ(keys_of(t), (std::vector<utString>{"zeta", "alpha"}));
  EXPECT_EQ(t.at("zeta"), "changed");
}

TEST(UniqueId, FreshIdsDifferAndEqualReferencesMergeInASet) {
  const zynUniqueId id = zynUniqueId::create();
  EXPECT_NE(zynUniqueId::create(), id);
  zynRefToObjectId a;
  zynRefToObjectId b;
  a.become(zynUniqueIdPtr(id));
  b.become(zynUniqueIdPtr(id));  // same id through another handle
  zynRefToObjectIdcoSet set{a, b, zynRefToObjectId()};
  EXPECT_EQ(set.size(), 2u);
}

TEST(coHash, TextsByContent) {
  EXPECT_EQ(co_hash(utString("Feed")), co_hash(utString("Fe") + "ed"));
  EXPECT_EQ(co_hash(nullptr, 8), 0u);
}
