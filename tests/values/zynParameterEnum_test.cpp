#include "zyn/values/zynParameterEnum.h"

#include <gtest/gtest.h>

#include "support/zynTestHelpers.h"
#include "zyn/host/zynUnitsUtils.h"

namespace {

int g_modified = 0;

TEST(ParameterEnum, BuiltFromStatesSelectsTheFirst) {
  zynParameterEnum e("a|b|c", "");
  EXPECT_EQ(e.get_string(), "a");
  EXPECT_EQ(e.num_states(), 3);
  EXPECT_EQ(zynParameterEnum("a|b|c", "b").get_int(), 1);
  EXPECT_FALSE(zynParameterEnum().is_valid());
  // Empty pieces are unnamed states: they keep their index but never match.
  zynParameterEnum gaps("a||b", "");
  EXPECT_EQ(gaps.num_states(), 3);
  EXPECT_EQ(gaps.find_index("b"), 2);
  EXPECT_EQ(gaps.find_index(""), -1);
  for (int i : {1, 3, -1}) EXPECT_EQ(gaps.find_state(i), "") << i;
}

TEST(ParameterEnum, TextsSelectStatesByNameThenIndex) {
  zynParameterEnum e("10|20|0", "");
  const struct { const char *text, *value; int index; bool valid; } cases[] = {
      {"20", "20", 1, true}, {"0", "0", 2, true},  // names, though digits
      {"1", "20", 1, true},                         // no state of that name: the index
      {"7", "", 0, false},
      // Only non-negative whole numbers are indexes.
      {"-1", "-1", 0, false}, {"1.0", "1.0", 0, false}, {"1x", "1x", 0, false}, {" 1", " 1", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    e.set_string(c.text);
    EXPECT_EQ(e.get_value(), c.value);
    EXPECT_EQ(e.get_int(), c.index);
    EXPECT_EQ(e.is_valid(), c.valid);
  }
  e.set_int(0);
  EXPECT_EQ(e.get_value(), "10");
  e.set_int(-4);
  EXPECT_EQ(e.get_value(), "");
}

TEST(ParameterEnum, LegacyNamesMapExactly) {
  const struct { const char *legacy, *name; } table[] = {
      {"drilling", "finishing"}, {"surfacenormal_arc", "surface_normal_arc"}, {"tubeclear", "port_area_clear"},
      {"heli2cw", "heli_2_cw"}, {"Alongcorner", "Alongcorner"}, {"along_corner", "along_corner"}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.legacy);
    EXPECT_EQ(zynParameterEnum::lookup_state_synonym(row.legacy), row.name);
  }
  zynParameterEnum e("along_corner|finishing", "");
  e.set_string("semi");
  EXPECT_EQ(e.get_value(), "finishing");
  e.set_string("alongcorner");
  EXPECT_EQ(e.get_value(), "along_corner");
  EXPECT_EQ(e.find_index("alongcorner"), 0);
  EXPECT_EQ(e.find_index("Along_Corner"), -1);
  EXPECT_EQ(e.get_state_title("alongcorner"), "");  // titles are found by the exact name only
}

TEST(ParameterEnum, LockedEnumerationIgnoresChangesAndCopiesOwnTheirStates) {
  zynParameterEnum e("a|b", "");
  g_modified = 0;
  e.set_onmodify_callback([](zynParameter*) { ++g_modified; });
  e.lock(1);
  e.set_string("b");
  e.set_int(1);
  e.add_state("c", "", "", "");
  EXPECT_EQ(e.get_value(), "a");
  EXPECT_EQ(e.num_states(), 2);
  EXPECT_EQ(g_modified, 0);
  // A copy keeps every state even though it inherits the lock.
  zynParameterPtr copy(e.create_new());
  EXPECT_EQ(zynParameterEnum::ut_dynamic_cast(copy.pointer())->num_states(), 2);
  e.lock(0);
  e.set_string("a");  // unchanged, still notified
  EXPECT_EQ(g_modified, 1);

  zynParameterEnum f("a|b", "b");
  zynParameterEnum other(f);
  other.add_state("c", "", "", "");
  EXPECT_EQ(f.num_states(), 2);
  zynParameterPtr value = zynParameter::evaluate(f);
  EXPECT_EQ(value->get_string(), "b");
  EXPECT_NE(value.pointer(), &f);
}

TEST(ParameterEnum, ResetUsesDefaultsOrTheFirstState) {
  zynParameterEnum e("a|b|c", "c");
  e.reset();
  EXPECT_EQ(e.get_value(), "a");
  e.set_defaults("b", "c");
  e.reset();
  EXPECT_EQ(e.get_value(), "b");
  ASSERT_TRUE(zynUnitsUtils::set_units(zynUnitsImperial));
  e.reset();
  zynUnitsUtils::set_units(zynUnitsMetric);
  EXPECT_EQ(e.get_value(), "c");
}

TEST(ParameterEnum, ComparesByStateIndex) {
  zynParameterPtr left(new zynParameterEnum("a|b|c", "b"));
  zynParameterPtr same(new zynParameterEnum("x|b", "b"));
  EXPECT_EQ(left->operate_binary("==", same)->get_int(), 1);
  EXPECT_EQ(left->operate_binary("!=", same)->get_int(), 0);
  EXPECT_EQ(left->operate_binary("==", zynParameterPtr(new zynParameterEnum("x|c", "c")))->get_int(), 0);
  // A value that names no state of the left side cannot be compared.
  EXPECT_EQ(subtype_of(left->operate_binary("==", zyn_test_number(PS_REAL, 5.0))), PS_ERR_TYPE);
  zynParameterPtr invalid(new zynParameterEnum("a", "zz"));
  EXPECT_EQ(subtype_of(left->operate_binary("==", invalid)), PS_ERR_ARGUMENTS);
}

}  // namespace
