#include "zynparamFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <charconv>
#include <deque>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "zynparamText.h"

ZYN_DEFINE_TYPE(zynToolRoot, zynParameterLibRoot)

namespace {

bool is_number_text(const utString& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  std::strtod(begin, &end);
  return end == begin + text.size() && std::isdigit(static_cast<unsigned char>(text.back()));
}

// A plain array whose elements the tool replaces in place while it settles
// what it inferred; the public interface only inserts and removes, which
// shifts every following element.
class zynToolArray : public zynParameterArray {
 public:
  ZYN_DECLARE_TYPE(zynToolArray, zynParameterArray)
  void replace_element(int i, const zynParameterPtr& p) {
    // The slot belongs to this array, which is not const.
    zynParameterPtr& slot = const_cast<zynParameterPtr&>(element(i));
    release_child(slot);
    link_par(p);
    slot = p;
  }
};
ZYN_DEFINE_TYPE(zynToolArray, zynParameterArray)

bool is_index_component(const utString& component) { return !component.empty() && component[0] == '['; }

int component_index(const utString& component) {
  int i = -1;
  std::from_chars(component.data() + 1, component.data() + component.size() - 1, i);
  return i;
}

// The components of the canonical key text "key": "a.b[2]" gives "a", "b", "[2]".
// Names hold neither "." nor "[", so the text splits without parsing.
std::vector<utString> key_components(const utString& key) {
  std::vector<utString> out;
  for (size_t at = 0; at < key.size();) {
    if (key[at] == '.') {
      ++at;
      continue;
    }
    size_t end = key[at] == '[' ? key.find(']', at) : key.find_first_of(".[", at);
    end = end == utString::npos ? key.size() : end + (key[at] == '[' ? 1 : 0);
    out.push_back(key.substr(at, end - at));
    at = end;
  }
  return out;
}

// Returns the member "component" of "container", or null.
zynParameterPtr child(const zynParameterPtr& container, const utString& component) {
  if (is_index_component(component)) {
    const zynParameterArray* array = zynParameterArray::ut_dynamic_cast(container.pointer());
    const int i = component_index(component);
    return array && i >= 0 && i < array->size() ? array->get_element(i) : zynParameterPtr();
  }
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(container.pointer());
  const zynParameterMapMember* member = map ? map->find_member(component) : nullptr;
  return member ? member->value : zynParameterPtr();
}

// A loader that gives every entry the tree lacks a parameter of its own:
// missing containers become maps (or arrays, for index keys), values a
// parameter inferred from their text. It walks keys one component at a
// time from the root, so deep keys cost their length, and it never takes
// a root's pseudo-member ("Name") or a built-in for an entry.
class zynToolLoader : public zynParameterLoader {
 public:
  zynToolLoader(zynToolRoot& root, int version) : zynParameterLoader(root, version), m_tool(root) {}

  int load_par(const zynParameterKey& key, const utString& text) override {
    if (key.empty()) return zynParameterLoader::load_par(key, text);
    const std::vector<utString> path = key_components(key.str());
    const zynParameterPtr container = path.empty() ? zynParameterPtr() : reach_container(path);
    if (container.is_null()) return 1;
    const zynToolPlace place{container, path.back()};
    zynParameterPtr p = child(container, place.component);
    if (!p.is_null()) {
      m_pending.erase(p.pointer());
      return apply(key, p, text);
    }
    p = zyn_tool_infer_par(text);
    if (!place_new(place, p)) return 1;
    if (text.empty()) m_pending.insert(p.pointer());
    if (zynParameter::get_subtype(*p) == PS_STRING && !p->is_ref()) m_tool.note_inferred(place);
    return apply(key, p, text);
  }

 private:
  // Applies "text" to "p" as the library's loader does, and refuses a text
  // for a container, whose value would be lost.
  int apply(const zynParameterKey& key, const zynParameterPtr& p, const utString& text) {
    zynParameter& par = *p;
    const bool is_ref_text = !text.empty() && text[0] == '&';
    const zynParameterType type = zynParameter::get_type(par);
    if ((type == PT_MAP || type == PT_ARRAY) && !par.is_ref() && !text.empty()) return 1;
    m_loaded.push_back(key.str());
    if (par.is_ref() && is_ref_text) {
      par.set_string("&" + zynEvaluator::localize(text.substr(1)));
      return 0;
    }
    if (type == PT_ARRAY) return 0;
    add_state(p, text);
    const bool localise = type == PT_NUMERIC || (!text.empty() && text[0] == '=');
    par.set_string(localise ? zynEvaluator::localize(text) : text);
    return 0;
  }

  // An enumeration made from a type code knows no states (they are the
  // host's): the saved one becomes its state.
  static void add_state(const zynParameterPtr& p, const utString& text) {
    zynParameterEnum* e = zynParameterEnum::ut_dynamic_cast(p.pointer());
    if (e && e->num_states() == 0 && !text.empty()) e->add_state(text, utString(), utString(), utString());
  }

  // Adds "p" at "place"; an index past the end of a tool's array first
  // fills the empty slots before it, so positions survive.
  bool place_new(const zynToolPlace& place, const zynParameterPtr& p) {
    zynParameter& container = *place.container;
    if (!is_index_component(place.component)) {
      return container.add(zynParameterKey(place.component), p).raw() == p.raw();
    }
    if (!zynToolArray::ut_dynamic_cast(&container)) return false;
    const int i = component_index(place.component);
    while (i > container.size()) container.add(zynParameterKey(), zynParameterPtr(new zynParameterString()));
    return i == container.size() && container.add(zynParameterKey(), p).raw() == p.raw();
  }

  // Returns the container of the entry at "path", making the containers
  // that are missing; an entry first seen as an empty text becomes an array
  // when an element of it arrives.
  zynParameterPtr reach_container(const std::vector<utString>& path) {
    zynParameterPtr at(coPrfExternal, &m_root);
    for (size_t i = 0; i + 1 < path.size(); ++i) {
      const zynToolPlace place{at, path[i]};
      zynParameterPtr next = child(at, path[i]);
      if (!next.is_null() && m_pending.count(next.pointer()) && is_index_component(path[i + 1])) {
        m_pending.erase(next.pointer());
        next = zynParameterPtr(new zynToolArray());
        m_tool.replace(place, next);
        m_tool.note_array(place);
      } else if (next.is_null()) {
        next = zynParameterPtr(is_index_component(path[i + 1]) ? static_cast<zynParameter*>(new zynToolArray())
                                                                 : new zynParameterMap());
        if (!place_new(place, next)) return zynParameterPtr();
        if (is_index_component(path[i + 1])) m_tool.note_array(place);
      }
      const zynParameterType t = zynParameter::get_type(*next);
      if ((t != PT_MAP && t != PT_ARRAY) || next->is_ref()) return zynParameterPtr();
      at = next;
    }
    return at;
  }

  void associate(const zynParameterKey& key, const zynUniqueIdPtr& uid) override {
    zynParameterPtr at(coPrfExternal, &m_root);
    for (const utString& component : key_components(key.str())) {
      at = child(at, component);
      if (at.is_null()) return;
    }
    m_tool.set_lock(*at, uid);
  }

  zynToolRoot& m_tool;
  // Parameters made from an empty text: an empty string, or an array whose
  // elements follow.
  std::set<const zynParameter*> m_pending;
};

// Reads the header map's "type" and "version"; leaves them as they are when
// the text does not start with a readable header (the load reports it).
class zynHeaderReader {
 public:
  explicit zynHeaderReader(const std::string& text) : m_text(text) {}

  void read(utString& type, int& version) {
    if (!punct('{')) return;
    for (;;) {
      utString name, value;
      if (!quoted(name) || !punct(':') || !quoted(value)) return;
      if (name == "type") type = value;
      if (name == "version") version = std::atoi(value.c_str());
      if (punct('}')) return;
      if (!punct(',')) return;
    }
  }

 private:
  void skip_space() {
    while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at]))) ++m_at;
  }
  bool punct(char c) {
    skip_space();
    if (m_at >= m_text.size() || m_text[m_at] != c) return false;
    ++m_at;
    return true;
  }
  bool quoted(utString& out) {
    if (!punct('"')) return false;
    while (m_at < m_text.size() && m_text[m_at] != '"') {
      if (m_text[m_at] == '\\') ++m_at;
      if (m_at < m_text.size()) out += m_text[m_at++];
    }
    return m_at++ < m_text.size();
  }

  const std::string& m_text;
  size_t m_at = 0;
};

std::string read_file(const std::string& path) {
  if (path == "-") {
    std::ostringstream text;
    text << std::cin.rdbuf();
    if (std::cin.bad()) throw zynToolError("standard input: cannot read");
    return text.str();
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw zynToolError(path + ": cannot open file: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw zynToolError(path + ": cannot read file");
  return text.str();
}

// Line "line" (from 1) of "text" and a caret under column "column" (from 1),
// each on a line of its own; tabs stay so that the caret lines up.
std::string caret_lines(const std::string& text, int line, int column) {
  if (line < 1 || column < 1) return std::string();
  size_t begin = 0;
  for (int i = 1; i < line; ++i) {
    const size_t end = text.find('\n', begin);
    if (end == std::string::npos) return std::string();
    begin = end + 1;
  }
  std::string shown = text.substr(begin, text.find('\n', begin) - begin);
  if (!shown.empty() && shown.back() == '\r') shown.pop_back();
  if (shown.empty() || shown.size() > 200) return std::string();  // a compact file is one long line
  std::string under;
  for (size_t i = 0; i + 1 < static_cast<size_t>(column) && i < shown.size(); ++i) under += shown[i] == '\t' ? '\t' : ' ';
  return "\n" + shown + "\n" + under + "^";
}

std::string load_failure(const std::string& path, zynParameterSerialError e, const zynParameterSerializer& s,
                         const std::string& text) {
  const std::string where = path + ":" + std::to_string(s.get_error_line()) + ":" +
                            std::to_string(s.get_error_column()) + ": ";
  const std::string caret = caret_lines(text, s.get_error_line(), s.get_error_column());
  switch (e) {
    case PSE_SYNTAX:
      return where + "syntax error" + caret;
    case PSE_STREAM:
      return where + "unexpected end of file" + caret;
    default:
      return path + ": not a saved parameter file";
  }
}

}  // namespace

zynToolRoot::zynToolRoot(const utString& root_type, int version, const utString& root_name)
    : zynParameterLibRoot(root_type, version, root_name) {}

zynParameterLoader* zynToolRoot::create_loader(zynPtrClaim, int version) {
  return is_locked() ? nullptr : new zynToolLoader(*this, version);
}

zynParameterPtr zyn_tool_infer_par(const utString& text) {
  if (!text.empty() && text[0] == '&') return zynParameterPtr(new zynParameterRef(text.substr(1)));
  if (is_number_text(text)) return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0));
  return zynParameterPtr(new zynParameterString());
}

const zynRefToObjectId zynToolRoot::get_lock_id_imp(const zynParameter& p) const {
  auto found = m_locks.find(&p);
  return found != m_locks.end() ? found->second : zynParameterRoot::get_lock_id_imp(p);
}

zynUniqueIdPtr zynToolRoot::get_lock_uid(zynParameterPtr, zynRefToObjectId& id) { return id.get_uid(); }

void zynToolRoot::replace(const zynToolPlace& place, const zynParameterPtr& p) {
  zynParameter& container = *place.container;
  if (is_index_component(place.component)) {
    const int i = component_index(place.component);
    if (zynToolArray* array = zynToolArray::ut_dynamic_cast(&container)) {
      array->replace_element(i, p);
    } else {
      container.remove(zynParameterKey(i, utString()));
      container.add(zynParameterKey(i, utString()), p);
    }
    return;
  }
  // While loading, the member replaced is the last one read, so appending
  // keeps the order; while settling, the order is noted and restored.
  const zynParameterMap* map = zynParameterMap::ut_dynamic_cast(&container);
  if (m_settling && map && !m_orders.count(map)) {
    std::vector<utString>& names = m_orders[map];
    names.reserve(map->members().size());
    for (const zynParameterMapMember& member : map->members()) names.push_back(member.name);
    m_order_keep.push_back(place.container);
  }
  container.remove(zynParameterKey(place.component));
  container.add(zynParameterKey(place.component), p);
}

void zynToolRoot::restore_order(const zynParameter* map_par) {
  auto noted = m_orders.find(map_par);
  zynParameterMap* map = const_cast<zynParameterMap*>(zynParameterMap::ut_dynamic_cast(map_par));
  if (noted == m_orders.end() || !map) return;
  std::unordered_map<utString, zynParameterPtr> by_name;
  std::vector<std::pair<utString, zynParameterPtr>> members;
  for (const zynParameterMapMember& member : map->members()) {
    by_name.emplace(member.name, member.value);
    members.emplace_back(member.name, member.value);
  }
  std::vector<std::pair<utString, zynParameterPtr>> ordered;
  ordered.reserve(members.size());
  for (const utString& name : noted->second) {
    auto found = by_name.find(name);
    if (found == by_name.end()) continue;
    ordered.emplace_back(name, found->second);
    by_name.erase(found);
  }
  for (const auto& member : members)
    if (by_name.count(member.first)) ordered.push_back(member);
  m_orders.erase(noted);
  map->remove_all();
  for (const auto& member : ordered) map->add(zynParameterKey(member.first), member.second);
}

void zynToolRoot::restore_order() {
  while (!m_orders.empty()) restore_order(m_orders.begin()->first);
  m_order_keep.clear();
}

void zynToolRoot::settle_inferred() {
  m_settling = true;
  settle_strings();
  restore_order();
  for (auto place = m_arrays.rbegin(); place != m_arrays.rend(); ++place) settle_array(*place);  // inner first
  restore_order();
  m_settling = false;
  m_inferred.clear();
  m_arrays.clear();
}

// A string whose text reads as a number, or fails after reading other
// members of the tree, is a formula: it becomes a general numeric holding
// the text, and "check" and "get" see its failure. Texts that read strings
// still to settle are evaluated again when those settle, so each text is
// evaluated about once whatever the order of the entries. While settling, a
// formula that gave a number holds that number, so that texts reading it do
// not evaluate its whole chain again; the texts go back at the end.
void zynToolRoot::settle_strings() {
  std::unordered_map<const zynParameter*, size_t> open;
  std::vector<zynParameterPtr> strings(m_inferred.size());
  std::deque<size_t> work;
  for (size_t i = 0; i < m_inferred.size(); ++i) {
    const zynParameterPtr p = child(m_inferred[i].container, m_inferred[i].component);
    if (p.is_null() || p->is_ref() || zynParameter::get_subtype(*p) != PS_STRING || p->is_expr()) continue;  // "%[...]" stays
    strings[i] = p;
    open.emplace(p.pointer(), i);
    work.push_back(i);
  }
  std::vector<std::vector<size_t>> waiting(m_inferred.size());
  std::vector<std::pair<zynParameterPtr, utString>> pending;  // formulas holding their number
  while (!work.empty()) {
    const size_t i = work.front();
    work.pop_front();
    const zynParameterPtr p = strings[i];
    if (!open.count(p.pointer())) continue;
    zynEvaluator evaluator(p.pointer());
    const utString text = p->get_expr();
    const zynParameterPtr value = evaluator.evaluate(text);
    zynParameterPtrcoDList read;
    evaluator.get_paramset(read);
    bool reads_tree = false;
    for (const zynParameterPtr& q : read) {
      const zynParameter* member = q.pointer();
      if (!member || member == p.pointer() || !member->parent() || zynParameter::get_type(*member) == PT_FUNCTION) continue;
      reads_tree = true;
      auto other = open.find(member);
      if (other != open.end()) waiting[other->second].push_back(i);
    }
    const zynParameterNumeric* number = zynParameterNumeric::ut_dynamic_cast(value.pointer());
    if (!number && !(value->is_error() && reads_tree)) continue;
    zynParameterPtr formula(new zynParameterNumeric(PS_REAL, number ? number->get_dim() : zynDimensions(ZYN_DIM_NONE), 0.0));
    if (number) {
      formula->set_double(number->get_double());
      pending.emplace_back(formula, text);
    } else {
      formula->set_string(text);
    }
    replace(m_inferred[i], formula);
    open.erase(p.pointer());
    for (size_t j : waiting[i]) work.push_back(j);
    waiting[i].clear();
  }
  for (const auto& formula : pending) formula.first->set_string(formula.second);
}

void zynToolRoot::settle_array(const zynToolPlace& place) {
  // A list of elements of one kind keeps its kind in a file saved with type
  // information; a plain array has no type code.
  const zynParameterPtr array = child(place.container, place.component);
  if (array.is_null() || zynParameter::get_subtype(*array) != PS_ARRAY || array->size() == 0) return;
  const zynParameterArray& elements = *zynParameterArray::ut_dynamic_cast(array.pointer());
  const zynParameterPtr first = elements.get_element(0);
  const zynParameterSubType kind = zynParameter::get_subtype(*first);
  if (kind != PS_REAL && kind != PS_STRING && kind != PS_MAP) return;
  for (int i = 1; i < elements.size(); ++i)
    if (zynParameter::get_subtype(*elements.get_element(i)) != kind) return;
  zynParameterPtr prototype(kind == PS_MAP ? static_cast<zynParameter*>(new zynParameterMap()) : first->create_new());
  if (kind == PS_REAL) prototype->set_string("0.0");
  if (kind == PS_STRING) prototype->set_string(utString());
  zynParameterPtr list(new zynParameterList(prototype));
  for (int i = 0; i < elements.size(); ++i) {
    const zynParameterPtr element = elements.get_element(i);
    zynParameterPtr added = list->add(zynParameterKey(), element);
    if (kind != PS_MAP) {
      added->set_string(zynParameterScalar::ut_dynamic_cast(element.pointer())->get_value());
      continue;
    }
    // A list makes its maps from its element type: the members move over.
    restore_order(element.pointer());
    const zynParameterMap& from = *zynParameterMap::ut_dynamic_cast(element.pointer());
    const std::vector<zynParameterMapMember> members(from.members().begin(), from.members().end());
    for (const zynParameterMapMember& member : members) added->add(zynParameterKey(member.name), member.value);
  }
  replace(place, list);
}

zynToolFile zyn_tool_load_text(const std::string& file_text, const std::string& name) {
  // A byte-order mark some editors put first is no part of the text; a
  // rewrite puts it back.
  const std::string bom = "\xEF\xBB\xBF";
  const bool has_bom = file_text.compare(0, bom.size(), bom) == 0;
  const std::string text = has_bom ? file_text.substr(bom.size()) : file_text;
  utString type;
  int version = 0;
  zynHeaderReader(text).read(type, version);
  zynParameterPtr root(new zynToolRoot(type, version, utString()));
  zynParameterSerializer serializer;
  std::istringstream in(text);
  zynParameterRoot& tree = *zynParameterRoot::ut_dynamic_cast(root.pointer());
  const zynParameterSerialError e = serializer.load(tree, in, 0);
  if (e != PSE_OK && e != PSE_FAILED_PARS) throw zynToolError(load_failure(name, e, serializer, text));
  static_cast<zynToolRoot&>(tree).settle_inferred();
  zynToolFile file;
  file.root = root;
  file.failed = serializer.failed_pars();
  for (const utString& key : file.failed) file.losses.push_back("the value of \"" + key + "\"");
  const zynToolText scan(text);
  file.losses.insert(file.losses.end(), scan.losses().begin(), scan.losses().end());
  file.text = text;
  if (has_bom) file.bom = bom;
  return file;
}

zynToolFile zyn_tool_load(const std::string& path) {
  return zyn_tool_load_text(read_file(path), path == "-" ? "standard input" : path);
}

std::string zyn_tool_saved_text(const zynParameterRoot& root, const zynToolSaveOptions& options) {
  zynParameterSerializer serializer;
  serializer.set_compact_mode(options.compact);
  serializer.set_save_typeinfo(options.typeinfo);
  serializer.set_evaluate(options.evaluate);
  serializer.set_save_inactive(1);
  std::ostringstream out;
  if (serializer.save(root, out) != PSE_OK) throw zynToolError("the tree cannot be saved");
  return out.str();
}

// --- Replacing a file ---------------------------------------------------------------

namespace {

// The lock of the write under way, for the signal handler (which may only
// call async-signal-safe functions).
char g_lock_path[4096];

void remove_lock_and_die(int sig) {
  if (g_lock_path[0]) ::unlink(g_lock_path);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void guard_signals(const std::string& lock) {
  if (lock.size() >= sizeof g_lock_path) throw zynToolError(lock + ": path too long");
  std::memcpy(g_lock_path, lock.c_str(), lock.size() + 1);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) ::signal(sig, remove_lock_and_die);
  // A file past the size limit is a write error to report, not a reason to die.
  ::signal(SIGXFSZ, SIG_IGN);
}

bool is_special(const std::filesystem::path& path) {
  const std::string text = std::filesystem::absolute(path).lexically_normal().string();
  return text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0;
}

// Follows symbolic links (at most 40, as the kernel does) to the path they name.
std::string follow_links(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path at(path);
  std::error_code ec;
  for (int i = 0; i < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++i) {
    // Descriptors and devices ("/dev/stdout", "/proc/self/fd/1") are streams, not files to replace.
    if (is_special(at)) return std::string();
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) break;
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return is_special(at) ? std::string() : at.string();
}

std::string directory_of(const std::string& path) {
  const std::string dir = std::filesystem::path(path).parent_path().string();
  return dir.empty() ? "." : dir;
}

}  // namespace

zynToolOutput::zynToolOutput(const std::string& path, bool force) : m_path(path) {
  if (path == "-") return;
  m_target = follow_links(path);
  if (m_target.empty()) throw zynToolError(path + ": not a regular file");
  struct stat st;
  m_exists = ::stat(m_target.c_str(), &st) == 0;
  if (m_exists && !S_ISREG(st.st_mode)) throw zynToolError(path + ": not a regular file");
  if (m_exists && st.st_nlink > 1 && !force)
    throw zynToolError(path + ": has " + std::to_string(st.st_nlink - 1) +
                       " other hard link(s) that a replacement would split (--force writes it in place)");
  if (m_exists && (::access(m_target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0) && !force)
    throw zynToolError(path + ": no write permission (--force replaces it)");
  m_in_place = m_exists && st.st_nlink > 1;
  m_lock = m_target + ".lock";
  m_fd = ::open(m_lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (m_fd < 0 && errno == EEXIST)
    throw zynToolError(m_lock + " exists: another zynparam is writing " + path + " (remove the lock if none is)");
  if (m_fd < 0) throw zynToolError(path + ": cannot write file: " + std::strerror(errno));
  guard_signals(m_lock);
  if (!m_exists) return;
  // The new file keeps the owner, group and mode of the one it replaces.
  if (::fchown(m_fd, ::geteuid() == 0 ? st.st_uid : static_cast<uid_t>(-1), st.st_gid) != 0 && ::geteuid() == 0)
    fail(std::strerror(errno));
  ::fchmod(m_fd, st.st_mode & 07777);
}

zynToolOutput::~zynToolOutput() {
  if (m_fd >= 0) ::close(m_fd);
  if (!m_lock.empty()) ::unlink(m_lock.c_str());
  g_lock_path[0] = '\0';
}

void zynToolOutput::fail(const std::string& reason) {
  throw zynToolError(m_path + ": cannot write file: " + reason);
}

void zynToolOutput::write_all(int fd, const std::string& data) {
  for (size_t done = 0; done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(std::strerror(n < 0 ? errno : ENOSPC));
    done += static_cast<size_t>(n);
  }
}

void zynToolOutput::commit(const std::string& data) {
  if (m_path == "-") {
    std::cout << data << std::flush;
    if (!std::cout) throw zynToolError("standard output: cannot write");
    return;
  }
  write_all(m_fd, data);
  if (::fsync(m_fd) != 0) fail(std::strerror(errno));
  if (m_in_place) {
    // The verified copy stays in the lock file until the file itself holds it.
    const int fd = ::open(m_target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) fail(std::strerror(errno));
    try {
      write_all(fd, data);
    } catch (...) {
      ::close(fd);
      throw;
    }
    const bool synced = ::fsync(fd) == 0;
    if (::close(fd) != 0 || !synced) fail(std::strerror(errno));
    return;
  }
  const int rc = ::close(m_fd);
  m_fd = -1;
  if (rc != 0) fail(std::strerror(errno));
  if (std::rename(m_lock.c_str(), m_target.c_str()) != 0) fail(std::strerror(errno));
  m_lock.clear();  // renamed: it is the file now, and another writer may take a new lock
  g_lock_path[0] = '\0';
  const int dir = ::open(directory_of(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}
