#include "zyn/core/zynParameterUpdateTrack.h"

#include <gtest/gtest.h>

#include <set>

#include "support/zynTestHelpers.h"

namespace {

zynParameterPtr make() { return zyn_test_number(PS_REAL, 0); }

std::set<zynParameter*> walk() {
  std::set<zynParameter*> seen;
  for (auto it = zynParameterUpdateTrack::get_changed_params_list(); it; ++it) seen.insert(*it);
  return seen;
}

// Trackers nest and share one set; a change is recorded only while one lives,
// once per parameter, and a destroyed parameter leaves the set.
TEST(ParameterUpdateTrack, NestedTrackersShareOneSet) {
  zynParameterPtr a = make(), b = make();
  a->set_string("1");
  zynParameterUpdateTrack::track_parameter(a.pointer());
  {
    zynParameterUpdateTrack outer;
    EXPECT_EQ(outer.get_list_size(), 0);
    a->set_string("2");
    {
      zynParameterUpdateTrack inner;
      EXPECT_EQ(inner.get_list_size(), 1);  // joining does not clear
      b->set_string("1");
      a->set_string("3");
      zynParameterPtr gone = make();
      gone->set_string("1");
    }
    EXPECT_EQ(walk(), (std::set<zynParameter*>{a.pointer(), b.pointer()}));
  }
  EXPECT_FALSE(zynParameterUpdateTrack::in_use());
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
}

TEST(ParameterUpdateTrack, CleanupDropsErrorsAndResetEmpties) {
  zynParameterUpdateTrack track;
  zynParameterPtr p = make();
  zynParameterPtr err = zynParameterError::create(PS_ERR_NAME);
  p->set_string("1");
  zynParameterUpdateTrack::track_parameter(err.pointer());
  zynParameterUpdateTrack::track_parameter(nullptr);
  EXPECT_EQ(track.get_list_size(), 2);
  track.cleanup_list();
  EXPECT_EQ(walk(), (std::set<zynParameter*>{p.pointer()}));

  zynParameterCoSetAdaptercoSet copy{zynParameterCoSetAdapter(err.pointer()), zynParameterCoSetAdapter()};
  track.copy_list_into(copy);
  EXPECT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.count(p.pointer()), 1u);
  EXPECT_EQ(co_hash(zynParameterCoSetAdapter(p.pointer())), co_hash_pointer(p.pointer()));
  EXPECT_TRUE(zynParameterCoSetAdapter(p.pointer()) != zynParameterCoSetAdapter(err.pointer()));

  zynParameterUpdateTrack::reset();
  EXPECT_EQ(track.get_list_size(), 0);
  EXPECT_TRUE(zynParameterUpdateTrack::in_use());
  zynParameterUpdateTrack::untrack_parameter(p.pointer());  // absent: harmless
}

}  // namespace
