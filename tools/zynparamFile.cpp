#include "zynparamFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

ZYN_DEFINE_TYPE(zynToolRoot, zynParameterRoot)

namespace {

// Lookups that find no member answer an error or a value of their own (a
// root's pseudo-members, the built-ins), neither of which has a parent.
bool is_missing(const zynParameterPtr& p) { return p->parent() == nullptr; }

bool is_index(const zynParameterKey& key) { return zynParameterKey(key.last()).type() == PT_ARRAY; }

bool is_number_text(const utString& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  const char* begin = text.c_str();
  char* end = nullptr;
  std::strtod(begin, &end);
  return end == begin + text.size() && std::isdigit(static_cast<unsigned char>(text.back()));
}

// A loader that gives every entry the tree lacks a parameter of its own:
// missing containers become maps (or arrays, for index keys), values a
// parameter inferred from their text.
class zynToolLoader : public zynParameterLoader {
 public:
  zynToolLoader(zynParameterRoot& root, int version) : zynParameterLoader(root, version) {}

  int load_par(const zynParameterKey& key, const utString& text) override {
    if (key.empty()) return zynParameterLoader::load_par(key, text);
    zynParameterRoot& root = m_root;
    zynParameterPtr existing = root[key];
    if (!is_missing(existing) && !m_pending.count(existing.pointer())) {
      add_state(existing, text);
      return zynParameterLoader::load_par(key, text);
    }
    if (!is_missing(existing)) {
      // An entry first seen as an empty text that turns out to be an array.
      make_array(key);
      return 0;
    }
    if (!ensure_container(key.parent())) return 1;
    zynParameterPtr p = zyn_tool_infer_par(text);
    if (text.empty()) m_pending.insert(p.pointer());
    if (!place(key, p)) return 1;
    if (zynParameter::get_type(*p) == PT_STRING) static_cast<zynToolRoot&>(root).note_inferred(key);
    return zynParameterLoader::load_par(key, text);
  }

 private:
  // An enumeration made from a type code knows no states (they are the
  // host's): the saved one becomes its state.
  static void add_state(const zynParameterPtr& p, const utString& text) {
    zynParameterEnum* e = zynParameterEnum::ut_dynamic_cast(p.pointer());
    if (e && e->num_states() == 0 && !text.empty()) e->add_state(text, utString(), utString(), utString());
  }

  // Adds "p" at "key", appending to an array the tool made.
  bool place(const zynParameterKey& key, const zynParameterPtr& p) {
    zynParameterRoot& root = m_root;
    if (is_index(key)) {
      zynParameterPtr array = key.parent().empty() ? zynParameterPtr() : root[key.parent()];
      if (array.is_null() || zynParameter::get_type(*array) != PT_ARRAY) return false;
      return !array->add(zynParameterKey(), p)->is_error();
    }
    return define_par(key, p) == 0;
  }

  void make_array(const zynParameterKey& key) {
    zynParameterRoot& root = m_root;
    zynParameterPtr old = root[key];
    m_pending.erase(old.pointer());
    zynParameterPtr array(new zynParameterArray());
    static_cast<zynToolRoot&>(root).note_array(key);
    zynParameterPtr container = key.parent().empty() ? zynParameterPtr(coPrfExternal, &root) : root[key.parent()];
    zyn_tool_replace(container, key.last(), array);
  }

  // Makes sure the container "key" exists; an element key makes an array.
  bool ensure_container(const zynParameterKey& key) {
    if (key.empty()) return true;
    zynParameterRoot& root = m_root;
    zynParameterPtr existing = root[key];
    if (!is_missing(existing)) {
      if (m_pending.count(existing.pointer())) make_array(key);
      return zynParameter::get_type(*root[key]) == PT_MAP || zynParameter::get_type(*root[key]) == PT_ARRAY;
    }
    if (!ensure_container(key.parent())) return false;
    return place(key, zynParameterPtr(new zynParameterMap()));
  }

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
  std::ifstream in(path, std::ios::binary);
  if (!in) throw zynToolError(path + ": cannot open file: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw zynToolError(path + ": cannot read file");
  return text.str();
}

std::string load_failure(const std::string& path, zynParameterSerialError e, const zynParameterSerializer& s) {
  const std::string where = path + ":" + std::to_string(s.get_error_line()) + ":" +
                            std::to_string(s.get_error_column()) + ": ";
  switch (e) {
    case PSE_SYNTAX:
      return where + "syntax error";
    case PSE_STREAM:
      return where + "unexpected end of file";
    default:
      return path + ": not a saved parameter file";
  }
}

}  // namespace

zynToolRoot::zynToolRoot(const utString& root_type, int version, const utString& root_name)
    : zynParameterRoot(root_type, version, root_name), m_lib(new zynParameterLib()) {}

zynParameterLoader* zynToolRoot::create_loader(zynPtrClaim, int version) {
  return is_locked() ? nullptr : new zynToolLoader(*this, version);
}

zynParameterPtr zynToolRoot::lookup_method(const zynParameterKey& key) const {
  zynParameterPtr found = zynParameterRoot::lookup_method(key);
  if (!found->is_error()) return found;
  return (*m_lib)[key];
}

zynParameterPtr zyn_tool_infer_par(const utString& text) {
  if (!text.empty() && text[0] == '&') return zynParameterPtr(new zynParameterRef(text.substr(1)));
  if (is_number_text(text)) return zynParameterPtr(new zynParameterNumeric(PS_REAL, zynDimensions(ZYN_DIM_NONE), 0.0));
  return zynParameterPtr(new zynParameterString());
}

void zyn_tool_replace(const zynParameterPtr& container, const utString& name, const zynParameterPtr& p) {
  if (zynParameter::get_type(*container) == PT_ARRAY) {
    container->remove(zynParameterKey(name));
    container->add(zynParameterKey(name), p);
    return;
  }
  // Maps append: take out the members that follow, then put them back.
  std::vector<std::pair<zynParameterKey, zynParameterPtr>> after;
  bool seen = false;
  for (zynMapParIter walk(container, *zynParameterMap::ut_dynamic_cast(container.pointer())); ++walk;) {
    if (seen) after.emplace_back(walk.index(), walk());
    if (walk.index().str() == name) seen = true;
  }
  container->remove(zynParameterKey(name));
  for (const auto& member : after) container->remove(member.first);
  container->add(zynParameterKey(name), p);
  for (const auto& member : after) container->add(member.first, member.second);
}

void zynToolRoot::settle_inferred() {
  // An expression over numbers reads as a real (a kind with a type code, so
  // that a file saved with type information keeps it); texts that refer to other
  // inferred texts settle on a later round.
  for (bool changed = true; changed;) {
    changed = false;
    for (auto it = m_inferred.begin(); it != m_inferred.end();) {
      zynParameterPtr p = (*this)[zynParameterKey(*it)];
      zynParameterPtr value = zynParameter::get_type(*p) == PT_STRING ? zynEvaluator(p.pointer()).evaluate(p->get_expr())
                                                      : zynParameterPtr();
      const zynParameterNumeric* number =
          value.is_null() ? nullptr : zynParameterNumeric::ut_dynamic_cast(value.pointer());
      if (!number && !value.is_null()) {
        ++it;
        continue;
      }
      if (number) {
        zynParameterPtr replacement(new zynParameterNumeric(PS_REAL, number->get_dim(), 0.0));
        replacement->set_string(p->get_expr());
        const zynParameterKey key(*it);
        zynParameterPtr container = key.parent().empty() ? zynParameterPtr(coPrfExternal, this) : (*this)[key.parent()];
        zyn_tool_replace(container, key.last(), replacement);
        changed = true;
      }
      it = m_inferred.erase(it);
    }
  }
  m_inferred.clear();
  for (const utString& key : m_arrays) settle_array(zynParameterKey(key));
  m_arrays.clear();
}

void zynToolRoot::settle_array(const zynParameterKey& key) {
  // A list of elements of one kind keeps its kind in a file saved with type
  // information; a plain array has no type code.
  zynParameterPtr array = (*this)[key];
  if (zynParameter::get_subtype(*array) != PS_ARRAY || array->size() == 0) return;
  const zynParameterPtr first = (*array)[zynParameterKey(0, utString())];
  const zynParameterSubType kind = zynParameter::get_subtype(*first);
  if (kind != PS_REAL && kind != PS_STRING && kind != PS_MAP) return;
  for (int i = 1; i < array->size(); ++i)
    if (zynParameter::get_subtype(*(*array)[zynParameterKey(i, utString())]) != kind) return;
  zynParameterPtr prototype(kind == PS_MAP ? static_cast<zynParameter*>(new zynParameterMap())
                                           : first->create_new());
  if (kind == PS_REAL) prototype->set_string("0.0");
  if (kind == PS_STRING) prototype->set_string(utString());
  zynParameterPtr list(new zynParameterList(prototype));
  for (int i = 0; i < array->size(); ++i) {
    const zynParameterPtr element = (*array)[zynParameterKey(i, utString())];
    zynParameterPtr added = list->add(zynParameterKey(), element);
    if (kind != PS_MAP) added->set_string(zynParameterScalar::ut_dynamic_cast(element.pointer())->get_value());
  }
  zynParameterPtr container = key.parent().empty() ? zynParameterPtr(coPrfExternal, this) : (*this)[key.parent()];
  zyn_tool_replace(container, key.last(), list);
}

int zyn_tool_has_typeinfo(const std::string& text) {
  bool last_was_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (c != '"') {
      last_was_string = false;
      continue;
    }
    if (last_was_string) return 1;
    for (++i; i < text.size() && text[i] != '"'; ++i)
      if (text[i] == '\\') ++i;
    last_was_string = true;
  }
  return 0;
}

zynToolFile zyn_tool_load(const std::string& path) {
  const std::string text = read_file(path);
  utString type;
  int version = 0;
  zynHeaderReader(text).read(type, version);
  zynParameterPtr root(new zynToolRoot(type, version, utString()));
  zynParameterSerializer serializer;
  std::istringstream in(text);
  zynParameterRoot& tree = *zynParameterRoot::ut_dynamic_cast(root.pointer());
  const zynParameterSerialError e = serializer.load(tree, in, 0);
  if (e != PSE_OK && e != PSE_FAILED_PARS) throw zynToolError(load_failure(path, e, serializer));
  static_cast<zynToolRoot&>(tree).settle_inferred();
  zynToolFile file;
  file.root = root;
  file.failed = serializer.failed_pars();
  file.typeinfo = zyn_tool_has_typeinfo(text);
  const size_t body = text.find('}');
  file.compact = body != std::string::npos && text.find('\n', body) == std::string::npos;
  return file;
}

void zyn_tool_save(const zynParameterRoot& root, const std::string& path, const zynToolSaveOptions& options) {
  zynParameterSerializer serializer;
  serializer.set_compact_mode(options.compact);
  serializer.set_save_typeinfo(options.typeinfo);
  serializer.set_evaluate(options.evaluate);
  serializer.set_save_inactive(1);
  std::ostringstream out;
  if (serializer.save(root, out) != PSE_OK) throw zynToolError(path + ": the tree cannot be saved");
  std::string temp = path + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw zynToolError(path + ": cannot write file: " + std::strerror(errno));
  temp = name.data();
  // The new file keeps the mode of the one it replaces (mkstemp makes it private).
  struct stat old_mode;
  if (::stat(path.c_str(), &old_mode) == 0) {
    ::fchmod(fd, old_mode.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  const std::string data = out.str();
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  const bool ok = written == data.size() && ::fsync(fd) == 0;
  const int close_rc = ::close(fd);
  if (!ok || close_rc != 0 || std::rename(temp.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temp.c_str());
    throw zynToolError(path + ": cannot write file: " + reason);
  }
}
