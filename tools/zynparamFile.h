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

#include "zyn/zyn.h"

// A failure the user is told about in one line (exit status 2).
class zynToolError : public std::runtime_error {
 public:
  explicit zynToolError(const std::string& message) : std::runtime_error(message) {}
};

class zynToolRoot : public zynParameterRoot {
 public:
  ZYN_DECLARE_TYPE(zynToolRoot, zynParameterRoot)

  zynToolRoot(const utString& root_type, int version, const utString& root_name);
  zynToolRoot(const zynToolRoot& other) = default;
  zynParameter* create_new() const override { return new zynToolRoot(*this); }
  zynParameterLoader* create_loader(zynPtrClaim claim, int version) override;
  // Records that the loader made a string for the entry "key" from its text.
  void note_inferred(const zynParameterKey& key) { m_inferred.push_back(key.str()); }
  // Records that the loader made an array for the entry "key".
  void note_array(const zynParameterKey& key) { m_arrays.push_front(key.str()); }
  // Turns the recorded strings whose text is an expression giving a number
  // into general numerics holding that expression.
  void settle_inferred();

 protected:
  // The root's pseudo-members, then the built-ins ("sin", "pi", ...).
  zynParameterPtr lookup_method(const zynParameterKey& key) const override;

 private:
  zynParameterPtr m_lib;
  std::list<utString> m_inferred;
  std::list<utString> m_arrays;  // inner arrays first

  void settle_array(const zynParameterKey& key);
};

// Replaces the member "name" ("[i]" in an array) of "container" by "p",
// keeping its place.
void zyn_tool_replace(const zynParameterPtr& container, const utString& name, const zynParameterPtr& p);

// Returns the parameter that a text read from an untyped file stands for:
// "&path" a reference, a number a real, "(...)"-loaded arrays a list, other
// texts (expressions included) a string.
zynParameterPtr zyn_tool_infer_par(const utString& text);

// A loaded file: its root, the keys whose values could not be applied, and
// how it was written.
struct zynToolFile {
  zynParameterPtr root;
  utStringcoSList failed;
  int typeinfo = 0;
  int compact = 0;
};

// Loads "path" into a new root. Throws zynToolError for a missing or
// unreadable file, a syntax error (with line and column) or a file that is no
// saved tree.
zynToolFile zyn_tool_load(const std::string& path);

// Returns 1 when "text" holds an entry with type information (two quoted
// strings in a row).
int zyn_tool_has_typeinfo(const std::string& text);

// Options of zyn_tool_save.
struct zynToolSaveOptions {
  int compact = 0;
  int typeinfo = 0;
  int evaluate = 0;
};

// Writes "root" to "path" through a temporary file in the same directory
// renamed over it, so the file is either the old one or the new one.
void zyn_tool_save(const zynParameterRoot& root, const std::string& path, const zynToolSaveOptions& options);

// Returns the parameter at "key", or throws zynToolError naming the nearest
// existing keys.
zynParameterPtr zyn_tool_find(const zynParameterPtr& root, const std::string& key);

// Installs the library's evaluation scope for the life of the object.
class zynToolScope {
 public:
  explicit zynToolScope(const zynParameterPtr& scope) { zynParameterLib::set_eval_scope(scope); }
  ~zynToolScope() { zynParameterLib::set_eval_scope(zynParameterPtr()); }
  zynToolScope(const zynToolScope&) = delete;
  zynToolScope& operator=(const zynToolScope&) = delete;
};
