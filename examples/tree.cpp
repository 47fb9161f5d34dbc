// Builds the settings of a small drilling operation as a parameter tree and
// prints it: a root holding a map of tool data, real numbers bound to
// expressions over other members, an integer and a string. Then it changes
// one value, reads the dependent values again, and shows how a bad key is
// answered.
#include <iostream>

#include "zyn/zyn.h"

namespace {

zynParameterPtr real(double value) {
  return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), value));
}

zynParameterPtr integer(int value) {
  return zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), value));
}

// The tool: its diameter and a name.
zynParameterPtr make_tool() {
  zynParameterPtr tool(new zynParameterMap());
  tool->add("Diameter", real(8.0));
  tool->add("Name", zynParameterPtr(new zynParameterString("Drill D8")));
  return tool;
}

// The operation: the tool, then depths that follow the tool's size.
void build(zynParameterRoot& op) {
  op.add("Tool", make_tool());
  op.add("Passes", integer(3));
  zynParameterPtr depth = op.add("Depth", real(0.0));
  depth->set_string("Tool.Diameter * 2.5");  // drill two and a half diameters deep
  zynParameterPtr step = op.add("StepDown", real(0.0));
  step->set_string("Depth / Passes");
  zynParameterPtr note = op.add("Note", zynParameterPtr(new zynParameterString()));
  note->set_string("peck drilling");
}

}  // namespace

int main() {
  zynParameterRoot op("Drilling", 1, "Hole pattern A");
  build(op);
  std::cout << op.print(0) << "\n";

  op["Tool.Diameter"]->set_double(10.0);
  std::cout << "after Tool.Diameter = 10: Depth = " << op["Depth"]->get_double()
            << ", StepDown = " << op["stepdown"]->get_double() << "\n";
  std::cout << "path of the tool name: " << zynParameter::get_name(*op["Tool.Name"], 0) << "\n";
  std::cout << "lookup of \"Tool..[\": " << op["Tool..["]->get_string() << "\n";
  return 0;
}
