// Mirroring of whole trees by mirror mode, and stripping of activity
// conditions.
#include <gtest/gtest.h>

#include "support/zynTestGeometry.h"
#include "zyn/zyn.h"

namespace {

zynParameterPtr with_mode(zynParameterPtr p, zynParameterMirrorMode mode) {
  p->set_mirror_mode(mode);
  return p;
}

void expect_components(const zynParameterPtr& p, double x, double y, double z) {
  const giVector3 v = zyn_test_components(*p);
  EXPECT_NEAR(v.x(), x, 1e-12);
  EXPECT_NEAR(v.y(), y, 1e-12);
  EXPECT_NEAR(v.z(), z, 1e-12);
}

zynParameterPtr workplane(const giPoint3& o, const giVector3& y, const giVector3& z) {
  zynParameterPtr wp = zyn_map();
  wp->add("Origin", zyn_test_vector(o.x(), o.y(), o.z()));
  wp->add("YAxis", zyn_test_vector(y.x(), y.y(), y.z()));
  wp->add("ZAxis", zyn_test_vector(z.x(), z.y(), z.z()));
  return wp;
}

void mirror_in_yz_plane(const zynParameterPtr& root) {
  zynParameterUtils::mirror_parameters(root, giPoint3(0, 0, 0), giVector3(1, 0, 0));
}

TEST(ParameterMirror, ModesChangeValuesByTheirRule) {
  zynParameterPtr root = zyn_map();
  root->add("len", with_mode(zyn_real(5), PMM_NEGATE));
  root->add("a270", with_mode(zyn_real(270), PMM_ADD_180));
  root->add("a90", with_mode(zyn_real(90), PMM_ADD_180));
  root->add("back", with_mode(zyn_real(30), PMM_SUBTRACT_180));
  root->add("sup", with_mode(zyn_real(30), PMM_SUPPLEMENT));
  root->add("keep", with_mode(zyn_real(7), PMM_KEEP));
  root->add("plain", zyn_real(3));
  root->add("odd", with_mode(zyn_real(4), static_cast<zynParameterMirrorMode>(42)));
  root->add("side", with_mode(zyn_enum("left|right|both", "left"), PMM_SWAP_SIDE));
  root->add("hand", with_mode(zyn_string("Right"), PMM_SWAP_SIDE));
  root->add("other", with_mode(zyn_string("both"), PMM_SWAP_SIDE));
  root->add("off", with_mode(zyn_real(9), PMM_NEGATE));
  (*root)["off"]->set_active("0");

  mirror_in_yz_plane(root);
  const struct {
    const char* key;
    double value;
  } numbers[] = {{"len", -5}, {"a270", 90}, {"a90", 270}, {"back", -150}, {"sup", 150},
                 {"keep", 7}, {"plain", 3}, {"odd", 4},   {"off", 9}};
  for (const auto& n : numbers) {
    SCOPED_TRACE(n.key);
    EXPECT_DOUBLE_EQ((*root)[n.key]->get_double(), n.value);
  }
  EXPECT_EQ((*root)["side"]->get_string(), "right");
  EXPECT_EQ((*root)["hand"]->get_string(), "left");
  EXPECT_EQ((*root)["other"]->get_string(), "both");
}

TEST(ParameterMirror, SwapEndExchangesNegatedValues) {
  zynParameterPtr root = zyn_map();
  zynParameterPtr segment = zyn_map();
  segment->add("Start", with_mode(zyn_real(2), PMM_SWAP_END));
  segment->add("End", zyn_real(5));
  root->add("segment", segment);
  // Without a sibling "End" the value stays.
  root->add("lone", with_mode(zyn_real(6), PMM_SWAP_END));
  mirror_in_yz_plane(root);
  EXPECT_EQ((*root)["segment.Start"]->get_double(), -5.0);
  EXPECT_EQ((*root)["segment.End"]->get_double(), -2.0);
  EXPECT_EQ((*root)["lone"]->get_double(), 6.0);
}

TEST(ParameterMirror, DirectionsReflectOrTakeTheFixedValueOnce) {
  zynParameterPtr root = zyn_map();
  root->add("dir", zyn_test_vector(1, 2, 3));
  root->add("flat", zyn_test_vector2(4, 5));
  root->add("colour", zyn_test_vector(1, 2, 3, PVA_NONE));
  root->add("first", with_mode(zyn_test_vector(1, 2, 3), PMM_KEEP));
  root->add("second", with_mode(zyn_test_vector(4, 5, 6), PMM_KEEP));
  mirror_in_yz_plane(root);
  expect_components((*root)["dir"], -1, 2, 3);
  EXPECT_EQ((*root)["flat[0]"]->get_double(), -4.0);
  expect_components((*root)["colour"], 1, 2, 3);
  expect_components((*root)["first"], -1, 0, 0);
  expect_components((*root)["second"], 4, 5, 6);
}

TEST(ParameterMirror, ArbitrarySetsTheNormalOnce) {
  zynParameterPtr root = zyn_map();
  for (const char* name : {"a", "b"}) {
    zynParameterPtr plane = root->add(name, zyn_map());
    plane->add("Kind", with_mode(zyn_string("fixed"), PMM_ARBITRARY));
    plane->add("Normal", zyn_test_vector(0, 0, 1, PVA_NONE));
  }
  mirror_in_yz_plane(root);
  EXPECT_EQ((*root)["a.Kind"]->get_string(), "arbitary");
  EXPECT_EQ((*root)["b.Kind"]->get_string(), "arbitary");
  expect_components((*root)["a.Normal"], 1, 0, 0);
  expect_components((*root)["b.Normal"], 0, 0, 1);
}

TEST(ParameterMirror, WorkplanesReflectInThePlaneOnly) {
  zynParameterPtr root = zyn_map();
  root->add("wp", workplane(giPoint3(1, 2, 3), giVector3(1, 0, 0), giVector3(0, 1, 0)));
  const zynParameterPtr origin = (*root)["wp.Origin"];
  zynParameterUtils::mirror_parameters(root, giPoint3(2, 0, 0), giVector3(4, 0, 0));
  // Reflected in x = 2; the member vectors are not reflected a second time.
  EXPECT_EQ((*root)["wp.Origin"].raw(), origin.raw());
  expect_components(origin, 3, 2, 3);
  expect_components((*root)["wp.YAxis"], -1, 0, 0);
  expect_components((*root)["wp.ZAxis"], 0, 1, 0);
}

TEST(ParameterActivity, RemoveActiveExpressionsStripsTheTreeOnly) {
  zynParameterPtr root = zyn_map();
  zynParameterPtr depth = zyn_real(1);
  depth->set_active("0");
  zynParameterEnum* e = new zynParameterEnum();
  e->add_state("a", "", "", "");
  e->add_state("b", "", "", "0");
  zynParameterPtr mode(e);
  mode->set_active("depth > 5");
  zynParameterPtr inner = zyn_map();
  inner->set_active("0");
  inner->add("deep", zyn_real(2));
  (*inner)["deep"]->set_active("0");
  root->add("depth", depth);
  root->add("mode", mode);
  root->add("inner", inner);
  // A copy shares the record of "depth" and keeps its condition.
  const zynParameterPtr twin = depth.copy();
  ASSERT_EQ(twin->get_impl().get(), depth->get_impl().get());
  ASSERT_EQ(e->is_state_active(1), 0);

  zynParameterUtils::remove_active_expressions(*root);
  for (const char* key : {"depth", "mode", "inner", "inner.deep"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ((*root)[key]->get_active_expr(), "");
    EXPECT_EQ((*root)[key]->is_active(), 1);
  }
  EXPECT_EQ(e->is_state_active(1), 1);
  EXPECT_EQ(twin->get_active_expr(), "0");
}

}  // namespace
