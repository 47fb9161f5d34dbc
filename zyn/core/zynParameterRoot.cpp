#include "zyn/core/zynParameterRoot.h"

#include <algorithm>
#include <regex>
#include <vector>

#include "zyn/core/zynParameterError.h"
#include "zyn/core/zynParameterIter.h"
#include "zyn/core/zynParameterLoader.h"
#include "zyn/core/zynParameterMap_internal.h"
#include "zyn/core/zynParameterNotify.h"
#include "zyn/core/zynParameter_internal.h"
#include "zyn/expr/zynEvaluator.h"
#include "zyn/host/zynText.h"

ZYN_DEFINE_TYPE(zynParameterRoot, zynParameterMap)

namespace {

// Keys longer than this are not cut at their brackets for translation:
// each cut looks up the whole text so far, which would make it quadratic.
constexpr size_t long_key = 4096;
// "tool.tool.tool..." reaches the root through itself once per step.
constexpr int max_method_depth = 64;

zynParameterPtr invalid_name() { return zynParameterError::create(PS_ERR_NAME); }

utString folded(const utString& text) {
  utString lower = text;
  return zyndowncase(lower);
}

}  // namespace

zynParameterRoot::zynParameterRoot(const utString& root_type, int version, const utString& root_name)
    : m_version(version), m_root_type(root_type), m_root_name(root_name) {
  set_typename(root_type);
}

zynParameterRoot::zynParameterRoot(const zynParameterRoot& other)
    : zynParameterMap(other),
      m_created(other.m_created),
      m_version(other.m_version),
      m_id(other.m_id),
      m_root_type(other.m_root_type),
      m_root_name(other.m_root_name),
      m_modified(other.m_modified) {}

zynParameterRoot& zynParameterRoot::operator=(const zynParameterRoot& other) {
  if (this == &other) return *this;
  zynParameterMap::operator=(other);
  m_created = other.m_created;
  m_version = other.m_version;
  m_id.become(other.m_id);
  m_root_type = other.m_root_type;
  m_root_name = other.m_root_name;
  m_modified = other.m_modified;
  m_registered = other.m_registered;
  return *this;
}

zynParameterRoot::~zynParameterRoot() = default;

const zynParameterRoot* zynParameterRoot::get_root(const zynParameter* p) {
  for (const zynParameter* up = p ? p->parent() : nullptr; up; up = up->parent())
    if (const zynParameterRoot* root = ut_dynamic_cast(up)) return root;
  return nullptr;
}

int zynParameterRoot::is_locked() const { return get_lock_flag() && !zynParameterNoLock::no_lock(); }

void zynParameterRoot::set_onmodify_param_name(const utString& name) { m_registered.push_back(name); }

zynUniqueIdPtr zynParameterRoot::get_lock_uid(zynParameterPtr, zynRefToObjectId&) {
  return zynUniqueIdPtr(zynUniqueId::create());
}

zynParameterLoader* zynParameterRoot::create_loader(zynPtrClaim, int version) {
  if (is_locked()) return nullptr;
  return new zynParameterLoader(*this, version);
}

void zynParameterRoot::reset() {
  if (is_locked()) return;
  if (size() > 0) {
    zynParameterMap::reset();
    return;
  }
  build_tree(this);
  const utStringcoSList names = m_registered;  // resets may register more
  for (const utString& name : names) (*this)[zynParameterKey(name)]->reset();
}

utString zynParameterRoot::print(int depth) const {
  utString out = "(ROOT:";
  if (!m_root_type.empty()) {
    out += " " + m_root_type;
    if (!m_root_name.empty()) out += ":" + m_root_name;
  }
  if (!is_valid()) out += " !";
  if (is_locked()) out += " #";
  out += ") \n";
  out += print_members(depth, true);
  return out;
}

// --- Lookup -------------------------------------------------------------------------

const utString& zynParameterRoot::lookup_key_synonym(const utString& text) const {
  // Three fixed pairs: comparing is cheaper than hashing every key looked
  // up, and most keys differ from them in length or first character.
  static const utString synonyms[][2] = {{"id", "ID"}, {"root_type", "RootType"}, {"name", "Name"}};
  size_t pair = 0;
  switch (text.size()) {
    case 2: pair = 0; break;
    case 9: pair = 1; break;
    case 4: pair = 2; break;
    default: return text;
  }
  return text[0] == synonyms[pair][0][0] && text == synonyms[pair][0] ? synonyms[pair][1] : text;
}

// The unbracketed parts are translated as one growing path ("a[1].b" asks
// for "a", then "a.b"); the brackets are copied as written in between. Until
// a part translates, the result is the text itself and is not built.
const utString& zynParameterRoot::translate_key(const utString& text) const {
  static utString result;
  if (text.find('[') == utString::npos) return lookup_key_synonym(text);
  if (text.size() > long_key) return text;
  utString out, path;
  size_t done = 0;
  bool changed = false;
  for (size_t pos = 0;;) {
    const size_t open = text.find('[', pos);
    path.append(text, pos, (open == utString::npos ? text.size() : open) - pos);
    const utString& translated = lookup_key_synonym(path);
    if (!changed && &translated != &path && translated != path) {
      changed = true;
      out.assign(text, 0, pos);  // what the unchanged parts before gave
      done = path.size() - ((open == utString::npos ? text.size() : open) - pos);
    }
    if (changed) {
      if (translated.size() > done) out.append(translated, done, utString::npos);
      done = std::max(done, translated.size());
    }
    if (open == utString::npos) break;
    const size_t close = text.find(']', open);
    if (close == utString::npos) return text;
    if (changed) out.append(text, open, close - open + 1);
    pos = close + 1;
  }
  if (!changed) return text;
  result = std::move(out);
  return result;
}

zynParameterPtr zynParameterRoot::root_lookup(const zynParameterKey& key, bool writable) const {
  // Inside a function body lookups find functions only: not what is kept.
  if (zyn_lookup_functions_only() || zyn_eval_reference()) return walk(key, writable);
  const uint64_t generation = zyn_eval_generation();
  if (!m_found) m_found.reset(new FoundMember[found_slots]);
  FoundMember& slot = m_found[(reinterpret_cast<uintptr_t>(key.impl().get()) >> 4) % found_slots];
  if (slot.key == key.impl() && slot.generation == generation && slot.writable == writable)
    return slot.external ? zynParameterPtr(coPrfExternal, slot.member) : zynParameterPtr(slot.member);
  zynParameterPtr found = walk(key, writable);
  const zynParameter* member = found.raw();
  if (zyn_eval_generation() == generation && member && !member->is_error() && member->is_held_below(this)) {
    slot = FoundMember{key.impl(), generation, const_cast<zynParameter*>(member), writable, found.external() != 0};
  }
  return found;
}

zynParameterPtr zynParameterRoot::walk(const zynParameterKey& key, bool writable) const {
  const utString& text = key.str();
  const utString& translated = translate_key(text);
  const zynParameterKey wanted = translated == text ? key : zynParameterKey(translated);
  zynParameterPtr found = lookup(wanted, writable);
  if (!zyn_is_lookup_failure(*found)) return found;
  zynParameterPtr method = lookup_method(wanted);
  return zyn_is_lookup_failure(*method) ? found : method;
}

const zynParameterPtr zynParameterRoot::operator[](const zynParameterKey& key) const { return root_lookup(key, false); }

zynParameterPtr zynParameterRoot::operator[](const zynParameterKey& key) { return root_lookup(key, true); }

zynParameterPtr zynParameterRoot::lookup_method(const zynParameterKey& key) const {
  if (key.type() != PT_MAP) return invalid_name();
  const utString name = folded(key.first());
  if ((!m_root_type.empty() && name == folded(m_root_type)) || name == "rootpar") {
    if (key.remainder_str().empty()) return zynParameterPtr(coPrfExternal, this);
    if (m_method_depth >= max_method_depth) return invalid_name();
    ++m_method_depth;
    zynParameterPtr result = (*this)[key.remainder()];
    --m_method_depth;
    return result;
  }
  if (name == "roottype") return zyn_create_string(m_root_type);
  if (name == "name") return zyn_create_string(m_root_name);
  if (name == "id") {
    const zynUniqueId* uid = m_id.get_uid().get_uid();
    return zyn_create_string(uid ? uid->hex_string() : utString());
  }
  return invalid_name();
}

// --- Activity tables -----------------------------------------------------------------

namespace {

// Runs of characters that a name path can hold: no match of the pattern
// spans anything else, and runs longer than any real path are skipped so
// that the regular-expression engine never sees a huge subject.
constexpr size_t max_path_run = 1024;

bool is_path_char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

const std::regex* name_pattern() {
  static const std::regex* pattern = []() -> const std::regex* {
    try {
      static const std::regex compiled("[A-Z]\\w*(?:\\.[A-Z]\\w*)*");
      return &compiled;
    } catch (const std::regex_error&) {
      return nullptr;
    }
  }();
  return pattern;
}

// Returns the distinct names in "expr" that may denote parameters.
utStringcoSet names_in(const utString& expr) {
  utStringcoSet names;
  const std::regex* pattern = name_pattern();
  if (!pattern) return names;
  for (size_t pos = 0; pos < expr.size();) {
    if (!is_path_char(expr[pos])) {
      ++pos;
      continue;
    }
    size_t end = pos;
    while (end < expr.size() && is_path_char(expr[end])) ++end;
    if (end - pos <= max_path_run) {
      try {
        auto first = expr.begin() + static_cast<std::ptrdiff_t>(pos);
        auto last = expr.begin() + static_cast<std::ptrdiff_t>(end);
        for (std::sregex_iterator m(first, last, *pattern), done; m != done; ++m) {
          utString name = m->str();
          if (name != "AND" && name != "OR") names.insert(std::move(name));
        }
      } catch (const std::regex_error&) {
        // A run the engine cannot handle contributes nothing.
      }
    }
    pos = end;
  }
  return names;
}

using KeyOf = std::unordered_map<const zynParameter*, utString>;

// Returns the key texts of the tree's parameters that the activity
// condition of "x" reads, each name evaluated in the scope of "x".
utStringcoSet condition_reads(const zynParameter& x, const KeyOf& keys) {
  utStringcoSet reads;
  const utString& expr = x.get_active_expr();
  if (expr.empty() || expr == "1") return reads;
  for (const utString& name : names_in(expr)) {
    zynEvaluator evaluator(&x);
    zynParameterPtr result = evaluator.evaluate(name);
    auto found = keys.find(result.raw());
    if (found == keys.end() && result.raw()) found = keys.find(result.raw()->get_ref());
    if (found != keys.end()) reads.insert(found->second);
  }
  return reads;
}

}  // namespace

void zynParameterRoot::build_active_expr_pars_table(const zynParameterRoot& root, utStringutStringSetcoTable& table) {
  KeyOf keys;
  std::vector<const zynParameter*> order;
  zynParameterIter walk(&root);
  walk.exclude_functions(0);
  while (++walk) {
    const zynParameter* p = walk().raw();
    if (keys.emplace(p, walk.index().str()).second) order.push_back(p);
  }
  // Conditions of shared ancestors are read once.
  std::unordered_map<const zynParameter*, utStringcoSet> reads_of;
  for (const zynParameter* p : order) {
    utStringcoSet reads;
    for (const zynParameter* x = p; x; x = x->parent()) {
      auto known = reads_of.find(x);
      if (known == reads_of.end()) known = reads_of.emplace(x, condition_reads(*x, keys)).first;
      reads.insert(known->second.begin(), known->second.end());
      if (x == &root) break;
    }
    table[keys[p]] = std::move(reads);
  }
}

void zynParameterRoot::build_par_dependency_table(const zynParameterRoot& root, utStringutStringSetcoTable& table) {
  if (!table.empty()) return;
  utStringutStringSetcoTable reads;
  build_active_expr_pars_table(root, reads);
  for (const auto& entry : reads)
    for (const utString& read : entry.second) table[read].insert(entry.first);
}
