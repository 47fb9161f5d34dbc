#include <gtest/gtest.h>

#include "io/zynIoTestTree.h"

namespace {

TEST(SerializerSave, ExactText) {
  zynParameterRoot root("Tool", 3, "T1");
  root.add("a", io_str("x"));
  root.add("m", zyn_map())->add("n", io_num(PS_INT, 4));
  zynParameterPtr arr = root.add("arr", zynParameterPtr(new zynParameterArray()));
  arr->add(zynParameterKey(), io_str("p"));
  arr->add(zynParameterKey(), io_str("q"));
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
}

// Quotes and backslashes are escaped, a function's body is its value, an
// error is an empty text, and an expression is written as is or evaluated.
TEST(SerializerSave, ValuesAsText) {
  zynParameterRoot root("R", 1, "");
  root.add("s", io_str("say \"hi\" \\o/"));
  root.add("t", io_str("eight ok then \\ and \""));  // past whole clean words
  root.add("f", zyn_function("1"));
  root.add("arr", zynParameterPtr(new zynParameterArray()))
      ->add(zynParameterKey(), zynParameterError::create(PS_ERR_TYPE));
  root.add("e", zynParameterError::create(PS_ERR_TYPE));
  root.add("a", io_num(PS_REAL, 2.5));
  root.add("b", io_num(PS_REAL, 0))->set_string("a*2");
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

TEST(SerializerSave, InactiveAndInvalidMembers) {
  zynParameterRoot root("R", 1, "");
  root.add("off", io_str("o"))->set_active("0");
  root.add("bad", io_num(PS_REAL, 0))->set_string("nosuch+1");
  zynParameterSerializer s;
  s.set_compact_mode(1);
  utString text = io_save(s, root);
  EXPECT_EQ(text.find("\"off\""), utString::npos);
  EXPECT_NE(text.find("\"bad\""), utString::npos);
  s.set_save_inactive(1);
  s.set_save_invalid(0);
  text = io_save(s, root);
  EXPECT_NE(text.find("\"off\""), utString::npos);
  EXPECT_EQ(text.find("\"bad\""), utString::npos);
}

TEST(SerializerSave, SkippedElementsKeepSlotsExceptInLists) {
  zynParameterRoot root("R", 1, "");
  zynParameterPtr v(new zynParameterVector(3, io_num(PS_REAL, 1)));
  // Components share one descriptive record until given their own.
  zynParameterUtils::clone_impl(*(*v)[zynParameterKey(1, "")]);
  (*v)[zynParameterKey(1, "")]->set_active("0");
  root.add("v", v);
  zynParameterPtr l(new zynParameterList(io_num(PS_REAL, 0)));
  l->set_int(3);
  zynParameterUtils::clone_impl(*(*l)[zynParameterKey(0, "")]);
  (*l)[zynParameterKey(0, "")]->set_active("0");
  root.add("l", l);
  zynParameterSerializer s;
  s.set_compact_mode(1);
  utString text = io_save(s, root);
  EXPECT_NE(text.find("\"v\":(\"1.0\",,\"1.0\")"), utString::npos) << text;
  EXPECT_NE(text.find("\"l\":(\"0.0\",\"0.0\")"), utString::npos) << text;
  // An excluded first or last element leaves its slot too.
  s.set_save_inactive(1);
  s.exclude_pars().insert("v[0]");
  s.exclude_pars().insert("v[2]");
  text = io_save(s, root);
  EXPECT_NE(text.find("\"v\":(,\"1.0\",)"), utString::npos) << text;
}

TEST(SerializerSave, TypeCodes) {
  zynParameterRoot root("R", 1, "");
  root.add("m", zyn_map());
  root.add("d", zynParameterPtr(new zynParameterMap(PS_DICT)));
  root.add("v", zynParameterPtr(new zynParameterVector(3, io_num(PS_REAL, 0, ZYN_DIM_LENGTH))));
  root.add("l", zyn_list(io_str("")));
  root.add("h", zynParameterPtr(new zynParameterSharedList(io_num(PS_INT, 0))));
  root.add("s", io_str("x"));
  root.add("r", io_num(PS_REAL, 1, ZYN_DIM_SPEED));
  root.add("i", io_num(PS_INT, 1));
  root.add("b", io_num(PS_BOOL, 1));
  root.add("g", io_num(PS_ANGLE, 1));
  root.add("n", io_num(PS_NUMERIC, 1));
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
  root.add("a", io_str("x"))->set_desc("the \"a\"");
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
  m->add("x", io_str("1"));
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
  b->add("c", io_str("1"));
  b->add("d", io_str("2"));
  a->add("e", io_str("3"));
  root.add("f", io_str("4"));
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

TEST(SerializerSave, StreamFailure) {
  std::ostringstream bad;
  bad.setstate(std::ios::badbit);
  EXPECT_EQ(zynParameterSerializer::get_template_serializer().save(zynParameterRoot("R", 1, ""), bad), PSE_STREAM);
}

}  // namespace
