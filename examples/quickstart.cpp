// A whole host program: builds the settings of a drilling operation with
// units and formulas, reads values, tells a failing formula from a value,
// saves the tree to a file, loads it into a new root and prints it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "zyn/zyn.h"

int main() {
  // A root whose formulas reach the built-in functions (min, sqrt, round, ...).
  zynParameterLibRoot op("Drilling", 1, "Hole pattern A");
  op.add("Diameter", zyn_real(8.0, ZYN_DIM_LENGTH));
  op.add("Depth", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("min(Diameter * 2.5; 30)");
  op.add("Pecks", zyn_integer(3));
  op.add("Step", zyn_real(0.0, ZYN_DIM_LENGTH))->set_string("Depth / Pecks");
  op.add("Tool", zyn_map())->add("Name", zyn_string("Drill D8"));

  // Formulas are evaluated on every read; names match in any letter case.
  op["Diameter"]->set_double(10.0);
  std::cout << "Depth " << op["depth"]->get_double() << ", tool " << op["Tool.Name"]->get_string() << "\n";

  // A failing formula reads as 0.0: zyn_read_double gives the error with the
  // value, and a lookup that fails answers an error value.
  op["Pecks"]->set_int(0);
  zynReading step = zyn_read_double(op["Step"]);
  if (!step) std::cout << "Step fails: " << step.error->get_string() << "\n";
  if (op["Tool.Length"]->is_error()) std::cout << "no Tool.Length\n";
  op["Pecks"]->set_int(4);

  // Saved with type information, the file rebuilds the tree in an empty root.
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "zynparam-quickstart.zpar";
  zynParameterSerializer serializer;
  serializer.set_save_typeinfo(1);
  std::ofstream out(file);
  if (serializer.save(op, out) != PSE_OK) return 1;
  out.close();
  zynParameterLibRoot loaded("Drilling", 1, "");
  std::ifstream in(file);
  if (serializer.load(loaded, in, 0) != PSE_OK) return 1;
  std::filesystem::remove(file);
  std::cout << loaded;
  return 0;
}
