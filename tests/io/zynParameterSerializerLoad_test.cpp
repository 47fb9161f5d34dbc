#include <gtest/gtest.h>

#include <utility>

#include "io/zynIoTestTree.h"

namespace {

// A tree with one parameter of every kind that has a type code.
void fill_all_kinds(zynParameterRoot& root) {
  root.add("s", zyn_string("a \"quoted\" \\ text\n with { } : , ( )"));
  root.add("r", zyn_real(2.5, ZYN_DIM_LENGTH));
  root.add("i", zyn_integer(7));
  root.add("b", zyn_test_number(PS_BOOL, 1));
  root.add("g", zyn_angle(45));
  root.add("e", zyn_enum("p|q", "q"));
  zynParameterPtr m = root.add("m", zyn_map());
  m->add("x", zyn_real(1.5));
  m->add("y", zyn_string(""));
  root.add("v", zynParameterPtr(new zynParameterVector(3, zyn_real(0, ZYN_DIM_LENGTH))))->set_string("{1;2;3}");
  zynParameterPtr l = root.add("l", zyn_list(zyn_string("")));
  l->set_int(2);
  root["l[0]"]->set_string("first");
  root["l[1]"]->set_string("second");
  root.add("ref", zyn_ref("m.x"));
  root.add("x", zyn_real(0))->set_string("r*2");
  root.add("sq", zyn_function("argv[0]^2"));
  root.add("Name", zyn_string("pocket"));  // also a pseudo-member of the root
}

TEST(SerializerLoad, MembersLoadInAnyOrderAndLetterCase) {
  for (const std::string order : {"xyz", "zyx", "ZxY"}) {
    SCOPED_TRACE(order);
    zynParameterRoot a("Tool", 1, "A"), b("Tool", 1, "B");
    zynParameterPtr saved = a.add("m", zyn_map()), target = b.add("m", zyn_map());
    for (const char c : order) saved->add(std::string(1, c), zyn_real(std::tolower(c) - 'w'));
    for (const char c : {'x', 'y', 'z'}) target->add(std::string(1, c), zyn_real(0));
    zynParameterSerializer s;
    EXPECT_EQ(io_load(s, b, io_save(s, a)), PSE_OK);
    for (const char c : {'x', 'y', 'z'}) EXPECT_EQ(b[std::string("m.") + c]->get_double(), c - 'w');
  }
}

// Saved without type information, the file loads into a tree of the same
// shape; with it, into an empty root that the file builds. The archive
// carries the same text.
TEST(SerializerLoad, RoundTrip) {
  zynParameterRoot a("Tool", 2, "A");
  fill_all_kinds(a);
  a["r"]->set_desc("cutting \"depth\"");
  a["Name"]->set_desc("Strategy name");
  for (int mode = 0; mode < 4; ++mode) {  // untyped, typed, typed compact, through an archive
    SCOPED_TRACE(mode);
    zynParameterSerializer s;
    s.set_save_typeinfo(mode == 1 || mode == 2);
    s.set_compact_mode(mode == 2);
    zynParameterRoot b("Tool", 2, "B");
    if (mode == 0 || mode == 3) {
      fill_all_kinds(b);
      b["m.x"]->set_string("9");
      b["l"]->set_int(0);
      b["v"]->set_string("{0;0;0}");
    }
    utString text;
    if (mode == 3) {
      zynArchive ar;
      ASSERT_EQ(s.save(a, ar), PSE_OK);
      EXPECT_EQ(s.load(b, ar), PSE_OK);
      EXPECT_EQ(s.load(b, ar), PSE_STREAM);  // nothing more to read
      text = io_save(s, a);
    } else {
      text = io_save(s, a);
      EXPECT_EQ(io_load(s, b, text), PSE_OK);
    }
    EXPECT_EQ(io_timeless(io_save(s, b)), io_timeless(text));
    EXPECT_EQ(b["l"]->size(), 2);
    EXPECT_DOUBLE_EQ(b["ref"]->get_double(), 1.5);
    EXPECT_DOUBLE_EQ(b["x"]->get_double(), 5.0);
    EXPECT_DOUBLE_EQ(zynEvaluator(&b).evaluate("sq(3)")->get_double(), 9.0);
  }
}

TEST(SerializerLoad, ResultCodes) {
  zynParameterRoot root("Tool", 2, "");
  root.add("a", zyn_string("keep"));
  zynParameterSerializer s;
  const utString h = io_header("Tool", 2);
  EXPECT_EQ(io_load(s, root, h + "{\"a\":\"x\"}"), PSE_OK);
  EXPECT_EQ(root["a"]->get_string(), "x");
  EXPECT_EQ(io_load(s, root, h + "{\"a\":\"y\",\"zz\":\"1\"}"), PSE_FAILED_PARS);
  EXPECT_EQ(s.failed_pars(), utStringcoSList{"zz"});
  EXPECT_EQ(zynParameterUpdater::get_unrecognised_pars().at("zz"), "1");
  EXPECT_EQ(io_load(s, root, h + "{\"a\":\"z"), PSE_STREAM);
  EXPECT_EQ(io_load(s, root, h + "{\"a\":"), PSE_STREAM);
  for (const char* body : {"{\"a\":word}", "{\"a\":}", "{\"a\" \"Q\" \"\":\"1\"}", "{\"a\" \"S\" \"\" \"nohex\":\"1\"}",
                           "{\"a\" \"S\" \"\" \"\" \"\":\"1\"}", "{\"a\":\"1\" \"b\":\"2\"}",
                           "{:\"1\"}", "{\"a\":(\"1\" \"2\")}", "{\"x\" \"V\":\"1\"}", "{\"x\" \"LQ\":\"1\"}",
                           "{\"x\" \"V100000V100000S\":\"1\"}"})
    EXPECT_EQ(io_load(s, root, h + body), PSE_SYNTAX) << body;
  EXPECT_EQ(io_load(s, root, "\"x\"" + h), PSE_SYNTAX);
  EXPECT_EQ(io_load(s, root, "{\"type\":(\"Tool\")}{}"), PSE_SYNTAX);
  EXPECT_EQ(io_load(s, root, "{\"type\" \"S\" \"\":\"Tool\"}{}"), PSE_SYNTAX);
  EXPECT_EQ(io_load(s, root, h + "{\"e\" \"V0\":()}"), PSE_OK);
  EXPECT_EQ(root["e"]->size(), 0);
  std::istringstream failed;
  failed.setstate(std::ios::failbit);
  EXPECT_EQ(s.load(root, failed, 0), PSE_STREAM);
}

// The header, typed entries and layout the serializer reports after a load,
// and after read_header, which reads the header alone and leaves the stream after it.
TEST(SerializerLoad, TellsWhatTheTextHeld) {
  struct Row {
    utString text;
    zynParameterSerialError load_rc, header_rc;
    utString type;
    int version;
    int64_t time;
    int typed, compact;
  };
  const utString t = "{\"type\":\"Tool\",\"version\":";
  const Row rows[] = {
      {t + "\"2\",\"time\":\"4102444800\"}{\"a\":\"1\"}", PSE_OK, PSE_OK, "Tool", 2, 4102444800, 0, 1},
      {t + "\"1\",\"time\":\"3.5\"}{\"a\" \"S\" \"\":\"1\"}", PSE_OK, PSE_OK, "Tool", 1, 0, 1, 1},
      {"{\"type\" : \"Tool\", \"version\" : \"2\"}{\"a\":\"1\"}", PSE_OK, PSE_OK, "Tool", 2, 0, 0, 0},
      {t + "\"2\"}\n{\"a\":\"1\"}", PSE_OK, PSE_OK, "Tool", 2, 0, 0, 0},
      {"{\"type\":\"T \\\" ,\",\"version\":\"1 + 1\"}{}", PSE_WRONG_ROOT, PSE_OK, "T \" ,", 0, 0, 0, 1},
      {t + "\"9\"}{\"a\" \"S\" \"\":\"1\"}", PSE_NEWER_VERSION, PSE_OK, "Tool", 9, 0, 0, 1},
      {t + "\"1\" oops", PSE_SYNTAX, PSE_SYNTAX, "Tool", 1, 0, 0, 0},
      {"", PSE_STREAM, PSE_STREAM, "", 0, 0, 0, 0},
  };
  zynParameterSerializer s;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    zynParameterRoot root("Tool", 2, "");
    root.add("a", zyn_string(""));
    EXPECT_EQ(io_load(s, root, row.text), row.load_rc);
    EXPECT_EQ(root["a"]->get_string(), row.load_rc == PSE_OK ? "1" : "");  // a refused file is not read on
    EXPECT_EQ(s.get_header().root_type, row.type);
    EXPECT_EQ(s.get_header().version, row.version);
    EXPECT_EQ(s.get_header().time, row.time);
    EXPECT_EQ(s.is_typed(), row.typed);
    EXPECT_EQ(s.is_compact(), row.compact);
    std::istringstream in(row.text);
    EXPECT_EQ(s.read_header(in), row.header_rc);
    EXPECT_EQ(s.get_header().root_type, row.type);
    EXPECT_EQ(s.is_typed(), 0);
    EXPECT_EQ(s.is_compact(), row.compact);
    EXPECT_TRUE(row.header_rc != PSE_OK || in.tellg() == std::streampos(row.text.find('}') + 1));
  }
}

TEST(SerializerLoad, PunctuationInsideStringsIsText) {
  zynParameterRoot root("Tool", 2, "");
  root.add("a", zyn_string(""));
  zynParameterSerializer s;
  // A NUL is text inside a string (the scans stop at it only at the end) and no blank outside one.
  const std::pair<utString, utString> values[] = {
      {"\"} :, \"", "} :, "}, {utString("\"x\0y\\\"z\"", 8), utString("x\0y\"z", 5)},
      {utString("\"p\0q\"", 5), utString("p\0q", 3)}};
  for (const auto& [text, value] : values) {
    EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + "{ \"a\" : " + text + " }"), PSE_OK) << text;
    EXPECT_EQ(root["a"]->get_string(), value);
  }
  EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + utString("{ \"a\" :\0 \"v\" }", 14)), PSE_SYNTAX);
}

TEST(SerializerLoad, ArraysGrowListsAndKeepSlots) {
  zynParameterRoot root("Tool", 2, "");
  root.add("l", zyn_list(zyn_integer(0)));
  root.add("v", zynParameterPtr(new zynParameterVector(3, zyn_real(7))));
  zynParameterSerializer s;
  EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + "{\"l\":(\"1\",\"2\",\"3\",),\"v\":(,\"5\",)}"), PSE_OK);
  EXPECT_EQ(root["l"]->size(), 3);
  EXPECT_EQ(root["l[2]"]->get_int(), 3);
  for (const auto& [key, value] : {std::pair{"v[0]", 7.0}, {"v[1]", 5.0}, {"v[2]", 7.0}})
    EXPECT_EQ(root[key]->get_double(), value);
  EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + "{\"v\":(\"1\",\"2\",\"3\",\"4\")}"), PSE_FAILED_PARS);
  EXPECT_EQ(s.failed_pars(), utStringcoSList{"v[3]"});
}

TEST(SerializerLoad, SelectionAppliesToLoading) {
  zynParameterRoot root("Tool", 2, "");
  root.add("a", zyn_string("0"));
  root.add("b", zyn_string("0"));
  zynParameterSerializer s;
  s.exclude_pars().insert("a");
  EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + "{\"a\":\"1\",\"b\":\"1\"}"), PSE_OK);
  EXPECT_EQ(root["a"]->get_string(), "0");
  EXPECT_EQ(root["b"]->get_string(), "1");
  EXPECT_EQ(s.loaded_pars(), utStringcoSList{"b"});
  // A key the root translates is looked up by the loader itself: the keys stay in file order.
  root.add("Name", zyn_string("0"));
  s.exclude_pars().clear();
  EXPECT_EQ(io_load(s, root, io_header("Tool", 2) + "{\"a\":\"1\",\"name\":\"n\",\"b\":\"2\"}"), PSE_OK);
  EXPECT_EQ(s.loaded_pars(), (utStringcoSList{"a", "Name", "b"}));
}

TEST(SerializerLoad, TypedEntriesDefineOrKeep) {
  zynParameterRoot root("Tool", 2, "");
  root.add("old", zyn_string("mine"));
  zynParameterSerializer s;
  const utString text = io_header("Tool", 2) +
                        "{\"old\" \"S\" \"\":\"theirs\",\"new\" \"R[L]\" \"d\":\"4\",\"m\" \"M\":{\"k\" \"I\":\"3\"},"
                        "\"r\" \"&\" \"\":\"Holder:&h.x\"}";
  EXPECT_EQ(io_load(s, root, text, 1), PSE_OK);
  EXPECT_EQ(root["old"]->get_string(), "mine");
  EXPECT_DOUBLE_EQ(root["new"]->get_double(), 4.0);
  EXPECT_EQ(root["new"]->get_desc(), "d");
  EXPECT_EQ(root["m.k"]->get_int(), 3);
  const zynParameterRef* r = zynParameterRef::ut_dynamic_cast(root["r"].pointer());
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->get_ref_root_type(), "Holder");
  EXPECT_EQ(r->get_ref_string(), "h.x");
  EXPECT_EQ(io_load(s, root, text, 0), PSE_OK);
  EXPECT_EQ(root["old"]->get_string(), "theirs");
}

TEST(SerializerLoad, EntriesWithoutTypeCodeLoadAsPlainEntries) {
  zynParameterRoot a("Tool", 2, "");
  zynParameterPtr sub = a.add("sub", zynParameterPtr(new zynParameterRoot("Holder", 1, "")));
  sub->add("m", zyn_map())->add("x", zyn_string("1"));
  zynParameterPtr arr = a.add("arr", zynParameterPtr(new zynParameterArray()));
  arr->add(zynParameterKey(), zyn_string("p"));
  a.add("s", zyn_string("v"));
  zynParameterSerializer s;
  s.set_save_typeinfo(1);
  const utString text = io_save(s, a);
  // Into a root that has them: every value arrives.
  zynParameterRoot same("Tool", 2, "");
  same.add("sub", sub.copy());
  same.add("arr", arr.copy());
  same["sub.m.x"]->set_string("0");
  EXPECT_EQ(io_load(s, same, text), PSE_OK);
  EXPECT_EQ(same["sub.m.x"]->get_string(), "1");
  // Into an empty root: what cannot be made is reported, the rest is built.
  zynParameterRoot empty("Tool", 2, "");
  EXPECT_EQ(io_load(s, empty, text), PSE_FAILED_PARS);
  EXPECT_EQ(s.failed_pars(), (utStringcoSList{"sub", "arr"}));
  EXPECT_EQ(empty["s"]->get_string(), "v");
  // A name that is no key.
  EXPECT_EQ(io_load(s, empty, io_header("Tool", 2) + "{\"a b\" \"M\":{\"c\" \"S\":\"1\"},\"s\":\"w\"}"),
            PSE_FAILED_PARS);
  EXPECT_EQ(s.failed_pars(), utStringcoSList{"a b"});
  EXPECT_EQ(empty["s"]->get_string(), "w");
}

// Into an open root, a file saved without type information keeps every
// entry, each of a kind inferred from its text.
TEST(SerializerLoad, OpenRootInfersWhatAnUntypedFileHolds) {
  zynParameterOpenRoot open("Drilling", 1, "");
  zynParameterSerializer s;
  ASSERT_EQ(
      io_load(s, open,
              io_header("Drilling", 1) + "{\"Depth\":\"12.5\",\"Pecks\":\"0\",\"Step\":\"Depth / Pecks\","
                                         "\"Tool\":{\"Name\":\"D8\"},\"Sizes\":(\"1\",\"2\"),\"Link\":\"&Tool.Name\"}"),
      PSE_OK);
  auto expect = [&](const char* key, zynParameterSubType kind, const utString& text) {
    EXPECT_EQ(zynParameter::get_subtype(*open[key]), kind) << key;
    EXPECT_EQ(open[key]->get_expr(), text) << key;
  };
  expect("Depth", PS_REAL, "12.5");
  expect("Step", PS_REAL, "Depth / Pecks");  // a formula, failing until Pecks is set
  expect("Tool.Name", PS_STRING, "D8");
  expect("Sizes[1]", PS_REAL, "2.0");  // in a list of reals
  EXPECT_EQ(zynParameter::get_subtype(*open["Sizes"]), PS_LIST);
  EXPECT_EQ(open["Link"]->get_string(), "D8");  // a reference
  open["Pecks"]->set_int(5);
  EXPECT_DOUBLE_EQ(open["Step"]->get_double(), 2.5);
}

// A lock id in the file reports a locked value that differs; a locked root
// refuses every value.
TEST(SerializerLoad, LockedParametersKeepValuesAndReportLocks) {
  zynParameterRoot root("Tool", 2, "");
  root.add("a", zyn_string("current"))->lock(1);
  root.add("same", zyn_string("same"))->lock(1);
  const utString uid = zynUniqueId::create().hex_string();
  zynParameterSerializer s;
  const utString h = io_header("Tool", 2);
  const utString text = "{\"a\" \"S\" \"\" \"" + uid + "\":\"saved\",\"same\" \"S\" \"\" \"" + uid + "\":\"same\"}";
  EXPECT_EQ(io_load(s, root, h + text), PSE_OK);
  EXPECT_EQ(root["a"]->get_string(), "current");
  EXPECT_EQ(s.get_locked_items().size(), 1u);
  EXPECT_EQ(io_load(s, root, h + "{\"same\" \"S\" \"\":\"same\"}"), PSE_OK);
  EXPECT_TRUE(s.get_locked_items().empty());  // results are those of the last load
  root.lock(1);
  EXPECT_EQ(io_load(s, root, h + "{\"a\":\"y\"}"), PSE_FAILED_PARS);
  EXPECT_EQ(root["a"]->get_string(), "current");
}

// A root of version 3 whose updater records what it is asked to do.
struct VersionedRoot : zynParameterRoot, zynParameterUpdater {
  VersionedRoot() : zynParameterRoot("Tool", 3, "") {
    add("a", zyn_string(""));
    add("b", zyn_string(""));
  }
  zynParameterUpdater* get_updater() override { return this; }
  void update(int version, zynParameterRoot& root, const utStringcoSList& names) override {
    from = version;
    flag = zynParameterSerializerCtrl::serializing_parameters();
    loaded = names;
    root["b"]->set_string(get_unrecognised_pars().at("oldb"));
  }
  int from = -1, flag = 0;
  utStringcoSList loaded;
};

TEST(SerializerLoad, OlderFilesAreMigrated) {
  VersionedRoot root;
  zynParameterSerializer s;
  EXPECT_EQ(io_load(s, root, io_header("Tool", 1) + "{\"a\":\"1\",\"oldb\":\"2\"}"), PSE_FAILED_PARS);
  EXPECT_EQ(root.from, 1);
  EXPECT_EQ(root.loaded, utStringcoSList{"a"});
  EXPECT_EQ(root["b"]->get_string(), "2");
  EXPECT_EQ(root.flag, 1);  // raised while loading
  EXPECT_EQ(zynParameterSerializerCtrl::serializing_parameters(), 0);
  root.from = -1;
  EXPECT_EQ(io_load(s, root, io_header("Tool", 3) + "{\"a\":\"1\"}"), PSE_OK);
  EXPECT_EQ(root.from, -1);  // same version: no migration
}

// A stream that can seek is left after the tree it held.
TEST(SerializerLoad, TheStreamStopsAfterTheTree) {
  zynParameterSerializer s;
  zynParameterRoot root("Tool", 2, "");
  root.add("r", zyn_string(""));
  std::istringstream in(io_header("Tool", 2) + "{\"r\":\"1\"}\n" + io_header("Tool", 2) + "{\"r\":\"2\"}");
  for (const char* value : {"1", "2"}) {
    ASSERT_EQ(s.load(root, in, 0), PSE_OK);
    EXPECT_EQ(root["r"]->get_string(), value);
  }
}

utString nested_maps(int depth) {
  utString text = io_header("Tool", 2);
  for (int i = 0; i < depth; ++i) text += "{\"a\" \"M\" \"\":";
  return text + "{}" + utString(depth + 1, '}');
}

TEST(SerializerLoad, NestingIsBounded) {
  zynParameterRoot root("Tool", 2, "");
  zynParameterSerializer s;
  s.set_save_typeinfo(1);
  ASSERT_EQ(io_load(s, root, nested_maps(500)), PSE_OK);
  int depth = 0;
  for (const zynParameter* p = root["a"].pointer(); zynParameter::get_type(*p) == PT_MAP; ++depth)
    p = (*p)[zynParameterKey("a")].pointer();
  EXPECT_EQ(depth, 500);
  // A deep tree saves and loads back.
  const utString text = io_save(s, root);
  zynParameterRoot copy("Tool", 2, "");
  EXPECT_EQ(io_load(s, copy, text), PSE_OK);
  EXPECT_EQ(io_timeless(io_save(s, copy)), io_timeless(text));
  zynParameterRoot other("Tool", 2, "");
  EXPECT_EQ(io_load(s, other, nested_maps(zynParameterSerializer::max_nesting + 5)), PSE_SYNTAX);
  utString dotted = "a";
  for (int i = 0; i < zynParameterSerializer::max_nesting; ++i) dotted += ".a";
  EXPECT_EQ(io_load(s, other, io_header("Tool", 2) + "{\"" + dotted + "\":\"1\"}"), PSE_SYNTAX);
}

}  // namespace
