// Reading saved trees: the tokenizer, the recursive reader of maps and
// arrays, typed entries and lock ids, and the version check and migration.
// The text format is described in zynParameterSerializer.h.
#include "zyn/io/zynParameterSerializer_internal.h"

#include <algorithm>
#include <cctype>
#include <typeinfo>
#include <istream>
#include <sstream>
#include <streambuf>

#include "zyn/collections/zynParameterData.h"
#include "zyn/collections/zynParameterList.h"
#include "zyn/collections/zynParameterRef.h"
#include "zyn/collections/zynParameterSharedList.h"
#include "zyn/collections/zynParameterVector.h"
#include "zyn/core/zynParameterLoader.h"
#include "zyn/core/zynParameterUpdater.h"
#include "zyn/core/zynPrefetch_internal.h"
#include "zyn/host/zynNumberText.h"
#include "zyn/host/zynShortText_internal.h"
#include "zyn/library/zynEvalFunction.h"
#include "zyn/library/zynParameterFunction.h"
#include "zyn/values/zynParameterEnum.h"
#include "zyn/values/zynParameterNumeric.h"
#include "zyn/values/zynParameterString.h"

namespace {

// A type code from a file may not build more parameters than this, nor nest
// deeper: "V9999V9999S" must not exhaust memory.
constexpr size_t max_code_weight = 1 << 20;
constexpr int max_code_depth = 64;

// The skip value of entries that have no place in the receiving tree (not
// merely unselected): nothing is defined below them either.
constexpr int skip_unplaced = 2;

// The entry names whose keys a serializer keeps: their number (a power of
// two, room for the names of a large tree without many sharing a slot) and
// their greatest length.
constexpr size_t name_key_slots = 4096;
constexpr size_t max_kept_name = 64;

// Returns true for a loader of the library's own class, not a host's.
bool is_library_loader(const zynParameterLoader* loader) {
  return loader && typeid(*loader) == typeid(zynParameterLoader);
}

// The classes of characters the tokenizer scans over: white space between
// tokens (what std::isspace gives in the "C" locale), what ends the plain
// run of a quoted text, and the punctuation tokens. A text's terminating
// NUL ends a run too, so that a scan needs no separate test for the end of
// the input.
enum : unsigned char { char_plain = 0, char_blank = 1, char_stop = 2, char_punct = 3 };
struct zynCharClasses {
  unsigned char of[256] = {};
  constexpr zynCharClasses() {
    for (char c : {' ', '\t', '\n', '\v', '\f', '\r'}) of[static_cast<unsigned char>(c)] = char_blank;
    for (char c : {'"', '\\', '\0'}) of[static_cast<unsigned char>(c)] = char_stop;
    for (char c : {'{', '}', '(', ')', ',', ':'}) of[static_cast<unsigned char>(c)] = char_punct;
  }
};
constexpr zynCharClasses char_classes;

unsigned char char_class(char c) { return char_classes.of[static_cast<unsigned char>(c)]; }

// A token that needs no more than a scan: a punctuation character (its
// "kind"), or a quoted text without backslashes (kind '"'). Kind 0 leaves
// the token at "at" to next_token(). Positions never pass the end of the
// text, whose NUL is no blank and ends a run.
struct zynQuickToken {
  size_t at;
  size_t end;
  char kind;
  std::string_view text(const char* input) const {
    return kind == '"' ? std::string_view(input + at + 1, end - at - 2) : std::string_view(input + at, 1);
  }
};

zynQuickToken quick_token(const char* text, size_t pos) {
  while (char_class(text[pos]) == char_blank) ++pos;
  const char c = text[pos];
  if (char_class(c) == char_punct) return {pos, pos + 1, c};
  if (c == '"') {
    size_t stop = pos + 1;
    while (char_class(text[stop]) != char_stop) ++stop;
    if (text[stop] == '"') return {pos, stop + 1, '"'};
  }
  return {pos, pos, 0};
}

bool is_missing(const zynParameter& p) { return zynParameter::get_type(p) == PT_ERROR && !p.is_ref(); }

// The number of components of the key text "name" ("a.b[2]" has three).
int key_depth(std::string_view name) {
  return 1 + static_cast<int>(std::count_if(name.begin(), name.end(), [](char c) { return c == '.' || c == '['; }));
}

// Starts fetching the parameter a file saved from a tree of the same shape
// names after the next one.
void prefetch_object(const zynParameter* p) { zyn_prefetch(p, 3); }

bool is_scalar(const zynParameter& p) {
  const zynParameterType t = zynParameter::get_type(p);
  return t == PT_STRING || t == PT_NUMERIC || t == PT_ENUM;
}

zynParameterPtr new_numeric(zynParameterSubType s) {
  return zynParameterPtr(new zynParameterNumeric(s, zynDimensions(ZYN_DIM_NONE), 0.0));
}

// The text of "parent" + "step" (zynParameterKey::operator+), without parsing it.
utString joined_text(const zynParameterKey& parent, const zynParameterKey& step) {
  const utString& left = parent.str();
  if (left.empty()) return step.str();
  utString text;
  text.reserve(left.size() + step.str().size() + 1);
  text = left;
  if (step.type() != PT_ARRAY) text += '.';
  text += step.str();
  return text;
}

}  // namespace

// --- Tokens ----------------------------------------------------------------------

void zynSerializerReader::fail(zynParameterSerialError e) {
  if (m_error != PSE_OK) return;
  m_error = e;
  // Lines and columns count from 1; a stop at the end lies past the last character.
  const size_t at = m_at_end ? m_input.size() : m_token_at;
  const size_t line_start = at == 0 ? utString::npos : m_input.rfind('\n', at - 1);
  m_error_line = 1 + static_cast<int>(std::count(m_input.begin(), m_input.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
  m_error_column = static_cast<int>(at - (line_start == utString::npos ? 0 : line_start + 1)) + 1;
}

// token -> '"' {char | "\" char} '"' | one of { } ( ) , :
void zynSerializerReader::next_token() {
  m_token = std::string_view();
  m_token_quoted = 0;
  if (m_error != PSE_OK) return;
  const char* const text = m_input.c_str();
  const zynQuickToken quick = quick_token(text, m_pos);
  const size_t pos = quick.at;
  m_token_at = pos;
  if (quick.kind) {
    m_pos = quick.end;
    m_token = quick.text(text);
    m_token_quoted = quick.kind == '"';
    return;
  }
  if (text[pos] == '"') {  // a text with backslashes, or one that does not end
    m_token_quoted = 1;
    m_pos = pos + 1;
    if (!read_quoted()) fail(PSE_STREAM);
    return;
  }
  if (pos >= m_input.size()) {
    m_pos = pos;
    m_at_end = 1;
    fail(PSE_STREAM);
    return;
  }
  m_pos = pos + 1;
  m_token = std::string_view(text + pos, 1);
  fail(PSE_SYNTAX);
}

// The separator between two tokens is read past without being stored,
// which is all that next_token() would leave of it.
int zynSerializerReader::next_token_after(char separator) {
  if (m_error == PSE_OK) {
    const char* const text = m_input.c_str();
    const zynQuickToken first = quick_token(text, m_pos);
    if (first.kind == separator) {
      const zynQuickToken second = quick_token(text, first.end);
      if (second.kind) {
        m_token_at = second.at;
        m_pos = second.end;
        m_token = second.text(text);
        m_token_quoted = second.kind == '"';
        return 1;
      }
    }
  }
  next_token();
  if (!is_token(separator)) return 0;
  next_token();
  return 1;
}

// Reads the rest of a quoted string into m_token: a view into the text, or
// the unescaped copy when it holds backslashes. Returns 0 when the text ends first.
int zynSerializerReader::read_quoted() {
  const std::string_view input(m_input);
  const char* const text = m_input.c_str();
  const size_t start = m_pos;
  size_t stop = start;
  // Up to a quote, a backslash, or a NUL (the end, or one inside the text).
  while (char_class(text[stop]) != char_stop) ++stop;
  while (stop < input.size() && text[stop] == '\0') {
    while (char_class(text[++stop]) != char_stop) {}
  }
  if (stop < input.size() && input[stop] == '"') {
    m_token = input.substr(start, stop - start);
    m_pos = stop + 1;
    return 1;
  }
  m_unescaped.assign(input.substr(start, stop - start));
  for (m_pos = stop; m_pos < input.size();) {
    char c = input[m_pos++];
    if (c == '"') {
      m_token = m_unescaped;
      return 1;
    }
    if (c == '\\') {
      if (m_pos >= input.size()) break;
      c = input[m_pos++];
    }
    m_unescaped += c;
  }
  m_pos = input.size();
  m_at_end = 1;
  return 0;
}

// --- Loading -------------------------------------------------------------------

// Copies the value token into m_value_text, reusing its storage (appending
// costs less than assign(), which allows for overlap).
void zynSerializerReader::take_value_text() {
  m_value_text.clear();
  m_value_text += m_token;
}

namespace {

// Reads what is left of "in" into "text".
void read_all(std::streambuf& in, utString& text) {
  text.clear();
  // A string or file buffer tells how much is left: that is read in one
  // piece, without growing the text step by step (each step a new block of
  // memory for a large file).
  const std::streamsize left = std::min<std::streamsize>(in.in_avail(), std::streamsize(1) << 30);
  if (left > 0) {
    text.resize(static_cast<size_t>(left));
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.sgetn(&text[0], left), 0)));
  }
  char chunk[1 << 16];
  for (std::streamsize n; (n = in.sgetn(chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
}

}  // namespace

zynSerializerReader::zynSerializerReader(const zynParameterSerializer& owner)
    : m_owner(owner), m_header(zyn_new_serial_header()) {}

zynSerializerReader::~zynSerializerReader() = default;

zynParameterSerialError zynSerializerReader::read(zynParameterRoot* root, std::istream& in, int keep_existing) {
  zynParameterSerializerCtrl serializing;
  m_keep_existing = keep_existing;
  m_error = PSE_OK;
  m_failed_pars.clear();
  m_loaded_pars.clear();
  m_loaded_keys.clear();
  m_loaded_pending = false;
  m_locked_items.clear();
  m_file_header = zynParameterSerialHeader();
  m_typed = m_compact = 0;
  m_pos = m_token_at = 0;
  m_error_line = m_error_column = 0;
  m_at_end = 0;
  m_nesting = 0;
  m_path.clear();
  m_open.clear();
  m_root = root;
  zynParameterSerialError e = PSE_STREAM;
  std::streambuf* buf = in.good() ? in.rdbuf() : nullptr;
  try {
    // The text is read whole and scanned in place; a stream that can seek
    // is left just after what was read, as if read token by token.
    if (buf) read_all(*buf, m_input);
    if (buf) e = load_header();
    if (e == PSE_OK && root) e = load_body(*root);
    if (buf && m_pos < m_input.size())
      buf->pubseekoff(-static_cast<std::streamoff>(m_input.size() - m_pos), std::ios_base::cur, std::ios_base::in);
  } catch (...) {  // a host stream, loader or updater that throws ends the load
    e = PSE_STREAM;
    if (!m_loaded_pending) m_loaded_keys.clear();  // keys of a body read in part
  }
  m_loader.reset();
  m_open.clear();
  m_in_header = 0;
  m_root = nullptr;
  m_input.clear();
  m_input.shrink_to_fit();
  return e;
}

zynParameterSerialError zynSerializerReader::load_header() {
  m_loader.reset(m_header->create_loader(0, 0));
  m_own_loader = is_library_loader(m_loader.get());
  m_in_header = 1;
  (*m_header)[zynParameterKey("type")]->set_string(utString());
  (*m_header)[zynParameterKey("version")]->set_int(0);
  (*m_header)[zynParameterKey("time")]->set_int(0);
  next_token();
  if (m_error == PSE_OK && !is_token('{')) fail(PSE_SYNTAX);
  load_par(zynParameterKey(), 0);
  m_in_header = 0;
  m_loader.reset();
  take_header();
  return m_error;
}

namespace {

// Returns true when "text" holds white space outside its quoted strings.
bool has_blank_between_tokens(std::string_view text) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '\\') ++i;
    else if (c == '"') quoted = !quoted;
    else if (!quoted && char_class(c) == char_blank) return true;
  }
  return false;
}

}  // namespace

// The stored texts are read, not evaluated: a file's header must not run
// expressions. Save lays the header out as the tree, so the header and the
// character after it tell a compact text without a scan of the tree.
void zynSerializerReader::take_header() {
  const zynParameter& header = *m_header;
  m_file_header.root_type = header[zynParameterKey("type")]->get_expr();
  const zynParameterPtr version = header[zynParameterKey("version")];
  m_file_header.version = version->is_expr() ? 0 : version->get_int();
  const utString time = header[zynParameterKey("time")]->get_expr();
  long long seconds = 0;
  m_file_header.time = zyn_read_number(time, {'.', '.', ZYN_NUMBER_WHOLE, ZYN_OVERFLOW_ERROR}, seconds) ? seconds : 0;
  m_compact = m_error == PSE_OK && !has_blank_between_tokens(std::string_view(m_input).substr(0, m_pos + 1));
}

// Checks the header against "root", reads the body and migrates it.
zynParameterSerialError zynSerializerReader::load_body(zynParameterRoot& root) {
  if (m_file_header.root_type != root.get_root_type()) return PSE_WRONG_ROOT;
  const int file_version = m_file_header.version;
  if (file_version > root.version()) return PSE_NEWER_VERSION;

  m_loader.reset(root.create_loader(0, file_version));
  m_own_loader = is_library_loader(m_loader.get());
  m_loaded_as_is = true;
  m_failed_pars.clear();
  m_loaded_pars.clear();
  m_loaded_keys.clear();  // the header's
  zynParameterUpdater::clear_unrecognised_pars();
  next_token();
  load_par(zynParameterKey(), 0);
  if (m_error != PSE_OK) {
    m_loaded_keys.clear();
    return m_error;
  }
  if (m_loader && m_own_loader) {
    take_loader_keys();
    if (!m_loaded_as_is)
      for (utString& key : m_loaded_keys) key = root.translate_key(key);
    m_loaded_pending = true;
  } else if (m_loader) {
    for (const utString& key : m_loader->loaded_pars()) m_loaded_pars.push_back(root.translate_key(key));
  }
  m_loader.reset();
  if (root.version() != file_version) update_root_version(file_version);
  return m_failed_pars.empty() ? m_error : PSE_FAILED_PARS;
}

void zynSerializerReader::update_root_version(int file_version) {
  if (zynParameterUpdater* updater = m_root->get_updater()) updater->update(file_version, *m_root, loaded_pars());
}

const utStringcoSList& zynSerializerReader::loaded_pars() const {
  if (m_loaded_pending) {
    m_loaded_pars.assign(m_loaded_keys.begin(), m_loaded_keys.end());
    m_loaded_keys.clear();  // its room serves the next load
    m_loaded_pending = false;
  }
  return m_loaded_pars;
}

// Moves the keys the loader recorded itself (values it looked up on its
// own) after those kept so far, so that the order of loading stands.
void zynSerializerReader::take_loader_keys() {
  utStringcoSList& recorded = zynParameterSerializer::loader_record(*m_loader);
  for (utString& key : recorded) m_loaded_keys.push_back(std::move(key));
  recorded.clear();
}

// value -> map | array | string
void zynSerializerReader::load_par(const zynParameterKey& key, int skip) {
  if (m_error != PSE_OK) return;
  if (!skip && selection_active() && !should_include(key)) skip = 1;
  if (is_token('{')) {
    load_map(key, skip);
  } else if (is_token('(')) {
    load_array(key, skip);
  } else if (!m_token_quoted) {
    fail(PSE_SYNTAX);  // punctuation where a value belongs
  } else if (!skip) {
    apply_value(key);
  }
}

void zynSerializerReader::apply_value(const zynParameterKey& key) {
  if (!m_path.empty() && apply_in_container(key.str(), m_path.back())) return;
  // Without a loader (a locked root) no value can be applied.
  take_value_text();
  m_loaded_as_is = false;
  if (!m_loader || m_loader->load_par(key, m_value_text)) m_failed_pars.push_back(key.str());
}

// The library's own loader looks each key up from the root; the container
// being read has the entry at hand, named "step" in it. A key the root
// translates, and an entry the container lacks, are left to the loader.
bool zynSerializerReader::apply_in_container(const utString& key, const zynParameterKey& step) {
  if (step.type() == PT_ERROR || !step.remainder_str().empty()) return false;
  return apply_member(key, step, step.first(), step.last(), false);
}

bool zynSerializerReader::apply_member(const utString& key, const zynParameterKey& step, const utString& first,
                                       const utString& last, bool bracket_free) {
  if (!m_own_loader || m_open.empty() || m_open.back().at.is_null()) return false;
  // What translate_key does with a text that holds no "[".
  const zynParameterRoot& root = m_loader->root();
  const utString& translated = bracket_free ? zynParameterSerializer::key_synonym(root, key) : root.translate_key(key);
  if (&translated != &key && translated != key) return false;
  const zynParameterPtr p = open_member(step, first);
  if (is_missing(*p)) return false;
  take_value_text();
  if (zynParameterSerializer::apply_found(*m_loader, *p, key, last, m_value_text)) {
    m_failed_pars.push_back(key);
    return true;
  }
  if (!zynParameterSerializer::loader_record(*m_loader).empty()) take_loader_keys();
  m_loaded_keys.push_back(key);
  return true;
}

// The key of a plain name is built from the map's key text kept on the
// stack of open containers, without asking the keys for their texts.
bool zynSerializerReader::apply_entry_value(const zynParameterKey& key, const zynNameKey& name) {
  if (!name.plain || m_open.empty()) return apply_in_container(joined_text(key, name.key), name.key);
  const zynOpenContainer& open = m_open.back();
  if (m_entry_prefix_of != open.serial) {
    m_entry_key.assign(open.key);  // the text of "key"
    if (!open.key.empty()) m_entry_key += '.';
    m_entry_prefix = m_entry_key.size();
    m_entry_prefix_of = open.serial;
  }
  m_entry_key.erase(m_entry_prefix);  // inline, where resize() is a call
  m_entry_key += name.text;
  return apply_member(m_entry_key, name.key, name.text, name.text, open.bracket_free);
}

// A plain map is asked first for the member after the one found last: a
// file saved from a tree like the receiving one names the members in their
// order, so most are found without hashing their names. What the map's
// lookup answers otherwise ("_keys", a lookup for functions only) it answers.
zynParameterPtr zynSerializerReader::open_member(const zynParameterKey& step, const utString& name) {
  zynOpenContainer& open = m_open.back();
  zynParameter& at = *open.at;
  if (!open.plain_map || (name.size() == 5 && name == "_keys")) return at[step];
  const zynParameterMapMembers& members = static_cast<const zynParameterMap&>(at).members();
  const zynParameterMapMember* m = open.next < members.size() && zyn_same_text(members[open.next].name, name)
                                       ? &members[open.next]
                                       : static_cast<const zynParameterMap&>(at).find_member(name);
  if (!m) return at[step];
  open.next = static_cast<size_t>(m - members.data()) + 1;
  if (open.next + 1 < members.size()) prefetch_object(members[open.next + 1].value.raw());
  return m->value;
}

// map -> "{" [entry {"," entry}] [","] "}"
void zynSerializerReader::load_map(const zynParameterKey& key, int skip) {
  if (++m_nesting > zynParameterSerializer::max_nesting || (m_in_header && !key.str().empty())) {
    fail(PSE_SYNTAX);  // too deep, or structure inside the header
    return;
  }
  zynParameterRoot* top = m_in_header ? m_header.get() : m_root;
  open_container(m_open.empty() ? zynParameterPtr(coPrfExternal, top) : current(key), key.str());
  next_token();
  while (m_error == PSE_OK && !is_token('}')) {
    load_entry(key, skip);
    if (next_token_after(',')) continue;
    if (!is_token('}')) fail(PSE_SYNTAX);
    break;
  }
  m_open.pop_back();
  --m_nesting;
}

// What is asked of a container for each of its entries is asked once, when
// its reading begins. Function-only lookups come and go with scopes that
// close before an entry is read, so they stand while the container is read.
void zynSerializerReader::open_container(zynParameterPtr at, const utString& key) {
  const zynParameter* const container = at.raw();
  const bool plain_map =
      container && typeid(*container) == typeid(zynParameterMap) && !zynEvalFunction::functions_only();
  m_open.push_back({std::move(at), key, 0, ++m_open_serial, key.find('[') == utString::npos, plain_map});
}

// A key is a function of its text alone; a slot holds the last name that
// hashed to it.
const zynSerializerReader::zynNameKey& zynSerializerReader::name_key(std::string_view text) {
  const auto fill = [text](zynNameKey& slot) -> const zynNameKey& {
    slot.text.assign(text);
    slot.key = zynParameterKey(slot.text);
    const zynParameterType type = slot.key.type();
    slot.plain = type != PT_ERROR && type != PT_ARRAY && slot.key.remainder_str().empty() &&
                 slot.key.str() == slot.text && slot.key.first() == slot.text && slot.key.last() == slot.text &&
                 slot.text.find('[') == utString::npos;
    return slot;
  };
  if (text.empty() || text.size() > max_kept_name) return fill(m_unkept_name_key);
  if (m_name_keys.empty()) m_name_keys.resize(name_key_slots);
  uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  zynNameKey& slot = m_name_keys[hash & (name_key_slots - 1)];
  return zyn_same_text(slot.text, text) ? slot : fill(slot);
}

// entry -> name [type [desc [lock]]] ":" value
void zynSerializerReader::load_entry(const zynParameterKey& key, int skip) {
  if (m_error != PSE_OK) return;
  if (!m_token_quoted) {
    fail(PSE_SYNTAX);
    return;
  }
  // A dotted name reaches as deep as nested maps would: the same bound holds.
  // It has at most one component more than it has characters.
  if (static_cast<size_t>(m_nesting) + m_token.size() > zynParameterSerializer::max_nesting &&
      m_nesting - 1 + key_depth(m_token) > zynParameterSerializer::max_nesting) {
    fail(PSE_SYNTAX);
    return;
  }
  // Held by reference: no other name is read before its last use below.
  const zynNameKey& slot = name_key(m_token);
  const zynParameterKey& name = slot.key;
  if (name.type() == PT_ERROR || name.empty()) {
    // A name that is no key has no place in the tree; its value is read past.
    m_name_text.assign(m_token);
    if (!skip) m_failed_pars.push_back(key.str().empty() ? m_name_text : key.str() + "." + m_name_text);
    skip = skip_unplaced;
  }
  if (next_token_after(':')) {
    // A plain value goes straight to the member of the container being
    // read, with no step on the path for it.
    if (m_token_quoted && !skip && !selection_active() && apply_entry_value(key, slot)) return;
    const zynPathStep step(m_path, name);
    load_par(key + name, skip);
    return;
  }
  if (m_in_header) {
    fail(PSE_SYNTAX);  // the header holds plain entries only
    return;
  }
  const zynPathStep step(m_path, name);
  load_typed_entry(key + name, skip);
}

// Reads "type [desc [lock]] :" and the value of a typed entry; the current token is the type.
void zynSerializerReader::load_typed_entry(const zynParameterKey& k, int skip) {
  m_typed = 1;
  utString fields[3];
  int count = 0;
  while (m_error == PSE_OK && !is_token(':')) {
    if (!m_token_quoted || count == 3) {
      fail(PSE_SYNTAX);
      return;
    }
    fields[count++].assign(m_token);
    next_token();
  }
  if (m_error != PSE_OK) return;
  const utString& code = fields[0];
  const zynParameterPtr existing = tree_member();
  const bool exists = !is_missing(*existing);

  // A kind without a code (a root, a plain array) is loaded as an untyped entry.
  zynParameterPtr p;
  if (!code.empty()) {
    p = get_par_from_type(code, fields[1]);
    if (p.is_null() || is_missing(*p)) {
      fail(PSE_SYNTAX);
      return;
    }
  }
  if (exists && m_keep_existing && !skip) skip = 1;
  if (code.empty() && !exists) {
    // Nothing to create it from: the entry and all below it have no place.
    if (!skip) m_failed_pars.push_back(k.str());
    skip = skip_unplaced;
  }
  // An existing member stays: adding over a reference would replace it.
  if (!exists && skip != skip_unplaced && !p.is_null() && m_loader && m_loader->define_par(k, p)) {
    fail(PSE_SYNTAX);
    return;
  }
  // A lock id names the lock of the parameter, existing or just defined; an
  // unreadable one is a syntax error for an existing parameter and ignored
  // for a new one.
  zynRefToObjectId lock;
  const zynParameterPtr locked = exists ? existing : tree_member();
  if (count == 3 && !is_missing(*locked)) {
    zynUniqueId id;
    if (id.become(fields[2].c_str())) {
      zynRefToObjectId read;
      read.become(zynUniqueIdPtr(id));
      lock.become(zynParameterSerializer::lock_uid(*m_root, locked, read));
    } else if (exists) {
      fail(PSE_SYNTAX);
      return;
    }
  }
  next_token();
  if (m_error != PSE_OK) return;
  if (lock.is_valid() && m_loader) m_loader->associate(k, lock.get_uid());
  if (code == "&") take_ref_root_type(exists ? zynParameterPtr() : p);
  if (exists && existing->is_locked()) {
    check_locked(existing, lock);
    if (!skip) skip = 1;
  }
  load_par(k, skip);
}

// A reference value "roottype:&path" gives "ref" its root type and leaves "&path".
void zynSerializerReader::take_ref_root_type(const zynParameterPtr& ref) {
  if (!m_token_quoted) return;
  const size_t amp = m_token.find('&');
  if (amp == utString::npos || amp == 0 || m_token[amp - 1] != ':') return;
  const utString root_type(m_token.substr(0, amp - 1));
  m_token.remove_prefix(amp);
  zynParameterRef* r = ref.is_null() ? nullptr : zynParameterRef::ut_dynamic_cast(ref.pointer());
  if (r && !root_type.empty()) r->set_ref_root_type(root_type);
}

// Reports a locked parameter whose saved value differs from its current one.
void zynSerializerReader::check_locked(const zynParameterPtr& existing, const zynRefToObjectId& lock) {
  if (!m_token_quoted) return;
  const zynParameterRef* ref = zynParameterRef::ut_dynamic_cast(existing.pointer());
  utString current;
  utString saved(m_token);
  if (ref) {
    current = ref->get_ref_string();
    if (!saved.empty() && saved[0] == '&') saved.erase(0, 1);
  } else if (is_scalar(*existing)) {
    current = existing->get_string();
  }
  if (current.empty() || current == saved) return;
  m_locked_items.insert(lock.is_valid() ? lock : existing->get_lock_id());
}

// array -> "(" [slot {"," slot}] [","] ")"; slot -> [value]
void zynSerializerReader::load_array(const zynParameterKey& key, int skip) {
  if (++m_nesting > zynParameterSerializer::max_nesting || m_in_header) {
    fail(PSE_SYNTAX);
    return;
  }
  if (!skip && m_loader) {
    m_loaded_as_is = false;
    m_loader->load_par(key, utString());
  }
  // A list grows by one when its element one past the end is asked for.
  zynParameterPtr array = skip ? zynParameterPtr() : current(key);
  if (!array.is_null() && zynParameter::get_type(*array) != PT_ARRAY) array = zynParameterPtr();
  open_container(array, key.str());
  next_token();
  for (int i = 0; m_error == PSE_OK && !is_token(')'); ++i) {
    const zynParameterKey index(i, utString());
    const zynParameterKey element_key = key + index;
    const zynPathStep step(m_path, index);
    if (!array.is_null()) (*array)[index];
    if (is_token(',')) {  // an empty slot
      next_token();
      continue;
    }
    load_par(element_key, skip);
    next_token();
    if (is_token(')')) break;
    if (!is_token(',')) {
      fail(PSE_SYNTAX);
      break;
    }
    next_token();
  }
  m_open.pop_back();
  --m_nesting;
}

// --- The entry being read ----------------------------------------------------------

// The entry is the member of the container being read, which was found when
// its reading began; an entry it lacks is asked of the root by its whole key.
zynParameterPtr zynSerializerReader::current(const zynParameterKey& key) const {
  if (!m_open.empty() && !m_path.empty() && !m_open.back().at.is_null()) {
    zynParameterPtr at = (*m_open.back().at)[m_path.back()];
    if (!is_missing(*at)) return at;
  }
  return (*m_root)[key];
}

// Returns what the tree holds at the entry being read, or an error. Unlike
// the root's lookup it never answers a pseudo-member ("Name", the root
// type, a host's methods): an entry of that name is a member of its own.
zynParameterPtr zynSerializerReader::tree_member() const {
  const zynParameterRoot& root = *m_root;
  zynParameterPtr at(coPrfExternal, &root);
  for (size_t i = 0; i < m_path.size() && !is_missing(*at); ++i) {
    const zynParameter& container = *at;
    at = i == 0 ? root.zynParameterMap::operator[](zynParameterKey(root.translate_key(m_path[i].str())))
                : container[m_path[i]];
  }
  return at;
}

// --- Type codes ----------------------------------------------------------------

zynParameterPtr zynSerializerReader::get_par_from_type(const utString& code, const utString& desc) const {
  size_t at = 0;
  size_t weight = 0;
  zynParameterPtr p = par_from_code(code, at, weight, 0);
  if (!p.is_null() && !desc.empty()) p->set_desc(desc);
  return p;
}

// code -> "M" | "V" digits [code] | "L" code | "H" code | "S" | "R" dims | "I" | "B"
//       | "A" | "E" | "F" | "U" | "&"
zynParameterPtr zynSerializerReader::par_from_code(const utString& code, size_t& at, size_t& weight, int depth) const {
  if (at >= code.size() || depth > max_code_depth) return zynParameterPtr();
  weight = 1;
  const char c = code[at++];
  switch (c) {
    case 'M': return zynParameterPtr(new zynParameterMap());
    case 'V': return vector_from_code(code, at, weight, depth);
    case 'L':
    case 'H': {
      zynParameterPtr element = par_from_code(code, at, weight, depth + 1);
      if (element.is_null()) return element;
      ++weight;
      if (c == 'L') return zynParameterPtr(new zynParameterList(element));
      return zynParameterPtr(new zynParameterSharedList(element));
    }
    case 'S': return zynParameterPtr(new zynParameterString());
    case 'R': {
      const zynDimensions dims(code.substr(at));
      at = code.size();
      return zynParameterPtr(new zynParameterNumeric(PS_REAL, dims, 0.0));
    }
    case 'I': return new_numeric(PS_INT);
    case 'B': return new_numeric(PS_BOOL);
    case 'A': return new_numeric(PS_ANGLE);
    case 'E': return zynParameterPtr(new zynParameterEnum());
    case 'F': return zynParameterPtr(new zynParameterFunction(utString()));
    case 'U': return zynParameterPtr(new zynParameterData("unknown"));
    case '&': return zynParameterPtr(new zynParameterRef(utString()));
    default: return zynParameterPtr();
  }
}

// "V" digits [code]: n clones of the element; "V0" alone is an empty vector.
zynParameterPtr zynSerializerReader::vector_from_code(const utString& code, size_t& at, size_t& weight,
                                                      int depth) const {
  size_t n = 0;
  const size_t digits_at = at;
  while (at < code.size() && std::isdigit(static_cast<unsigned char>(code[at])) && n <= max_code_weight)
    n = n * 10 + static_cast<size_t>(code[at++] - '0');
  if (at == digits_at || n > max_code_weight) return zynParameterPtr();
  if (n == 0 && at == code.size()) return zynParameterPtr(new zynParameterVector(0, zynParameterPtr()));
  size_t element_weight = 0;
  zynParameterPtr element = par_from_code(code, at, element_weight, depth + 1);
  if (element.is_null() || n * element_weight > max_code_weight) return zynParameterPtr();
  weight = n * element_weight + 1;
  return zynParameterPtr(new zynParameterVector(static_cast<int>(n), element));
}

// --- The serializer's side of reading ---------------------------------------------------

int zynParameterSerializer::apply_found(zynParameterLoader& loader, zynParameter& par, const utString& key,
                                        const utString& last, const utString& text) {
  return loader.apply_found(par, key, last, text);
}

const utString& zynParameterSerializer::key_synonym(const zynParameterRoot& root, const utString& text) {
  return root.lookup_key_synonym(text);
}

utStringcoSList& zynParameterSerializer::loader_record(zynParameterLoader& loader) { return loader.m_loaded; }

zynUniqueIdPtr zynParameterSerializer::lock_uid(zynParameterRoot& root, const zynParameterPtr& p,
                                                zynRefToObjectId& id) {
  return root.get_lock_uid(p, id);
}

zynParameterSerialError zynParameterSerializer::load(zynParameterRoot& root, std::istream& in, int keep_existing) {
  return m_reader->read(&root, in, keep_existing);
}

zynParameterSerialError zynParameterSerializer::load(zynParameterRoot& root, CArchive& ar) {
  utString text;
  ar >> text;
  if (!ar.good()) return PSE_STREAM;
  std::istringstream in(text);
  return load(root, in, 0);
}

zynParameterSerialError zynParameterSerializer::read_header(std::istream& in) { return m_reader->read(nullptr, in, 0); }

const utStringcoSList& zynParameterSerializer::loaded_pars() const { return m_reader->loaded_pars(); }
const utStringcoSList& zynParameterSerializer::failed_pars() const { return m_reader->failed_pars(); }
const zynRefToObjectIdcoSet& zynParameterSerializer::get_locked_items() const { return m_reader->locked_items(); }
int zynParameterSerializer::get_error_line() const { return m_reader->error_line(); }
int zynParameterSerializer::get_error_column() const { return m_reader->error_column(); }
const zynParameterSerialHeader& zynParameterSerializer::get_header() const { return m_reader->header(); }
int zynParameterSerializer::is_typed() const { return m_reader->typed(); }
int zynParameterSerializer::is_compact() const { return m_reader->compact(); }
