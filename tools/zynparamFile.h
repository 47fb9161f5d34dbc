// Reading and writing saved parameter files for the zynparam tool.
//
// zynToolRoot is the root a file is loaded into: it takes the root type and
// version from the file's header, reaches the standard function library by
// name (as a host does), and its loader creates the entries the tree does not
// have from their text, so a file saved without type information loads with
// nothing dropped.
#pragma once

#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "zyn/zyn.h"

// A failure the user is told about in one line (exit status 2).
class zynToolError : public std::runtime_error {
 public:
  explicit zynToolError(const std::string& message) : std::runtime_error(message) {}
};

// Where a parameter of the tool's tree sits: its container and the one
// component ("Name", "[2]") that reaches it there.
struct zynToolPlace {
  zynParameterPtr container;
  utString component;
};

// An edit refused because the value it gives fails or changes kind (exit status 1).
class zynToolRefusal : public std::runtime_error {
 public:
  explicit zynToolRefusal(const std::string& message) : std::runtime_error(message) {}
};

class zynToolRoot : public zynParameterLibRoot {
 public:
  ZYN_DECLARE_TYPE(zynToolRoot, zynParameterLibRoot)

  zynToolRoot(const utString& root_type, int version, const utString& root_name);
  zynToolRoot(const zynToolRoot& other) = default;
  zynParameter* create_new() const override { return new zynToolRoot(*this); }
  zynParameterLoader* create_loader(zynPtrClaim claim, int version) override;
  // Records that the loader made a string for an entry from its text.
  void note_inferred(const zynToolPlace& place) { m_inferred.push_back(place); }
  // Records that the loader made an array for an entry.
  void note_array(const zynToolPlace& place) { m_arrays.push_back(place); }
  // Settles what the loader inferred: strings whose text is a formula over
  // numbers become general numerics holding it, and arrays whose elements
  // are of one kind become lists of that kind.
  void settle_inferred();
  // Puts "p" in place of the member at "place".
  void replace(const zynToolPlace& place, const zynParameterPtr& p);
  // Records that the lock of "p" is "uid", as a saved file said.
  void set_lock(const zynParameter& p, const zynUniqueIdPtr& uid) { m_locks[&p].become(uid); }
  // The lock a file gave "p", else its container's.
  const zynRefToObjectId get_lock_id_imp(const zynParameter& p) const override;

 private:
  // The lock id a file gives is the one kept, not a new one.
  zynUniqueIdPtr get_lock_uid(zynParameterPtr p, zynRefToObjectId& id) override;
  void settle_strings();
  void settle_array(const zynToolPlace& place);
  void restore_order();
  void restore_order(const zynParameter* map);

  std::vector<zynToolPlace> m_inferred;
  std::vector<zynToolPlace> m_arrays;  // outer arrays first
  // Maps append the members they take in place of others: the order of a
  // map before its first replacement, restored when settling ends.
  std::unordered_map<const zynParameter*, std::vector<utString>> m_orders;
  std::vector<zynParameterPtr> m_order_keep;  // keeps the maps of m_orders alive
  bool m_settling = false;
  // The locks files gave, by parameter; the parameters outlive the root's use of them.
  std::unordered_map<const zynParameter*, zynRefToObjectId> m_locks;
};

// Returns the parameter that a text read from an untyped file stands for:
// "&path" a reference, a number a real, other texts (expressions included)
// a string.
zynParameterPtr zyn_tool_infer_par(const utString& text);

// A loaded file: its root, the keys whose values could not be applied,
// what a rewrite of it would lose and its text.
struct zynToolFile {
  zynParameterPtr root;
  utStringcoSList failed;
  std::vector<std::string> losses;
  std::string text;
  std::string bom;  // the byte-order mark the file began with, if any
};

// Loads "path" ("-": standard input) into a new root. Throws zynToolError for a missing or
// unreadable file, a syntax error (with line and column) or a file that is no
// saved tree.
zynToolFile zyn_tool_load(const std::string& path);
// Loads the saved text "text"; "name" stands for it in messages.
zynToolFile zyn_tool_load_text(const std::string& text, const std::string& name);

// Returns the text of "root" saved with the given options, or throws.
struct zynToolSaveOptions {
  int compact = 0;
  int typeinfo = 0;
  int evaluate = 0;
};
std::string zyn_tool_saved_text(const zynParameterRoot& root, const zynToolSaveOptions& options);

// The file a command writes, replaced as a whole or not at all. The
// constructor follows symbolic links to the file they name, refuses what is
// not a regular file, a file with other hard links or without write
// permission (the last two unless "force"), and takes the lock TARGET.lock
// (created exclusively, so a second writer fails at once). commit() writes
// the lock file, syncs it, renames it over the target and syncs the
// directory; the lock is thus the temporary file, and it is removed on every
// failure and on a signal that ends the process. "-" is standard output.
class zynToolOutput {
 public:
  zynToolOutput(const std::string& path, bool force);
  ~zynToolOutput();
  zynToolOutput(const zynToolOutput&) = delete;
  zynToolOutput& operator=(const zynToolOutput&) = delete;
  void commit(const std::string& data);

 private:
  void write_all(int fd, const std::string& data);
  [[noreturn]] void fail(const std::string& reason);

  std::string m_path;    // as given, for messages
  std::string m_target;  // the file replaced
  std::string m_lock;
  int m_fd = -1;
  bool m_in_place = false;  // other hard links: the content is written into the file itself
  bool m_exists = false;
};

// Returns the parameter at "key", or throws zynToolError naming the nearest
// existing keys.
zynParameterPtr zyn_tool_find(const zynParameterPtr& root, const std::string& key);

