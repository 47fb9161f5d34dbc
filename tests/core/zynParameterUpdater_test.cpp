#include "zyn/core/zynParameterUpdater.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "zyn/core/zynParameterLoader.h"

namespace {

// Which steps ran, and with which working version.
using Calls = std::vector<std::pair<int, int>>;
Calls g_calls;

template <int Step>
void raise(int& version, zynParameterRoot&, const utStringcoSList&) {
  g_calls.emplace_back(Step, version);
  ++version;
}

void stuck(int& version, zynParameterRoot&, const utStringcoSList&) { g_calls.emplace_back(-1, version); }

class StepUpdater : public zynParameterUpdater {
 public:
  explicit StepUpdater(zynParameterSimpleUpdatercoSList steps) : m_steps(std::move(steps)) {}
  void update(int version, zynParameterRoot& root, const utStringcoSList& names) override {
    apply_update(version, root, &m_steps, names);
  }

 private:
  zynParameterSimpleUpdatercoSList m_steps;
};

// Steps run from the file's version until the root's (3); a step that misses
// its version leaves it, an empty entry is skipped, and the list's end stops all.
TEST(ParameterUpdater, StepsRunFromTheFileVersionToTheRootVersion) {
  const zynParameterSimpleUpdatercoSList four{raise<0>, raise<1>, raise<2>, raise<3>};
  const zynParameterSimpleUpdatercoSList odd{raise<0>, stuck, nullptr, raise<3>, raise<4>};
  const struct {
    zynParameterSimpleUpdatercoSList steps;
    int version;
    Calls calls;
  } cases[] = {
      {four, 1, {{1, 1}, {2, 2}}},
      {four, 0, {{0, 0}, {1, 1}, {2, 2}}},
      {four, 3, {}},        // already current
      {four, 4, {}},        // newer than the root
      {four, 1000000, {}},  // a damaged version reaches no step
      {{}, 1, {}},
      {odd, 1, {{-1, 1}, {3, 1}, {4, 2}}},
      {{stuck, stuck}, 0, {{-1, 0}, {-1, 0}}},
  };
  zynParameterRoot root{"Tool", 3, "T1"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    g_calls.clear();
    StepUpdater(c.steps).update(c.version, root, {});
    EXPECT_EQ(g_calls, c.calls);
  }
  g_calls.clear();
  StepUpdater none{four};
  none.zynParameterUpdater::update(1, root, {});  // the base updater does nothing
  EXPECT_TRUE(g_calls.empty());
}

TEST(ParameterUpdater, UnrecognisedKeysKeepTheirLastValue) {
  zynParameterUpdater::clear_unrecognised_pars();
  zynParameterRoot root{"Tool", 3, "T1"};
  std::unique_ptr<zynParameterLoader> loader(root.create_loader(0, 1));
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(loader->load_par(zynParameterKey("Old.Feed"), "10"), 1);
  EXPECT_TRUE(loader->loaded_pars().empty());
  zynParameterUpdater::add_unrecognised_par("Old.Feed", "12");
  zynParameterUpdater::add_unrecognised_par("Gone", "");
  const utStringutStringcoTable& table = zynParameterUpdater::get_unrecognised_pars();
  EXPECT_EQ(table.size(), 2u);
  EXPECT_EQ(table.at("Old.Feed"), "12");
  // Listed in the order the keys were first met, as a host reports them.
  EXPECT_EQ(table.begin()->first, "Old.Feed");
  zynParameterUpdater::clear_unrecognised_pars();
  EXPECT_TRUE(zynParameterUpdater::get_unrecognised_pars().empty());
}

}  // namespace
