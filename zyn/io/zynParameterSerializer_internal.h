// The two halves of zynParameterSerializer: zynSerializerReader holds what a
// load needs between tokens and what it found (header, results, error
// position), zynSerializerWriter what a save needs while it writes. The
// serializer owns one of each; both ask it for the selection. The text
// format is described in zynParameterSerializer.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

#include "zyn/io/zynParameterSerializer.h"

class zynParameterLoader;
class zynTextBuffer;

// Returns a new header root with its three entries: "type", "version" and "time".
std::unique_ptr<zynParameterRoot> zyn_new_serial_header();

// Reads saved texts for one serializer ("owner", which outlives it). Its
// caches (entry names, text storage) are kept from one load to the next.
class zynSerializerReader {
 public:
  explicit zynSerializerReader(const zynParameterSerializer& owner);
  ~zynSerializerReader();
  zynSerializerReader(const zynSerializerReader&) = delete;
  zynSerializerReader& operator=(const zynSerializerReader&) = delete;

  // Reads the header from "in" and then, when "root" is not null, the tree
  // into "root" (see zynParameterSerializer::load and read_header). A stream
  // that can seek is left just after what was read.
  zynParameterSerialError read(zynParameterRoot* root, std::istream& in, int keep_existing);

  const utStringcoSList& loaded_pars() const;
  const utStringcoSList& failed_pars() const { return m_failed_pars; }
  const zynRefToObjectIdcoSet& locked_items() const { return m_locked_items; }
  const zynParameterSerialHeader& header() const { return m_file_header; }
  int typed() const { return m_typed; }
  int compact() const { return m_compact; }
  int error_line() const { return m_error_line; }
  int error_column() const { return m_error_column; }

 private:
  // An entry name read before and the key it reads as; "plain" when the key
  // is that one member name as written (its text, first and last component)
  // and holds no "[".
  struct zynNameKey {
    utString text;
    zynParameterKey key;
    bool plain = false;
  };

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

  // A map or array being read: what it stands for in the tree (null when
  // nothing) and its key text.
  struct zynOpenContainer {
    zynParameterPtr at;
    utString key;
    size_t next = 0;  // the position after the member last found in it
    uint64_t serial = 0;  // tells it from every container opened before
    bool bracket_free = true;  // its key text holds no "["
    bool plain_map = false;  // a zynParameterMap itself, whose members are looked up directly
  };

  zynParameterSerialError load_header();
  // Copies what the header root holds into m_file_header and judges the
  // layout from the header's text.
  void take_header();
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
  // The header is read whole, unselected.
  int selection_active() const { return !m_in_header && m_owner.selecting(); }
  int should_include(const zynParameterKey& key) const { return m_in_header || m_owner.should_include(key); }
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

  const zynParameterSerializer& m_owner;
  zynParameterRoot* m_root = nullptr;
  std::unique_ptr<zynParameterRoot> m_header;
  std::unique_ptr<zynParameterLoader> m_loader;
  int m_in_header = 0;
  int m_keep_existing = 0;
  // Set when the loader is the library's own, whose load_par the reader
  // may shortcut with the containers it walks.
  bool m_own_loader = false;
  // Cleared once the loader has looked a key up itself (its record may then
  // hold keys that the root translates).
  bool m_loaded_as_is = true;

  // The whole text being read, the reading position and the current token:
  // a view into the text, or into m_unescaped when it held backslashes.
  utString m_input;
  size_t m_pos = 0;
  std::string_view m_token;
  utString m_unescaped;
  size_t m_token_at = 0;
  int m_token_quoted = 0;
  int m_at_end = 0;
  // Texts handed on as utString, kept to reuse their storage.
  utString m_name_text;
  utString m_value_text;

  // The steps from the root to the entry being read.
  std::vector<zynParameterKey> m_path;
  // The maps and arrays being read, outermost first.
  std::vector<zynOpenContainer> m_open;
  int m_nesting = 0;
  uint64_t m_open_serial = 0;
  std::vector<zynNameKey> m_name_keys;
  zynNameKey m_unkept_name_key;
  // The key text of the entry being applied, kept to reuse its storage.
  utString m_entry_key;
  // The container whose key (and ".") m_entry_key begins with, and its length.
  uint64_t m_entry_prefix_of = 0;
  size_t m_entry_prefix = 0;

  // --- What the last read found ---
  zynParameterSerialHeader m_file_header;
  int m_typed = 0;
  int m_compact = 0;
  // The keys the library's own loader applied are kept in a vector while a
  // load runs (one list node per value costs a tenth of a load) and listed
  // when first asked for; "m_loaded_pending" marks a finished load's keys.
  mutable utStringcoSList m_loaded_pars;
  mutable std::vector<utString> m_loaded_keys;
  mutable bool m_loaded_pending = false;
  utStringcoSList m_failed_pars;
  zynRefToObjectIdcoSet m_locked_items;
  zynParameterSerialError m_error = PSE_OK;
  int m_error_line = 0;
  int m_error_column = 0;
};

// Writes saved texts for one serializer ("owner", which outlives it). The
// options are taken from the owner when a save begins; the output buffer
// is kept from one save to the next.
class zynSerializerWriter {
 public:
  explicit zynSerializerWriter(const zynParameterSerializer& owner);
  ~zynSerializerWriter();
  zynSerializerWriter(const zynSerializerWriter&) = delete;
  zynSerializerWriter& operator=(const zynSerializerWriter&) = delete;

  // See zynParameterSerializer::save.
  zynParameterSerialError save(const zynParameterRoot& root, std::ostream& out);

 private:
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
  // The header is written whole, unselected.
  int selection_active() const { return !m_in_header && m_owner.selecting(); }
  int should_include(const zynParameterKey& key) const { return m_in_header || m_owner.should_include(key); }
  // Returns 1 when "p" is not written; "active_container" is its container
  // when found active (else null), "selecting" is selection_active().
  int skipped(const zynParameter& p, const zynParameter* active_container, const zynParameterKey& key,
              bool selecting) const;

  const zynParameterSerializer& m_owner;
  std::unique_ptr<zynParameterRoot> m_header;
  // The owner's options during a save.
  zynParameterSerializer::SaveOptions m_options;

  std::ostream* m_out = nullptr;
  int m_depth = 0;
  int m_in_header = 0;
  zynParameterSerialError m_error = PSE_OK;
  // Output is gathered here and handed to the stream in large pieces.
  std::unique_ptr<zynTextBuffer> m_buffer;
  // Containers being written while references are followed, to cut cycles.
  std::vector<const zynParameter*> m_writing;
};
