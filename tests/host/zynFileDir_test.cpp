#include "zyn/host/zynFileDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<utString> names(const zynFileDir& dir, zynFileDirIterType type, const utString& pattern) {
  std::vector<utString> out;
  zynFileDirIter it(dir, type, pattern);
  while (++it) out.push_back(fs::path(it().get()).filename().string());
  EXPECT_EQ(++it, 0);
  EXPECT_EQ(it().get(), "");
  return out;
}

}  // namespace

TEST(FileDir, IteratesByKindAndPattern) {
  const fs::path root = fs::temp_directory_path() / ("zyn_filedir_" + std::to_string(std::random_device{}()));
  fs::remove_all(root);
  fs::create_directories(root / "sub.d");
  for (const char* f : {"b.txt", "a.txt", "a.tx", "\xC3\xA9.txt", "readme"}) std::ofstream(root / f) << "x";
  const zynFileDir dir(root.string());

  EXPECT_EQ(names(dir, zynFileDirIterFiles, "*.txt"), (std::vector<utString>{"a.txt", "b.txt", "\xC3\xA9.txt"}));
  EXPECT_EQ(names(dir, zynFileDirIterAll, "*.*d"), (std::vector<utString>{"sub.d"}));
  EXPECT_EQ(names(dir, zynFileDirIterDirs, ""), (std::vector<utString>{"sub.d"}));
  EXPECT_TRUE(names(zynFileDir((root / "missing").string()), zynFileDirIterAll, "*").empty());
  fs::remove_all(root);
}

TEST(FileDir, WildcardsMatchCharacters) {
  EXPECT_TRUE(zyn_wildcard_match("a*b*c", "aXbYbc"));
  EXPECT_FALSE(zyn_wildcard_match("a*b", "ab c"));
  EXPECT_TRUE(zyn_wildcard_match("**?", "\xE2\x82\xAC"));
  EXPECT_FALSE(zyn_wildcard_match("?", "ab"));
  // Many stars against a long mismatch must not take exponential time.
  EXPECT_FALSE(zyn_wildcard_match("*a*a*a*a*a*a*a*a*b", utString(2000, 'a')));
}
