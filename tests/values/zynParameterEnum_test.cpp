#include "zyn/values/zynParameterEnum.h"

#include <gtest/gtest.h>

#include <cstring>

#include "zyn/core/zynParameterError.h"
#include "zyn/host/zynNls.h"
#include "zyn/host/zynUnitsUtils.h"
#include "zyn/values/zynParameterNumeric.h"

namespace {

int g_modified = 0;
void count_modify(zynParameter*) { ++g_modified; }

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

TEST(ParameterEnum, BuiltFromStatesSelectsTheFirst) {
  zynParameterEnum e("a|b|c", "");
  EXPECT_EQ(e.get_string(), "a");
  EXPECT_EQ(e.get_int(), 0);
  EXPECT_EQ(e.num_states(), 3);
  EXPECT_TRUE(e.is_valid());
  EXPECT_EQ(zynParameter::get_type(e), PT_ENUM);
  EXPECT_EQ(zynParameter::get_subtype(e), PS_ENUM);
  EXPECT_EQ(zynParameterEnum("a|b|c", "b").get_int(), 1);

  zynParameterEnum empty;
  EXPECT_EQ(empty.num_states(), 0);
  EXPECT_EQ(empty.get_string(), "");
  EXPECT_FALSE(empty.is_valid());

  // Empty pieces are unnamed states: they keep their index but never match.
  zynParameterEnum gaps("a||b", "");
  EXPECT_EQ(gaps.num_states(), 3);
  EXPECT_EQ(gaps.find_index("b"), 2);
  EXPECT_EQ(gaps.find_index(""), -1);
  EXPECT_EQ(gaps.find_state(1), "");
  EXPECT_EQ(gaps.find_state(3), "");
  EXPECT_EQ(gaps.find_state(-1), "");
}

TEST(ParameterEnum, IndexTextsSelectStates) {
  zynParameterEnum e("a|b|c", "");
  e.set_string("2");
  EXPECT_EQ(e.get_value(), "c");
  EXPECT_EQ(e.get_int(), 2);
  e.set_string("7");
  EXPECT_EQ(e.get_value(), "");
  EXPECT_FALSE(e.is_valid());
  EXPECT_EQ(e.get_int(), 0);
  // Only non-negative whole numbers are indexes.
  for (const char* text : {"-1", "1.0", "1x", " 1"}) {
    SCOPED_TRACE(text);
    e.set_string(text);
    EXPECT_EQ(e.get_value(), text);
    EXPECT_FALSE(e.is_valid());
  }
  e.set_int(1);
  EXPECT_EQ(e.get_value(), "b");
  e.set_int(-4);
  EXPECT_EQ(e.get_value(), "");
}

TEST(ParameterEnum, StatesNamedByDigitsSurviveSetting) {
  zynParameterEnum e("10|20|0", "");
  EXPECT_EQ(e.get_value(), "10");
  e.set_string("20");
  EXPECT_EQ(e.get_value(), "20");
  EXPECT_EQ(e.get_int(), 1);
  e.set_int(0);
  EXPECT_EQ(e.get_value(), "10");
  e.set_string("0");  // a name, at index 2
  EXPECT_EQ(e.get_int(), 2);
  e.set_string("1");  // no state of that name: the index
  EXPECT_EQ(e.get_value(), "20");
}

TEST(ParameterEnum, LegacyNamesMapExactly) {
  const struct {
    const char* legacy;
    const char* name;
  } table[] = {{"alongcorner", "along_corner"}, {"drilling", "finishing"},        {"semi", "finishing"},
               {"offset3d", "offset_3d"},       {"surfacenormal_arc", "surface_normal_arc"},
               {"tubeclear", "port_area_clear"}, {"zheights", "z_heights"},       {"diag2z", "diag_2_z"},
               {"heli2cw", "heli_2_cw"},        {"Alongcorner", "Alongcorner"},   {"along_corner", "along_corner"}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.legacy);
    EXPECT_EQ(zynParameterEnum::lookup_state_synonym(row.legacy), row.name);
  }

  zynParameterEnum e("along_corner|finishing", "");
  e.add_state("raster", "Raster", "Back and forth", "");
  e.set_string("semi");
  EXPECT_EQ(e.get_value(), "finishing");
  e.set_string("alongcorner");
  EXPECT_EQ(e.get_value(), "along_corner");
  EXPECT_EQ(e.get_int(), 0);
  EXPECT_EQ(e.find_index("alongcorner"), 0);
  EXPECT_EQ(e.find_index("Along_Corner"), -1);
  EXPECT_EQ(e.get_state_title("raster"), "Raster");
  EXPECT_EQ(e.get_state_desc("raster"), "Back and forth");
  EXPECT_EQ(e.get_state_title("Raster"), "");
}

TEST(ParameterEnum, TitlesAreFoundByExactName) {
  zynParameterEnum e;
  e.add_state("along_corner", "Along corner", "", "");
  EXPECT_EQ(e.get_state_title("along_corner"), "Along corner");
  EXPECT_EQ(e.get_state_title("alongcorner"), "");
  EXPECT_EQ(e.get_state_desc("along_corner"), "");
}

TEST(ParameterEnum, LockedEnumerationIgnoresChanges) {
  zynParameterEnum e("a|b", "");
  g_modified = 0;
  e.set_onmodify_callback(count_modify);
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
}

TEST(ParameterEnum, CopiesOwnTheirStates) {
  zynParameterEnum e("a|b", "b");
  zynParameterEnum copy(e);
  copy.add_state("c", "", "", "");
  EXPECT_EQ(e.num_states(), 2);
  EXPECT_EQ(copy.num_states(), 3);
  EXPECT_EQ(copy.get_value(), "b");
  zynParameterPtr value = zynParameter::evaluate(e);
  ASSERT_EQ(zynParameter::get_type(*value), PT_ENUM);
  EXPECT_EQ(value->get_string(), "b");
  EXPECT_NE(value.pointer(), &e);
}

TEST(ParameterEnum, StateConditions) {
  zynParameterEnum e("a|b", "");
  e.add_state("c", "", "", "0");
  e.add_state("d", "", "", "1 +");
  EXPECT_EQ(e.is_state_active(0), 1);
  EXPECT_EQ(e.is_state_active(2), 0);
  EXPECT_EQ(e.is_state_active(3), 0);
  EXPECT_EQ(e.is_state_active(4), 0);
  EXPECT_EQ(e.is_state_active(-1), 0);
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

TEST(ParameterEnum, PrintAndTranslatedTitle) {
  zynParameterEnum e("flat|ball", "");
  EXPECT_EQ(e.print(0), "(ENUM) flat\n");
  e.set_string("zz");
  EXPECT_EQ(e.print(2), "(ENUM !) zz\n");
  e.add_state("tipped", "Tipped", "", "");
  e.set_string("tipped");
  EXPECT_EQ(e.get_translated_string(), "Tipped");
  e.set_string("ball");
  EXPECT_EQ(e.get_translated_string(), "ball");
  zynTranslator previous = zynNLS_set_translator([](const char* key) -> const char* {
    return std::strcmp(key, "ball") == 0 ? "Kugel" : nullptr;
  });
  EXPECT_EQ(e.get_translated_string(), "Kugel");
  zynNLS_set_translator(previous);
}

TEST(ParameterEnum, ComparesByStateIndex) {
  zynParameterPtr left(new zynParameterEnum("a|b|c", "b"));
  zynParameterPtr same(new zynParameterEnum("x|b", "b"));
  zynParameterPtr other(new zynParameterEnum("x|c", "c"));
  EXPECT_EQ(left->operate_binary("==", same)->get_int(), 1);
  EXPECT_EQ(left->operate_binary("!=", same)->get_int(), 0);
  EXPECT_EQ(left->operate_binary("==", other)->get_int(), 0);
  // A value that names no state of the left side cannot be compared.
  zynParameterPtr number(new zynParameterNumeric(PS_REAL, zynDimensions(), 5.0));
  EXPECT_EQ(subtype_of(left->operate_binary("==", number)), PS_ERR_TYPE);
  zynParameterPtr invalid(new zynParameterEnum("a", "zz"));
  EXPECT_EQ(subtype_of(left->operate_binary("==", invalid)), PS_ERR_ARGUMENTS);
}

}  // namespace
