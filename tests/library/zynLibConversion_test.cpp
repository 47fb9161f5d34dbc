// The conversion and inspection built-ins, called from expressions in a
// tree that reaches the library as a host's tree does.
#include <gtest/gtest.h>

#include <cstring>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

zynParameterPtr quantity(zynDimStandard dims, double v) {
  return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(dims), v));
}

// A tree with a list, a broken reference, an enumeration and a dictionary.
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
  }

  zynTestLibTree tree;
};

TEST_F(LibConversion, InspectionOfStateAndSize) {
  EXPECT_EQ(tree.eval("size(nums)")->get_int(), 3);
  EXPECT_EQ(subtype_of(tree.eval("size(nums)")), PS_INT);
  EXPECT_EQ(tree.eval("size(2)")->get_int(), 0);
  EXPECT_EQ(tree.eval("error(broken)")->get_int(), 1);
  EXPECT_EQ(subtype_of(tree.eval("error(broken)")), PS_BOOL);
  EXPECT_EQ(tree.eval("error(nums)")->get_int(), 0);
  EXPECT_EQ(subtype_of(tree.eval("active(broken)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("locked(broken)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(tree.eval("active(nums)")->get_int(), 1);
  EXPECT_EQ(tree.eval("locked(nums)")->get_int(), 0);
  tree.root[zynParameterKey("nums")]->lock(1);
  tree.root[zynParameterKey("nums")]->set_active("0");
  EXPECT_EQ(tree.eval("active(nums)")->get_int(), 0);
  tree.root[zynParameterKey("nums")]->set_active("");
  EXPECT_EQ(tree.eval("locked(nums)")->get_int(), 1);
  for (const char* text : {"size()", "error(1, 2)", "active()", "locked(1, 2)"})
    EXPECT_EQ(subtype_of(tree.eval(text)), PS_ERR_ARGUMENTS) << text;
  // A real error value reaches a routine only from a host call.
  zynParameterPtr args(new zynParameterTempArray());
  args->add(zynParameterKey(), zynParameterLib::error(PS_ERR_DOMAIN));
  zynParameterPtr lib(new zynParameterLib());
  EXPECT_EQ(lib[zynParameterKey("error")]->operate_binary("(", args)->get_int(), 1);
}

TEST_F(LibConversion, TextForms) {
  zynParameterPtr s = tree.eval("string(2.5)");
  EXPECT_EQ(subtype_of(s), PS_STRING);
  EXPECT_EQ(s->get_string(), "2.5");
  EXPECT_EQ(tree.eval("string(shape)")->get_string(), "flat");
  EXPECT_EQ(subtype_of(tree.eval("string(nums)")), PS_ERR_ARGUMENTS);
  tree.add("bad", zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0)))
      ->set_string("1 +");
  EXPECT_EQ(subtype_of(tree.eval("string(bad)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(tree.eval("translate(shape)")->get_string(), "Flat end");
  EXPECT_EQ(tree.eval("translate(7)")->get_string(), "7");
  EXPECT_EQ(tree.eval("get_typename(this)")->get_string(), "Host");
  EXPECT_EQ(tree.eval("get_typename(dict)")->get_string(), "");
  EXPECT_EQ(subtype_of(tree.eval("get_typename(nums)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("translate()")), PS_ERR_ARGUMENTS);
}

const char* to_german(const char* key) {
  if (std::strcmp(key, "Square end mill") == 0) return "Schaftfraeser";
  if (std::strcmp(key, "Ball nose") == 0) return "Kugelkopf";
  if (std::strcmp(key, "Depth of cut") == 0) return "Zustellung";
  return nullptr;
}

TEST_F(LibConversion, DescriptionsAreTranslated) {
  zynTranslator previous = zynNLS_set_translator(&to_german);
  tree.root[zynParameterKey("nums")]->set_desc("Depth of cut");
  EXPECT_EQ(tree.eval("desc(nums)")->get_string(), "Zustellung");
  zynParameterPtr none = tree.eval("desc(dict)");
  EXPECT_EQ(subtype_of(none), PS_STRING);
  EXPECT_EQ(none->get_string(), "");
  EXPECT_EQ(tree.eval("desc(shape, 'flat')")->get_string(), "Schaftfraeser");
  EXPECT_EQ(subtype_of(tree.eval("desc(shape, 'ball')")), PS_ERR_NAME);  // no description
  EXPECT_EQ(subtype_of(tree.eval("desc(shape, 'cone')")), PS_ERR_NAME);
  EXPECT_EQ(subtype_of(tree.eval("desc(shape, 1)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("desc(nums, 'flat')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("desc()")), PS_ERR_ARGUMENTS);
  // values: translated titles; a state without one shows its name.
  EXPECT_EQ(zyn_test_strings(tree.eval("values(shape)")), (std::vector<utString>{"Flat end", "Kugelkopf", "tipped"}));
  zynNLS_set_translator(previous);
  tree.add("empty", zynParameterPtr(new zynParameterEnum()));
  EXPECT_EQ(tree.eval("values(empty)")->size(), 0);
  EXPECT_EQ(subtype_of(tree.eval("values(nums)")), PS_ERR_ARGUMENTS);
}

TEST_F(LibConversion, StateActive) {
  EXPECT_EQ(tree.eval("state_active(shape, 'ball')")->get_int(), 1);
  EXPECT_EQ(tree.eval("state_active(shape, 'tipped')")->get_int(), 0);
  EXPECT_EQ(subtype_of(tree.eval("state_active(shape, 'cone')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("state_active(shape)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("state_active(shape, 'ball', 1)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("state_active(nums, 'ball')")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("state_active(shape, 2)")), PS_ERR_ARGUMENTS);
  // An inactive enumeration has no active state, named or not.
  tree.root[zynParameterKey("shape")]->set_active("0");
  zynParameterPtr off = tree.eval("state_active(shape, 'cone')");
  EXPECT_EQ(subtype_of(off), PS_BOOL);
  EXPECT_EQ(off->get_int(), 0);
}

TEST_F(LibConversion, EvaluateNeedsAScope) {
  zynParameterLib::set_eval_scope(zynParameterPtr());
  EXPECT_EQ(subtype_of(tree.eval("evaluate('1 + 2')")), PS_ERR_ARGUMENTS);
  zynParameterLib::set_eval_scope(tree.root);
  EXPECT_EQ(tree.eval("evaluate('1 + 2')")->get_double(), 3.0);
  EXPECT_EQ(tree.eval("evaluate('size(nums)')")->get_int(), 3);
  EXPECT_EQ(tree.real("evaluate('sum(nums) * 2')"), 12.0);
  EXPECT_EQ(subtype_of(tree.eval("evaluate('1 +')")), PS_ERR_SYNTAX);
  EXPECT_EQ(subtype_of(tree.eval("evaluate(3)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("evaluate(shape)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("evaluate()")), PS_ERR_ARGUMENTS);
  // A text that evaluates itself ends in an error, not in a stack overflow.
  tree.add("loop", zynParameterPtr(new zynParameterString("evaluate(loop)")));
  EXPECT_TRUE(tree.eval("evaluate(loop)")->is_error());
  zynParameterLib::set_eval_scope(zynParameterPtr(zynParameterLib::error(PS_ERR_NAME)));
  EXPECT_EQ(subtype_of(tree.eval("evaluate('1')")), PS_ERR_ARGUMENTS);
  zynParameterLib::set_eval_scope(zynParameterPtr());
}

TEST_F(LibConversion, GetFuncArgsHandsBackTheArguments) {
  zynParameterPtr args = tree.eval("get_func_args(1, 'a', nums)");
  ASSERT_EQ(args->size(), 3);
  EXPECT_EQ(zynParameter::get_subtype(*args), PS_VECTOR);
  EXPECT_EQ(args[zynParameterKey(2, "")].pointer(), tree.root[zynParameterKey("nums")].pointer());
  EXPECT_EQ(tree.eval("get_func_args()")->size(), 0);
}

TEST_F(LibConversion, ConvertFollowsTheDimensions) {
  tree.add("len", quantity(ZYN_DIM_LENGTH, 25.4));
  tree.add("feed", quantity(ZYN_DIM_SPEED, 1000));
  tree.add("area", quantity(ZYN_DIM_AREA, 100));
  tree.add("day", quantity(ZYN_DIM_TIME, 1440));
  tree.add("mass", quantity(ZYN_DIM_MASS, 2));
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"convert(len, 'in')", 1},          {"convert(len, 'mm')", 25.4},      {"convert(len, 'm')", 0.0254},
      {"convert(len, 'th')", 1000},       {"convert(len, 'um')", 25400},     {"convert(len, 'ft')", 1.0 / 12},
      {"convert(len, '')", 25.4},         {"convert(len, 'mm in')", 1},      {"convert(feed, 'm/mn')", 1},
      {"convert(feed, 'mm mn')", 1000},   {"convert(feed, 'mm/s')", 1000.0 / 60}, {"convert(feed, 'm|hr')", 60},
      {"convert(area, 'cm')", 1},         {"convert(day, 'dy')", 1},         {"convert(day, 'hr')", 24},
      {"convert(mass, 'g')", 2000},       {"convert(mass, 'tonne')", 0.002}, {"convert(7, 'in')", 7},
  };
  for (const auto& c : cases) {
    zynParameterPtr r = tree.eval(c.text);
    ASSERT_EQ(subtype_of(r), PS_REAL) << c.text;
    EXPECT_NEAR(r->get_double(), c.value, 1e-9) << c.text;
  }
  for (const char* text : {"convert(feed, 'mm/min')", "convert(len, 'inch')", "convert('1', 'mm')",
                           "convert(len, 3)", "convert(len)", "convert(nums, 'mm')"})
    EXPECT_EQ(subtype_of(tree.eval(text)), PS_ERR_ARGUMENTS) << text;
}

TEST(NameSanitizer, KeepsNameCharactersOnly) {
  const zynParameterNameSanitizer s;
  EXPECT_EQ(s.sanitize("Tool 1.a_b"), "Tool_1_a_b");
  EXPECT_EQ(s.sanitize("a\tb#c!\x01-d"), "a_bcd");
  // Latin-1 bytes and their UTF-8 spellings give the same letters.
  EXPECT_EQ(s.sanitize("\xC9t\xE9 \xDF\xD7\xF7"), "Ete_sx_");
  EXPECT_EQ(s.sanitize("\xC3\x89t\xC3\xA9 \xC3\x9F\xC3\x97\xC3\xB7"), "Ete_sx_");
  EXPECT_EQ(s.sanitize("\xFF\xC0"), "yA");
  EXPECT_EQ(s.sanitize("\x80\xBF\xE2\x82\xAC"), "");  // other characters vanish
  EXPECT_EQ(s.map_key("3 axis/finish"), "_3_axis_finish");
  EXPECT_EQ(s.map_key("a.b"), "a_b");
  EXPECT_EQ(s.map_key("#"), "");
  EXPECT_EQ(s.map_key("c:\\work\\x"), "c_work_x");
  EXPECT_EQ(s.map_key("_9"), "_9");
}

TEST_F(LibConversion, MapKeyAndSanitizeFromExpressions) {
  EXPECT_EQ(tree.eval("map_key('3 axis/finish')")->get_string(), "_3_axis_finish");
  EXPECT_EQ(tree.eval("map_key(12)")->get_string(), "_12");
  EXPECT_EQ(tree.eval("sanitize('a b.c')")->get_string(), "a_b_c");
  EXPECT_EQ(subtype_of(tree.eval("map_key(nums)")), PS_ERR_ARGUMENTS);
  EXPECT_EQ(subtype_of(tree.eval("map_key('a', 'b')")), PS_ERR_ARGUMENTS);
}

TEST_F(LibConversion, DictSetValueAddsOrUpdates) {
  EXPECT_EQ(tree.eval("dict_set_value(dict, 'speed', '100')")->get_int(), 1);
  EXPECT_EQ(subtype_of(tree.eval("dict_set_value(dict, 'feed', 'slow')")), PS_INT);
  EXPECT_EQ(tree.eval("dict_set_value(dict, 'speed', '200')")->get_int(), 2);
  EXPECT_EQ(tree.eval("dict.speed")->get_string(), "200");
  const char* refused[] = {
      "dict_set_value(dict, 'a.b', '1')", "dict_set_value(dict, '3', '1')",  "dict_set_value(dict, '', '1')",
      "dict_set_value(dict, 'a', 1)",     "dict_set_value(dict, 1, 'x')",    "dict_set_value(this, 'a', 'x')",
      "dict_set_value(nums, 'a', 'x')",   "dict_set_value(dict, 'a')",       "dict_set_value(dict, 'a[1]', 'x')",
  };
  for (const char* text : refused) EXPECT_EQ(subtype_of(tree.eval(text)), PS_ERR_ARGUMENTS) << text;
  EXPECT_EQ(tree.root[zynParameterKey("dict")]->size(), 2);
}

TEST_F(LibConversion, DictSetValueLeavesOtherTreesAlone) {
  zynParameterPtr label = tree.add("label", zynParameterPtr(new zynParameterString("roughing")));
  EXPECT_EQ(tree.eval("dict_set_value(dict, 'op', label)")->get_int(), 1);
  zynParameterPtr entry = tree.eval("dict.op");
  EXPECT_EQ(entry->get_string(), "roughing");
  EXPECT_NE(entry.pointer(), label.pointer());
  EXPECT_EQ(label->get_name(), "label");
  EXPECT_EQ(label->parent(), tree.root.pointer());
  // A literal belongs to no container and goes in itself.
  zynParameterPtr args = tree.eval("get_func_args(dict, 'op2', 'x')");
  zynParameterPtr lib(new zynParameterLib());
  lib[zynParameterKey("dict_set_value")]->operate_binary("(", args);
  EXPECT_EQ(tree.eval("dict.op2").pointer(), args[zynParameterKey(2, "")].pointer());
}

TEST_F(LibConversion, LockedDictionaryRefusesChanges) {
  tree.eval("dict_set_value(dict, 'a', 'x')");
  tree.root[zynParameterKey("dict")]->lock(1);
  EXPECT_EQ(subtype_of(tree.eval("dict_set_value(dict, 'b', 'y')")), PS_ERR_UNKNOWN);
  EXPECT_EQ(subtype_of(tree.eval("dict_set_value(dict, 'a', 'y')")), PS_ERR_UNKNOWN);
  EXPECT_EQ(tree.eval("dict.a")->get_string(), "x");
}

}  // namespace
