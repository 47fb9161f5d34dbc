#include "zyn/host/zynText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>

TEST(Text, FormatDoubleExactRoundTripsAndStaysPlain) {
  const double values[] = {
      0.1,    1.0 / 3.0, 123456.789,          1e-7,  9.999999999999999e20, 5e-324, DBL_MAX, -DBL_MAX,
      2.5e-8, 1e21,      0.30000000000000004, -7.25, 4503599627370497.0};
  for (double v : values) {
    const utString text = zynformat_double_exact(v);
    SCOPED_TRACE(text);
    double back = 0.0;
    EXPECT_EQ(std::from_chars(text.data(), text.data() + text.size(), back).ptr, text.data() + text.size());
    EXPECT_EQ(back, v);
    const double a = std::fabs(v);
    EXPECT_EQ(text.find('e') == utString::npos, a >= 1e-7 && a < 1e21);
  }
  // The shortest digits whatever way they are found.
  const std::pair<double, const char*> shortest[] = {{-0.0, "0"}, {0.000001, "0.000001"}, {-0.05, "-0.05"},
                                                     {1e20, "100000000000000000000"}, {1234.0625, "1234.0625"},
                                                     {999999999999999.9, "999999999999999.9"}};
  for (const auto& [v, text] : shortest) EXPECT_EQ(zynformat_double_exact(v), text);
  EXPECT_EQ(zynformat_double(2.5, 0), "2");  // nearest, ties to even
  EXPECT_EQ(zynformat_double(-0.001, 2), "0.00");
  EXPECT_EQ(zynformat_double(-DBL_MAX, 99).size(), 1u + 309u + 1u + 40u);
}

TEST(Text, PositionsCountCharactersAndStrayBytes) {
  const utString s =
      "a\xC3\xA9"
      "b\xE2\x82\xAC"
      "c";  // a é b € c
  EXPECT_EQ(zynsubstring(s, 1, 3),
            "\xC3\xA9"
            "b\xE2\x82\xAC");
  EXPECT_EQ(zynsubstring(s, -2, 1), "a");
  EXPECT_EQ(zynindex(s, 'c', 0), 4);
  EXPECT_EQ(zynindex(s, 'a', 1), -1);
  EXPECT_EQ(zynpos(s, "\xE2\x82\xAC", 3), 3);
  EXPECT_EQ(zynpos(s, "", 6), -1);
  EXPECT_EQ(zynsubstring(std::wstring(L"hello"), 1, 3), L"ell");
  EXPECT_EQ(zynsubstring(std::wstring(L"hello"), 7, 3), L"");
  const utString stray =
      "x\xE2\x82"
      "y\xFF";  // cut sequence, then an invalid byte
  EXPECT_EQ(zynstring_length(stray), 5);
  EXPECT_EQ(zynpos("\xE2\x82\xAC", "\x82", 0), -1);  // a match that starts inside a character
  // Long patterns (another search): found at character positions, counted without overlaps.
  const utString run = "\xE2\x82\xAC" + utString(40, 'a') + "b";
  EXPECT_EQ(zynpos(run, utString(20, 'a') + "b", 0), 21);
  EXPECT_EQ(zynpos(run, "\x82\xAC" + utString(10, 'a'), 0), -1);
  EXPECT_EQ(zyncount_strings(run, utString(10, 'a')), 4u);
  EXPECT_EQ(zynstring_length("\xC0\xAF"), 2);  // overlong form
}

TEST(Text, EditsAndFileExtensions) {
  utString s = "aaa";
  zynreplace_all_strings(s, "aa", "b");
  EXPECT_EQ(s, "ba");
  s = "Stra\xC3\x9F"
      "e \xC3\xA9t\xC3\xA9";  // Straße été
  EXPECT_EQ(zynupcase(s),
            "STRA\xC3\x9F"
            "E \xC3\x89T\xC3\x89");
  EXPECT_GT(zyncompare("\xC3\xA9", "z"), 0);  // bytes compare unsigned
  EXPECT_TRUE(zynCheckFilenameExt("a.tar.gz", ".tar.gz"));
  EXPECT_FALSE(zynCheckFilenameExt("dir.txt\\a", "txt"));
  EXPECT_FALSE(zynCheckFilenameExt(".txt", "txt"));
  EXPECT_TRUE(zynCheckFilenameExt("dir.d/README", ""));
}
