#include "zynFuzzTree.h"

#include <string>

namespace {

zynParameterPtr number(double v, zynParameterSubType subtype, zynDimStandard dims = ZYN_DIM_NONE) {
  return zynParameterPtr(new zynParameterNumeric(subtype, zynDimensions(dims), v));
}

zynParameterPtr text(const utString& s) { return zyn_string(s); }

zynParameterPtr real_list() {
  zynParameterList* list = new zynParameterList(number(0.0, PS_REAL));
  zynParameterPtr owner(list);
  for (double v : {1.5, -2.0, 3.0}) (*list)[zynParameterKey(-1, utString())]->set_double(v);
  return owner;
}

zynParameterPtr string_list() {
  zynParameterList* list = new zynParameterList(text(""));
  zynParameterPtr owner(list);
  for (const char* s : {"a", "b c", "$d"}) (*list)[zynParameterKey(-1, utString())]->set_string(s);
  return owner;
}

zynParameterPtr tool_map() {
  zynParameterPtr tool(new zynParameterMap());
  tool->add("diameter", number(6.0, PS_REAL, ZYN_DIM_LENGTH));
  tool->add("name", text("end mill %[diameter]"));
  tool->add("flutes", number(4, PS_INT));
  tool->add("up", zyn_ref("diameter"));
  return tool;
}

}  // namespace

void zyn_fuzz_add_links(const zynParameterPtr& root) {
  root->add("r", zyn_ref("tool.diameter"));
  root->add("rr", zyn_ref("r"));
  root->add("loop_a", zyn_ref("loop_b"));
  root->add("loop_b", zyn_ref("loop_a"));
  root->add("twice", zyn_function("argv[0] * 2"));
  root->add("self", zyn_function("self(argv[0])"));
}

zynParameterPtr zyn_fuzz_tree() {
  zynParameterPtr root = zyn_test_lib_root();
  root->add("d", number(2.0, PS_REAL, ZYN_DIM_LENGTH));
  root->add("n", number(3, PS_INT));
  root->add("flag", number(1, PS_BOOL));
  root->add("a", number(45.0, PS_ANGLE));
  root->add("word", text("hello"));
  root->add("label", text("d=%[d] n=${n} $word"));
  root->add("shape", zyn_enum("flat|ball|bull nose", "ball"));
  root->add("values", real_list());
  root->add("names", string_list());
  root->add("tool", tool_map());
  zyn_fuzz_add_links(root);
  // Values that each read the one before twice: 2^30 paths to the first,
  // and texts that double at every link (to 8 KB: every input saves and
  // exports the whole tree, so longer ones are for the fuzzer to build).
  root->add("twin0", number(1.0, PS_REAL, ZYN_DIM_NONE));
  root->add("grow0", text("ab"));
  for (int i = 1; i <= 30; ++i) {
    const utString before = std::to_string(i - 1);
    root->add("twin" + std::to_string(i), number(0.0, PS_REAL, ZYN_DIM_NONE))->set_string("twin" + before + " + twin" + before);
    if (i <= 12) root->add("grow" + std::to_string(i), text("%[grow" + before + "]%[grow" + before + "]"));
  }
  return root;
}

utString zyn_fuzz_text(const uint8_t* data, size_t size) {
  return utString(reinterpret_cast<const char*>(data), size);
}

void zyn_fuzz_touch(const zynParameterPtr& p) {
  if (p.is_null()) return;
  (void)p->get_double();
  (void)p->get_int();
  (void)p->get_string();
  (void)p->get_expr();
  (void)p->is_expr();
  (void)p->is_active();
  (void)p->print(0);
  const int n = p->size();
  for (int i = 0; i < n && i < 4; ++i) (void)(*p)[zynParameterKey(i, utString())]->get_string();
}
