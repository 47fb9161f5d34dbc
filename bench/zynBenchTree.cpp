#include "zynBenchTree.h"

const char* zyn_bench_expression(int index) {
  static const char* const texts[] = {"a*2+b", "(x+1.5)*(y-2)/3^2", "sqrt(x^2+y^2+z^2)", "max(a, b)+min(c, d)",
                                      "a>b & c<d"};
  return texts[index - 1];
}

const char* zyn_bench_muparser_expression(int index) {
  return index == 5 ? "a>b && c<d" : zyn_bench_expression(index);
}

const zynBenchVariable zyn_bench_variables[7] = {{"a", 3.0}, {"b", 4.5}, {"c", 1.25}, {"d", 2.0},
                                                 {"x", 1.5}, {"y", 5.0}, {"z", 2.5}};

namespace {

struct zynBenchStored : zynBenchValue {
  explicit zynBenchStored(double v) : value(v) {}
  double get() const override { return value; }
  double value;
};

}  // namespace

std::unique_ptr<zynBenchValue> zyn_bench_make_value(double v) { return std::make_unique<zynBenchStored>(v); }

zynParameterPtr zyn_bench_add_real(zynParameter& map, const std::string& name, double value) {
  zynParameterPtr p(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), 0.0));
  p->set_double(value);
  return map.add(zynParameterKey(name), p);
}

namespace {

zynParameterPtr make_leaf(int i) {
  switch (i % 10) {
    case 0:
    case 1:
    case 2: return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), i * 0.25));
    case 3:
    case 4: return zynParameterPtr(new zynParameterNumeric(PS_INT, zynDimensions(ZYN_DIM_NONE), i));
    case 5:
    case 6: return zynParameterPtr(new zynParameterString("text " + std::to_string(i)));
    case 7:
    case 8: return zynParameterPtr(new zynParameterEnum("flat|ball|tipped", "ball"));
    default: {
      zynParameterPtr expr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_LENGTH), 0));
      expr->set_string("p0 * 2 + 1");
      return expr;
    }
  }
}

}  // namespace

void zyn_bench_build_tree(zynParameterRoot& root, int leaves) {
  for (int outer = 0; outer < leaves / 1000; ++outer) {
    zynParameterPtr group(new zynParameterMap());
    for (int m = 0; m < 10; ++m) {
      zynParameterPtr block(new zynParameterMap());
      for (int i = 0; i < 100; ++i) block->add(zynParameterKey("p" + std::to_string(i)), make_leaf(i));
      group->add(zynParameterKey("m" + std::to_string(m)), block);
    }
    root.add(zynParameterKey("g" + std::to_string(outer)), group);
  }
}
