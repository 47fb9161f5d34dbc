// The string and path built-ins, called from expressions in a tree that
// reaches the library as a host's tree does.
#include <gtest/gtest.h>

#include "zyn/zyn.h"
#include "zynLibCases.h"

namespace {

TEST(LibString, TextFunctions) {
  zynTestLibTree tree;
  tree.add("word", zyn_string("hello"));
  tree.add("nums", zyn_test_real_list({1, 2, 3, 4}));
  tree.add("shape", zynParameterPtr(new zynParameterEnum("flat|ball", "ball")));
  tree.add("path", zyn_string("c:\\jobs\\part 1\\op.txt"));
  tree.add("unix", zyn_string("/home/cam/op.nc"));
  tree.add("lines", zyn_string("a\r\nb\nc\r"));
  zyn_check_lib_cases(tree, {
      {"length('abc')", PS_INT, "3"}, {"length('\xC3\x89t\xC3\xA9')", PS_INT, "3"},  // characters, not bytes
      {"length(12.5)", PS_INT, "4"}, {"length(shape)", PS_INT, "4"}, {"length({3, 4, 0})", PS_REAL, "5"},
      // A start past the end is an empty slice, as the end is cut back.
      {"slice('hello', 1, 3)", PS_STRING, "el"}, {"slice(word, 2, 99)", PS_STRING, "llo"},
      {"slice(word, 7, 9)", PS_STRING, ""}, {"slice(nums, 1, 3)", PS_LIST, "2,3"}, {"nums", PS_LIST, "1,2,3,4"},
      {"slice({5, 6, 7}, 2, 10)", PS_VECTOR, "7"}, {"slice(nums, 6, 9)", PS_LIST, ""},
      {"substring(word, 1, 3)", PS_STRING, "ell"}, {"substring(word, 9, 2)", PS_STRING, ""},
      {"substring(word, 1, 10)", PS_STRING, "ello"}, {"substring(word, 3)", PS_STRING, "lo"},
      {"substring(word, 1, 'x')", PS_STRING, "ello"}, {"substring(word, -2, 2)", PS_STRING, ""},
      {"substring(word, 2, -1)", PS_STRING, "llo"}, {"substring('\xC3\xA9t\xC3\xA9', 1, 1)", PS_STRING, "t"},
      {"substring(1234, 1, 2)", PS_STRING, "23"}, {"position('abcabc', 'c')", PS_INT, "2"},
      {"position('abcabc', 'c', 3)", PS_INT, "5"}, {"position('abc', 'x')", PS_INT, "-1"},
      {"position(nums, 'x')", PS_INT, "-1"}, {"position(3.25, 2)", PS_INT, "2"},
      {"replace('a-b-c', '-', '+=')", PS_STRING, "a+=b+=c"}, {"replace('aaa', 'aa', 'b')", PS_STRING, "ba"},
      {"replace(word, '', 'x')", PS_STRING, "hello"}, {"replace(1.5, '.', ',')", PS_STRING, "1,5"},
      {"word", PS_STRING, "hello"}, {"ucase('Mill \xC3\xA9')", PS_STRING, "MILL \xC3\x89"},
      {"lcase(shape)", PS_STRING, "ball"}, {"trim('  a b \t')", PS_STRING, "a b"},
      {"ltrim('  a b ')", PS_STRING, "a b "}, {"tokens('a b\tc,d')", PS_VECTOR, "a,b,c,d"},
      {"tokens('a,b;;c d', ',;')", PS_VECTOR, "a,b,c d"}, {"tokens(word)[0]", PS_STRING, "hello"},
      {"strip_new_lines(lines)", PS_STRING, "abc"}, {"basename(path)", PS_STRING, "op.txt"},
      {"dirname(path)", PS_STRING, "c:\\jobs\\part 1"},
      {"basename(unix)", PS_STRING, "/home/cam/op.nc"},  // backslashes only by default
      {"basename(unix, '/')", PS_STRING, "op.nc"}, {"dirname(unix, '/')", PS_STRING, "/home/cam"},
      {"dirname('/op.nc', '/')", PS_STRING, "/"}, {"basename(path, '/\\')", PS_STRING, "op.txt"},
  });
  EXPECT_EQ(zyn_lib_text(tree.eval("tokens('a b\tc,d')")[zynParameterKey(2, "")]), "c,d");
  zyn_check_lib_errors(tree, PS_ERR_ARGUMENTS, {"length(nums)", "length({1, 2})", "slice('hello', 3, 1)",
      "slice('hello', -1, 2)", "slice('hello', 1, -1)", "slice('hello', '1', 2)", "slice('hello', 1)",
      "slice(this, 0, 1)", "substring(word)", "substring(word, '1')", "substring(nums, 1)", "position('abc', 'c', 'x')",
      "position('abc')", "replace(word, 'l')", "replace(word, nums, 'x')", "replace(nums, 'a', 'b')", "tokens(12)",
      "tokens('a b', 1)", "tokens(shape)", "strip_new_lines(12)", "basename(path, 1)", "basename(path, '')",
      "basename(12)", "dirname(path, '')", "dirname(path, nums)"});
  for (const char* name : {"ucase", "lcase", "trim", "ltrim", "rtrim", "sanitize"}) {
    for (const char* args : {"(nums)", "('a', 'b')"}) {
      EXPECT_EQ(subtype_of(tree.eval(utString(name) + args)), PS_ERR_ARGUMENTS) << name << args;
    }
  }
  // A result past the text bound is refused before it is built.
  const std::string big = "replace('" + std::string(100, 'a') + "', 'a', '" + std::string(200000, 'a') + "')";
  EXPECT_EQ(subtype_of(tree.eval(big)), PS_ERR_ARGUMENTS);
}

}  // namespace
