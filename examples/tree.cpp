// Builds the settings of a small drilling operation as a parameter tree and
// prints it: a root holding a map of tool data, real numbers bound to
// expressions over other members (one calling a built-in), an integer and a
// string. Then it changes one value, reads the dependent values again, and
// shows how a bad key is answered.
#include <iostream>

#include "zyn/zyn.h"

namespace {

// The tool: its diameter and a name.
zynParameterPtr make_tool() {
  zynParameterPtr tool = zyn_map();
  tool->add("Diameter", zyn_real(8.0, ZYN_DIM_LENGTH));
  tool->add("Name", zyn_string("Drill D8"));
  return tool;
}

// The operation: the tool, then depths that follow the tool's size.
void build(zynParameterLibRoot& op) {
  op.add("Tool", make_tool());
  op.add("Passes", zyn_integer(3));
  // Drill two and a half diameters deep, in equal steps.
  op.add("Depth", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("Tool.Diameter * 2.5");
  op.add("StepDown", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("round(Depth / Passes; 2)");
  op.add("Note", zyn_string("peck drilling"));
}

}  // namespace

int main() {
  zynParameterLibRoot op("Drilling", 1, "Hole pattern A");
  build(op);
  std::cout << op << "\n";

  op["Tool.Diameter"]->set_double(10.0);
  std::cout << "after Tool.Diameter = 10: Depth = " << op["Depth"]->get_double()
            << ", StepDown = " << op["stepdown"]->get_double() << "\n";
  std::cout << "path of the tool name: " << zynParameter::get_name(*op["Tool.Name"], 0) << "\n";
  std::cout << "lookup of \"Tool..[\": " << op["Tool..["]->get_string() << "\n";
  return 0;
}
