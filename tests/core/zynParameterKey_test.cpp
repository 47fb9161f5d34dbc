#include "zyn/core/zynParameterKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct KeyCase {
  const char* text;
  zynParameterType type;
  const char* first;
  const char* remainder;
  const char* str;
};

TEST(ParameterKey, GrammarCorners) {
  const KeyCase cases[] = {
      {"", PT_ERROR, "", "", ""},
      {"   ", PT_ERROR, "", "", ""},
      {"a", PT_MAP, "a", "", "a"},
      {"  a", PT_MAP, "a", "", "a"},
      {"a.b", PT_MAP, "a", "b", "a.b"},
      {"a[2].b", PT_MAP, "a", "[2].b", "a[2].b"},
      {"[ 2 ]", PT_ARRAY, " 2 ", "", "[ 2 ]"},
      {"[-1]", PT_ERROR, "[-1]", "", ""},
      {"[2", PT_ERROR, "[2", "", ""},
      {"-1", PT_ARRAY, "-1", "", "[-1]"},
      {"2", PT_ARRAY, "2", "", "[2]"},
      {"3.x", PT_ARRAY, "3", "x", "[3].x"},
      {"[3].x", PT_ARRAY, "3", "x", "[3].x"},
      {"[3]x", PT_ERROR, "3", "x", ""},
      {"a b", PT_ERROR, "a", " b", ""},
      {"a;b", PT_ERROR, "a", ";b", ""},
      {"a.", PT_MAP, "a", "", "a"},
      {"a-b_c9", PT_MAP, "a-b_c9", "", "a-b_c9"},
      {".a", PT_ERROR, "", "a", ""},
      {"current", PT_MAP, "toolpath", "", "toolpath"},
      {"a.current", PT_MAP, "a", "current", "a.current"},
      {"$$a.b", PT_MAP, "a", "b", "a.b"},
      {"$", PT_ERROR, "", "", ""},
      {"caf\xc3\xa9.x", PT_MAP, "caf\xc3\xa9", "x", "caf\xc3\xa9.x"},
      {"a\xff", PT_ERROR, "a", "\xff", ""},
      {"a\xe2\x80\xa6z", PT_ERROR, "a", "\xe2\x80\xa6z", ""},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.text);
    zynParameterKey key(c.text);
    EXPECT_EQ(key.type(), c.type);
    EXPECT_EQ(key.first(), c.first);
    EXPECT_EQ(key.remainder_str(), c.remainder);
    EXPECT_EQ(key.str(), c.str);
  }
}

TEST(ParameterKey, PartsOfAPath) {
  struct PartCase {
    zynParameterKey key;
    const char* parent;
    const char* last;
    const char* rest_first;
  };
  const PartCase cases[] = {
      {zynParameterKey("a[2].b"), "a[2]", "b", "2"},
      {zynParameterKey("a.b[3]"), "a.b", "[3]", "b"},
      {zynParameterKey("a"), "", "a", ""},
      {zynParameterKey("[1][2].x"), "[1][2]", "x", "2"},
      {zynParameterKey("x.3.y"), "x[3]", "y", "3"},
      {zynParameterKey("a.b c"), "a.b", "c", "b"},
      {zynParameterKey("a.current"), "a", "toolpath", "toolpath"},
      {zynParameterKey(""), "", "", ""},
      // A rest that does not advance ends the walk instead of looping.
      {zynParameterKey("a.;"), "a", "", ""},
      // Small indexes share one parse; large ones are made anew: both read alike.
      {zynParameterKey(3, "v"), "[3]", "v", "v"},
      {zynParameterKey(63, ""), "", "[63]", ""},
      {zynParameterKey(64, ""), "", "[64]", ""},
      {zynParameterKey(0, "depth"), "[0]", "depth", "depth"},
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(c.key.str());
    EXPECT_EQ(c.key.parent().str(), c.parent);
    EXPECT_EQ(c.key.last(), c.last);
    EXPECT_EQ(c.key.remainder().first(), c.rest_first);
  }
  EXPECT_EQ(zynParameterKey(1000, "").type(), PT_ARRAY);
  EXPECT_EQ(zynParameterKey(1000, "").first(), "1000");
  EXPECT_EQ(zynParameterKey("a").parent().impl(), zynParameterKey().impl());
  EXPECT_EQ((zynParameterKey() + zynParameterKey("b")).str(), "b");
}

// Joined keys are built without a parse; they must read exactly as a parse
// of the joined text does, in every part.
TEST(ParameterKey, JoinedKeysReadAsTheirParse) {
  // "-1" and "2a" are indices whose bracketed print form does not parse.
  const char* lefts[] = {"a", "a.b", "[2]", "[ 2 ]", "a[3]", "m.k[3]", "x_1-y", "caf\xc3\xa9", "-1", "2a"};
  const zynParameterKey rights[] = {zynParameterKey("v"), zynParameterKey("v.w"), zynParameterKey(4, ""),
                                    zynParameterKey("[5].z"), zynParameterKey("q[0]"), zynParameterKey("")};
  for (const char* left : lefts) {
    for (const zynParameterKey& right : rights) {
      const zynParameterKey joined = zynParameterKey(left) + right;
      const utString text = zynParameterKey(left).str() + (right.type() == PT_ARRAY ? "" : ".") + right.str();
      SCOPED_TRACE(text);
      const zynParameterKey parsed(text);
      EXPECT_EQ(joined.type(), parsed.type());
      EXPECT_EQ(joined.first(), parsed.first());
      EXPECT_EQ(joined.remainder_str(), parsed.remainder_str());
      EXPECT_EQ(joined.str(), parsed.str());
    }
  }
  // A joined text the cache holds as a synonym reads as the synonym.
  zynParameterKeyImpl::initialize_synonyms({{"join_probe.d", "join_probe.diameter"}});
  EXPECT_EQ((zynParameterKey("join_probe") + zynParameterKey("d")).str(), "join_probe.diameter");
}

TEST(ParameterKey, FirstKeyNeverAltersSharedParses) {
  zynParameterKey invalid("first_key_probe b");
  zynParameterKey head = invalid.first_key();
  EXPECT_EQ(head.type(), PT_ERROR);
  EXPECT_EQ(head.first(), "first_key_probe");
  // The cached parse of the bare name keeps its own type.
  EXPECT_EQ(zynParameterKey("first_key_probe").type(), PT_MAP);

  zynParameterKey blanks = zynParameterKey("[ 2 ].x").first_key();
  EXPECT_EQ(blanks.type(), PT_ARRAY);
  EXPECT_EQ(blanks.first(), " 2 ");
  EXPECT_EQ(blanks.remainder_str(), "");
  EXPECT_EQ(zynParameterKey("a.b").first_key().impl(), zynParameterKey("a").impl());
  // Name paths are shared parses; index keys are parsed anew every time.
  EXPECT_EQ(zynParameterKey(static_cast<const char*>(nullptr)).impl(), zynParameterKey().impl());
  EXPECT_EQ(zynParameterKey("$a.b").impl(), zynParameterKey(utString("a.b")).impl());
  EXPECT_NE(zynParameterKey("[1]").impl(), zynParameterKey("[1]").impl());
}

TEST(ParameterKey, Synonyms) {
  // A remainder already walked to is parsed anew once a synonym names it.
  EXPECT_EQ(zynParameterKey("syn_head.SynonymX").remainder().first(), "SynonymX");
  utStringutStringcoTable synonyms{{"SynonymX", "syn_a.syn_b"}, {"7", "seven"}, {"cyc", "loop.cyc"}};
  zynParameterKeyImpl::initialize_synonyms(synonyms);
  EXPECT_EQ(zynParameterKey("syn_head.SynonymX").remainder().first(), "syn_a");
  zynParameterKey key("SynonymX");
  EXPECT_EQ(key.first(), "syn_a");
  EXPECT_EQ(key.remainder_str(), "syn_b");
  EXPECT_EQ(key.last(), "syn_b");
  // A synonym for an index text stays untouched by the index constructor.
  EXPECT_EQ(zynParameterKey(7, "").type(), PT_ARRAY);
  EXPECT_EQ(zynParameterKey("7").type(), PT_MAP);
  EXPECT_EQ(zynParameterKey("7").first(), "seven");
  // Synonyms outlive the parses the cache drops for new ones, and a text in
  // use keeps its parse through every generation.
  const zynParameterKey hot("hot_a.hot_b");
  for (int i = 0; i < 40000; ++i) {
    zynParameterKey("one_off" + std::to_string(i));
    if (i % 1000 == 0) {
      EXPECT_EQ(zynParameterKey("hot_a.hot_b").impl(), hot.impl());
    }
  }
  EXPECT_EQ(zynParameterKey("SynonymX").first(), "syn_a");
  // A synonym that leads back to itself ends the walk at its step bound.
  EXPECT_FALSE(zynParameterKey("top.cyc").last().empty());
  EXPECT_FALSE(zynParameterKey("top.cyc").parent().str().empty());
}

TEST(ParameterKey, HugeAndHostileTexts) {
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "abc.";
  many += "end";
  zynParameterKey key(many);
  EXPECT_EQ(key.type(), PT_MAP);
  EXPECT_EQ(key.first(), "abc");
  EXPECT_EQ(key.last(), "end");
  EXPECT_EQ(key.parent().str().size(), many.size() - 4);
  EXPECT_EQ(key.parent().last(), "abc");

  std::string brackets(100000, '[');
  EXPECT_EQ(zynParameterKey(brackets).type(), PT_ERROR);
  EXPECT_EQ(zynParameterKey(brackets).first(), brackets);
  std::string with_nul("a\0b", 3);
  EXPECT_EQ(zynParameterKey(with_nul).type(), PT_ERROR);

  // "]" is its own remainder: once one-off keys push it out of the cache,
  // its parse must be freed (the sanitizer build checks for leaks).
  zynParameterKey rest = zynParameterKey("a]").remainder();
  EXPECT_EQ(rest.remainder().remainder_str(), "]");
  rest = zynParameterKey();
  for (int i = 0; i < 40000; ++i) (void)zynParameterKey("one-off" + std::to_string(i)).remainder();
}

}  // namespace
