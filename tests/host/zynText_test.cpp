#include "zyn/host/zynText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

double read_back(const utString& text) {
  double v = 0.0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  EXPECT_EQ(res.ptr, text.data() + text.size()) << text;
  return v;
}

}  // namespace

TEST(Text, FormatDoubleExactRoundTripsAndStaysPlain) {
  const double values[] = {0.1, 1.0 / 3.0, 123456.789, 1e-7, 9.999999999999999e20, 5e-324, DBL_MAX,
                           -DBL_MAX, 2.5e-8, 1e21, 0.30000000000000004, -7.25, 4503599627370497.0};
  for (double v : values) {
    const utString text = zynformat_double_exact(v);
    SCOPED_TRACE(text);
    EXPECT_EQ(read_back(text), v);
    const double a = std::fabs(v);
    EXPECT_EQ(text.find('e') == utString::npos, a >= 1e-7 && a < 1e21);
  }
  EXPECT_EQ(zynformat_double_exact(0.1), "0.1");
  EXPECT_EQ(zynformat_double_exact(3.0), "3");
  EXPECT_EQ(zynformat_double_exact(-0.0), "0");
  EXPECT_EQ(zynformat_double_exact(1e20), "100000000000000000000");
  EXPECT_EQ(zynformat_double_exact(0.000001), "0.000001");
  // The shortest digits whatever way they are found.
  const std::pair<double, const char*> shortest[] = {{-0.05, "-0.05"}, {12.5, "12.5"}, {-3.0, "-3"},
                                                     {999999999999999.9, "999999999999999.9"},
                                                     {0.1 + 0.2, "0.30000000000000004"}, {1234.0625, "1234.0625"}};
  for (const auto& [v, text] : shortest) EXPECT_EQ(zynformat_double_exact(v), text);
}

TEST(Text, FormatDoubleRoundsToPlaces) {
  EXPECT_EQ(zynformat_double(3.14159, 2), "3.14");
  EXPECT_EQ(zynformat_double(2.0, 3), "2.000");
  EXPECT_EQ(zynformat_double(2.5, 0), "2");  // nearest, ties to even
  EXPECT_EQ(zynformat_double(-0.001, 2), "0.00");
  EXPECT_EQ(zynformat_double(1.5, -3), "2");
  EXPECT_EQ(zynformat_double(-DBL_MAX, 99).size(), 1u + 309u + 1u + 40u);
}

TEST(Text, PositionsCountCharacters) {
  const utString s = "a\xC3\xA9" "b\xE2\x82\xAC" "c";  // a é b € c
  EXPECT_EQ(zynstring_length(s), 5);
  EXPECT_EQ(zynsubstring(s, 1, 3), "\xC3\xA9" "b\xE2\x82\xAC");
  EXPECT_EQ(zynsubstring(s, 3, 99), "\xE2\x82\xAC" "c");
  EXPECT_EQ(zynsubstring(s, 5, 2), "");
  EXPECT_EQ(zynsubstring(s, -2, 1), "a");
  EXPECT_EQ(zynsubstring(s, 1, -1), "");
  EXPECT_EQ(zynindex(s, 'c', 0), 4);
  EXPECT_EQ(zynindex(s, 'a', 1), -1);
  EXPECT_EQ(zynpos(s, "b", 0), 2);
  EXPECT_EQ(zynpos(s, "\xE2\x82\xAC", 3), 3);
  EXPECT_EQ(zynpos(s, "b", 3), -1);
  EXPECT_EQ(zynpos(s, "", 5), 5);
  EXPECT_EQ(zynpos(s, "", 6), -1);
  EXPECT_EQ(zynsubstring(std::wstring(L"hello"), 1, 3), L"ell");
  EXPECT_EQ(zynsubstring(std::wstring(L"hello"), 7, 3), L"");
}

TEST(Text, StrayBytesAreSingleCharacters) {
  const utString s = "x\xE2\x82" "y\xFF";  // cut sequence, then an invalid byte
  EXPECT_EQ(zynstring_length(s), 5);
  EXPECT_EQ(zynpos(s, "y", 0), 3);
  EXPECT_EQ(zynpos("\xE2\x82\xAC", "\x82", 0), -1);  // a match that starts inside a character
  // Long patterns (another search): found at character positions, counted without overlaps.
  const utString run = "\xE2\x82\xAC" + utString(40, 'a') + "b";
  EXPECT_EQ(zynpos(run, utString(20, 'a') + "b", 0), 21);
  EXPECT_EQ(zynpos(run, "\x82\xAC" + utString(10, 'a'), 0), -1);
  EXPECT_EQ(zyncount_strings(run, utString(10, 'a')), 4u);
  EXPECT_EQ(zyncount_strings(run, ""), 0u);
  EXPECT_EQ(zynsubstring(s, 1, 2), "\xE2\x82");
  EXPECT_EQ(zynstring_length("\xC3"), 1);  // a lead byte at the very end
  EXPECT_EQ(zynstring_length("\xC0\xAF"), 2);  // overlong form
}

TEST(Text, ReplaceCaseTrim) {
  utString s = "aaa";
  zynreplace_all_strings(s, "aa", "b");
  EXPECT_EQ(s, "ba");
  s = "x.y.z";
  zynreplace_all_strings(s, "", "q");
  EXPECT_EQ(s, "x.y.z");
  zynreplace_all_strings(s, ".", "::");
  EXPECT_EQ(s, "x::y::z");
  s = "a\r\nb\n";
  zyndelete_all(s, '\n');
  EXPECT_EQ(s, "a\rb");
  s = "Stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9";  // Straße été
  EXPECT_EQ(zynupcase(s), "STRA\xC3\x9F" "E \xC3\x89T\xC3\x89");
  EXPECT_EQ(zyndowncase(s), "stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9");
  s = " \t x y \r\n";
  EXPECT_EQ(zynltrim(s), "x y \r\n");
  EXPECT_EQ(zynrtrim(s), "x y");
  s = "   ";
  EXPECT_EQ(zyntrim(s), "");
}

TEST(Text, TokensSkipEmptyOnes) {
  utStringcoDList out{"kept"};
  zyntokens("  a\tbb  c ", " \t", out);
  EXPECT_EQ(out, (utStringcoDList{"kept", "a", "bb", "c"}));
  out.clear();
  zyntokens("x\xE2\x82\xACy", "\xE2\x82\xAC", out);  // a multi-byte delimiter
  EXPECT_EQ(out, (utStringcoDList{"x", "y"}));
  out.clear();
  zyntokens("", " ", out);
  EXPECT_TRUE(out.empty());
}

TEST(Text, PathComponents) {
  EXPECT_EQ(zynbasename("C:\\dir\\file.txt", "\\"), "file.txt");
  EXPECT_EQ(zynpathname("C:\\dir\\file.txt", "\\"), "C:\\dir");
  EXPECT_EQ(zynbasename("a\\b\\", "\\"), "b");
  EXPECT_EQ(zynpathname("a\\b\\", "\\"), "a");
  EXPECT_EQ(zynbasename("file", "\\"), "file");
  EXPECT_EQ(zynpathname("file", "\\"), "");
  EXPECT_EQ(zynpathname("\\file", "\\"), "\\");
  EXPECT_EQ(zynbasename("//", "/"), "/");
  EXPECT_EQ(zynbasename("a/b\\c", "/\\"), "c");
  EXPECT_EQ(zynbasename("", "/"), "");
}

TEST(Text, CompareAndExtensions) {
  EXPECT_LT(zyncompare("abc", "abd"), 0);
  EXPECT_GT(zyncompare("\xC3\xA9", "z"), 0);  // bytes compare unsigned
  EXPECT_EQ(zyncompare("same", "same"), 0);
  EXPECT_TRUE(zynCheckFilenameExt("dir/a.TXT", "txt"));
  EXPECT_TRUE(zynCheckFilenameExt("a.tar.gz", ".tar.gz"));
  EXPECT_FALSE(zynCheckFilenameExt("atxt", "txt"));
  EXPECT_FALSE(zynCheckFilenameExt("dir.txt\\a", "txt"));
  EXPECT_FALSE(zynCheckFilenameExt(".txt", "txt"));
  EXPECT_TRUE(zynCheckFilenameExt("dir.d/README", ""));
  EXPECT_FALSE(zynCheckFilenameExt(nullptr, "txt"));
}
