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
class zynSerializerReader;
class zynSerializerWriter;

// The result of save and load.
enum zynParameterSerialError : int32_t {
  PSE_OK = 0,             // success
  PSE_FAILED_PARS = 1,    // loaded, but some values could not be applied (failed_pars)
  PSE_WRONG_ROOT = 2,     // the file's root type is not the receiving root's
  PSE_STREAM = 3,         // no stream, a failed stream, or text that ends early
  PSE_SYNTAX = 4,         // bad syntax, an unusable type code or lock id, nesting too deep
  PSE_NEWER_VERSION = 5   // the file is newer than the receiving root
};

// The header of a saved text: what the file is for and when it was saved.
struct zynParameterSerialHeader {
  utString root_type;  // the root type of the saved tree ("type")
  int version = 0;     // the version of the saved tree ("version"); 0 for a formula
  int64_t time = 0;    // when it was saved, in whole seconds since 1970 ("time"); 0 unless a whole number
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
  // Default options, empty sets, and nothing read yet.
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
  void set_follow_refs(int on) { m_save.follow_refs = on; }
  // Writes scalars as their evaluated text (get_string), not their
  // expression; a formula whose value is an error is written as the formula.
  void set_evaluate(int on) { m_save.evaluate = on; }
  // Writes inactive parameters too (off by default).
  void set_save_inactive(int on) { m_save.save_inactive = on; }
  // Writes invalid parameters too (on by default).
  void set_save_invalid(int on) { m_save.save_invalid = on; }
  // Writes no line breaks, tabs or blanks.
  void set_compact_mode(int on) { m_save.compact_mode = on; }
  // Writes a type code, the description and the lock id with every map entry.
  void set_save_typeinfo(int on) { m_save.save_typeinfo = on; }
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
  const utStringcoSList& failed_pars() const;
  // The lock objects of locked parameters whose saved value differed from
  // their current one (which they kept).
  const zynRefToObjectIdcoSet& get_locked_items() const;
  // Return the line and column (both from 1) of the character at which the
  // last load stopped when it failed with PSE_STREAM or PSE_SYNTAX; 0 and 0
  // otherwise. A stop at the end of the text gives the position after the
  // last character.
  int get_error_line() const;
  int get_error_column() const;

  // --- What the last text read held ----------------------------------------------
  // Reads only the header of the text in "in" and keeps it (see get_header),
  // so that a host can make the receiving root from the file's own root type
  // and version before it loads. Returns PSE_STREAM or PSE_SYNTAX as load
  // does for a header, with the error position, else PSE_OK. A stream that
  // can seek is left just after the header.
  zynParameterSerialError read_header(std::istream& in);
  // Returns the header of the text last read by load or read_header. Its
  // fields are read as stored, never evaluated; a field the text lacks, or
  // that it did not reach before an error, is empty or 0.
  const zynParameterSerialHeader& get_header() const;
  // Returns 1 when an entry of the tree last loaded carried type information
  // (a type code, description or lock id), 0 when none did or no tree was read.
  int is_typed() const;
  // Returns 1 when the text last read had no white space in its header nor
  // between its header and its tree, as save writes with set_compact_mode(1);
  // 0 otherwise, or when no header was read. The layout of the tree is taken
  // to be the header's: a file is judged without scanning its tree.
  int is_compact() const;

  // Returns the process-wide serializer with default options, made on first
  // call and never destroyed.
  static zynParameterSerializer& get_template_serializer();

  // Maps and arrays nest at most this deep in a file that loads.
  static constexpr int max_nesting = 1000;

 private:
  // The reader and the writer take the selection from here. The reader
  // reaches the loader's record, the root's key synonyms and its lock ids
  // through the forwarders below: the library's loader and root grant that
  // access to this class only.
  friend class zynSerializerReader;
  friend class zynSerializerWriter;

  // Returns 1 when a selection set or exclude_all limits what is written or read.
  int selecting() const { return m_exclude_all || !m_include_pars.empty() || !m_exclude_pars.empty(); }
  // Returns 1 when the entry at "key" is written or read under the selection.
  int should_include(const zynParameterKey& key) const;
  static int apply_found(zynParameterLoader& loader, zynParameter& par, const utString& key, const utString& last,
                         const utString& text);
  static utStringcoSList& loader_record(zynParameterLoader& loader);
  static const utString& key_synonym(const zynParameterRoot& root, const utString& text);
  static zynUniqueIdPtr lock_uid(zynParameterRoot& root, const zynParameterPtr& p, zynRefToObjectId& id);

  // What a save writes; the writer takes a copy when a save starts.
  struct SaveOptions {
    int follow_refs = 0;
    int evaluate = 0;
    int save_inactive = 0;
    int save_invalid = 1;
    int compact_mode = 0;
    int save_typeinfo = 0;
  };
  SaveOptions m_save;
  int m_exclude_all = 0;
  utStringcoSet m_include_pars;
  utStringcoSet m_exclude_pars;
  utStringcoSet m_global_exclude_pars;
  std::unique_ptr<zynSerializerReader> m_reader;
  std::unique_ptr<zynSerializerWriter> m_writer;
};
