#include "zyn/core/zynParameterUpdater.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "zyn/core/zynParameterLoader.h"

namespace {

// Which steps ran, and with which working version.
std::vector<std::pair<int, int>> g_calls;
const utStringcoSList* g_names = nullptr;

template <int Step>
void raise(int& version, zynParameterRoot&, const utStringcoSList& names) {
  g_calls.emplace_back(Step, version);
  g_names = &names;
  ++version;
}

void stuck(int& version, zynParameterRoot&, const utStringcoSList&) { g_calls.emplace_back(-1, version); }

class StepUpdater : public zynParameterUpdater {
 public:
  explicit StepUpdater(zynParameterSimpleUpdatercoSList steps) : m_steps(std::move(steps)) {}
  void update(int version, zynParameterRoot& root, const utStringcoSList& names) override {
    apply_update(version, root, &m_steps, names);
  }
  void run_without_list(int version, zynParameterRoot& root) { apply_update(version, root, nullptr, {}); }

 private:
  zynParameterSimpleUpdatercoSList m_steps;
};

class UpdaterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    g_names = nullptr;
  }
  void TearDown() override { zynParameterUpdater::clear_unrecognised_pars(); }

  using Calls = std::vector<std::pair<int, int>>;
  zynParameterRoot root{"Tool", 3, "T1"};
  StepUpdater four{{raise<0>, raise<1>, raise<2>, raise<3>}};
};

TEST_F(UpdaterTest, StepsRunFromTheFileVersionUntilTheRootVersion) {
  utStringcoSList names{"A", "B"};
  four.update(1, root, names);
  EXPECT_EQ(g_calls, (Calls{{1, 1}, {2, 2}}));
  EXPECT_EQ(g_names, &names);
  g_calls.clear();
  four.update(0, root, names);
  EXPECT_EQ(g_calls, (Calls{{0, 0}, {1, 1}, {2, 2}}));
}

TEST_F(UpdaterTest, NothingRunsWithoutAStepForTheVersion) {
  four.update(3, root, {});  // already current
  four.update(4, root, {});  // newer than the root
  four.update(1000000, root, {});
  four.run_without_list(1, root);
  StepUpdater none{{}};
  none.update(1, root, {});
  EXPECT_TRUE(g_calls.empty());
  // The base updater does nothing at all.
  zynParameterUpdater& base = four;
  base.zynParameterUpdater::update(1, root, {});
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(UpdaterTest, StepsThatMissTheVersionEndWithTheList) {
  StepUpdater odd{{raise<0>, stuck, nullptr, raise<3>, raise<4>}};
  odd.update(1, root, {});
  // The stuck step leaves version 1, the empty entry is skipped, the next
  // step reaches 2 and the last one 3.
  EXPECT_EQ(g_calls, (Calls{{-1, 1}, {3, 1}, {4, 2}}));
  g_calls.clear();
  StepUpdater never{{stuck, stuck}};
  never.update(0, root, {});
  EXPECT_EQ(g_calls.size(), 2u);
  g_calls.clear();
  four.update(-5, root, {});  // a damaged version starts at the first step
  EXPECT_EQ(g_calls.front(), std::make_pair(0, -5));
}

TEST_F(UpdaterTest, UnrecognisedKeysKeepTheirLastValue) {
  zynParameterUpdater::add_unrecognised_par("Old.Feed", "10");
  zynParameterUpdater::add_unrecognised_par("Old.Feed", "12");
  zynParameterUpdater::add_unrecognised_par("Gone", "");
  const utStringutStringcoTable& table = zynParameterUpdater::get_unrecognised_pars();
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.at("Old.Feed"), "12");
  EXPECT_EQ(table.at("Gone"), "");
  // Listed in the order the keys were first met, as a host reports them.
  EXPECT_EQ(table.begin()->first, "Old.Feed");
  zynParameterUpdater::clear_unrecognised_pars();
  EXPECT_TRUE(zynParameterUpdater::get_unrecognised_pars().empty());
}

TEST_F(UpdaterTest, LoaderRecordsKeysTheRootLacks) {
  std::unique_ptr<zynParameterLoader> loader(root.create_loader(0, 1));
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(loader->load_par(zynParameterKey("Missing.Depth"), "4"), 1);
  EXPECT_EQ(zynParameterUpdater::get_unrecognised_pars().at("Missing.Depth"), "4");
  EXPECT_TRUE(loader->loaded_pars().empty());
}

}  // namespace
