#include "zyn/geometry/zynParameterUtils.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/zynTestGeometry.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr member(const zynParameterPtr& map, const char* name) { return (*map)[zynParameterKey(name)]; }

zynParameterPtr add(const zynParameterPtr& map, const char* name, zynParameterPtr p, int mode = PMM_NONE) {
  p->set_mirror_mode(static_cast<zynParameterMirrorMode>(mode));
  return map->add(zynParameterKey(name), p);
}

zynParameterPtr new_map() { return zynParameterPtr(new zynParameterMap()); }

zynParameterPtr side(const char* text) { return zynParameterPtr(new zynParameterEnum("left|right|centre", text)); }

void mirror(const zynParameterPtr& root) {
  zynParameterUtils::mirror_parameters(root, giPoint3(0, 0, 0), giVector3(1, 0, 0));
}

void expect_near(const giVector3& got, double x, double y, double z) {
  EXPECT_NEAR(got.x(), x, 1e-12);
  EXPECT_NEAR(got.y(), y, 1e-12);
  EXPECT_NEAR(got.z(), z, 1e-12);
}

TEST(ParameterMirror, ModesApplyTheirFixedRules) {
  const zynParameterPtr root = new_map();
  add(root, "length", zyn_test_real(5), PMM_NEGATE);
  add(root, "a270", zyn_test_real(270), PMM_ADD_180);
  add(root, "a90", zyn_test_real(90), PMM_ADD_180);
  add(root, "a180", zyn_test_real(180), PMM_ADD_180);
  add(root, "back", zyn_test_real(30), PMM_SUBTRACT_180);
  add(root, "supp", zyn_test_real(30), PMM_SUPPLEMENT);
  add(root, "kept", zyn_test_real(7), PMM_KEEP);
  add(root, "unknown", zyn_test_real(8), 42);
  add(root, "plain", zyn_test_real(9));
  mirror(root);
  EXPECT_EQ(member(root, "length")->get_double(), -5.0);
  EXPECT_EQ(member(root, "a270")->get_double(), 90.0);
  EXPECT_EQ(member(root, "a90")->get_double(), 270.0);
  EXPECT_EQ(member(root, "a180")->get_double(), 360.0);  // only values past 360 wrap
  EXPECT_EQ(member(root, "back")->get_double(), -150.0);
  EXPECT_EQ(member(root, "supp")->get_double(), 150.0);
  EXPECT_EQ(member(root, "kept")->get_double(), 7.0);
  EXPECT_EQ(member(root, "unknown")->get_double(), 8.0);
  EXPECT_EQ(member(root, "plain")->get_double(), 9.0);
}

TEST(ParameterMirror, SidesSwapIgnoringCase) {
  const zynParameterPtr root = new_map();
  add(root, "a", side("Left"), PMM_SWAP_SIDE);
  add(root, "b", side("RIGHT"), PMM_SWAP_SIDE);
  add(root, "c", side("centre"), PMM_SWAP_SIDE);
  add(root, "d", side("left"));
  mirror(root);
  EXPECT_EQ(member(root, "a")->get_string(), "right");
  EXPECT_EQ(member(root, "b")->get_string(), "left");
  EXPECT_EQ(member(root, "c")->get_string(), "centre");
  EXPECT_EQ(member(root, "d")->get_string(), "left");
}

TEST(ParameterMirror, InactiveAndTheRootItselfAreLeftAlone) {
  const zynParameterPtr root = new_map();
  root->set_mirror_mode(PMM_NEGATE);
  add(root, "off", zyn_test_real(5), PMM_NEGATE)->set_active("0");
  const zynParameterPtr sub = add(root, "sub", new_map());
  sub->set_active("0");
  add(sub, "inner", zyn_test_real(3), PMM_NEGATE);
  add(root, "on", zyn_test_real(4), PMM_NEGATE);
  mirror(root);
  EXPECT_EQ(member(root, "off")->get_double(), 5.0);
  EXPECT_EQ(member(sub, "inner")->get_double(), 3.0);
  EXPECT_EQ(member(root, "on")->get_double(), -4.0);
}

TEST(ParameterMirror, EndSiblingSwapsNegated) {
  const zynParameterPtr root = new_map();
  const zynParameterPtr pair = add(root, "pair", new_map());
  add(pair, "Start", zyn_test_real(2), PMM_SWAP_END);
  add(pair, "End", zyn_test_real(5));
  // Without a sibling "End" the value stays: it is not replaced by -0.
  const zynParameterPtr lone = add(root, "lone", new_map());
  add(lone, "Start", zyn_test_real(2), PMM_SWAP_END);
  mirror(root);
  EXPECT_EQ(member(pair, "Start")->get_double(), -5.0);
  EXPECT_EQ(member(pair, "End")->get_double(), -2.0);
  EXPECT_EQ(member(lone, "Start")->get_double(), 2.0);
}

TEST(ParameterMirror, DirectionVectorsFollowTheirMode) {
  const zynParameterPtr root = new_map();
  add(root, "dir", zyn_test_vector(1, 2, 3));
  add(root, "flat", zyn_test_vector2(4, 5));
  add(root, "colour", zyn_test_vector(1, 2, 3, PVA_RGB));
  const zynParameterPtr fixed = add(root, "fixed", new_map());
  add(fixed, "first", zyn_test_vector(1, 2, 3), PMM_KEEP);
  add(fixed, "second", zyn_test_vector(4, 5, 6), PMM_KEEP);
  mirror(root);
  expect_near(zyn_test_components(*member(root, "dir")), -1, 2, 3);
  EXPECT_EQ((*member(root, "flat"))[zynParameterKey(0, utString())]->get_double(), -4.0);
  expect_near(zyn_test_components(*member(root, "colour")), 1, 2, 3);

  // Of the vectors with a mode, the first visited gets the fixed axis, the other keeps its value.
  const giVector3 first = zyn_test_components(*member(fixed, "first"));
  const giVector3 second = zyn_test_components(*member(fixed, "second"));
  const bool first_fixed = first.x() == -1.0;
  if (first_fixed) {
    expect_near(first, -1, 0, 0);
    expect_near(second, 4, 5, 6);
  } else {
    expect_near(first, 1, 2, 3);
    expect_near(second, -1, 0, 0);
  }
}

TEST(ParameterMirror, ArbitraryModeSetsNormalOnce) {
  const zynParameterPtr root = new_map();
  const zynParameterPtr a = add(root, "a", new_map());
  add(a, "Kind", zynParameterPtr(new zynParameterString("fixed")), PMM_ARBITRARY);
  add(a, "Normal", zyn_test_vector(0, 0, 1, PVA_NONE));
  mirror(root);
  EXPECT_EQ(member(a, "Kind")->get_string(), "arbitary");
  expect_near(zyn_test_components(*member(a, "Normal")), 1, 0, 0);

  // Once set in a walk, later "Normal" siblings keep their values.
  const zynParameterPtr twice = new_map();
  for (const char* name : {"p", "q"}) {
    const zynParameterPtr m = add(twice, name, new_map());
    add(m, "Kind", zynParameterPtr(new zynParameterString("fixed")), PMM_ARBITRARY);
    add(m, "Normal", zyn_test_vector(0, 0, 1, PVA_NONE));
  }
  mirror(twice);
  const double px = zyn_test_components(*member(member(twice, "p"), "Normal")).x();
  const double qx = zyn_test_components(*member(member(twice, "q"), "Normal")).x();
  EXPECT_EQ(px + qx, 1.0);
  EXPECT_EQ(member(member(twice, "q"), "Kind")->get_string(), "arbitary");
}

TEST(ParameterMirror, WorkplaneIsReflectedInThePlaneOnce) {
  const zynParameterPtr root = new_map();
  const double r = 1.0 / std::sqrt(2.0);
  const zynParameterPtr wp =
      add(root, "frame", zyn_test_workplane(giPoint3(1, 2, 3), giVector3(r, r, 0), giVector3(0, 0, 1)));
  const zynParameterPtr origin = member(wp, "Origin");
  zynParameterUtils::mirror_parameters(root, giPoint3(5, 0, 0), giVector3(2, 0, 0));
  // The members are the same objects with reflected coordinates; their own
  // X/Y/Z rule does not apply on top.
  EXPECT_EQ(origin.raw(), member(wp, "Origin").raw());
  expect_near(zyn_test_components(*origin), 9, 2, 3);
  expect_near(zyn_test_components(*member(wp, "YAxis")), -r, r, 0);
  expect_near(zyn_test_components(*member(wp, "ZAxis")), 0, 0, 1);
}

TEST(ParameterMirror, DegenerateWorkplaneIsKept) {
  const zynParameterPtr root = new_map();
  const zynParameterPtr wp = add(root, "frame", zyn_test_workplane(giPoint3(1, 2, 3), giVector3(0, 0, 1), giVector3(0, 0, 2)));
  mirror(root);
  expect_near(zyn_test_components(*member(wp, "Origin")), 1, 2, 3);
  expect_near(zyn_test_components(*member(wp, "YAxis")), 0, 0, 1);
  expect_near(zyn_test_components(*member(wp, "ZAxis")), 0, 0, 2);
}

TEST(ParameterMirror, RemoveActiveExpressionsStripsTreeNotSharers) {
  const zynParameterPtr root = new_map();
  root->set_active("1");
  const zynParameterPtr sub = add(root, "sub", new_map());
  sub->set_active("flag");
  const zynParameterPtr depth = add(sub, "depth", zyn_test_real(1));
  depth->set_active("0");
  zynParameterEnum* e = new zynParameterEnum("a|b", "a");
  e->add_state("c", "", "", "0");
  const zynParameterPtr kind = add(sub, "kind", zynParameterPtr(e));
  kind->set_active("0");
  const zynParameterPtr fn = add(sub, "f", zynParameterPtr(new zynParameterFunction("1")));
  fn->set_active("0");
  const zynParameterPtr sharer = depth.copy();  // shares depth's record
  ASSERT_EQ(sharer->get_impl().get(), depth->get_impl().get());
  ASSERT_EQ(e->is_state_active(2), 0);

  zynParameterUtils::remove_active_expressions(*root);
  for (const zynParameterPtr& p : {root, sub, depth, kind, fn}) EXPECT_EQ(p->get_active_expr(), "");
  EXPECT_EQ(depth->is_active(), 1);
  EXPECT_EQ(e->is_state_active(2), 1);
  EXPECT_EQ(sharer->get_active_expr(), "0");
  EXPECT_EQ(depth->get_name(), "depth");
}

}  // namespace
