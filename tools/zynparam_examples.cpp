// Builds the example trees (a cutting tool and a machining strategy whose
// values are formulas over the tool's) and saves them with the serializer:
//   zynparam_examples DIR   writes DIR/tool.zpar, DIR/strategy.zpar and
//                           DIR/strategy-typed.zpar (with type information)
#include <fstream>
#include <iostream>

#include "zyn/zyn.h"

namespace {

zynParameterPtr real(zynDimStandard dims, const utString& text, double min, double max, const utString& desc) {
  zynParameterPtr p(new zynParameterNumeric(PS_REAL, zynDimensions(dims), 0.0));
  p->set_string(text);
  if (min <= max) static_cast<zynParameterNumeric*>(p.pointer())->set_range(zynRange(min, max));
  p->set_desc(desc);
  return p;
}

zynParameterPtr integer(const utString& text, double min, double max, const utString& desc) {
  zynParameterPtr p(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), 0.0));
  p->set_string(text);
  static_cast<zynParameterNumeric*>(p.pointer())->set_range(zynRange(min, max));
  p->set_desc(desc);
  return p;
}

zynParameterPtr text(const utString& value, const utString& desc) {
  zynParameterPtr p(new zynParameterString(value));
  p->set_desc(desc);
  return p;
}

zynParameterPtr choice(const utString& states, const utString& value, const utString& desc) {
  zynParameterPtr p(new zynParameterEnum(states, value));
  p->set_desc(desc);
  return p;
}

void build_tool(zynParameterRoot& tool) {
  tool.add("Name", text("EM-10-4F", "Catalogue name"));
  tool.add("Type", choice("EndMill|BallNose|Drill", "EndMill", "Tool shape"));
  tool.add("Diameter", real(ZYN_DIM_LENGTH, "10.0", 0.1, 100.0, "Cutting diameter"));
  tool.add("CornerRadius", real(ZYN_DIM_LENGTH, "0.5", 0.0, 50.0, "Corner radius"));
  tool.add("Flutes", integer("4", 1, 12, "Number of flutes"));
  tool.add("FluteLength", real(ZYN_DIM_LENGTH, "Diameter * 2.5", 0.0, 500.0, "Length of cut"));
  tool.add("Overhang", real(ZYN_DIM_LENGTH, "40.0", 1.0, 300.0, "Length out of the holder"));
  tool.add("SurfaceSpeed", real(ZYN_DIM_SPEED, "150.0", 1.0, 2000.0, "Cutting speed (m/min)"));
  tool.add("ChipLoad", real(ZYN_DIM_LENGTH, "0.05", 0.001, 1.0, "Feed per tooth"));
  zynParameterPtr holder(new zynParameterMap());
  holder->add("Name", text("HSK63-ER32", "Holder"));
  holder->add("Length", real(ZYN_DIM_LENGTH, "65.0", 0.0, 500.0, "Gauge length"));
  tool.add("Holder", holder);
  tool.add("GaugeLength", real(ZYN_DIM_LENGTH, "Overhang + Holder.Length", 0.0, 800.0, "Tip to spindle face"));
}

void build_strategy(zynParameterRoot& strategy, const zynParameterRoot& tool) {
  strategy.add("Name", text("Pocket roughing", "Strategy name"));
  zynParameterPtr copy(new zynParameterMap());
  for (zynParameterIter walk(&tool); ++walk;) {
    if (walk.index().str().find('.') == utString::npos) copy->add(walk.index(), zynParameterPtr(walk()->create_new()));
  }
  strategy.add("Tool", copy);
  strategy.add("Mode", choice("Climb|Conventional|Mixed", "Climb", "Cutting direction"));
  strategy.add("Stepover", real(ZYN_DIM_LENGTH, "Tool.Diameter * 0.4", 0.01, 100.0, "Radial engagement"));
  strategy.add("StepDown", real(ZYN_DIM_LENGTH, "min(Tool.FluteLength * 0.8; Tool.Diameter)", 0.01, 50.0,
                                "Axial depth per pass"));
  strategy.add("Depth", real(ZYN_DIM_LENGTH, "18.0", 0.0, 200.0, "Total pocket depth"));
  strategy.add("Passes", integer("round(Depth / StepDown + 0.499; 0)", 1, 1000, "Number of depth passes"));
  strategy.add("SpindleSpeed", real(ZYN_DIM_PER_TIME, "Tool.SurfaceSpeed * 1000 / (acos(-1) * Tool.Diameter)", 100.0,
                                    24000.0, "Spindle speed (1/min)"));
  strategy.add("FeedRate", real(ZYN_DIM_SPEED, "SpindleSpeed * Tool.Flutes * Tool.ChipLoad", 1.0, 20000.0,
                                "Cutting feed (mm/min)"));
  strategy.add("Coolant", choice("Off|Flood|Mist|Air", "Flood", "Coolant"));
  zynParameterPtr pressure = real(ZYN_DIM_PRESSURE, "40.0", 0.0, 100.0, "Coolant pressure (bar)");
  pressure->set_active("Coolant == \"Flood\"");
  strategy.add("CoolantPressure", pressure);
  zynParameterPtr depths(new zynParameterList(real(ZYN_DIM_LENGTH, "0.0", 0.0, 200.0, "Depth")));
  strategy.add("Levels", depths);
  for (const char* level : {"StepDown", "StepDown * 2", "Depth"})
    strategy[zynParameterKey("Levels")]->add(zynParameterKey(-1, utString()), real(ZYN_DIM_LENGTH, level, 0.0, 200.0, ""));
  strategy.add("Cutter", zynParameterPtr(new zynParameterRef("Tool")));
  strategy.add("Comment", text("Roughing with %[Tool.Name] in %[Passes] passes", "Operator note"));
}

int save(const zynParameterRoot& root, const utString& path, int typeinfo) {
  zynParameterSerializer serializer;
  serializer.set_save_typeinfo(typeinfo);
  std::ofstream out(path);
  if (serializer.save(root, out) != PSE_OK) {
    std::cerr << "cannot write " << path << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const utString dir = argc > 1 ? argv[1] : ".";
  zynParameterRoot tool("Tool", 1, "EM-10-4F");
  build_tool(tool);
  zynParameterRoot strategy("Strategy", 1, "Pocket");
  build_strategy(strategy, tool);
  std::cout << strategy.print(0);
  return save(tool, dir + "/tool.zpar", 0) | save(strategy, dir + "/strategy.zpar", 0) |
         save(strategy, dir + "/strategy-typed.zpar", 1);
}
