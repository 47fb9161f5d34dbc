// The string and path built-ins, called from expressions in a tree that
// reaches the library as a host's tree does.
#include <gtest/gtest.h>

#include <vector>

#include "support/zynTestLibTree.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType subtype_of(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

class LibString : public testing::Test {
 protected:
  LibString() {
    tree.add("word", zynParameterPtr(new zynParameterString("hello")));
    tree.add("nums", zyn_test_real_list({1, 2, 3, 4}));
    tree.add("shape", zynParameterPtr(new zynParameterEnum("flat|ball", "ball")));
    tree.add("path", zynParameterPtr(new zynParameterString("c:\\jobs\\part 1\\op.txt")));
  }

  // Returns the text of a string result; fails the test for anything else.
  utString text(const utString& expr) const {
    zynParameterPtr r = tree.eval(expr);
    EXPECT_EQ(subtype_of(r), PS_STRING) << expr;
    return r->get_string();
  }

  void expect_refused(std::initializer_list<const char*> exprs) const {
    for (const char* e : exprs) EXPECT_EQ(subtype_of(tree.eval(e)), PS_ERR_ARGUMENTS) << e;
  }

  zynTestLibTree tree;
};

TEST_F(LibString, LengthOfTextsAndVectors) {
  zynParameterPtr n = tree.eval("length('abc')");
  EXPECT_EQ(subtype_of(n), PS_INT);
  EXPECT_EQ(n->get_int(), 3);
  EXPECT_EQ(tree.eval("length('\xC3\x89t\xC3\xA9')")->get_int(), 3);  // characters, not bytes
  EXPECT_EQ(tree.eval("length(12.5)")->get_int(), 4);
  EXPECT_EQ(tree.eval("length(shape)")->get_int(), 4);
  zynParameterPtr v = tree.eval("length({3, 4, 0})");
  EXPECT_EQ(subtype_of(v), PS_REAL);
  EXPECT_DOUBLE_EQ(v->get_double(), 5.0);
  expect_refused({"length(nums)", "length({1, 2})", "length()", "length('a', 'b')"});
}

TEST_F(LibString, SliceOfTextsAndArrays) {
  EXPECT_EQ(text("slice('hello', 1, 3)"), "el");
  EXPECT_EQ(text("slice(word, 2, 99)"), "llo");
  EXPECT_EQ(text("slice(word, 0, 0)"), "");
  // A start past the end is an empty slice, as the end is cut back.
  EXPECT_EQ(text("slice(word, 7, 9)"), "");
  EXPECT_EQ(text("slice(word, 5, 5)"), "");
  zynParameterPtr part = tree.eval("slice(nums, 1, 3)");
  EXPECT_EQ(subtype_of(part), PS_LIST);
  EXPECT_EQ(zyn_test_doubles(part), (std::vector<double>{2, 3}));
  EXPECT_EQ(tree.root[zynParameterKey("nums")]->size(), 4);
  EXPECT_EQ(zyn_test_doubles(tree.eval("slice({5, 6, 7}, 2, 10)")), (std::vector<double>{7}));
  EXPECT_EQ(tree.eval("slice(nums, 6, 9)")->size(), 0);
  expect_refused({"slice('hello', 3, 1)", "slice('hello', -1, 2)", "slice('hello', 1, -1)", "slice('hello', '1', 2)",
                  "slice('hello', 1)", "slice(this, 0, 1)"});
}

TEST_F(LibString, SubstringCorrectsItsRange) {
  const struct {
    const char* expr;
    const char* result;
  } cases[] = {
      {"substring(word, 1, 3)", "ell"},  {"substring(word, 9, 2)", ""},    {"substring(word, 1, 10)", "ello"},
      {"substring(word, 3)", "lo"},      {"substring(word, 1, 'x')", "ello"}, {"substring(word, -2, 2)", ""},
      {"substring(word, 2, -1)", "llo"}, {"substring(word, 0, 5)", "hello"}, {"substring('\xC3\xA9t\xC3\xA9', 1, 1)", "t"},
      {"substring(1234, 1, 2)", "23"},
  };
  for (const auto& c : cases) EXPECT_EQ(text(c.expr), c.result) << c.expr;
  expect_refused({"substring(word)", "substring(word, '1')", "substring(nums, 1)", "substring(word, 1, 2, 3)"});
}

TEST_F(LibString, PositionAndReplace) {
  EXPECT_EQ(tree.eval("position('abcabc', 'c')")->get_int(), 2);
  EXPECT_EQ(subtype_of(tree.eval("position('abcabc', 'c')")), PS_INT);
  EXPECT_EQ(tree.eval("position('abcabc', 'c', 3)")->get_int(), 5);
  EXPECT_EQ(tree.eval("position('abc', 'x')")->get_int(), -1);
  EXPECT_EQ(tree.eval("position(nums, 'x')")->get_int(), -1);
  EXPECT_EQ(tree.eval("position('abc', nums, 'x')")->get_int(), -1);
  EXPECT_EQ(tree.eval("position(3.25, 2)")->get_int(), 2);
  expect_refused({"position('abc', 'c', 'x')", "position('abc')", "position('a', 'b', 1, 2)"});
  EXPECT_EQ(text("replace('a-b-c', '-', '+=')"), "a+=b+=c");
  EXPECT_EQ(text("replace('aaa', 'aa', 'b')"), "ba");
  // A result past the text bound is refused before it is built.
  const std::string big = "replace('" + std::string(100, 'a') + "', 'a', '" + std::string(200000, 'a') + "')";
  EXPECT_EQ(zynParameter::get_subtype(*tree.eval(big)), PS_ERR_ARGUMENTS);
  EXPECT_EQ(text("replace(word, '', 'x')"), "hello");
  EXPECT_EQ(text("replace(1.5, '.', ',')"), "1,5");
  EXPECT_EQ(tree.root[zynParameterKey("word")]->get_string(), "hello");
  expect_refused({"replace(word, 'l')", "replace(word, nums, 'x')", "replace(nums, 'a', 'b')"});
}

TEST_F(LibString, CaseAndTrimming) {
  EXPECT_EQ(text("ucase('Mill \xC3\xA9')"), "MILL \xC3\x89");
  EXPECT_EQ(text("lcase(shape)"), "ball");
  EXPECT_EQ(text("trim('  a b \t')"), "a b");
  EXPECT_EQ(text("ltrim('  a b ')"), "a b ");
  EXPECT_EQ(text("rtrim('  a b ')"), "  a b");
  for (const char* name : {"ucase", "lcase", "trim", "ltrim", "rtrim", "sanitize"})
    expect_refused({(utString(name) + "()").c_str(), (utString(name) + "(nums)").c_str(),
                    (utString(name) + "('a', 'b')").c_str()});
}

TEST_F(LibString, TokensAndLineBreaks) {
  zynParameterPtr t = tree.eval("tokens('a b\tc,d')");
  EXPECT_EQ(subtype_of(t), PS_VECTOR);
  EXPECT_EQ(zyn_test_strings(t), (std::vector<utString>{"a", "b", "c,d"}));
  EXPECT_EQ(zyn_test_strings(tree.eval("tokens('a,b;;c d', ',;')")), (std::vector<utString>{"a", "b", "c d"}));
  EXPECT_EQ(tree.eval("tokens('   ')")->size(), 0);
  EXPECT_EQ(subtype_of(tree.eval("tokens(word)[0]")), PS_STRING);
  expect_refused({"tokens(12)", "tokens('a b', 1)", "tokens()", "tokens('a', 'b', 'c')", "tokens(shape)"});
  tree.add("lines", zynParameterPtr(new zynParameterString("a\r\nb\nc\r")));
  EXPECT_EQ(text("strip_new_lines(lines)"), "abc");
  expect_refused({"strip_new_lines(12)", "strip_new_lines()", "strip_new_lines(lines, lines)"});
}

TEST_F(LibString, PathSplitting) {
  EXPECT_EQ(text("basename(path)"), "op.txt");
  EXPECT_EQ(text("dirname(path)"), "c:\\jobs\\part 1");
  tree.add("unix", zynParameterPtr(new zynParameterString("/home/cam/op.nc")));
  EXPECT_EQ(text("basename(unix)"), "/home/cam/op.nc");  // backslashes only by default
  EXPECT_EQ(text("basename(unix, '/')"), "op.nc");
  EXPECT_EQ(text("dirname(unix, '/')"), "/home/cam");
  EXPECT_EQ(text("dirname('/op.nc', '/')"), "/");
  EXPECT_EQ(text("basename(path, '/\\')"), "op.txt");
  expect_refused({"basename(path, 1)", "basename(path, '')", "basename(12)", "basename()", "dirname(path, '')",
                  "dirname(path, nums)", "dirname(path, '/', '/')"});
}

}  // namespace
