#include "zyn/core/zynParameterLoader.h"

#include <algorithm>

#include "zyn/core/zynParameterUpdater.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynNls.h"

namespace {

// Records a saved value that the tree has no place for, so that the host
// (or an updater) can migrate it.
void record_unrecognised(const utString& key, const utString& text) {
  zynParameterUpdater::add_unrecognised_par(key, text);
}

}  // namespace

zynParameterLoader::zynParameterLoader(zynParameterRoot& root, int version) : m_root(root), m_version(version) {}

zynParameterLoader::~zynParameterLoader() = default;

int zynParameterLoader::load_par(const zynParameterKey& key, const utString& text) {
  zynParameterPtr p = m_root[key];
  return load_found(*p, key.str(), key.last(), text);
}

int zynParameterLoader::load_found(zynParameter& par, const utString& key, const utString& last, const utString& text) {
  if (apply_found(par, key, last, text)) return 1;
  m_loaded.push_back(key);
  return 0;
}

int zynParameterLoader::apply_found(zynParameter& par, const utString& key, const utString& last, const utString& text) {
  if (par.is_ref() && !text.empty() && text[0] == '&') {
    par.set_string("&" + zynEvaluator::localize(text.substr(1)));
    return 0;
  }
  const zynParameter* target = par.get_ref();
  if (target && zynParameter::get_type(*target) == PT_DATA) {
    par.set_string(text);
    return 0;
  }
  const zynParameterType type = zynParameter::get_type(par);
  if (type == PT_ARRAY) return 0;
  if (type == PT_ERROR) {
    record_unrecognised(key, text);
    return 1;
  }
  // The container's group first: it is at hand, and most have none.
  const zynParameter* up = par.parent();
  if (up && !up->get_group_name().empty() && par.get_group_name().empty()) {
    par.set_group_name(up->get_group_name());
    par.set_label(last);
  }
  const bool localise = type == PT_NUMERIC || (!text.empty() && text[0] == '=');
  // Only a "," (or a "." where the locale's point is another) changes in
  // the local form: the rest is set as it stands, without a copy.
  const auto holds = [&text](char c) { return std::find(text.begin(), text.end(), c) != text.end(); };
  const bool changes = localise && (holds(',') || (nlsUtils::m_decimal_point != '.' && holds('.')));
  if (changes) par.set_string(zynEvaluator::localize(text));
  else par.set_string(text);
  return 0;
}

int zynParameterLoader::define_par(const zynParameterKey& key, zynParameterPtr p) {
  if (key.str().empty()) return 1;
  const zynParameterKey translated(utString(m_root.translate_key(key.str())));
  const zynParameterKey container_key = translated.parent();
  if (container_key.str().empty()) {
    m_root.add(translated, std::move(p));
    return 0;
  }
  zynParameterPtr container = m_root[container_key];
  const utString& name = translated.last();
  if (container->is_error() || name.empty()) return 1;
  container->add(zynParameterKey(name), std::move(p));
  return 0;
}

void zynParameterLoader::associate(const zynParameterKey&, const zynUniqueIdPtr&) {}
