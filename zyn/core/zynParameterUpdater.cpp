#include "zyn/core/zynParameterUpdater.h"

#include "zyn/core/zynParameterRoot.h"

namespace {

utStringutStringcoTable& unrecognised() {
  static utStringutStringcoTable table;
  return table;
}

}  // namespace

void zynParameterUpdater::update(int, zynParameterRoot&, const utStringcoSList&) {}

void zynParameterUpdater::add_unrecognised_par(const utString& key, const utString& value) {
  unrecognised()[key] = value;
}

void zynParameterUpdater::clear_unrecognised_pars() { unrecognised().clear(); }

const utStringutStringcoTable& zynParameterUpdater::get_unrecognised_pars() { return unrecognised(); }

// The list is walked, never indexed: a version from a damaged file can be
// any number, and only the steps that exist are ever reached.
void zynParameterUpdater::apply_update(int version, zynParameterRoot& root,
                                       const zynParameterSimpleUpdatercoSList* steps, const utStringcoSList& names) {
  if (!steps || root.version() == version) return;
  auto step = steps->begin();
  for (int skip = 0; skip < version && step != steps->end(); ++skip) ++step;
  int working = version;
  for (; step != steps->end(); ++step) {
    if (*step) (*step)(working, root, names);
    if (working == root.version()) return;
  }
}
