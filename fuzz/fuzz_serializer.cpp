// Loads the input as a saved file into the sample tree, saves the tree with
// type information, loads that text into a fresh sample tree and saves
// again: the two saved texts must be equal, whatever the input held. Both
// trees are then read through and exported as XML.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "zynFuzzTree.h"

namespace {

utString save_typed(const zynParameterPtr& root) {
  zynParameterSerializer serializer;
  serializer.set_save_typeinfo(1);
  serializer.set_save_inactive(1);
  std::ostringstream out;
  if (serializer.save(static_cast<const zynParameterRoot&>(*root), out) != PSE_OK) return utString();
  return out.str();
}

// Saved files carry the time of saving; the round trip compares the rest.
utString without_time(const utString& saved) {
  const size_t at = saved.find("\"time\"");
  if (at == utString::npos) return saved;
  const size_t end = saved.find('\n', at);
  return saved.substr(0, at) + (end == utString::npos ? utString() : saved.substr(end));
}

zynParameterSerialError load(const zynParameterPtr& root, const utString& text) {
  zynParameterSerializer serializer;
  std::istringstream in(text);
  return serializer.load(static_cast<zynParameterRoot&>(*root), in, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zynParameterPtr first = zyn_fuzz_tree();
  zynParameterEvalScope scope(first);
  const zynParameterSerialError e = load(first, zyn_fuzz_text(data, size));
  if (e != PSE_OK && e != PSE_FAILED_PARS) return 0;
  const utString saved = save_typed(first);
  (void)zynParameter::to_xml(first);
  zyn_fuzz_touch(first);

  zynParameterPtr second = zyn_fuzz_tree();
  const zynParameterSerialError again = load(second, saved);
  const utString resaved = save_typed(second);
  (void)zynParameter::to_xml(second);
  if ((again != PSE_OK && again != PSE_FAILED_PARS) || without_time(saved) != without_time(resaved)) {
    std::fprintf(stderr, "round trip differs (load %d)\n--- first save\n%s\n--- second save\n%s\n", static_cast<int>(again),
                 saved.c_str(), resaved.c_str());
    std::abort();
  }
  return 0;
}
