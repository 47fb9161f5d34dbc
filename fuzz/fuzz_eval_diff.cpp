// Reads against the reference evaluator: the input is a program of writes of
// every kind (values, texts, members added, removed and renamed, ranges,
// units, activity, list sizes, function bodies, references, the decimal
// point and the unit system) and reads of expressions built from its bytes.
// Each read (value, text, validity) is made once as hosts make it, with
// whatever values are kept, and once with keeping off; the two must agree
// to the bit.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zynFuzzTree.h"

namespace {

class Program {
 public:
  Program(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool done() const { return m_pos >= m_size; }
  unsigned next(unsigned n) { return m_pos < m_size ? m_data[m_pos++] % n : 0; }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

const char* const operands[] = {"x0", "x1", "x2", "x3", "g.y0", "g.y1", "y0", "d", "n", "flag", "a", "shape",
                                "values[1]", "values.size", "tool.diameter", "tool.flutes", "r", "rr", "loop_a",
                                "twin4", "this", "1.5", "2", "0", "1,5", "-3", "\"s\"", "twice(x1)", "self(1)"};
const char* const binary[] = {"+", "-", "*", "/", "^", "%", ">", "<", "==", "&", "|", ";"};
const char* const calls[] = {"max", "min", "sqrt", "abs", "int", "twice"};
const char* const names[] = {"x0", "x1", "x2", "x3", "y0", "y1"};

template <size_t N>
const char* pick(Program& p, const char* const (&table)[N]) {
  return table[p.next(N)];
}

utString expression(Program& p, int depth) {
  const unsigned form = depth > 3 ? 0 : p.next(6);
  switch (form) {
    case 1: return expression(p, depth + 1) + " " + pick(p, binary) + " " + expression(p, depth + 1);
    case 2: return "(" + expression(p, depth + 1) + ")";
    case 3: return utString(pick(p, calls)) + "(" + expression(p, depth + 1) + "; " + expression(p, depth + 1) + ")";
    case 4: return "-" + expression(p, depth + 1) + (p.next(2) ? " mm" : "");
    default: return pick(p, operands);
  }
}

zynParameterPtr numeric(double v, zynParameterSubType subtype = PS_REAL) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(ZYN_DIM_LENGTH), v));
}

// A small tree with one member of each kind the operands name: cheap to
// build, so that many programs run.
zynParameterPtr tree() {
  zynParameterPtr root = zyn_test_lib_root();
  root->add("d", numeric(2.0));
  root->add("n", numeric(3, PS_INT));
  root->add("flag", numeric(1, PS_BOOL));
  root->add("a", numeric(45.0, PS_ANGLE));
  root->add("shape", zyn_enum("flat|ball|bull nose", "ball"));
  zynParameterPtr values = root->add("values", zynParameterPtr(new zynParameterList(numeric(0.0))));
  values->set_int(3);
  zynParameterPtr tool = root->add("tool", zynParameterPtr(new zynParameterMap()));
  tool->add("diameter", numeric(6.0));
  tool->add("flutes", numeric(4, PS_INT));
  zyn_fuzz_add_links(root);
  root->add("twin0", numeric(1.0));
  for (int i = 1; i <= 4; ++i) {
    const utString before = "twin" + std::to_string(i - 1);
    root->add("twin" + std::to_string(i), numeric(0.0))->set_string(before + " + " + before);
  }
  return root;
}

// The map "where" names: the root or its map "g".
zynParameterPtr place(const zynParameterPtr& root, Program& p) {
  return p.next(2) ? root : (*root)[zynParameterKey("g")];
}

// Finds a member as hosts do, through the root, and checks that the members
// kept by key are the ones a walk finds.
zynParameterPtr member(const zynParameterPtr& root, Program& p) {
  const utString key = p.next(2) ? utString(pick(p, names)) : utString("g.") + pick(p, names);
  const zynParameterPtr found = (*root)[zynParameterKey(key)];
  zyn_eval_set_reference(true);
  const zynParameterPtr walked = (*root)[zynParameterKey(key)];
  zyn_eval_set_reference(false);
  if (found.raw() != walked.raw()) {
    std::fprintf(stderr, "%s: kept member differs from the walk's\n", key.c_str());
    std::abort();
  }
  return found;
}

// What a read gives: the value's bits, its text and whether it is valid.
struct Reading {
  double value;
  utString text;
  int valid;
  explicit Reading(const zynParameter& p) : value(p.get_double()), text(p.get_string()), valid(p.is_valid()) {}
  bool operator==(const Reading& o) const {
    return std::memcmp(&value, &o.value, sizeof value) == 0 && text == o.text && valid == o.valid;
  }
};

void compare(const zynParameterPtr& target) {
  if (target.is_null()) return;
  const Reading kept(*target);
  zyn_eval_set_reference(true);
  const Reading fresh(*target);
  zyn_eval_set_reference(false);
  if (!(kept == fresh)) {
    std::fprintf(stderr, "%s = %s: read %.17g '%s' %d, evaluated %.17g '%s' %d\n",
                 zynParameter::get_name(*target, 0).c_str(), target->get_expr().c_str(), kept.value,
                 kept.text.c_str(), kept.valid, fresh.value, fresh.text.c_str(), fresh.valid);
    std::abort();
  }
}

// Adds a new number to the root or "g"; one in five times the member of
// the same name the other map holds instead, so that both share it.
void add(const zynParameterPtr& root, Program& p) {
  const bool to_root = p.next(2);
  const zynParameterPtr target = to_root ? root : (*root)[zynParameterKey("g")];
  const zynParameterKey name(pick(p, names));
  const unsigned value = p.next(5);
  const zynParameterPtr other = to_root ? (*root)[zynParameterKey("g")] : root;
  target->add(name, value == 4 ? (*other)[name] : numeric(value));
}

void step(const zynParameterPtr& root, Program& p) {
  switch (p.next(14)) {
    case 0: member(root, p)->set_string(expression(p, 0)); break;
    case 1: member(root, p)->set_double(p.next(7) - 2.5); break;
    case 2: add(root, p); break;
    case 3: place(root, p)->remove(zynParameterKey(pick(p, names))); break;
    case 4: member(root, p)->set_name(pick(p, names)); break;
    case 5: {
      zynParameterNumeric* n = zynParameterNumeric::ut_dynamic_cast(member(root, p).pointer());
      if (n) n->set_range(zynRange(-1.0 - p.next(3), 1.0 + p.next(3)));
      break;
    }
    case 6: nlsUtils::m_decimal_point = p.next(2) ? ',' : '.'; break;
    case 7: zynUnitsUtils::set_units(p.next(2) ? zynUnitsMetric : zynUnitsImperial); break;
    case 8: member(root, p)->set_active(p.next(2) ? utString() : expression(p, 2)); break;
    case 9: (*root)[zynParameterKey("values")]->set_int(static_cast<int>(p.next(4))); break;
    case 10: (*root)[zynParameterKey("twice")]->set_string(p.next(2) ? "argv[0] * 2" : "argv[0] + x0"); break;
    case 11: (*root)[zynParameterKey("r")]->set_string(p.next(2) ? "tool.diameter" : "x1"); break;
    case 12: {
      zynEvalMemoScope scope;
      for (int i = 0; i < 3; ++i) compare(member(root, p));
      break;
    }
    default: compare(member(root, p)); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Program program(data, size);
  zynParameterPtr root = tree();
  zynParameterPtr g = root->add("g", zynParameterPtr(new zynParameterMap()));
  for (const char* name : names) {
    root->add(name, numeric(1.0));
    g->add(name, numeric(2.0));
  }
  zynParameterEvalScope scope(root);
  for (int steps = 0; steps < 200 && !program.done(); ++steps) step(root, program);
  for (const char* name : names) {
    compare((*root)[zynParameterKey(name)]);
    compare((*g)[zynParameterKey(name)]);
  }
  nlsUtils::m_decimal_point = '.';
  zynUnitsUtils::set_units(zynUnitsMetric);
  return 0;
}
