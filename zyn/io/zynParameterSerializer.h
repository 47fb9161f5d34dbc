// zynParameterSerializer writes a parameter tree (a zynParameterRoot and
// everything below it) as text and reads such text back into a root. The
// text starts with a header map (root type, version, time of saving), then
// the tree: maps in braces, arrays in parentheses, every leaf a quoted
// string. Optional type information per map entry lets a reader create
// parameters the receiving root lacks. Reading never sets values itself: it
// hands every value text to the root's loader (zynParameterLoader), collects
// the keys that failed, and lets the root's updater migrate trees of older
// versions.
//
// Grammar (tokens are quoted strings and the characters { } ( ) , :; white
// space between tokens is ignored; inside a string a backslash makes the
// next character literal):
//   file   -> map value                        (the header, then the root)
//   value  -> map | array | string
//   map    -> "{" [entry {"," entry}] "}"
//   entry  -> name [type [desc [lock]]] ":" value
//   array  -> "(" [slot {"," slot}] ")"         (a slot may be empty; "," may end it)
//
// Example:
//   zynParameterSerializer s;
//   std::ostringstream out;
//   if (s.save(tool, out) == 0) ...
//   std::istringstream in(out.str());
//   int rc = s.load(tool, in, 0);   // 1: see failed_pars()
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "zyn/core/zynParameterRoot.h"
#include "zyn/host/zynArchive.h"

class zynParameterLoader;
class zynTextBuffer;

// The result of save and load.
enum zynParameterSerialError : int32_t {
  PSE_OK = 0,             // success
  PSE_FAILED_PARS = 1,    // loaded, but some values could not be applied (failed_pars)
  PSE_WRONG_ROOT = 2,     // the file's root type is not the receiving root's
  PSE_STREAM = 3,         // no stream, a failed stream, or text that ends early
  PSE_SYNTAX = 4,         // bad syntax, an unusable type code or lock id, nesting too deep
  PSE_NEWER_VERSION = 5   // the file is newer than the receiving root
};

// Marks that a load is under way: the constructor sets a process-wide flag,
// the destructor clears it. The flag is not a count, so guards do not nest.
class ZYN_EXPORT zynParameterSerializerCtrl {
 public:
  zynParameterSerializerCtrl() { s_serializing = 1; }
  ~zynParameterSerializerCtrl() { s_serializing = 0; }
  zynParameterSerializerCtrl(const zynParameterSerializerCtrl&) = delete;
  zynParameterSerializerCtrl& operator=(const zynParameterSerializerCtrl&) = delete;
  // Returns 1 while a guard lives.
  static int serializing_parameters() { return s_serializing; }

 private:
  static int32_t s_serializing;
};

// A serializer keeps its options, its selection sets and the results of its
// last operation between calls. It is not copyable. One object serves one
// operation at a time.
class ZYN_EXPORT zynParameterSerializer {
 public:
  // Default options, empty sets, and the header root ("type", "version", "time").
  zynParameterSerializer();
  ~zynParameterSerializer();
  zynParameterSerializer(const zynParameterSerializer&) = delete;
  zynParameterSerializer& operator=(const zynParameterSerializer&) = delete;

  // Writes the header and "root" to "out". A function is written with its
  // body ("F"); built-in, bound and member functions, which have no body
  // that reads back, are left out. Returns PSE_STREAM when "out" is
  // not good before or after writing, PSE_SYNTAX when the tree nests deeper
  // than a reader accepts (see max_nesting), else PSE_OK.
  zynParameterSerialError save(const zynParameterRoot& root, std::ostream& out);
  // Writes the whole text as one string to "ar".
  zynParameterSerialError save(const zynParameterRoot& root, CArchive& ar);

  // Reads a saved tree from "in" into "root". A typed entry that the root
  // lacks as a member is created, even when the root answers its name with
  // a pseudo-member ("Name", its root type). With "keep_existing" 1, typed
  // entries do not overwrite parameters the root already has. Fails at the
  // first error with its code; what was applied before stays applied and
  // the tree stays usable. A file for another root type (PSE_WRONG_ROOT) or
  // a newer version (PSE_NEWER_VERSION) is refused before its body is read.
  zynParameterSerialError load(zynParameterRoot& root, std::istream& in, int keep_existing);
  // Reads one string from "ar" and loads it with keep_existing 0.
  zynParameterSerialError load(zynParameterRoot& root, CArchive& ar);

  // --- Options (each 0 or 1) -------------------------------------------------
  // Writes references as what they point at (a reference met again inside
  // its own target is written as a reference).
  void set_follow_refs(int on) { m_follow_refs = on; }
  // Writes scalars as their evaluated text (get_string), not their
  // expression; a formula whose value is an error is written as the formula.
  void set_evaluate(int on) { m_evaluate = on; }
  // Writes inactive parameters too (off by default).
  void set_save_inactive(int on) { m_save_inactive = on; }
  // Writes invalid parameters too (on by default).
  void set_save_invalid(int on) { m_save_invalid = on; }
  // Writes no line breaks, tabs or blanks.
  void set_compact_mode(int on) { m_compact_mode = on; }
  // Writes a type code, the description and the lock id with every map entry.
  void set_save_typeinfo(int on) { m_save_typeinfo = on; }
  // Excludes every key that is not included.
  void set_exclude_all(int on) { m_exclude_all = on; }

  // --- Selection ---------------------------------------------------------------
  // Key texts (canonical, such as "a.b[2]"). The deepest prefix of a key
  // found in the include or exclude set decides; an include wins over an
  // exclude of the same key. Ancestors of included keys are written too,
  // unless they are in the global exclude set.
  utStringcoSet& include_pars() { return m_include_pars; }
  utStringcoSet& exclude_pars() { return m_exclude_pars; }
  utStringcoSet& global_exclude_pars() { return m_global_exclude_pars; }

  // --- Results of the last load ------------------------------------------------
  // The keys the loader applied, translated (zynParameterRoot::translate_key).
  const utStringcoSList& loaded_pars() const;
  // The keys whose values could not be applied.
  const utStringcoSList& failed_pars() const { return m_failed_pars; }
  // The lock objects of locked parameters whose saved value differed from
  // their current one (which they kept).
  const zynRefToObjectIdcoSet& get_locked_items() const { return m_locked_items; }
  // Return the line and column (both from 1) of the character at which the
  // last load stopped when it failed with PSE_STREAM or PSE_SYNTAX; 0 and 0
  // otherwise. A stop at the end of the text gives the position after the
  // last character.
  int get_error_line() const { return m_error_line; }
  int get_error_column() const { return m_error_column; }

  // Returns the process-wide serializer with default options, made on first
  // call and never destroyed.
  static zynParameterSerializer& get_template_serializer();

  // Maps and arrays nest at most this deep in a file that loads.
  static constexpr int max_nesting = 1000;

 private:
  // An entry name read before and the key it reads as; "plain" when the key
  // is that one member name as written (its text, first and last component)
  // and holds no "[".
  struct zynNameKey {
    utString text;
    zynParameterKey key;
    bool plain = false;
  };

  // --- Saving (zynParameterSerializerSave.cpp) ---
  void save_par(const zynParameterPtr& p, const zynParameterKey& key);
  void save_map(const zynParameterPtr& p, const zynParameterKey& key);
  void save_array(const zynParameterPtr& p, const zynParameterKey& key);
  void save_ref(const zynParameter& p);
  void save_entry_typeinfo(const zynParameter& child);
  void save_text(std::string_view text);
  // Returns the type code of "p": "M", "V3R[L]", "LS", "&", ... or "".
  utString get_type_from_par(const zynParameter& p) const;
  void indent();
  void space();
  void flush_output();
  int should_include(const zynParameterKey& key) const;
  int selection_active() const;
  // Returns 1 when "p" is not written; "active_container" is its container
  // when found active (else null), "selecting" is selection_active().
  int skipped(const zynParameter& p, const zynParameter* active_container, const zynParameterKey& key,
              bool selecting) const;

  // --- Loading (zynParameterSerializerLoad.cpp) ---
  zynParameterSerialError load_header();
  zynParameterSerialError load_body(zynParameterRoot& root);
  void load_par(const zynParameterKey& key, int skip);
  void load_map(const zynParameterKey& key, int skip);
  void load_entry(const zynParameterKey& key, int skip);
  void load_typed_entry(const zynParameterKey& k, int skip);
  void load_array(const zynParameterKey& key, int skip);
  void apply_value(const zynParameterKey& key);
  // Applies the value token to the entry whose key text is "key" through
  // the container being read; returns false when the loader must look the
  // entry up itself.
  bool apply_in_container(const utString& key, const zynParameterKey& step);
  // As apply_in_container, for the step whose first and last component texts
  // are given; "bracket_free" when "key" is known to hold no "[".
  bool apply_member(const utString& key, const zynParameterKey& step, const utString& first, const utString& last,
                    bool bracket_free);
  // Applies the value token to the entry "name" of the map "key" being read.
  bool apply_entry_value(const zynParameterKey& key, const zynNameKey& name);
  // Returns the member "step" (named "first") of the container being read.
  zynParameterPtr open_member(const zynParameterKey& step, const utString& first);
  // Pushes the container "at" (null when nothing) whose key text is "key".
  void open_container(zynParameterPtr at, const utString& key);
  // Returns the key "text" reads as, valid until the next call. Entry names
  // repeat from map to map, so the keys of short names are kept by their text.
  const zynNameKey& name_key(std::string_view text);
  void take_value_text();
  void take_ref_root_type(const zynParameterPtr& ref);
  void check_locked(const zynParameterPtr& existing, const zynRefToObjectId& lock);
  // Reads the next token into m_token; on failure records the error.
  void next_token();
  // Reads the next token; when it is the punctuation "separator", reads the
  // one after it too and returns 1.
  int next_token_after(char separator);
  int read_quoted();
  // Records "e" as the error of the load (the first one counts) and where it happened.
  void fail(zynParameterSerialError e);
  // Returns 1 when the current token is the punctuation "c" (not a quoted string).
  int is_token(char c) const { return !m_token_quoted && m_token.size() == 1 && m_token[0] == c; }
  // Returns a new parameter for the type code "code", or a null pointer.
  zynParameterPtr get_par_from_type(const utString& code, const utString& desc) const;
  zynParameterPtr par_from_code(const utString& code, size_t& at, size_t& weight, int depth) const;
  zynParameterPtr vector_from_code(const utString& code, size_t& at, size_t& weight, int depth) const;
  void update_root_version(int file_version);
  void take_loader_keys();
  // Returns the parameter at the entry being read ("key"): the member of
  // the container being read, or else what the root finds at "key".
  zynParameterPtr current(const zynParameterKey& key) const;
  // Returns the member at the entry being read, never a pseudo-member.
  zynParameterPtr tree_member() const;

  // Pushes a step of the entry being read for its scope.
  struct zynPathStep {
    zynPathStep(std::vector<zynParameterKey>& path, const zynParameterKey& step) : m_path(path) {
      m_path.push_back(step);
    }
    ~zynPathStep() { m_path.pop_back(); }
    zynPathStep(const zynPathStep&) = delete;
    zynPathStep& operator=(const zynPathStep&) = delete;
    std::vector<zynParameterKey>& m_path;
  };

  std::ostream* m_out = nullptr;
  int m_depth = 0;
  int m_follow_refs = 0;
  int m_evaluate = 0;
  int m_save_inactive = 0;
  int m_save_invalid = 1;
  int m_compact_mode = 0;
  int m_save_typeinfo = 0;
  int m_in_header = 0;
  zynParameterRoot* m_root = nullptr;
  std::unique_ptr<zynParameterLoader> m_loader;
  // The whole text being read, the reading position and the current token:
  // a view into the text, or into m_unescaped when it held backslashes.
  utString m_input;
  size_t m_pos = 0;
  std::string_view m_token;
  utString m_unescaped;
  size_t m_token_at = 0;
  int m_token_quoted = 0;
  // Texts handed on as utString, kept to reuse their storage.
  utString m_name_text;
  utString m_value_text;
  // Set when the loader is the library's own, whose load_par the serializer
  // may shortcut with the containers it walks.
  bool m_own_loader = false;
  // Cleared once the loader has looked a key up itself (its record may then
  // hold keys that the root translates).
  bool m_loaded_as_is = true;
  std::unique_ptr<zynParameterRoot> m_header;
  // The keys the library's own loader applied are kept in a vector while a
  // load runs (one list node per value costs a tenth of a load) and listed
  // when first asked for; "m_loaded_pending" marks a finished load's keys.
  mutable utStringcoSList m_loaded_pars;
  mutable std::vector<utString> m_loaded_keys;
  mutable bool m_loaded_pending = false;
  utStringcoSList m_failed_pars;
  zynParameterSerialError m_error = PSE_OK;
  utStringcoSet m_include_pars;
  utStringcoSet m_exclude_pars;
  utStringcoSet m_global_exclude_pars;
  int m_exclude_all = 0;
  int m_keep_existing = 0;
  zynRefToObjectIdcoSet m_locked_items;

  // Output is gathered here and handed to the stream in large pieces.
  std::unique_ptr<zynTextBuffer> m_buffer;
  // Containers being written while references are followed, to cut cycles.
  std::vector<const zynParameter*> m_writing;
  int m_at_end = 0;
  int m_nesting = 0;
  // The steps from the root to the entry being read.
  std::vector<zynParameterKey> m_path;
  // The maps and arrays being read, outermost first: what each stands for
  // in the tree (null when nothing) and its key text.
  struct zynOpenContainer {
    zynParameterPtr at;
    utString key;
    size_t next = 0;  // the position after the member last found in it
    uint64_t serial = 0;  // tells it from every container opened before
    bool bracket_free = true;  // its key text holds no "["
    bool plain_map = false;  // a zynParameterMap itself, whose members are looked up directly
  };
  std::vector<zynOpenContainer> m_open;
  std::vector<zynNameKey> m_name_keys;
  zynNameKey m_unkept_name_key;
  // The key text of the entry being applied, kept to reuse its storage.
  utString m_entry_key;
  // The container whose key (and ".") m_entry_key begins with, and its length.
  uint64_t m_entry_prefix_of = 0;
  size_t m_entry_prefix = 0;
  uint64_t m_open_serial = 0;
  int m_error_line = 0;
  int m_error_column = 0;
};
