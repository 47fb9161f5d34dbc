#include <gtest/gtest.h>

#include "io/zynIoTestTree.h"

namespace {

TEST(SerializerSave, ExactText) {
  zynParameterRoot root("Tool", 3, "T1");
  root.add("a", zyn_string("x"));
  root.add("m", zyn_map())->add("n", zyn_integer(4));
  zynParameterPtr arr = root.add("arr", zynParameterPtr(new zynParameterArray()));
  arr->add(zynParameterKey(), zyn_string("p"));
  arr->add(zynParameterKey(), zyn_string("q"));
  root.add("e", zyn_map());
  zynParameterSerializer s;
  int rc = -1;
  EXPECT_EQ(io_timeless(io_save(s, root, &rc)),
            "{\n\t\"type\" : \"Tool\",\n\t\"version\" : \"3\",\n\t\"time\" : \"T\"\n}\n"
            "{\n\t\"a\" : \"x\",\n\t\"m\" : {\n\t\t\"n\" : \"4\"\n\t},\n"
            "\t\"arr\" : (\n\t\t\"p\",\n\t\t\"q\"\n\t),\n\t\"e\" : {\n\t}\n}");
  EXPECT_EQ(rc, PSE_OK);
  s.set_compact_mode(1);
  EXPECT_EQ(io_timeless(io_save(s, root)), "{\"type\":\"Tool\",\"version\":\"3\",\"time\":\"T\"}"
                                           "{\"a\":\"x\",\"m\":{\"n\":\"4\"},\"arr\":(\"p\",\"q\"),\"e\":{}}");
  std::ostringstream bad;
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(zynParameterSerializer::get_template_serializer().save(root, bad), PSE_STREAM);
}

// Quotes and backslashes are escaped, a function's body is its value, an
// error is an empty text, and an expression is written as is or evaluated.
TEST(SerializerSave, ValuesAsText) {
  zynParameterRoot root("R", 1, "");
  root.add("s", zyn_string("say \"hi\" \\o/"));
  root.add("t", zyn_string("eight ok then \\ and \""));  // past whole clean words
  root.add("f", zyn_function("1"));
  root.add("arr", zynParameterPtr(new zynParameterArray()))
      ->add(zynParameterKey(), zynParameterError::create(PS_ERR_TYPE));
  root.add("e", zynParameterError::create(PS_ERR_TYPE));
  root.add("a", zyn_real(2.5));
  root.add("b", zyn_real(0))->set_string("a*2");
  zynParameterSerializer s;
  s.set_compact_mode(1);
  const utString text = io_save(s, root);
  EXPECT_NE(text.find(R"({"s":"say \"hi\" \\o/","t":"eight ok then \\ and \"","f":"1","arr":(""),"e":"",)"
                      R"("a":"2.5","b":"a*2"})"),
            utString::npos)
      << text;
  s.set_evaluate(1);
  EXPECT_NE(io_save(s, root).find("\"b\":\"5.0\""), utString::npos) << io_save(s, root);
}

// Inactive members and invalid values are left out as the options say; a
// skipped element keeps its slot, except in a list.
TEST(SerializerSave, SkippedMembersAndElements) {
  zynParameterRoot root("R", 1, "");
  root.add("off", zyn_string("o"))->set_active("0");
  root.add("bad", zyn_real(0))->set_string("nosuch+1");
  zynParameterPtr v = root.add("v", zynParameterPtr(new zynParameterVector(3, zyn_real(1))));
  zynParameterPtr l = root.add("l", zyn_list(zyn_real(0)));
  l->set_int(3);
  // Components share one descriptive record until given their own.
  for (const char* key : {"v[1]", "l[0]"}) {
    zynParameterUtils::clone_impl(*root[key]);
    root[key]->set_active("0");
  }
  zynParameterSerializer s;
  s.set_compact_mode(1);
  auto body = [&] {
    const utString t = io_save(s, root);
    return t.substr(t.find('}') + 1);
  };
  EXPECT_EQ(body(), "{\"bad\":\"nosuch+1\",\"v\":(\"1.0\",,\"1.0\"),\"l\":(\"0.0\",\"0.0\")}");
  s.set_save_inactive(1);
  s.set_save_invalid(0);
  s.exclude_pars().insert("v[0]");  // an excluded first or last element leaves its slot too
  s.exclude_pars().insert("v[2]");
  EXPECT_EQ(body(), "{\"off\":\"o\",\"v\":(,\"1.0\",),\"l\":(\"0.0\",\"0.0\",\"0.0\")}");
}

TEST(SerializerSave, TypeCodes) {
  zynParameterRoot root("R", 1, "");
  root.add("m", zyn_map());
  root.add("d", zynParameterPtr(new zynParameterMap(PS_DICT)));
  root.add("v", zynParameterPtr(new zynParameterVector(3, zyn_real(0, ZYN_DIM_LENGTH))));
  root.add("l", zyn_list(zyn_string("")));
  root.add("h", zynParameterPtr(new zynParameterSharedList(zyn_integer(0))));
  root.add("s", zyn_string("x"));
  root.add("r", zyn_real(1, ZYN_DIM_SPEED));
  root.add("i", zyn_integer(1));
  root.add("b", zyn_test_number(PS_BOOL, 1));
  root.add("g", zyn_angle(1));
  root.add("n", zyn_test_number(PS_NUMERIC, 1));
  root.add("e", zyn_enum("p|q", ""));
  root.add("u", zynParameterPtr(new zynParameterData("kind")));
  root.add("ref", zyn_ref("s"));
  root.add("arr", zynParameterPtr(new zynParameterArray()));
  zynParameterSerializer s;
  s.set_compact_mode(1);
  s.set_save_typeinfo(1);
  const utString text = io_save(s, root);
  for (const char* expected :
       {"\"m\"\"M\"\"\":{}", "\"d\"\"\"\"\":{}", "\"v\"\"V3R[L]\"\"\":(", "\"l\"\"LS\"\"\":()", "\"h\"\"HI\"\"\":()",
        "\"s\"\"S\"\"\":\"x\"", "\"r\"\"R[L/T]\"\"\":", "\"i\"\"I\"", "\"b\"\"B\"", "\"g\"\"A\"", "\"n\"\"\"\"\":",
        "\"e\"\"E\"", "\"u\"\"U\"", "\"ref\"\"&\"\"\":\":&s\"", "\"arr\"\"\"\"\":()"}) {
    SCOPED_TRACE(expected);
    EXPECT_NE(text.find(expected), utString::npos) << text;
  }
}

TEST(SerializerSave, DescriptionAndLockIdWithTypeInfo) {
  zynParameterRoot root("R", 1, "");
  zynRefToObjectId id;
  id.become(zynUniqueIdPtr(zynUniqueId::create()));
  root.set_id(id);
  root.add("a", zyn_string("x"))->set_desc("the \"a\"");
  zynParameterSerializer s;
  s.set_save_typeinfo(1);
  const utString text = io_save(s, root);
  const utString hex = id.get_uid().get_uid()->hex_string();
  EXPECT_NE(text.find("\"a\" \"S\" \"the \\\"a\\\"\" \"" + hex + "\" : \"x\""), utString::npos) << text;
  // The header never carries type information.
  EXPECT_NE(text.find("\"type\" : \"R\""), utString::npos) << text;
}

TEST(SerializerSave, FollowedReferencesAreWrittenAsTargets) {
  zynParameterRoot root("R", 1, "");
  zynParameterPtr m = root.add("m", zyn_map());
  m->add("x", zyn_string("1"));
  root.add("n", zyn_map())->add("to_m", zyn_ref("m"));
  m->add("to_n", zyn_ref("n"));  // a cycle when followed
  zynParameterSerializer s;
  s.set_compact_mode(1);
  EXPECT_NE(io_save(s, root).find("\"to_n\":\"&n\""), utString::npos);
  s.set_follow_refs(1);
  int rc = -1;
  const utString text = io_save(s, root, &rc);
  EXPECT_EQ(rc, PSE_OK);
  EXPECT_NE(text.find("{\"m\":{\"x\":\"1\",\"to_n\":{\"to_m\":\"&m\"}}"), utString::npos) << text;
  m->remove("to_n");  // resolved references hold their targets: break the cycle
}

TEST(SerializerSave, SelectionRules) {
  zynParameterRoot root("R", 1, "");
  zynParameterPtr a = root.add("a", zyn_map());
  zynParameterPtr b = a->add("b", zyn_map());
  b->add("c", zyn_string("1"));
  b->add("d", zyn_string("2"));
  a->add("e", zyn_string("3"));
  root.add("f", zyn_string("4"));
  zynParameterSerializer s;
  s.set_compact_mode(1);
  auto body = [&] {
    const utString t = io_save(s, root);
    return t.substr(t.find('}') + 1);
  };
  s.exclude_pars().insert("a");
  EXPECT_EQ(body(), "{\"f\":\"4\"}");
  s.include_pars().insert("a.b");
  EXPECT_EQ(body(), "{\"a\":{\"b\":{\"c\":\"1\",\"d\":\"2\"}}}");
  s.exclude_pars().insert("a.b.c");
  EXPECT_EQ(body(), "{\"a\":{\"b\":{\"d\":\"2\"}}}");
  s.global_exclude_pars().insert("a");
  EXPECT_EQ(body(), "{}");
  s.global_exclude_pars().clear();
  s.exclude_pars().clear();
  s.include_pars().clear();
  s.set_exclude_all(1);
  EXPECT_EQ(body(), "{}");
  s.include_pars().insert("f");
  EXPECT_EQ(body(), "{\"f\":\"4\"}");
}

}  // namespace
