#include "zyn/host/zynCharTypes.h"

#include <gtest/gtest.h>

TEST(CharTypes, ClassifiesByWidePosition) {
  const zynCharTypes ct("L\xC3\xA4nge_2 \xE2\x82\xAC\xC2\xA0x");  // Länge_2 € NBSP x
  EXPECT_EQ(ct.size(), 11);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(ct.isalpha(i)) << i;
  EXPECT_FALSE(ct.isalpha(5));  // '_'
  EXPECT_TRUE(ct.isdigit(6));
  EXPECT_FALSE(ct.isalpha(8));  // euro sign
  EXPECT_TRUE(ct.isspace(9));
  EXPECT_TRUE(ct.isblank(9));
  EXPECT_FALSE(ct.isspace(-1));
  EXPECT_EQ(ct.at(99), L'\0');
  EXPECT_TRUE(zynCharTypes("\n").isspace(0));
  EXPECT_FALSE(zynCharTypes("\xC3\x97").isalpha(0));  // multiplication sign
}

TEST(CharTypes, ConversionRoundTripsAnyBytes) {
  const utString texts[] = {"plain", "\xCE\xB1\xF0\x9F\x98\x80", "bad\xFF\xC3", "\xED\xA0\x80", std::string("a\0b", 3)};
  for (const utString& t : texts) EXPECT_EQ(zynWideCharToMultiByte::convert(zynMultiByteToWideChar::convert(t)), t);
  EXPECT_EQ(zynMultiByteToWideChar::convert("\xCE\xB1\xF0\x9F\x98\x80"), std::wstring(L"\x3B1\x1F600"));
  EXPECT_EQ(zynMultiByteToWideChar::convert("\xED\xA0\x80").size(), 3u);  // an encoded surrogate is 3 stray bytes
  EXPECT_EQ(zynWideCharToMultiByte::convert(L"\xD800"), "\xEF\xBF\xBD");
  EXPECT_EQ(zynWideCharToMultiByte::convert(static_cast<const wchar_t*>(nullptr)), "");
}
