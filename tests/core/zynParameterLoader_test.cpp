#include "zyn/core/zynParameterLoader.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    group = root.add("group", zyn_map());
    group->set_group_name("Cutting");
    feed = group->add("feed", zyn_real(1));
    list = root.add("passes", zyn_list(zyn_real(0)));
    ref = root.add("link", zyn_ref("group.feed"));
    loader.reset(root.create_loader(0, 7));
  }

  zynParameterRoot root{"Tool", 2, "T1"};
  zynParameterPtr group, feed, list, ref;
  std::unique_ptr<zynParameterLoader> loader;
};

TEST_F(LoaderTest, LoadsValuesAndRecordsKeys) {
  ASSERT_TRUE(loader);
  EXPECT_EQ(loader->version(), 7);
  EXPECT_EQ(loader->load_par("group.feed", "2.5"), 0);
  EXPECT_DOUBLE_EQ(feed->get_double(), 2.5);
  // A member without group takes its container's, and its key's last part as label.
  EXPECT_EQ(feed->get_group_name(), "Cutting");
  EXPECT_EQ(feed->get_label(), "feed");
  EXPECT_EQ(loader->load_par("passes", ""), 0);
  EXPECT_EQ(list->size(), 0);  // arrays are only noted
  EXPECT_EQ(loader->load_par("link", "&group"), 0);
  EXPECT_EQ(zynParameterRef::ut_dynamic_cast(ref.pointer())->get_ref_string(), "group");
  EXPECT_EQ(loader->load_par("missing.value", "3"), 1);
  const utStringcoSList expected{"group.feed", "passes", "link"};
  EXPECT_EQ(loader->loaded_pars(), expected);
}

TEST_F(LoaderTest, DefineParAddsIntoTheNamedContainer) {
  EXPECT_EQ(loader->define_par("group.speed", zyn_real(4)), 0);
  EXPECT_DOUBLE_EQ(root["group.speed"]->get_double(), 4.0);
  EXPECT_EQ(root["group.speed"]->parent(), group.raw());
  EXPECT_EQ(loader->define_par("top", zyn_real(5)), 0);
  EXPECT_DOUBLE_EQ(root["top"]->get_double(), 5.0);
  EXPECT_EQ(loader->define_par("absent.x", zyn_real(6)), 1);
  EXPECT_EQ(loader->define_par("", zyn_real(6)), 1);
  // An existing member stays; define_par still reports the hand-over.
  EXPECT_EQ(loader->define_par("group.feed", zyn_real(9)), 0);
  EXPECT_DOUBLE_EQ(root["group.feed"]->get_double(), 1.0);
  // Names are translated through the root's synonyms first.
  EXPECT_EQ(loader->define_par("name", zyn_real(3)), 0);
  EXPECT_DOUBLE_EQ(root["Name"]->get_double(), 3.0);
}

}  // namespace
