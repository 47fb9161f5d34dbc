#include "zyn/core/zynParameterUpdateTrack.h"

#include <gtest/gtest.h>

#include <set>

#include "support/zynTestScalar.h"

namespace {

zynParameterPtr make() { return zynParameterPtr(new zynTestScalar()); }

std::set<zynParameter*> walk() {
  std::set<zynParameter*> seen;
  for (auto it = zynParameterUpdateTrack::get_changed_params_list(); it; ++it) seen.insert(*it);
  return seen;
}

TEST(zynParameterUpdateTrack, NothingIsRecordedWithoutATracker) {
  zynParameterPtr p = make();
  EXPECT_FALSE(zynParameterUpdateTrack::in_use());
  p->set_string("1");
  zynParameterUpdateTrack::track_parameter(p.pointer());
  zynParameterUpdateTrack track;
  EXPECT_TRUE(zynParameterUpdateTrack::in_use());
  EXPECT_EQ(track.get_list_size(), 0);
  zynParameterUpdateTrack::track_parameter(nullptr);
  EXPECT_EQ(track.get_list_size(), 0);
}

TEST(zynParameterUpdateTrack, NestedTrackersShareOneSet) {
  zynParameterPtr a = make(), b = make();
  {
    zynParameterUpdateTrack outer;
    a->set_string("1");
    {
      zynParameterUpdateTrack inner;
      EXPECT_EQ(inner.get_list_size(), 1);  // joining does not clear
      b->set_string("1");
      a->set_string("2");  // already there: counted once
    }
    EXPECT_TRUE(zynParameterUpdateTrack::in_use());
    EXPECT_EQ(walk(), (std::set<zynParameter*>{a.pointer(), b.pointer()}));
  }
  EXPECT_FALSE(zynParameterUpdateTrack::in_use());
  EXPECT_EQ(zynParameterUpdateTrack::get_list_size(), 0);
  EXPECT_FALSE(zynParameterUpdateTrack::get_changed_params_list());
  // A new session starts empty.
  zynParameterUpdateTrack again;
  EXPECT_EQ(again.get_list_size(), 0);
}

TEST(zynParameterUpdateTrack, DestroyedParametersLeaveTheSet) {
  zynParameterUpdateTrack track;
  zynParameterPtr keep = make();
  keep->set_string("1");
  {
    zynParameterPtr gone = make();
    gone->set_string("1");
    EXPECT_EQ(track.get_list_size(), 2);
  }
  EXPECT_EQ(walk(), (std::set<zynParameter*>{keep.pointer()}));
  // cleanup_list asks every member whether it is an error: a dangling one
  // would be a use after free.
  track.cleanup_list();
  EXPECT_EQ(track.get_list_size(), 1);
}

TEST(zynParameterUpdateTrack, CleanupDropsErrorsAndResetEmpties) {
  zynParameterUpdateTrack track;
  zynParameterPtr p = make();
  zynParameterPtr err = zynParameterError::create(PS_ERR_NAME);
  p->set_string("1");
  zynParameterUpdateTrack::track_parameter(err.pointer());
  EXPECT_EQ(track.get_list_size(), 2);
  track.cleanup_list();
  EXPECT_EQ(walk(), (std::set<zynParameter*>{p.pointer()}));

  zynParameterCoSetAdaptercoSet copy{zynParameterCoSetAdapter(err.pointer())};
  track.copy_list_into(copy);
  EXPECT_EQ(copy.size(), 1u);
  EXPECT_EQ(copy.count(p.pointer()), 1u);

  zynParameterUpdateTrack::reset();
  EXPECT_EQ(track.get_list_size(), 0);
  EXPECT_TRUE(zynParameterUpdateTrack::in_use());
  zynParameterUpdateTrack::untrack_parameter(p.pointer());  // absent: harmless
}

TEST(zynParameterCoSetAdapter, ComparesAndHashesByIdentity) {
  zynParameterPtr a = make(), b = make();
  zynParameterCoSetAdapter none;
  EXPECT_EQ(none.pointer(), nullptr);
  zynParameterCoSetAdapter x(a.pointer()), y(a.pointer()), z(b.pointer());
  EXPECT_TRUE(x == y);
  EXPECT_TRUE(x != z);
  EXPECT_EQ(co_hash(x), co_hash(y));
  EXPECT_EQ(co_hash(x), co_hash_pointer(a.pointer()));
  zynParameter* back = x;
  EXPECT_EQ(back, a.pointer());
  zynParameterCoSetAdaptercoSet set{x, y, z};
  EXPECT_EQ(set.size(), 2u);
}

}  // namespace
