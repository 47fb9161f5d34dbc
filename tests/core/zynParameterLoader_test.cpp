#include "zyn/core/zynParameterLoader.h"

#include <gtest/gtest.h>

#include <memory>

#include "zyn/zyn.h"

namespace {

TEST(ParameterLoader, LoadsValuesAndRecordsKeys) {
  zynParameterRoot root{"Tool", 2, "T1"};
  zynParameterPtr group = root.add("group", zyn_map());
  group->set_group_name("Cutting");
  zynParameterPtr feed = group->add("feed", zyn_real(1));
  zynParameterPtr list = root.add("passes", zyn_list(zyn_real(0)));
  zynParameterPtr ref = root.add("link", zyn_ref("group.feed"));
  std::unique_ptr<zynParameterLoader> loader(root.create_loader(0, 7));
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

}  // namespace
