#include <gtest/gtest.h>

#include "io/zynIoTestTree.h"

namespace {

TEST(ParameterXml, NamedAndUnnamedLeaves) {
  zynParameterPtr map(new zynParameterMap());
  map->add("depth", zyn_real(2.5));
  map->add("off", zyn_string("2"))->set_active("0");
  map->add("f", zyn_function("1"));
  EXPECT_EQ(zynParameter::to_xml((*map)["depth"]), "<depth>2.5</depth>");
  EXPECT_EQ(zynParameter::xml_value(map), "\n<depth>2.5</depth>\n\n");  // no inactive member, no function
  EXPECT_EQ(zynParameter::to_xml((*map)["f"]), "");
  zynParameterPtr array(new zynParameterArray());
  array->add(zynParameterKey(), zyn_real(1));
  array->add(zynParameterKey(), zynParameterPtr(new zynParameterMap()));
  array->add(zynParameterKey(), zyn_string("a<b&c"));
  EXPECT_EQ(zynParameter::to_xml(array), "<array>\n<real>1.0</real>\n<map>\n</map>\n<string>a<b&c</string>\n</array>");
  EXPECT_EQ(zynParameter::to_xml(zyn_test_number(PS_NUMERIC, 1)), "");  // a general numeric has no type name
}

TEST(ParameterXml, FlaggedValues) {
  zynParameterPtr ranged = zyn_real(5);
  zynParameterNumeric::ut_dynamic_cast(ranged.pointer())->set_range(zynRange(0, 1));
  EXPECT_EQ(zynParameter::xml_value(ranged), "@Range");
  zynParameterPtr bad = zyn_real(0);
  bad->set_string("nosuch");
  EXPECT_EQ(zynParameter::xml_value(bad), "@Error");
  EXPECT_EQ(zynParameter::xml_value(zynParameterError::create(PS_ERR_TYPE)), "@Error");
  zynParameterPtr e(new zynParameterEnum("p|q", "z"));
  EXPECT_EQ(zynParameter::xml_value(e), "@Error");
  // A host's kind answers for its own text.
  struct Masked : zynParameterString {
    utString get_string() const override { return "***"; }
  };
  EXPECT_EQ(zynParameter::xml_value(zynParameterPtr(new Masked())), "***");
  // Entity data names its root's id and its own type.
  zynParameterRoot root("Tool", 1, "");
  zynRefToObjectId id;
  id.become(zynUniqueIdPtr(zynUniqueId::create()));
  root.set_id(id);
  root.add("pic", zynParameterPtr(new zynParameterData("image")));
  EXPECT_EQ(zynParameter::xml_value(root["pic"]),
            "\n<id>" + id.get_uid().get_uid()->hex_string() + "</id>\n<type>image</type>\n");
}

TEST(ParameterXml, RootsAndReferences) {
  zynParameterRoot tool("Tool", 1, "T1");
  tool.add("Diameter", zyn_real(6));
  zynParameterRoot holder("Holder", 1, "H1");
  holder.add("Name", zyn_string("H1"));
  zynParameterPtr job(new zynParameterRoot("Job", 1, ""));
  job->add("tool", zynParameterPtr(new zynParameterRoot(tool)));
  job->add("d", zynParameterPtr(new zynParameterRef("tool.Diameter")));
  job->add("t", zynParameterPtr(new zynParameterRef("tool")));
  job->add("bad", zynParameterPtr(new zynParameterRef("nosuch")));
  const zynParameterPtr tool_ptr(coPrfExternal, &tool);
  EXPECT_EQ(zynParameter::to_xml(tool_ptr), "<Tool>\n<Name>T1</Name>\n<Diameter>6.0</Diameter>\n</Tool>");
  // At the top a reference is expanded: the target's Name line, then its content.
  EXPECT_EQ(zynParameter::to_xml((*job)["t"]),
            "<Tool>\n<Name>T1</Name>\n<Name>T1</Name>\n<Diameter>6.0</Diameter>\n</Tool>");
  EXPECT_EQ(zynParameter::xml_value((*job)["d"]), "\n<Name></Name>6.0");
  // Inside a container it is summarised.
  const utString text = zynParameter::to_xml(job);
  EXPECT_NE(text.find("\n<d>tool.Diameter</d>"), utString::npos) << text;
  EXPECT_NE(text.find("\n<t>\n<Name>T1</Name>\n<Type>Tool</Type>\n</t>"), utString::npos) << text;
  EXPECT_NE(text.find("\n<bad>\n<Name></Name>\n<Type></Type>\n</bad>"), utString::npos) << text;
  {
    zynParameterNoRefExpand summarise;
    EXPECT_EQ(zynParameter::to_xml((*job)["d"]), "<d>tool.Diameter</d>");
  }
}

}  // namespace
