// Key texts from outside (saved files, host scripts) must never crash a
// parse or a lookup: every bad text parses to something, and every lookup
// answers a parameter or an error value.
#include <gtest/gtest.h>

#include <malloc.h>

#include <memory>
#include <string>
#include <vector>

#include "support/zynTestParameter.h"
#include "zyn/zyn.h"

namespace {

zynParameterSubType sub(const zynParameterPtr& p) { return zynParameter::get_subtype(*p); }

std::vector<std::string> hostile_texts() {
  std::vector<std::string> texts = {
      "", " ", "\t\n", "$", "$$$", "[", "]", "[]", "[1", "a[", "a]", "a[1", "[-1]", "a..b", ".a", "a.", "..",
      "a b", "a;b", "a.[", "a[1]b", "[1][2", "current.current", "-", "--1", "_keys._keys", "a[99999999999999999]",
      "\xff\xfe\xfd", "\xc3", "caf\xc3\xa9.na\xc3\xafve", "\xe2\x80\x83" "a", std::string("a\0b", 3),
      std::string(1, '\0'), "tool.tool.tool.tool.x", "rootpar.rootpar.id"};
  texts.push_back(std::string(200000, '['));
  texts.push_back(std::string(200000, 'x'));
  texts.push_back(std::string(100000, '.'));
  std::string deep;
  for (int i = 0; i < 30000; ++i) deep += "a[1].";
  texts.push_back(deep);
  std::string dollars(5000, '$');
  texts.push_back(dollars + "Feed");
  return texts;
}

class HostileKeys : public ::testing::Test {
 protected:
  HostileKeys() : root(new zynParameterRoot("Tool", 1, "T1")) {
    zynParameterPtr sub_map(new zynParameterMap());
    sub_map->add("x", zynParameterPtr(new zynParameterString("inner")));
    root->add("Feed", zynParameterPtr(new zynParameterString("fast")));
    root->add("a", sub_map);
  }
  std::unique_ptr<zynParameterRoot> root;
};

}  // namespace

TEST_F(HostileKeys, EveryTextParsesAndEveryKeyOperationEnds) {
  for (const std::string& text : hostile_texts()) {
    const zynParameterKey key(text);
    const zynParameterType t = key.type();
    EXPECT_TRUE(t == PT_ERROR || t == PT_MAP || t == PT_ARRAY);
    if (t == PT_ERROR) {
      EXPECT_TRUE(key.str().empty()) << text.substr(0, 40);
    }
    (void)key.last();
    (void)key.parent().str();
    (void)key.first_key().str();
    (void)(key + key).str();
    (void)key.remainder().str();
    // Short name paths come from the cache: the same text gives the same parse.
    if (t == PT_MAP && text.size() < 1000) {
      EXPECT_EQ(zynParameterKey(text).impl().get(), key.impl().get()) << text;
    }
  }
}

TEST_F(HostileKeys, LookupsAnswerErrorValues) {
  const zynParameterRoot& croot = *root;
  for (const std::string& text : hostile_texts()) {
    const zynParameterKey key(text);
    for (const zynParameterPtr& found : {(*root)[key], croot[key]}) {
      if (!found->is_error()) continue;
      EXPECT_EQ(sub(found), PS_ERR_NAME) << text.substr(0, 40);
    }
    (void)root->translate_key(text);
    zynParameterPtr removed = root->remove(key);
    if (!removed->is_error()) root->add(removed->get_name(), removed);  // put back whatever a valid key took
  }
  EXPECT_EQ(root->size(), 2);
  EXPECT_EQ(sub((*root)["a b"]), PS_ERR_NAME);
  EXPECT_EQ((*root)[std::string(5000, '$') + "feed"]->get_string(), "fast");
  EXPECT_EQ(sub((*root)["a[1"]), PS_ERR_NAME);

  // A scoped lookup reports a key that does not parse as a syntax error.
  zynTestParameter scope;
  for (const char* bad : {"", "a b", "[1", "a;b", "\xff"}) EXPECT_EQ(sub(scope.run_resolve(bad)), PS_ERR_SYNTAX) << bad;
}

TEST_F(HostileKeys, LoaderRefusesWithoutCrashing) {
  zynParameterUpdater::clear_unrecognised_pars();
  std::unique_ptr<zynParameterLoader> loader(root->create_loader(0, 1));
  ASSERT_NE(loader, nullptr);
  int refused = 0;
  for (const std::string& text : hostile_texts()) {
    refused += loader->load_par(zynParameterKey(text), "1");
    loader->define_par(zynParameterKey(text), zynParameterPtr(new zynParameterString("v")));
  }
  EXPECT_GT(refused, 0);
  EXPECT_EQ((*root)["Feed"]->get_string(), "1");  // reached only by "$$...$Feed": leading "$" are ignored
  EXPECT_EQ((*root)["a.x"]->get_string(), "inner");
  zynParameterUpdater::clear_unrecognised_pars();
}

// The key parser caches the parses of the texts it meets. A stream of
// distinct short texts (names made up by a script, a fuzzed file) must not
// grow that cache past its bound: the bound counts what an entry really
// takes, not only the bytes of its text.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZYN_TEST_ASAN 1
#endif
#endif
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(ZYN_TEST_ASAN)
TEST(HostileKeyStream, CacheStaysWithinItsBound) {
  const size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 400000; ++i) {
    const zynParameterKey key("k" + std::to_string(i));
    ASSERT_EQ(key.type(), PT_MAP);
  }
  const size_t grown = mallinfo2().uordblks - before;
  EXPECT_LT(grown, size_t(48) << 20) << grown;
  EXPECT_EQ(zynParameterKey("k399999").first(), "k399999");  // parsed anew, still right
}
#endif
