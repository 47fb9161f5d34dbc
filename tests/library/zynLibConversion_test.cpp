// The conversion and inspection built-ins, called from expressions in a
// tree that reaches the library as a host's tree does.
#include <gtest/gtest.h>

#include <cstring>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

const char* to_german(const char* key) {
  if (std::strcmp(key, "Square end mill") == 0) return "Schaftfraeser";
  if (std::strcmp(key, "Ball nose") == 0) return "Kugelkopf";
  if (std::strcmp(key, "Depth of cut") == 0) return "Zustellung";
  return nullptr;
}

// A tree with a list, a broken reference, an enumeration, a dictionary and quantities.
class LibConversion : public testing::Test {
 protected:
  LibConversion() {
    tree.add("nums", zyn_test_real_list({1, 2, 3}));
    tree.add("broken", zynParameterPtr(new zynParameterRef("nowhere")));
    zynParameterEnum* shape = new zynParameterEnum();
    shape->add_state("flat", "Flat end", "Square end mill", "");
    shape->add_state("ball", "Ball nose", "", "");
    shape->add_state("tipped", "", "", "0");
    shape->set_string("flat");
    tree.add("shape", zynParameterPtr(shape));
    tree.add("dict", zynParameterPtr(new zynParameterMap(PS_DICT)));
    tree.add("bad", zyn_test_number(PS_REAL, 0))->set_string("1 +");
    tree.add("empty", zynParameterPtr(new zynParameterEnum()));
    tree.add("len", zyn_real(25.4, ZYN_DIM_LENGTH));
    tree.add("feed", zyn_real(1000, ZYN_DIM_SPEED));
    tree.add("area", zyn_real(100, ZYN_DIM_AREA));
    tree.add("day", zyn_real(1440, ZYN_DIM_TIME));
    tree.add("mass", zyn_real(2, ZYN_DIM_MASS));
  }

  zynParameterPtr member(const char* name) { return tree.root[zynParameterKey(name)]; }

  zynTestLibTree tree;
};

TEST_F(LibConversion, InspectionAndTextForms) {
  zyn_check_lib_cases(tree, {
      {"size(nums)", PS_INT, "3"}, {"size(2)", PS_INT, "0"}, {"error(broken)", PS_BOOL, "1"},
      {"error(nums)", PS_BOOL, "0"}, {"active(nums)", PS_BOOL, "1"}, {"locked(nums)", PS_BOOL, "0"},
      {"string(2.5)", PS_STRING, "2.5"}, {"string(shape)", PS_STRING, "flat"},
      {"translate(shape)", PS_STRING, "Flat end"}, {"translate(7)", PS_STRING, "7"},
      {"get_typename(this)", PS_STRING, "Host"}, {"get_typename(dict)", PS_STRING, ""},
      {"map_key('3 axis/finish')", PS_STRING, "_3_axis_finish"}, {"map_key(12)", PS_STRING, "_12"},
      {"sanitize('a b.c')", PS_STRING, "a_b_c"}, {"to_xml(len)", PS_STRING, nullptr},
      {"state_active(shape, 'ball')", PS_BOOL, "1"}, {"state_active(shape, 'tipped')", PS_BOOL, "0"},
      {"get_func_args()", PS_VECTOR, ""}, {"values(empty)", PS_VECTOR, ""},
  });
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"active(broken)", "locked(broken)", "string(nums)", "string(bad)",
      "get_typename(nums)", "map_key(nums)", "state_active(shape, 'cone')", "state_active(shape)",
      "state_active(nums, 'ball')", "state_active(shape, 2)", "values(nums)"});
  EXPECT_EQ(tree.eval("to_xml(len)")->get_string(), zynParameter::to_xml(member("len")));
  member("nums")->lock(1);
  member("nums")->set_active("0");
  EXPECT_EQ(tree.eval("active(nums)")->get_int(), 0);
  member("nums")->set_active("");
  EXPECT_EQ(tree.eval("locked(nums)")->get_int(), 1);
  // An inactive enumeration has no active state, named or not.
  member("shape")->set_active("0");
  zyn_check_lib_cases(tree, {{"state_active(shape, 'cone')", PS_BOOL, "0"}});
  // A real error value reaches a routine only from a host call.
  zynParameterPtr args(new zynParameterTempArray());
  args->add(zynParameterKey(), zynParameterLib::error(PS_ERR_DOMAIN));
  zynParameterPtr lib(new zynParameterLib());
  EXPECT_EQ(lib[zynParameterKey("error")]->operate_binary("(", args)->get_int(), 1);
  zynParameterPtr got = tree.eval("get_func_args(1, 'a', nums)");
  ASSERT_EQ(got->size(), 3);
  EXPECT_EQ(got[zynParameterKey(2, "")].pointer(), member("nums").pointer());
}

TEST_F(LibConversion, DescriptionsAndValuesAreTranslated) {
  zynTranslator previous = zynNLS_set_translator(&to_german);
  member("nums")->set_desc("Depth of cut");
  zyn_check_lib_cases(tree, {{"desc(nums)", PS_STRING, "Zustellung"}, {"desc(dict)", PS_STRING, ""},
                             {"desc(shape, 'flat')", PS_STRING, "Schaftfraeser"},
                             // A state without a title shows its name.
                             {"values(shape)", PS_VECTOR, "Flat end,Kugelkopf,tipped"},
                             {"desc(shape, 'ball')", PS_ERR_NAME, nullptr},  // no description
                             {"desc(shape, 'cone')", PS_ERR_NAME, nullptr}});
  zynNLS_set_translator(previous);
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"desc(shape, 1)", "desc(nums, 'flat')"});
}

TEST_F(LibConversion, EvaluateNeedsAScope) {
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"evaluate('1 + 2')"});
  zynParameterLib::set_eval_scope(tree.root);
  zyn_check_lib_cases(tree, {{"evaluate('size(nums)')", PS_INT, "3"}, {"evaluate('1 +')", PS_ERR_SYNTAX, nullptr},
                             {"evaluate(3)", PS_ERR_ARGUMENTS, nullptr}});
  // A text that evaluates itself ends in an error, not in a stack overflow.
  tree.add("loop", zyn_string("evaluate(loop)"));
  EXPECT_TRUE(tree.eval("evaluate(loop)")->is_error());
  zynParameterLib::set_eval_scope(zynParameterPtr());
}

TEST_F(LibConversion, ConvertFollowsTheDimensions) {
  zyn_check_lib_cases(tree, {
      {"convert(len, 'in')", PS_REAL, "1"}, {"convert(len, 'mm')", PS_REAL, "25.4"},
      {"convert(len, 'm')", PS_REAL, "0.0254"}, {"convert(len, 'th')", PS_REAL, "1000"},
      {"convert(len, 'um')", PS_REAL, "25400"}, {"convert(len, 'ft')", PS_REAL, "0.08333333333"},
      {"convert(len, '')", PS_REAL, "25.4"}, {"convert(len, 'mm in')", PS_REAL, "1"},
      {"convert(feed, 'm/mn')", PS_REAL, "1"}, {"convert(feed, 'mm mn')", PS_REAL, "1000"},
      {"convert(feed, 'mm/s')", PS_REAL, "16.66666667"}, {"convert(feed, 'm|hr')", PS_REAL, "60"},
      {"convert(area, 'cm')", PS_REAL, "1"}, {"convert(day, 'dy')", PS_REAL, "1"},
      {"convert(day, 'hr')", PS_REAL, "24"}, {"convert(mass, 'g')", PS_REAL, "2000"},
      {"convert(mass, 'tonne')", PS_REAL, "0.002"}, {"convert(7, 'in')", PS_REAL, "7"},
  });
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"convert(feed, 'mm/min')", "convert(len, 'inch')", "convert('1', 'mm')",
      "convert(len, 3)", "convert(len)", "convert(nums, 'mm')"});
}

TEST(NameSanitizer, KeepsNameCharactersOnly) {
  const zynParameterNameSanitizer s;
  EXPECT_EQ(s.sanitize("a\tb#c!\x01-d"), "a_bcd");
  // Latin-1 bytes and their UTF-8 spellings give the same letters.
  EXPECT_EQ(s.sanitize("\xC9t\xE9 \xDF\xD7\xF7"), "Ete_sx_");
  EXPECT_EQ(s.sanitize("\xC3\x89t\xC3\xA9 \xC3\x9F\xC3\x97\xC3\xB7"), "Ete_sx_");
  EXPECT_EQ(s.sanitize("\xFF\xC0"), "yA");
  EXPECT_EQ(s.sanitize("\x80\xBF\xE2\x82\xAC"), "");  // other characters vanish
  EXPECT_EQ(s.map_key("#"), "");
  EXPECT_EQ(s.map_key("c:\\work\\x"), "c_work_x");
}

TEST_F(LibConversion, DictSetValueAddsOrUpdatesOnlyItsDictionary) {
  zyn_check_lib_cases(tree, {{"dict_set_value(dict, 'speed', '100')", PS_INT, "1"},
                             {"dict_set_value(dict, 'feed', 'slow')", PS_INT, "2"},
                             {"dict_set_value(dict, 'speed', '200')", PS_INT, "2"}, {"dict.speed", PS_STRING, "200"}});
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"dict_set_value(dict, 'a.b', '1')", "dict_set_value(dict, '3', '1')",
      "dict_set_value(dict, '', '1')", "dict_set_value(dict, 'a', 1)", "dict_set_value(dict, 1, 'x')",
      "dict_set_value(this, 'a', 'x')", "dict_set_value(nums, 'a', 'x')", "dict_set_value(dict, 'a')",
      "dict_set_value(dict, 'a[1]', 'x')"});
  EXPECT_EQ(member("dict")->size(), 2);
  // A member of another tree goes in as a copy; a literal belongs to no
  // container and goes in itself.
  zynParameterPtr label = tree.add("label", zyn_string("roughing"));
  EXPECT_EQ(tree.eval("dict_set_value(dict, 'op', label)")->get_int(), 3);
  EXPECT_EQ(tree.eval("dict.op")->get_string(), "roughing");
  EXPECT_NE(tree.eval("dict.op").pointer(), label.pointer());
  EXPECT_EQ(label->parent(), tree.root.pointer());
  zynParameterPtr args = tree.eval("get_func_args(dict, 'op2', 'x')");
  zynParameterPtr lib(new zynParameterLib());
  lib[zynParameterKey("dict_set_value")]->operate_binary("(", args);
  EXPECT_EQ(tree.eval("dict.op2").pointer(), args[zynParameterKey(2, "")].pointer());
  member("dict")->lock(1);
  zyn_check_lib_errors(tree, PS_ERR_UNKNOWN, {"dict_set_value(dict, 'b', 'y')", "dict_set_value(dict, 'op', 'y')"});
  EXPECT_EQ(tree.eval("dict.op")->get_string(), "roughing");
}

}  // namespace
