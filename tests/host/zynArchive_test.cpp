#include "zyn/host/zynArchive.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(Archive, CarriesWholeTexts) {
  zynArchive ar;
  const utString binary("line 1\nline 2\0end", 17);
  ar << "first" << binary << "" << static_cast<const char*>(nullptr);
  utString a, b, c, d;
  ar >> a >> b >> c >> d;
  EXPECT_EQ(a, "first");
  EXPECT_EQ(b, binary);
  EXPECT_EQ(c, "");
  EXPECT_EQ(d, "");
  EXPECT_TRUE(ar.good());
  ar >> a;  // nothing left
  EXPECT_FALSE(ar.good());
  EXPECT_EQ(a, "");
}

TEST(Archive, RejectsMalformedRecords) {
  const char* inputs[] = {"", "x\nabc", "-3\nabc", " 3\nabc", "5\nabc", "99999999999999999999999\nab", "3abc"};
  for (const char* input : inputs) {
    SCOPED_TRACE(input);
    std::stringstream stream(input);
    zynArchive ar(stream);
    utString text = "old";
    ar >> text;
    EXPECT_EQ(text, "");
    EXPECT_FALSE(ar.good());
  }
  std::stringstream stream;
  zynArchive writer(stream);
  writer << "over a stream";
  EXPECT_EQ(stream.str(), "13\nover a stream");
}
