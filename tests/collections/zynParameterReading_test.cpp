#include "zyn/collections/zynParameterReading.h"

#include <gtest/gtest.h>

#include <sstream>

#include "zyn/zyn.h"

namespace {

TEST(ParameterReading, WalksMembersAndElementsThroughReferences) {
  zynParameterRoot root("Op", 1, "");
  zynParameterPtr tool = root.add("Tool", zyn_map());
  tool->add("B", zyn_integer(1));
  tool->add("A", zyn_string("x"));
  zynParameterPtr list = root.add("L", zyn_list(zyn_real(0.0)));
  list->set_int(3);
  root.add("ToolRef", zyn_ref("Tool"));
  root.add("ListRef", zyn_ref("L"));
  std::ostringstream out;
  out << root["ToolRef"];
  EXPECT_EQ(out.str(), root["ToolRef"]->print(0));

  utString names;
  for (const auto& [name, value] : zyn_members(root["ToolRef"])) names += name + value->get_string() + " ";
  EXPECT_EQ(names, "B1 Ax ");
  int count = 0;
  for (const zynParameterPtr& e : zyn_elements(root["ListRef"])) {
    EXPECT_EQ(e->parent(), list.pointer());
    ++count;
  }
  EXPECT_EQ(count, 3);
  // Other kinds have nothing to walk; a list that shrinks ends the walk.
  EXPECT_EQ(zyn_members(list).size(), 0u);
  EXPECT_TRUE(zyn_elements(tool).begin() == zyn_elements(tool).end());
  count = 0;
  for (const zynParameterPtr& e : zyn_elements(list)) {
    list->set_int(1);
    EXPECT_FALSE(e->is_error());
    ++count;
  }
  EXPECT_EQ(count, 1);
}

TEST(ParameterReading, ReadsANumberWithItsError) {
  zynParameterLibRoot root("Op", 1, "");
  root.add("A", zyn_real(4.0));
  zynParameterPtr ranged = root.add("R", zyn_real(0.0));
  static_cast<zynParameterNumeric&>(*ranged).set_range(zynRange(1.0, 3.0));
  root.add("S", zyn_string("12"));
  root.add("Ref", zyn_ref("A"));
  const struct {
    const char* key;
    const char* text;  // set before reading, unless null
    double value;
    const char* error;  // null when the read succeeds
  } cases[] = {
      {"A", "1 / 0", 0.0, "#ERROR: Divide by zero"},
      {"R", "5 * 2", 3.0, nullptr},
      {"S", nullptr, 0.0, "#ERROR: Type error"},
      {"Ref", nullptr, 4.0, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(utString(c.key) + " " + (c.text ? c.text : ""));
    if (c.text) root[c.key]->set_string(c.text);
    const zynReading read = zyn_read_double(root[c.key]);
    EXPECT_EQ(static_cast<bool>(read), c.error == nullptr);
    EXPECT_DOUBLE_EQ(read.value, c.value);
    EXPECT_EQ(read.error.is_null() ? utString() : read.error->get_string(), c.error ? c.error : "");
    if (c.text) root[c.key]->set_string("4");
  }
}

}  // namespace
